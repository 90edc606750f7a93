// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "ROM to run" of the emulator front-ends: the recent-ROM drop-down
// (cmbFilename) or, with the recent list off, the file-name label
// (lblFilename), Select ROM, and the checks every chosen ROM goes through.

#include <QObject>
#include <functional>
#include <string>

#include "platform/Services.h"
#include "rom/RecentRomList.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace kestro::platform {

class RomChooser final : public QObject {
    Q_OBJECT
public:
    /// What the last choice came to.
    enum class Choice {
        None,     ///< the placeholder: no ROM
        Valid,    ///< a ROM that passed its checks
        Refused,  ///< a ROM that failed them (its message was shown)
    };

    /// Makes the window's controls lblRomToRun, cmbFilename, lblFilename and
    /// cmdOpen, laid out in Row(), and drives them.
    RomChooser(Services& services, QWidget* window);

    /// The row of controls, for the window's layout to take.
    QHBoxLayout* Row() const { return m_row; }

    /// Called after every choice, so the window can enable its run buttons.
    std::function<void(Choice)> onChoice;

    /// Opening the window: the recent list read and shown, the placeholder chosen.
    void Load(const std::string& baseDirectory);
    /// Select ROM: the open dialog; a cancel changes nothing.
    void cmdOpen_Click();

    /// A ROM is chosen: a recent entry (list on), or the label holds a path (list off).
    bool HasRom() const;
    /// The chosen ROM's path: the combo's text, or the label's caption.
    QString RomPath() const;
    bool RecentListOn() const { return m_recent.Count() > 0; }

private:
    void cmbFilename_Click(int index);
    /// The ROM checks; a valid ROM goes to the front of the recent list, a
    /// refused one leaves it.
    void Choose(const QString& path);
    void FillDropDown();
    void SelectEntry(const QString& path);

    Services& m_services;
    QWidget* m_window;
    QHBoxLayout* m_row;
    QComboBox* cmbFilename;
    QLabel* lblFilename;
    QPushButton* cmdOpen;
    rom::RecentRomList m_recent;
    std::string m_baseDirectory;
    bool m_refilling = false;  ///< the selection handler ignores changes while set
};

}  // namespace kestro::platform
