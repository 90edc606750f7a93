// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shape the emulator front-ends with a ROM to run share: the window's
// name and caption, its menus ("&File" with "&Back to main menu", "&Help"
// with the window's help command), the ROM row on top, the help box at the
// foot, and the help command that opens the window's topic with that text.

#include <QDialog>
#include <string>

#include "platform/Services.h"

class QAction;
class QPlainTextEdit;
class QVBoxLayout;

namespace kestro::platform {
class RomChooser;
}

namespace kestro::emus {

class frmFrontEnd : public QDialog {
    Q_OBJECT
protected:
    struct Shape {
        const char* name;         ///< the window's design name ("frmRealityBoy")
        const char* caption;      ///< "Reality Boy Frontend"
        const char* helpCaption;  ///< the help command ("Reality Boy Frontend &Help...")
        const char* topic;        ///< the help topic's key ("Reality Boy")
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

    platform::Services& m_services;
    platform::RomChooser* m_rom = nullptr;
    std::string m_baseDirectory;
    QAction* mnuFileBack = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QPlainTextEdit* txtHelp = nullptr;

private:
    void mnuHelpHelp_Click();

    QString m_topic;
};

}  // namespace kestro::emus
