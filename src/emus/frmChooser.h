// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the emulator and utility choosers share: one entry per program, greyed
// when the options switched it off; a click on an entry looks for its program
// in its directory and says so when it is missing.

#include <QDialog>
#include <vector>

#include "emus/ProgramFiles.h"
#include "platform/Services.h"

namespace kestro::platform {
class ChoiceFrame;
}

namespace kestro::emus {

class frmChooser : public QDialog {
    Q_OBJECT
protected:
    frmChooser(platform::Services& services, const char* name, const char* caption, const ChooserEntries& programs,
               QWidget* parent);

    /// The chosen entry's program is there: what this chooser does next.
    virtual void ProgramFound(base::Program program, const Choice& choice) = 0;

    platform::Services& m_services;

private:
    void BuildControls();
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();

    void fraEntry_Click(int entry);

    std::vector<base::Program> m_entries;
    std::vector<ProgramSettings> m_programs;
    /// fraRboy, fraVirte, fraRdrag, fraMednafen or fraVECC, fraEnvironment, fraVBDK
    std::vector<platform::ChoiceFrame*> fraEntry;
};

}  // namespace kestro::emus
