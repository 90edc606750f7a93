// SPDX-License-Identifier: GPL-3.0-or-later
// The clrmamepro text form: blocks of key/value pairs in parentheses,
//   clrmamepro ( name "..." description "..." )
//   game ( name "..." description "..." rom ( name "..." size N crc X md5 X sha1 X ) )
// read by a tokenizer of our own. Every step consumes at least one token, so
// no input can make it loop; a fault names its line.
#include <functional>

#include "romdb/DatFile.h"

namespace kestro::romdb::dat {

namespace {

struct Token {
    enum class Kind { Open, Close, Word, Text, End };
    Kind kind = Kind::End;
    std::string_view value;
    std::size_t line = 0;
};

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : m_text(text) {}

    /// The next token; a quoted text never closed is reported in error.
    Token Next() {
        SkipBlanks();
        Token token;
        token.line = m_line;
        if (m_at >= m_text.size()) return token;
        const char c = m_text[m_at];
        if (c == '(' || c == ')') {
            token.kind = c == '(' ? Token::Kind::Open : Token::Kind::Close;
            token.value = m_text.substr(m_at++, 1);
            return token;
        }
        if (c == '"') {
            const std::size_t close = m_text.find('"', m_at + 1);
            if (close == std::string_view::npos) {
                error = AtLine(m_line, "a quoted text begins here and is never closed (was the file cut short?)");
                m_at = m_text.size();
                return token;
            }
            token.kind = Token::Kind::Text;
            token.value = m_text.substr(m_at + 1, close - m_at - 1);
            for (char inside : token.value) m_line += inside == '\n' ? 1 : 0;
            m_at = close + 1;
            return token;
        }
        const std::size_t start = m_at;
        while (m_at < m_text.size() && !IsBlank(m_text[m_at]) && m_text[m_at] != '(' && m_text[m_at] != ')') ++m_at;
        token.kind = Token::Kind::Word;
        token.value = m_text.substr(start, m_at - start);
        return token;
    }

    std::string error;

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
    void SkipBlanks() {
        while (m_at < m_text.size() && IsBlank(m_text[m_at])) m_line += m_text[m_at++] == '\n' ? 1 : 0;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 1;
};

bool IsValue(const Token& t) {
    return t.kind == Token::Kind::Word || t.kind == Token::Kind::Text;
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_tokens(text), m_size(text.size()) {}

    DatRead Parse() {
        DatFile dat;
        dat.format = DatFile::Format::ClrMamePro;
        dat.games.ReserveForText(m_size);
        bool first = true;
        for (;;) {
            const Token kind = Take();
            if (!m_error.empty()) return Fail();
            if (kind.kind == Token::Kind::End) break;
            if (kind.kind != Token::Kind::Word) {
                return Fail(AtLine(kind.line, first ? Foreign()
                                                    : "\"" + std::string(kind.value) +
                                                          "\" where a block such as game ( ... ) should begin"));
            }
            const bool header = kind.value == "clrmamepro";
            const bool game = kind.value == "game" || kind.value == "resource" || kind.value == "machine";
            if (first && !header && !game && kind.value != "emulator") return Fail(AtLine(kind.line, Foreign()));
            first = false;
            const Token open = Take();
            if (open.kind != Token::Kind::Open) {
                return Fail(AtLine(open.line, "\"(\" should follow \"" + std::string(kind.value) + "\""));
            }
            if (header) {
                ReadBlock(kind, [&](std::string_view key, std::string_view value) {
                    if (key == "name") dat.name = value;
                    if (key == "description") dat.description = value;
                });
            } else if (game) {
                std::string_view name, description;
                ReadBlock(
                    kind,
                    [&](std::string_view key, std::string_view value) {
                        if (key == "name") name = value;
                        if (key == "description") description = value;
                    },
                    &dat.games);
                if (m_error.empty()) dat.games.AddGame(name, description);
            } else {
                ReadBlock(kind, [](std::string_view, std::string_view) {});
            }
            if (!m_error.empty()) return Fail();
        }
        if (first) return Fail(AtLine(1, Foreign()));
        if (dat.games.empty()) return Fail(AtLine(m_lastLine, "the DAT lists no game with a rom"));
        return {std::move(dat), {}};
    }

private:
    using Pair = std::function<void(std::string_view key, std::string_view value)>;

    void ReadBlock(const Token& opened, const Pair& pair, DatGames* roms = nullptr) {
        for (;;) {
            const Token key = Take();
            if (!m_error.empty()) return;
            if (key.kind == Token::Kind::Close) return;
            if (key.kind == Token::Kind::End) {
                m_error = AtLine(key.line, "the file ends inside the " + std::string(opened.value) +
                                               " block opened on line " + std::to_string(opened.line) +
                                               " (was it cut short?)");
                return;
            }
            if (key.kind != Token::Kind::Word) {
                m_error = AtLine(key.line,
                                 "a name such as name or rom should come here, not \"" + std::string(key.value) + "\"");
                return;
            }
            const Token value = Take();
            if (!m_error.empty()) return;
            if (value.kind == Token::Kind::Open) {
                if (key.value == "rom" && roms != nullptr) {
                    DatRomRecord rom;
                    std::string_view name;
                    ReadBlock(key, [&](std::string_view k, std::string_view v) { RomPair(rom, name, k, v, key.line); });
                    rom.nameAt = roms->Keep(name);
                    rom.nameLength = static_cast<std::uint32_t>(name.size());
                    roms->AddRom(rom);
                } else {
                    ReadBlock(key, [](std::string_view, std::string_view) {});
                }
                if (!m_error.empty()) return;
                continue;
            }
            if (!IsValue(value)) {
                m_error = value.kind == Token::Kind::End
                              ? AtLine(value.line, "the file ends inside the " + std::string(opened.value) +
                                                       " block opened on line " + std::to_string(opened.line) +
                                                       " (was it cut short?)")
                              : AtLine(value.line, "\"" + std::string(key.value) + "\" has no value");
                return;
            }
            pair(key.value, value.value);
        }
    }

    void RomPair(DatRomRecord& rom, std::string_view& name, std::string_view key, std::string_view value,
                 std::size_t line) {
        if (!m_error.empty()) return;
        if (key == "name") {
            name = value;
        } else if (key == "size" || key == "crc" || key == "md5" || key == "sha1") {
            if (auto fault = RomField(rom, name, key, value)) m_error = AtLine(line, *fault);
        }
    }

    Token Take() {
        Token t = m_tokens.Next();
        if (!m_tokens.error.empty() && m_error.empty()) m_error = m_tokens.error;
        m_lastLine = t.line;
        return t;
    }

    static std::string Foreign() {
        return "this is no DAT file: it is neither Logiqx XML nor clrmamepro text (game ( ... ) blocks)";
    }

    DatRead Fail(std::string error = {}) {
        if (!error.empty()) m_error = std::move(error);
        return {std::nullopt, m_error};
    }

    Tokenizer m_tokens;
    std::size_t m_size;
    std::string m_error;
    std::size_t m_lastLine = 1;
};

}  // namespace

DatRead ParseClrMamePro(std::string_view text) {
    return Parser(text).Parse();
}

}  // namespace kestro::romdb::dat
