// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Patch files (IPS, BPS, UPS): reading one, applying it to a ROM's bytes and
// creating one from an original and a modified ROM. Every read is
// bounds-checked; a damaged patch is refused with the byte offset at fault
// and gives no output at all.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::patch {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

enum class PatchFormat { Ips, Bps, Ups };

/// "IPS", "BPS" or "UPS".
std::string_view FormatName(PatchFormat format);
/// The format a patch's first bytes announce; nothing for none of the three.
std::optional<PatchFormat> DetectFormat(ByteView patch);
/// The format a file name's extension names (.ips, .bps, .ups in any case).
std::optional<PatchFormat> FormatFromFileName(std::string_view name);

/// The largest target a patch may ask for: four times the largest cartridge,
/// so that a damaged size cannot make us allocate gigabytes.
inline constexpr std::uint64_t kLargestTarget = std::uint64_t{64} << 20;
/// IPS offsets have three bytes: no record can reach past 16 MiB.
inline constexpr std::uint64_t kLargestIpsTarget = std::uint64_t{16} << 20;

/// What a patch says about itself. BPS and UPS record sizes and CRC32s of
/// the source, the target and the patch; IPS records none of them.
struct PatchInfo {
    PatchFormat format = PatchFormat::Ips;
    bool hasChecks = false;
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
    std::uint32_t patchCrc = 0;
    std::string metadata;                     ///< BPS only, as stored
    std::size_t records = 0;                  ///< IPS records, BPS actions, UPS hunks
    std::optional<std::uint32_t> truncateTo;  ///< IPS only: the size after "EOF"
};

/// A patch read whole, or why it was refused.
struct ReadResult {
    std::optional<PatchInfo> info;
    std::string error;  ///< names the byte offset at fault
};

/// Reads the whole patch (every record walked, the patch's own CRC32 checked)
/// without applying it.
ReadResult ReadPatch(ByteView patch);

enum class ApplyStatus {
    Applied,
    WrongBase,    ///< the source is not the file the patch records (nothing applied)
    Damaged,      ///< the patch is malformed or points outside the source
    WrongResult,  ///< applied to the right base, but the result's CRC32 is not the recorded one
};

struct ApplyResult {
    ApplyStatus status = ApplyStatus::Damaged;
    PatchInfo info;
    Bytes target;                       ///< filled only when Applied
    std::string error;                  ///< for Damaged and WrongResult
    bool reversed = false;              ///< a UPS patch undone: the source was its target
    std::vector<std::string> warnings;  ///< what a forced apply went past
};

/// Applies the patch to the source. With force, a BPS or UPS patch is applied
/// to a source whose size or CRC32 differ from the recorded ones (a warning
/// says so) and a result of the wrong CRC32 is kept with a warning.
ApplyResult ApplyPatch(ByteView patch, ByteView source, bool force = false);

struct CreateResult {
    Bytes patch;
    std::string error;  ///< why no patch could be made (IPS past 16 MiB)
    bool Ok() const { return error.empty(); }
};

/// An IPS patch: changed stretches as records, runs of one byte as RLE
/// records, a shorter target as the size after "EOF".
CreateResult CreateIps(ByteView source, ByteView target);
/// A BPS patch: unchanged stretches read from the source, moved data copied
/// from wherever it lies in the source or the target already written.
Bytes CreateBps(ByteView source, ByteView target, std::string_view metadata = {});
/// A UPS patch: the XOR of the two files in hunks.
Bytes CreateUps(ByteView source, ByteView target);
/// One of the three, by format.
CreateResult CreatePatch(PatchFormat format, ByteView source, ByteView target);

/// The CRC32 (zlib's) of the bytes.
std::uint32_t Crc32(ByteView bytes);
/// 8 upper-case hex digits.
std::string CrcHex(std::uint32_t crc);

}  // namespace kestro::patch
