// SPDX-License-Identifier: GPL-3.0-or-later
// BPS: "BPS1", the source, target and metadata sizes, the metadata, then
// actions until the footer. Each action is a number whose low two bits say
// what it does and whose rest is its length less one.
#include <cstring>

#include "patch/Patch.h"
#include "patch/PatchReader.h"

namespace kestro::patch::detail {

namespace {

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// A copy's start relative to where the last copy of its kind ended: the low
// bit is the sign.
std::int64_t Relative(PatchReader& in, std::int64_t from, std::uint64_t limit, const char* what) {
    const std::size_t at = in.Offset();
    const std::uint64_t data = in.Number(what);
    const std::uint64_t magnitude = data >> 1;
    if (magnitude > limit) in.Fail(at, std::string(what) + " points outside the file");
    const std::int64_t to =
        (data & 1) ? from - static_cast<std::int64_t>(magnitude) : from + static_cast<std::int64_t>(magnitude);
    if (to < 0 || static_cast<std::uint64_t>(to) > limit) in.Fail(at, std::string(what) + " points outside the file");
    return to;
}

}  // namespace

ApplyResult ApplyBps(ByteView patch, ByteView source, bool force) {
    ApplyResult result;
    PatchInfo& info = result.info;
    std::size_t targetSizeAt = 0;
    PatchReader in = ReadHeader(patch, PatchFormat::Bps, info, targetSizeAt);
    if (info.targetSize > kLargestTarget) in.Fail(targetSizeAt, "the target size is larger than any ROM");
    ReadMetadata(in, info);
    if (!SourceMatches(info, source, Crc32(source), force, result)) return result;

    Bytes& out = result.target;
    out.resize(info.targetSize);
    std::uint64_t written = 0;
    std::int64_t sourceFrom = 0;
    std::int64_t targetFrom = 0;
    const std::uint64_t sourceSize = source.size();
    while (!in.AtEnd()) {
        const std::size_t at = in.Offset();
        const std::uint64_t data = in.Number("an action");
        const std::uint64_t length = (data >> 2) + 1;
        if (length > info.targetSize - written) in.Fail(at, "an action writes past the end of the target");
        switch (data & 3) {
            case SourceRead:
                if (written + length > sourceSize) in.Fail(at, "a source read points outside the source ROM");
                std::memcpy(out.data() + written, source.data() + written, length);
                break;
            case TargetRead: std::memcpy(out.data() + written, in.Take(length, "a target read"), length); break;
            case SourceCopy: {
                if (length > sourceSize) in.Fail(at, "a source copy points outside the source ROM");
                sourceFrom = Relative(in, sourceFrom, sourceSize - length, "a source copy");
                std::memcpy(out.data() + written, source.data() + sourceFrom, length);
                sourceFrom += static_cast<std::int64_t>(length);
                break;
            }
            case TargetCopy: {
                if (written == 0) in.Fail(at, "a target copy comes before anything was written");
                targetFrom = Relative(in, targetFrom, written - 1, "a target copy");
                // Overlapping copies repeat what they have just written.
                std::uint8_t* dst = out.data() + written;
                const std::uint8_t* src = out.data() + targetFrom;
                if (static_cast<std::uint64_t>(targetFrom) + length <= written) {
                    std::memcpy(dst, src, length);
                } else {
                    for (std::uint64_t i = 0; i < length; ++i) dst[i] = src[i];
                }
                targetFrom += static_cast<std::int64_t>(length);
                break;
            }
        }
        written += length;
        ++info.records;
    }
    if (written != info.targetSize) in.Fail(in.Offset(), "the actions end before the target is complete");
    CheckTarget(result);
    return result;
}

}  // namespace kestro::patch::detail
