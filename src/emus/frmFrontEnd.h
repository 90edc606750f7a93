// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shape the emulator front-ends with a ROM to run share: the window's
// name and caption, its menus ("&File" with "&Back to main menu", "&Help"
// with the window's help command), the ROM row on top, the help box at the
// foot, and the help command that opens the window's topic with that text.

#include <QDialog>
#include <string>
#include <vector>

#include "base/RunLog.h"

#include "platform/Services.h"

class QAction;
class QPlainTextEdit;
class QVBoxLayout;

namespace kestro::platform {
class RomChooser;
}

namespace kestro::emus {

struct PreparedRun;

/// Shows the emulator's last words when it ends with an error within seconds
/// of the start.
void WatchQuickFailure(platform::Services& services, QWidget* window, const std::string& emulator,
                       const base::StartRecord& started);
/// The log command: the log of the window's last start, else the newest log
/// of these program names, else a word that there is none yet.
void ShowLastRunLog(platform::Services& services, QWidget* window, const std::string& emulator,
                    const std::string& lastLog, const std::vector<std::string>& names);

class frmFrontEnd : public QDialog {
    Q_OBJECT
protected:
    struct Shape {
        const char* name;         ///< the window's design name ("frmRealityBoy")
        const char* caption;      ///< "Reality Boy Frontend"
        const char* helpCaption;  ///< the help command ("Reality Boy Frontend &Help...")
        const char* topic;        ///< the help topic's key ("Reality Boy"), the emulator's name
        /// Its program names, whose logs the log command shows ("rboy vb_98").
        const char* logNames = "";
    };

    /// Builds the menus and the ROM row; the window adds its own controls below.
    frmFrontEnd(platform::Services& services, const Shape& shape, QWidget* parent);
    ~frmFrontEnd() override;

    /// The window's layout, below the ROM row.
    QVBoxLayout* Body() const;
    /// The read-only help box at the foot, which the help command shows;
    /// added once the window's own controls are in place.
    void AddHelp(const std::string& text);
    /// Opening's last step: the base directory read and the recent ROMs shown.
    void LoadRomChoice();
    /// Carries the run out and shows what it came to; an emulator that ends
    /// with an error within seconds is shown with its last words.
    void Carry(const PreparedRun& run);

    platform::Services& m_services;
    platform::RomChooser* m_rom = nullptr;
    std::string m_baseDirectory;
    QAction* mnuFileBack = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpLog = nullptr;
    QPlainTextEdit* txtHelp = nullptr;

private:
    void mnuHelpHelp_Click();
    void mnuHelpLog_Click();

    QString m_topic;
    QString m_logNames;
    std::string m_lastLog;  ///< the log of this window's last start
};

}  // namespace kestro::emus
