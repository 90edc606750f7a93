// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainMenuTexts.h"

#include "help/HelpTopics.h"

namespace kestro::app {

using namespace kestro::base;
using help::JoinParagraphs;

std::string MainHelpText() {
    return JoinParagraphs({
        "Kestro Utilities:",
        "This application allows you to view, run and manipulate cartain aspects of Nintendo(R) Virtual Boy(TM) "
        "ROM image files.",
        "To select a section, click on the appropriate button. If the Main Menu option has been enabled in the "
        "Options, click the window until the list of options appears as images on the screen, then select the "
        "appropriate image.",
        "All sections can also be accessed from the File menu by selecting the appropriate option.",
        "There are six major sections to this application. They are listed below:",
        "View/Edit ROM Info: This allows you to view and/or modify the information contained in the header of a "
        "ROM file.",
        "ROM Tile Viewer: This allows you to view the graphics contained in a ROM file.",
        "VB ROM Database: This allow you to identify, rename and/or move a collection of ROM files.",
        "Virtual Boy Emulators: This allows you to select from a few of the most common Virtual Boy ROM file "
        "emulators.",
        "Virtual Boy Utilities: This allows you to select from a few of the most common Virtual Boy ROM "
        "development utilities.",
        "Kestro Utils Options: Displays the Options window. Use this to configure Kestro Utilities.",
        "",
    });
}

PowerButtonStep PowerButtonStepFor(int c) {
    switch (c) {
        case 0:
            return {{"Don't click me",
                     JoinCr({"CAUTION: Do not click this button, as this may shorten the life of the batteries",
                             "and cause battery backed-up Utility Apps to lose their stored information."}),
                     MessageIcon::Information},
                    "Please Don't Click Me..."};
        case 1:
            return {{"Please don't click me", "I said not to click this button!", MessageIcon::Exclamation},
                    "DON'T CLICK ME!!!..."};
        default:
            return {{"DON'T CLICK ME!!!", "ALRIGHT!!! NOW YOU'VE DONE IT!!!", MessageIcon::Information}, "TOO LATE!!!"};
    }
}

Message AboutThanksMessage() {
    return {"Emulation rules! Thanks everyone!",
            JoinCr({"Thanks again to everyone involved in", "the emulation scene.   You guys rock!", "",
                    "          - The Kestro Utilities team"}),
            MessageIcon::Information, MessageButtons::YesNo, MessageResult::Yes};
}

Message AboutSelectedNoMessage() {
    return {"You selected no!", "What do you mean no?!?!", MessageIcon::None};
}

}  // namespace kestro::app
