// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bounds-checked reading of a patch: every failure names the byte offset
// where the patch stops making sense.

#include <cstddef>
#include <cstdint>
#include <string>

#include "patch/Patch.h"

namespace kestro::patch::detail {

struct PatchError {
    std::size_t offset;
    std::string why;
};

/// "The patch is damaged at byte 1234 (0x4D2): why."
std::string DamagedText(const PatchError& error);

class PatchReader {
public:
    /// Reads data up to end (the footer, when there is one, lies past it).
    PatchReader(ByteView data, std::size_t end) : m_data(data), m_end(end) {}

    std::size_t Offset() const { return m_pos; }
    bool AtEnd() const { return m_pos >= m_end; }
    [[noreturn]] void Fail(std::size_t offset, std::string why) const { throw PatchError{offset, std::move(why)}; }

    std::uint8_t Byte(const char* what);
    /// count bytes in place; the patch stays alive while they are used.
    const std::uint8_t* Take(std::uint64_t count, const char* what);
    std::uint32_t BigEndian(int bytes, const char* what);
    /// The variable-length number BPS and UPS write: 7 bits a byte, the top
    /// bit ending it, each further byte adding one to avoid two spellings.
    std::uint64_t Number(const char* what);

private:
    ByteView m_data;
    std::size_t m_end;
    std::size_t m_pos = 0;
};

/// Little-endian 32-bit value at offset (the caller checked the length).
std::uint32_t Le32(ByteView data, std::size_t offset);
void PutLe32(Bytes& out, std::uint32_t value);
void PutNumber(Bytes& out, std::uint64_t value);

/// The footer BPS and UPS share: source, target and patch CRC32. Checks the
/// patch's own CRC; returns where the body ends.
std::size_t ReadFooter(ByteView patch, std::size_t headerSize, PatchInfo& info);
/// The start BPS and UPS share: the footer checked, the 4-byte mark passed,
/// format, checks and both sizes put in info. The reader stands after the
/// target size; targetSizeAt is where that size began.
PatchReader ReadHeader(ByteView patch, PatchFormat format, PatchInfo& info, std::size_t& targetSizeAt);
/// A BPS patch's metadata, which follows its sizes.
void ReadMetadata(PatchReader& in, PatchInfo& info);

ApplyResult ApplyIps(ByteView patch, ByteView source);
ApplyResult ApplyBps(ByteView patch, ByteView source, bool force);
ApplyResult ApplyUps(ByteView patch, ByteView source, bool force);

/// The base check BPS and UPS share; fills warnings when forced past it.
bool SourceMatches(const PatchInfo& info, ByteView source, std::uint32_t sourceCrc, bool force, ApplyResult& result);
/// The result check: the target's CRC32 against the recorded one.
void CheckTarget(ApplyResult& result);

}  // namespace kestro::patch::detail
