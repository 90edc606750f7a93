// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scripted stand-ins for the services, for driving windows in tests.

#include <gtest/gtest.h>

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Message.h"
#include "base/SettingsStore.h"
#include "platform/Services.h"

namespace kestro::test {

/// Records every message box and answers from a script. A box nobody
/// expected (no scripted answer for a box with a choice) fails the test.
class ScriptedMessageBox final : public platform::MessageBoxService {
public:
    using MessageBoxService::Show;
    base::MessageResult Show(QWidget* parent, const QString& title, const QString& text, base::MessageIcon icon,
                             base::MessageButtons buttons, base::MessageResult defaultButton) override;

    /// Answers for the next boxes that offer a choice, in order.
    void Answer(base::MessageResult result) { m_answers.push_back(result); }

    const std::vector<base::Message>& Shown() const { return m_shown; }
    /// Takes the boxes shown so far, leaving none.
    std::vector<base::Message> Take();
    void Clear() { m_shown.clear(); }

private:
    std::vector<base::Message> m_shown;
    std::deque<base::MessageResult> m_answers;
};

/// Returns scripted paths and records each dialog's filter.
class ScriptedFileDialogs final : public platform::FileDialogService {
public:
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                     const QString& fileName) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                     const QString& fileName) override;

    /// The next dialog returns this path ("" is a cancel).
    void Choose(const QString& path) { m_paths.push_back(path); }
    const std::vector<QString>& Filters() const { return m_filters; }
    /// The file name each dialog started with.
    const std::vector<QString>& StartNames() const { return m_startNames; }

private:
    QString Next(const QString& title, const QString& filter, const QString& fileName);
    std::deque<QString> m_paths;
    std::vector<QString> m_filters;
    std::vector<QString> m_startNames;
};

/// No window under test starts a program; one that tries fails the test.
class NoLauncher final : public base::ProcessLauncher {
public:
    base::LaunchResult Start(const base::LaunchRequest& request) override {
        ADD_FAILURE() << "Unexpected start of " << request.program;
        return {false, "not in tests"};
    }
};

/// Records every start and answers with a scripted result (started by default).
class RecordingLauncher final : public base::ProcessLauncher {
public:
    base::LaunchResult Start(const base::LaunchRequest& request) override {
        requests.push_back(request);
        return result;
    }
    std::vector<base::LaunchRequest> requests;
    base::LaunchResult result{true, {}};
};

class FakeClock final : public base::Clock {
public:
    double Seconds() const override { return now; }
    double now = 3600.0;
};

/// One full set of scripted services, with an in-memory settings store.
struct TestServices {
    ScriptedMessageBox messages;
    ScriptedFileDialogs files;
    base::MemorySettingsStore settings;
    NoLauncher processes;
    FakeClock clock;
    base::MemoryRegistryBackend registry;
    platform::Services services{messages, files, settings, processes, clock, registry};
};

/// The child with this design name; a missing one fails the test.
template <typename T>
T* FindChild(QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << "no control named " << name;
    return child;
}

/// Runs fn on the next modal dialog once it is shown (polling the event
/// loop), so that tests can look at and close windows opened with exec().
void WhenModalShown(std::function<void(QWidget* dialog)> fn);

/// Does what should open a modal window and gives that window's object name
/// (closing the window at once); empty when none opened.
QString ModalOpenedBy(const std::function<void()>& open);

/// Presses a key in the widget; true when that opened a modal window (which
/// is closed again at once, so that a wrong press cannot hang the test).
bool KeyOpensModal(QWidget* widget, Qt::Key key);

/// The caption and text of the next help window, filled in when it shows and closes.
struct ShownHelp {
    QString caption, text;
};
std::shared_ptr<ShownHelp> WhenHelpShown();

}  // namespace kestro::test
