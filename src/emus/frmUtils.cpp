// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmUtils.h"

namespace kestro::emus {

namespace {

// What follows a found tool: the C compiler's notice, or the tool's start.
void RunChoice(platform::Services& services, QWidget* parent, base::Program program, const Choice& choice) {
    if (choice.message) services.messages.Show(parent, *choice.message);
    if (!choice.start) return;
    const base::LaunchResult result = services.processes.Start(*choice.start);
    if (!result.started) services.messages.Show(parent, StartFailedMessage(program, result.error));
}

}  // namespace

frmUtils::frmUtils(platform::Services& services, QWidget* parent)
    : frmChooser(services, "frmUtils", "Virtual Boy Utilities...", kUtilities, parent) {}

void frmUtils::ProgramFound(base::Program program, const Choice& choice) {
    // The chooser closes before the tool starts or the notice shows.
    accept();
    RunChoice(m_services, parentWidget(), program, choice);
}

bool StartUtility(platform::Services& services, QWidget* parent, base::Program program) {
    const Choice choice = ChooseProgram(program, ReadProgramSettings(services.settings, program).directory);
    if (!choice.found) {
        services.messages.Show(parent, *choice.message);
        return false;
    }
    RunChoice(services, parent, program, choice);
    return true;
}

}  // namespace kestro::emus
