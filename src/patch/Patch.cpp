// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/Patch.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "patch/PatchReader.h"

namespace kestro::patch {

using detail::PatchError;

namespace {

bool StartsWith(ByteView bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return out;
}

}  // namespace

std::string_view FormatName(PatchFormat format) {
    switch (format) {
        case PatchFormat::Ips: return "IPS";
        case PatchFormat::Bps: return "BPS";
        case PatchFormat::Ups: return "UPS";
    }
    return {};
}

std::optional<PatchFormat> DetectFormat(ByteView patch) {
    if (StartsWith(patch, "PATCH")) return PatchFormat::Ips;
    if (StartsWith(patch, "BPS1")) return PatchFormat::Bps;
    if (StartsWith(patch, "UPS1")) return PatchFormat::Ups;
    return std::nullopt;
}

std::optional<PatchFormat> FormatFromFileName(std::string_view name) {
    const std::string lower = Lower(name);
    for (PatchFormat f : {PatchFormat::Ips, PatchFormat::Bps, PatchFormat::Ups}) {
        if (lower.ends_with("." + Lower(FormatName(f)))) return f;
    }
    return std::nullopt;
}

std::uint32_t Crc32(ByteView bytes) {
    return static_cast<std::uint32_t>(libdeflate_crc32(0, bytes.data(), bytes.size()));
}

std::string CrcHex(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", crc);
    return text;
}

ApplyResult ApplyPatch(ByteView patch, ByteView source, bool force) {
    const auto format = DetectFormat(patch);
    try {
        if (!format) throw PatchError{0, "it starts with none of the marks \"PATCH\", \"BPS1\" or \"UPS1\""};
        switch (*format) {
            case PatchFormat::Ips: return detail::ApplyIps(patch, source);
            case PatchFormat::Bps: return detail::ApplyBps(patch, source, force);
            case PatchFormat::Ups: return detail::ApplyUps(patch, source, force);
        }
    } catch (const PatchError& e) {
        ApplyResult refused;
        refused.status = ApplyStatus::Damaged;
        refused.error = detail::DamagedText(e);
        if (format) refused.info.format = *format;
        return refused;
    }
    return {};
}

ReadResult ReadPatch(ByteView patch) {
    // Applying to an empty source walks every record; BPS and UPS are read
    // forced so that the missing base is no reason to stop.
    const auto format = DetectFormat(patch);
    ReadResult read;
    if (format == PatchFormat::Ips) {
        ApplyResult walked = ApplyPatch(patch, {}, true);
        if (walked.status == ApplyStatus::Damaged) {
            read.error = walked.error;
        } else {
            read.info = walked.info;
        }
        return read;
    }
    try {
        if (!format) throw PatchError{0, "it starts with none of the marks \"PATCH\", \"BPS1\" or \"UPS1\""};
        PatchInfo info;
        std::size_t targetSizeAt = 0;
        detail::PatchReader in = detail::ReadHeader(patch, *format, info, targetSizeAt);
        if (*format == PatchFormat::Bps) detail::ReadMetadata(in, info);
        read.info = info;
    } catch (const PatchError& e) {
        read.error = detail::DamagedText(e);
    }
    return read;
}

CreateResult CreatePatch(PatchFormat format, ByteView source, ByteView target) {
    switch (format) {
        case PatchFormat::Ips: return CreateIps(source, target);
        case PatchFormat::Bps: return {CreateBps(source, target), {}};
        case PatchFormat::Ups: return {CreateUps(source, target), {}};
    }
    return {};
}

namespace detail {

std::string DamagedText(const PatchError& error) {
    char where[64];
    std::snprintf(where, sizeof where, "%zu (0x%zX)", error.offset, error.offset);
    return "The patch is damaged at byte " + std::string(where) + ": " + error.why + ".";
}

std::uint8_t PatchReader::Byte(const char* what) {
    if (m_pos >= m_end) Fail(m_pos, std::string(what) + " runs past the end of the patch");
    return m_data[m_pos++];
}

const std::uint8_t* PatchReader::Take(std::uint64_t count, const char* what) {
    if (count > m_end - m_pos) Fail(m_pos, std::string(what) + " runs past the end of the patch");
    const std::uint8_t* at = m_data.data() + m_pos;
    m_pos += static_cast<std::size_t>(count);
    return at;
}

std::uint32_t PatchReader::BigEndian(int bytes, const char* what) {
    const std::uint8_t* at = Take(static_cast<std::uint64_t>(bytes), what);
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | at[i];
    return value;
}

std::uint64_t PatchReader::Number(const char* what) {
    const std::size_t start = m_pos;
    std::uint64_t value = 0;
    std::uint64_t shift = 1;
    for (;;) {
        const std::uint8_t byte = Byte(what);
        // Past 2^56 a further byte could wrap the value around.
        if (shift > (std::uint64_t{1} << 56)) Fail(start, std::string(what) + " overflows");
        value += (byte & 0x7F) * shift;
        if (byte & 0x80) return value;
        shift <<= 7;
        value += shift;
    }
}

std::uint32_t Le32(ByteView data, std::size_t offset) {
    return std::uint32_t{data[offset]} | std::uint32_t{data[offset + 1]} << 8 | std::uint32_t{data[offset + 2]} << 16 |
           std::uint32_t{data[offset + 3]} << 24;
}

void PutLe32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutNumber(Bytes& out, std::uint64_t value) {
    for (;;) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --value;
    }
}

std::size_t ReadFooter(ByteView patch, std::size_t headerSize, PatchInfo& info) {
    if (patch.size() < headerSize + 12) {
        throw PatchError{patch.size(), "it ends before its three CRC32 values"};
    }
    const std::size_t end = patch.size() - 12;
    info.sourceCrc = Le32(patch, end);
    info.targetCrc = Le32(patch, end + 4);
    info.patchCrc = Le32(patch, end + 8);
    if (Crc32(patch.first(end + 8)) != info.patchCrc) {
        throw PatchError{end + 8, "its own CRC32 is not that of its bytes (the file is damaged or cut short)"};
    }
    return end;
}

PatchReader ReadHeader(ByteView patch, PatchFormat format, PatchInfo& info, std::size_t& targetSizeAt) {
    info.format = format;
    info.hasChecks = true;
    PatchReader in(patch, ReadFooter(patch, 4, info));
    in.Take(4, "the mark");
    info.sourceSize = in.Number("the source size");
    targetSizeAt = in.Offset();
    info.targetSize = in.Number("the target size");
    return in;
}

void ReadMetadata(PatchReader& in, PatchInfo& info) {
    const std::uint64_t size = in.Number("the metadata size");
    const std::uint8_t* text = in.Take(size, "the metadata");
    info.metadata.assign(reinterpret_cast<const char*>(text), size);
}

bool SourceMatches(const PatchInfo& info, ByteView source, std::uint32_t sourceCrc, bool force, ApplyResult& result) {
    if (source.size() == info.sourceSize && sourceCrc == info.sourceCrc) return true;
    if (!force) {
        result.status = ApplyStatus::WrongBase;
        return false;
    }
    result.warnings.push_back("Applied to a file other than the one the patch is for (CRC32 " + CrcHex(info.sourceCrc) +
                              ", " + std::to_string(info.sourceSize) + " bytes).");
    return true;
}

void CheckTarget(ApplyResult& result) {
    result.status = ApplyStatus::Applied;
    if (Crc32(result.target) == result.info.targetCrc) return;
    const std::string text = "The patched file's CRC32 is " + CrcHex(Crc32(result.target)) + ", not the patch's " +
                             CrcHex(result.info.targetCrc) + ".";
    if (!result.warnings.empty()) {
        // Forced onto another base: a different result is what was asked for.
        result.warnings.push_back(text);
        return;
    }
    result.status = ApplyStatus::WrongResult;
    result.error = text;
    result.target.clear();
}

}  // namespace detail

}  // namespace kestro::patch
