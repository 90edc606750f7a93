// SPDX-License-Identifier: GPL-3.0-or-later
#include <ostream>

#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "rom/TitleText.h"
#include "rominfo/RomajiReading.h"

namespace kestro::cli {

int RomajiCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Prints the romaji reading of a ROM title, as window captions and reports show it. TEXT is UTF-8, "
        "with Japanese in half-width katakana (U+FF61-U+FF9F).",
        "kestro romaji"};
    bool hex = false;
    std::string text;
    command.add_flag("--hex", hex, "TEXT is the title's bytes in hexadecimal (C4CBDE...)");
    command.add_option("TEXT", text, "The title")->required();
    if (auto status = ParseCommand(command, args, out, err)) return *status;

    auto title = hex ? rom::BytesFromHex(text) : rom::Utf8ToTitle(text);
    if (!title) {
        err << "kestro romaji: "
            << (hex ? "TEXT is not hexadecimal byte pairs."
                    : "TEXT holds a character that no title byte shows (Japanese must be half-width katakana).")
            << '\n';
        return kExitUsage;
    }
    out << rominfo::RomajiReadingUtf8(*title) << '\n';
    return kExitOk;
}

}  // namespace kestro::cli
