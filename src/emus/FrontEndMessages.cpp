// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/FrontEndMessages.h"

#include "help/HelpTopics.h"

namespace kestro::emus {

using namespace kestro::base;

Message SaveSettingChangesQuestion() {
    return {"Save setting changes",
            JoinCr({"Settings have changed since last save.", "Do you wish to save & use current settings?"}),
            MessageIcon::Question, MessageButtons::OkCancel, MessageResult::Cancel};
}

std::string VirtualEHelpText() {
    return help::JoinParagraphs({
        "Virtual-E Frontend:",
        "Virtual-E keeps its settings in the registry, which on this computer is the registry of your Wine prefix "
        "($WINEPREFIX, or ~/.wine). This window reads them when it opens and writes them when you save or run, so "
        "that Virtual-E finds them when it starts. Virtual-E starts without a ROM: choose the game inside the "
        "emulator.",
        "Display Thread, Emulator Thread: How much of the computer's time Virtual-E's drawing and its emulation "
        "get, from Idle to Real Time priority. Normal suits most computers.",
        "Core Emulation: Frame Skip draws only every so many frames; FPS is the number of frames a second. Both run "
        "from 1 to 32767. Ignore Display IRQ, Timer IRQ and Control IRQ make the emulator leave out those "
        "interrupts, which helps a few games run.",
        "General Options: Ignore VB Palette uses the emulator's own colours instead of the ROM's, Enable Sound turns "
        "sound on, Enable SRAM keeps the games' saved data, and the slider makes the picture darker or brighter "
        "(-5 to 5). The Standard, Small and Full Screen options choose the size of the emulator's window.",
        "Save Settings writes the settings; Revert Settings brings back the ones last saved, Revert to Default the "
        "emulator's defaults (neither writes anything until you save).",
        "Run Virtual-E starts VIRTUALE.EXE from the Virtual-E directory set in the options, under Wine. When you "
        "have changed settings since the last save, you are asked whether to save and use them first.",
        "Control Configuration lets you choose the keys for the controller's buttons: click a button, then press "
        "the key (or click the mouse button) to use for it.",
        "While Virtual-E (or another Windows program) runs, Wine holds the registry in memory; the settings are "
        "then handed to Wine directly, which takes a few seconds.",
        "",
    });
}

}  // namespace kestro::emus
