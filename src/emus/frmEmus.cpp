// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmEmus.h"

namespace kestro::emus {

frmEmus::frmEmus(platform::Services& services, QWidget* parent)
    : frmChooser(services, "frmEmus", "Virtual Boy Emulators...", kEmulators, parent) {}

void frmEmus::ProgramFound(base::Program program, const Choice& choice) {
    m_chosen = program;
    m_chosenFile = choice.programFile;
    accept();
}

}  // namespace kestro::emus
