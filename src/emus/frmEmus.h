// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The emulator chooser: Reality Boy, Virtual-E, Red Dragon and Mednafen, each offered
// when the options switched it on. Choosing one whose program is present
// closes the chooser; the opener then shows that emulator's front-end.

#include <optional>
#include <string>

#include "emus/frmChooser.h"

namespace kestro::emus {

class frmEmus final : public frmChooser {
    Q_OBJECT
public:
    explicit frmEmus(platform::Services& services, QWidget* parent = nullptr);

    /// The emulator chosen, once the chooser has closed; nothing after a close.
    std::optional<base::Program> Chosen() const { return m_chosen; }
    /// The chosen emulator's program file (for Reality Boy, Rboy.exe or VB_98.exe).
    const std::string& ChosenProgramFile() const { return m_chosenFile; }

private:
    void ProgramFound(base::Program program, const Choice& choice) override;

    std::optional<base::Program> m_chosen;
    std::string m_chosenFile;
};

}  // namespace kestro::emus
