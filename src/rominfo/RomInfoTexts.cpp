// SPDX-License-Identifier: GPL-3.0-or-later
#include "rominfo/RomInfoTexts.h"

#include "help/HelpTopics.h"

namespace kestro::rominfo {

using base::Message;
using base::MessageButtons;
using base::MessageIcon;
using base::MessageResult;

std::string RomInfoCaption(std::string_view reading) {
    return "ROM Information - [" + std::string(reading) + "]";
}

std::string RomInfoHelpText() {
    return help::JoinParagraphs({
        "ROM Information:",
        "Use this to display and/or edit the information contained in the header of a ROM. To open, close or save "
        "a ROM file, choose the appropriate option from the File menu.",
        "If the MRU (Most Recently Used files) option has been enabled, the last used ROMs can be selected from "
        "the Recent Files option in the File menu.",
        "ROM Size: Displays the size of the ROM file in bytes and megabits (8 megabits = 1MB).",
        "ROM Title: Displays the title of the ROM. If the title contains Japanese characters, the characters will "
        "be displayed in Katakana. To view the english translation, leave the mouse over the title for a few "
        "seconds.",
        "To edit the title, click on Edit and use the buttons to type in Katakana characters, while using the "
        "keyboard to type in normal characters. Click OK to accept changes or Cancel to disregard them.",
        "A title can only be a maximum of 20 characters long.",
        "Manufacturer ID: Displays the ID of the game manufacturer. This usually consists of a 2 character "
        "hexadecimal number for official games, and a 2 character string for PD (Public Domain) ROMs.",
        "To change the ID, either select an existing one from the combo box, or type one into the text box.",
        "A manufacturer ID can only be a maximum of 2 characters long.",
        "ROM ID: Displays the ID of the game. This usually consists of four characters: a 'V'; two uppercase "
        "characters indicating the game; and an uppercase character indicating the country (J for Japan, U for "
        "USA, etc).",
        "A ROM ID can only be a maximum of 4 charcters long.",
        "Version: Displays the version number of a ROM. If it is a first release, it is set to 1.0. Any rereleases "
        "are then incremented to 1.1, 1.2, etc. To change the version number, select a number from the combe box.",
        "Version numbers can only be between 1.0 and 1.255.",
        "Identify ROM: Only available if the ROM identification option has been enabled.",
        "Displays the identification of the ROM if it is a known ROM.",
        "Revert ROM: Only available if the ROM identification option has been enabled.",
        "If the ROM has been identified, this reverts the ROM header information to what it originally is. The "
        "file can then be saved and should be identified as a good ROM [!] instead of a hacked ROM [h].",
    });
}

Message CloseRomQuestion() {
    return {"Close ROM?", "Are you sure you want to close this ROM?", MessageIcon::Question, MessageButtons::YesNo,
            MessageResult::No};
}

Message SaveRomQuestion(std::string_view reading) {
    return {"Save new ROM info?", "Are you sure you want to save [" + std::string(reading) + "]?",
            MessageIcon::Question, MessageButtons::YesNo, MessageResult::No};
}

Message ReplaceFileQuestion(std::string_view path) {
    return {"Save File As", base::JoinCr({std::string(path) + " already exists.", "Do you wish to replace it?"}),
            MessageIcon::Exclamation, MessageButtons::YesNo, MessageResult::No};
}

}  // namespace kestro::rominfo
