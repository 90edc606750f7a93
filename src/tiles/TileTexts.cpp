// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TileTexts.h"

#include <algorithm>
#include <cmath>

#include "base/NumericText.h"
#include "help/HelpTopics.h"

namespace kestro::tiles {

namespace {}

const std::array<NavigationButton, 14> kNavigationButtons{{
    {"cmdGotoWidth", "...", "Change view width...", GotoWhat::Width},
    {"cmdGotoOffset", "...", "CHange file offset...", GotoWhat::Offset},
    {"cmdTileHalf", "<-/2", "Halve width", ViewStep::TileHalf},
    {"cmdTileDouble", "x2->", "Double width", ViewStep::TileDouble},
    {"cmdOffsetDown", "<-1", "Left 1 byte", ViewStep::OffsetDown},
    {"cmdOffsetUp", "1->", "Right 1 byte", ViewStep::OffsetUp},
    {"cmdTileLeft", "<<", "Decrease width", ViewStep::TileLeft},
    {"cmdTileRight", ">>", "Increase width", ViewStep::TileRight},
    {"cmdOffsetDownTile", "<", "Left 1 tile", ViewStep::OffsetDownTile},
    {"cmdOffsetUpTile", ">", "Right 1 tile", ViewStep::OffsetUpTile},
    {"cmdUp", "Up", "Up 1 tile", ViewStep::Up},
    {"cmdDown", "Dn", "Down 1 tile", ViewStep::Down},
    {"cmdPageUp", "PgUp", "Up 1 screen", ViewStep::PageUp},
    {"cmdPageDown", "PgDn", "Down 1 screen", ViewStep::PageDown},
}};

std::string RomCaption(std::string_view title) {
    return "ROM Tile Viewer - [" + std::string(title) + "]";
}

double ElapsedSeconds(double startSeconds, double nowSeconds) {
    // Keep the difference to whole milliseconds, free of binary noise.
    return std::max(0.0, std::round((nowSeconds - startSeconds) * 1000) / 1000);
}

std::string UpdateCaption(double seconds) {
    return "Update Screen: " + base::DecimalText(seconds) + " seconds";
}

base::Message CopiedMessage() {
    return {"Copied to clipboard", "Image copied to clipboard.", base::MessageIcon::Information};
}

base::Message SavedMessage(std::string_view path) {
    return {"Saved to file", base::JoinCr({"Image saved to file:", path}), base::MessageIcon::Information};
}

base::Message ReplaceQuestion(std::string_view path) {
    return {"Save File As", base::JoinCr({std::string(path) + " already exists.", "Do you wish to replace it?"}),
            base::MessageIcon::Exclamation, base::MessageButtons::YesNo, base::MessageResult::No};
}

base::Message WriteFailedMessage(std::string_view reason) {
    return {"Unable to save file", std::string(reason), base::MessageIcon::Exclamation};
}

base::Message NoWholeRowMessage() {
    return {"Save to PNG", "Not one row of tiles of the view lies wholly inside the ROM.",
            base::MessageIcon::Exclamation};
}

base::Message ImportRefusedMessage(std::string_view path, std::string_view reason) {
    return {"Cannot import tiles", base::JoinCr({path, reason}), base::MessageIcon::Exclamation};
}

base::Message NearestQuestion(std::string_view reason) {
    return {"Import Tiles from PNG",
            base::JoinCr({reason, "", "Take the nearest palette colour for every colour that is in no entry?"}),
            base::MessageIcon::Question, base::MessageButtons::YesNo, base::MessageResult::No};
}

base::Message ImportedMessage(std::string_view changes, bool anyChanged) {
    const std::string text = std::string(changes) + ".";
    if (!anyChanged)
        return {"Tiles imported", base::JoinCr({text, "The ROM stays as it is."}), base::MessageIcon::Information};
    return {"Tiles imported", base::JoinCr({text, "Marked in the view; save the new ROM next."}),
            base::MessageIcon::Information};
}

base::Message RomSavedMessage(std::string_view path) {
    return {"Saved to file", base::JoinCr({"ROM saved to file:", path}), base::MessageIcon::Information};
}

std::string EditedRomName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    const std::string_view stem = hasExtension ? fileName.substr(0, dot) : fileName;
    return std::string(stem) + "-edited" + std::string(hasExtension ? fileName.substr(dot) : ".vb");
}

base::Message KeyCodeMessage(int code) {
    return {"", std::to_string(code), base::MessageIcon::None};
}

std::string_view GotoCaption(GotoWhat what) {
    return what == GotoWhat::Width ? "Goto specific width..." : "Goto specific offset...";
}

std::string_view GotoLabel(GotoWhat what) {
    return what == GotoWhat::Width ? "Width:" : "Offset:";
}

std::string TileViewerHelpText() {
    return help::JoinParagraphs({
        "The ROM Tile Viewer shows the bytes of a Virtual Boy ROM image as the console's own graphics: "
        "characters of 8 x 8 pixels, 2 bits a pixel, 16 bytes each, drawn in a palette of four colours.",
        "Open a ROM with File, Open ROM... (or one of the recent files). The view starts at offset 0 and "
        "is 48 tiles wide and 28 tiles high. Press Update Screen to draw it, or tick Auto-Update Display "
        "to have it drawn after every step. The time the last drawing took is shown on the button.",
        "Offset (bytes) is where the view starts in the ROM. <-1 and 1-> move it by one byte, < and > by "
        "one tile, Up and Dn by one row of tiles, PgUp and PgDn by a whole screen. The ... button beside "
        "it lets you type an offset.",
        "Width (tiles) is how many tiles make one row of the view. Graphics stored for a screen of a "
        "certain width only look right at that width: use << and >> to change it by one, <-/2 and x2-> "
        "to halve or double it, or the ... button to type it. Widths above 48 are followed in the ROM, "
        "but only the first 48 tiles of each row are shown.",
        "Palette opens the palette window, where the four colours are set by their red, green and blue "
        "values (0 to 255), loaded from a preset or a palette file (.pvb), or saved to one. Apply keeps "
        "them; the view is then drawn in the new colours.",
        "Edit, Copy to clipboard puts the view on the clipboard as a picture; Edit, Save to bitmap... "
        "saves it as a Windows bitmap file (.bmp).",
        "File, Save to PNG... saves the view's tiles as an indexed PNG picture whose pixels are the tiles' "
        "own values 0 to 3, with the ROM's name, the offset and the width kept in it. Redraw it in an image "
        "editor, then File, Import Tiles from PNG... puts it back where it came from: the changed tiles are "
        "outlined in yellow until the next drawing, and Save As writes the new ROM (the original is replaced "
        "only if you choose it and confirm).",
    });
}

}  // namespace kestro::tiles
