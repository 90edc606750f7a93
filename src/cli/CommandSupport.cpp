// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandSupport.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <ostream>

#include "base/NumericText.h"
#include "base/Utf8Text.h"
#include "cli/Cli.h"
#include "rom/MakerTable.h"
#include "rom/TitleText.h"
#include "rominfo/RomInfoView.h"
#include "rominfo/RomajiReading.h"

namespace kestro::cli {

std::optional<int> ParseCommand(CLI::App& command, const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err) {
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        command.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << command.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << command.get_name() << ": " << e.what() << '\n'
            << "Run '" << command.get_name() << " --help' for usage.\n";
        return kExitUsage;
    }
    return std::nullopt;
}

std::optional<std::int64_t> ParseWholeOption(std::string_view text, std::int64_t low, std::int64_t high) {
    const auto value = base::WholeNumber(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

std::string WholeOptionProblem(std::string_view option, std::string_view text, std::int64_t low, std::int64_t high) {
    const std::string range = high == std::numeric_limits<std::int64_t>::max()
                                  ? std::to_string(low) + " or more"
                                  : "from " + std::to_string(low) + " to " + std::to_string(high);
    std::string shown(text);
    // The argument is the user's own UTF-8; only control codes are kept off the terminal.
    for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return std::string(option) + ": \"" + shown + "\" is not a whole number " + range +
           " (decimal, or hexadecimal after 0x).";
}

std::string PrintableText(std::string_view bytes, bool katakana) {
    if (katakana) return rom::ShownTitleUtf8(bytes);
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const bool control = b < 0x20 || (b >= 0x7F && b < 0xA0);
        const std::string_view one(&c, 1);
        out += control ? "\xEF\xBF\xBD" : rom::Latin1ToUtf8(one);
    }
    return out;
}

namespace {

// UTF-8 as it is; each stray byte and control code (and the backslash, when
// the text must read back exactly) as \xHH.
std::string EscapedName(std::string_view name, bool escapeBackslash) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t at = 0; at < name.size();) {
        std::size_t length = base::Utf8SequenceLength(name.substr(at));
        const auto lead = static_cast<unsigned char>(name[at]);
        const bool control = lead < 0x20 || lead == 0x7F || (escapeBackslash && lead == '\\') ||
                             (length == 2 && lead == 0xC2 && static_cast<unsigned char>(name[at + 1]) < 0xA0);
        if (length == 0 || control) {
            length = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < length; ++i) {
                const auto b = static_cast<unsigned char>(name[at + i]);
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 0x0F];
            }
        } else {
            out.append(name.substr(at, length));
        }
        at += length;
    }
    return out;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = base::Utf8SequenceLength(text.substr(at));
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// Beside each text that is not UTF-8, NAME_bytes with its exact bytes; for a
// list of texts, a list of the same length (null for the entries that are).
nlohmann::ordered_json WithExactBytes(const nlohmann::ordered_json& json) {
    using nlohmann::ordered_json;
    auto bytes = [](const ordered_json& v) {
        return v.is_string() && !IsUtf8(v.get_ref<const std::string&>())
                   ? ordered_json(EscapedName(v.get_ref<const std::string&>(), true))
                   : ordered_json(nullptr);
    };
    if (json.is_array()) {
        ordered_json out = ordered_json::array();
        for (const ordered_json& v : json) out.push_back(WithExactBytes(v));
        return out;
    }
    if (!json.is_object()) return json;
    ordered_json out = ordered_json::object();
    for (const auto& [key, value] : json.items()) {
        out[key] = WithExactBytes(value);
        if (value.is_string() && !bytes(value).is_null()) {
            out[key + "_bytes"] = bytes(value);
        } else if (value.is_array() && std::any_of(value.begin(), value.end(),
                                                   [&](const ordered_json& v) { return !bytes(v).is_null(); })) {
            auto& list = out[key + "_bytes"] = ordered_json::array();
            for (const ordered_json& v : value) list.push_back(bytes(v));
        }
    }
    return out;
}

}  // namespace

std::string PrintableName(std::string_view name) {
    return EscapedName(name, false);
}

std::string MessageLine(const base::Message& message) {
    std::string text = message.text;
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return message.title + ": " + text;
}

std::string JsonText(const nlohmann::ordered_json& json) {
    return WithExactBytes(json).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

namespace {
// A value as JsonText writes it, nested `level` deep.
std::string JsonAt(const nlohmann::ordered_json& json, int level) {
    const std::string text = json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    const std::string indent(static_cast<std::size_t>(2 * level), ' ');
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        out += c;
        if (c == '\n') out += indent;  // a line break inside a text is written escaped
    }
    return out;
}
}  // namespace

void WriteJsonStreamingList(std::ostream& out, const nlohmann::ordered_json& json, const std::string& key,
                            std::size_t count, const std::function<nlohmann::ordered_json(std::size_t)>& item) {
    const nlohmann::ordered_json top = WithExactBytes(json);
    if (top.empty()) {
        out << "{}";
        return;
    }
    const char* separator = "{\n  ";
    for (const auto& [name, value] : top.items()) {
        out << separator << JsonAt(name, 1) << ": ";
        separator = ",\n  ";
        if (name != key || count == 0) {
            out << JsonAt(value, 1);
            continue;
        }
        for (std::size_t i = 0; i < count; ++i) out << (i == 0 ? "[\n    " : ",\n    ") << JsonAt(WithExactBytes(item(i)), 2);
        out << "\n  ]";
    }
    out << "\n}";
}

nlohmann::ordered_json RomJson(const std::string& path, const rom::RomOpenResult& opened) {
    nlohmann::ordered_json json;
    json["path"] = path;
    json["accepted"] = opened.Accepted();
    if (!opened.Accepted()) {
        json["message"] = {{"title", opened.message.title}, {"text", opened.message.text}};
        return json;
    }
    const auto view = rominfo::DescribeRom(opened.image, true);
    const auto& id = *view.identification;
    json["size"] = opened.image.size;
    json["size_text"] = view.sizeText;
    json["title"] = rom::TitleToUtf8(view.title);
    json["title_hex"] = rom::HexText(view.title);
    json["reading"] = rom::Latin1ToUtf8(view.reading);
    json["maker_code"] = rom::Latin1ToUtf8(view.makerCode);
    auto makerName = rom::MakerListName(view.makerCode);
    json["maker_name"] = makerName ? nlohmann::ordered_json(*makerName) : nlohmann::ordered_json(nullptr);
    json["game_code"] = rom::Latin1ToUtf8(view.gameCode);
    json["version"] = view.version;
    json["version_text"] = view.versionText;
    json["checksum_a"] = id.checksumA;
    json["checksum_b"] = id.checksumB;
    json["identification"] = id.label;
    json["revert_available"] = id.revertAvailable;
    return json;
}

void PrintRom(std::ostream& out, const std::string& path, const rom::RomOpenResult& opened) {
    out << path << '\n';
    if (!opened.Accepted()) {
        out << "  Refused:          " << MessageLine(opened.message) << '\n';
        return;
    }
    const auto view = rominfo::DescribeRom(opened.image, true);
    const auto& id = *view.identification;
    auto makerName = rom::MakerListName(view.makerCode);
    out << "  ROM Title:        " << PrintableText(view.title) << '\n'
        << "  Reading:          " << PrintableText(view.reading, false) << '\n'
        << "  Manufacturer ID:  " << PrintableText(view.makerCode, false) << (makerName ? " (" + *makerName + ")" : "")
        << '\n'
        << "  ROM ID:           " << PrintableText(view.gameCode, false) << '\n'
        << "  Version:          " << view.versionText << '\n'
        << "  ROM Size:         " << view.sizeText << '\n'
        << "  Identify ROM:     " << id.label << '\n'
        << "  Checksums:        " << id.checksumA << " (header left out), " << id.checksumB << " (whole file)\n"
        << "  Revert:           " << (id.revertAvailable ? "available" : "not available") << '\n';
}

std::optional<int> ReadDatOption(const std::string& path, std::string_view command, std::ostream& err,
                                 std::shared_ptr<const romdb::Catalogue>& catalogue) {
    romdb::DatRead read = romdb::ReadDatFile(path);
    if (!read) {
        err << command << ": " << read.error << '\n';
        return kExitRefused;
    }
    catalogue = std::make_shared<const romdb::Catalogue>(std::move(*read.dat));
    return std::nullopt;
}

nlohmann::ordered_json HashesJson(const romdb::FileHashes& hashes) {
    auto textOrNull = [](const std::string& text) {
        return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
    };
    return {
        {"crc32", hashes.hasCrc ? nlohmann::ordered_json(romdb::CrcText(hashes.crc)) : nlohmann::ordered_json(nullptr)},
        {"sha1", textOrNull(hashes.sha1)},
        {"md5", textOrNull(hashes.md5)}};
}

}  // namespace kestro::cli
