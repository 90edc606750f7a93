// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ROM images made for tests: a header, and filler bytes chosen so that the
// header-excluded byte sum (the column A checksum) is a wanted value.
//
//   auto rom = RomBuilder().Title("GOLF").Maker("01").GameCode("VVGE").Build();
//   RomBuilder::KnownDump("Mario Clash (JU) [!]").GameCode("VMCE").WriteTo(path);

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rom/RomHeader.h"

namespace kestro::test {

class RomBuilder {
public:
    /// The size used when none is given and the wanted sum fits in it.
    static constexpr std::size_t kDefaultSize = 64 * 1024;

    RomBuilder() = default;

    /// A known dump of the table: its expected header (version 0) and filler
    /// reaching its column A checksum, so that it identifies as that name;
    /// change a field afterwards for the "[h]" forms. The size is the smallest
    /// power of two that fits (512 KiB to 2 MiB, as real dumps). Five homebrew
    /// rows cannot match column B with their expected header: built so, they
    /// identify with "[h]". Throws std::invalid_argument for a name that is not a row.
    static RomBuilder KnownDump(std::string_view name);
    /// A ROM with an ordinary header ("TEST ROM", "01", "VTSE") whose
    /// checksums match no known dump.
    static RomBuilder Unknown();

    /// The file length; without it the builder picks one (see kDefaultSize).
    RomBuilder& Size(std::size_t size);
    /// The title bytes, padded with spaces to 20; longer texts throw.
    RomBuilder& Title(std::string_view bytes);
    RomBuilder& Maker(std::string_view code);
    RomBuilder& GameCode(std::string_view code);
    RomBuilder& Version(std::uint8_t version);
    /// One of the five reserved bytes (index 0-4), zero unless set.
    RomBuilder& Reserved(std::size_t index, std::uint8_t value);
    /// The wanted header-excluded sum, modulo 2^32.
    RomBuilder& HeaderExcludedSum(std::uint32_t sum);
    /// Varies the filler; the same seed gives the same bytes.
    RomBuilder& Seed(std::uint32_t seed);

    /// The image. Throws std::invalid_argument when the wanted sum cannot be
    /// reached in the size given.
    std::vector<std::uint8_t> Build() const;
    /// Builds, writes the file (replacing any), and returns the bytes written.
    std::vector<std::uint8_t> WriteTo(const std::string& path) const;

private:
    std::size_t ChosenSize() const;

    std::optional<std::size_t> m_size;
    std::string m_header = std::string(rom::kHeaderSize, '\0');
    std::optional<std::uint32_t> m_sum;
    std::uint32_t m_seed = 1;
};

/// The whole content of a file (empty when it cannot be read).
std::vector<std::uint8_t> ReadBytes(const std::string& path);

/// Writes bytes to a file as they are, for hand-made test files.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace kestro::test
