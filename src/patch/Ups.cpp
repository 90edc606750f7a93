// SPDX-License-Identifier: GPL-3.0-or-later
// UPS: "UPS1", the two sizes, then hunks of a skip count and XOR bytes ended
// by a zero byte, then the footer. XOR works both ways, so a patch applied to
// its own target gives back its source.
#include <algorithm>

#include "patch/Patch.h"
#include "patch/PatchReader.h"

namespace kestro::patch {

Bytes CreateUps(ByteView source, ByteView target) {
    Bytes out{'U', 'P', 'S', '1'};
    detail::PutNumber(out, source.size());
    detail::PutNumber(out, target.size());
    const std::size_t size = std::max(source.size(), target.size());
    const auto xorAt = [&](std::size_t i) {
        const std::uint8_t s = i < source.size() ? source[i] : 0;
        const std::uint8_t t = i < target.size() ? target[i] : 0;
        return static_cast<std::uint8_t>(s ^ t);
    };
    std::size_t last = 0;  // where the previous hunk's terminator ended
    for (std::size_t i = 0; i < size;) {
        if (xorAt(i) == 0) {
            ++i;
            continue;
        }
        detail::PutNumber(out, i - last);
        while (i < size && xorAt(i) != 0) out.push_back(xorAt(i++));
        out.push_back(0);
        last = ++i;
    }
    detail::PutLe32(out, Crc32(source));
    detail::PutLe32(out, Crc32(target));
    detail::PutLe32(out, Crc32(out));
    return out;
}

namespace detail {

ApplyResult ApplyUps(ByteView patch, ByteView source, bool force) {
    ApplyResult result;
    PatchInfo& info = result.info;
    std::size_t targetSizeAt = 0;
    PatchReader in = ReadHeader(patch, PatchFormat::Ups, info, targetSizeAt);
    if (std::max(info.sourceSize, info.targetSize) > kLargestTarget) {
        in.Fail(targetSizeAt, "a size is larger than any ROM");
    }

    PatchInfo forward = info;
    // One pass over the source answers both questions: is it the base, or the result?
    const std::uint32_t sourceCrc = Crc32(source);
    if (source.size() == info.targetSize && sourceCrc == info.targetCrc &&
        !(source.size() == info.sourceSize && sourceCrc == info.sourceCrc)) {
        // The patched file given: undo the patch.
        std::swap(forward.sourceSize, forward.targetSize);
        std::swap(forward.sourceCrc, forward.targetCrc);
        result.reversed = true;
    }
    if (!SourceMatches(forward, source, sourceCrc, force, result)) return result;

    Bytes& out = result.target;
    out.assign(forward.targetSize, 0);
    std::copy_n(source.begin(), std::min<std::size_t>(source.size(), out.size()), out.begin());
    std::uint64_t pos = 0;
    while (!in.AtEnd()) {
        const std::size_t at = in.Offset();
        const std::uint64_t skip = in.Number("a hunk's skip count");
        if (pos > kLargestTarget || skip > kLargestTarget - pos) in.Fail(at, "a hunk lies past the end of the file");
        pos += skip;
        for (;;) {
            const std::uint8_t x = in.Byte("a hunk");
            if (x == 0) break;
            if (pos < out.size()) out[pos] ^= x;
            if (++pos > kLargestTarget) in.Fail(at, "a hunk lies past the end of the file");
        }
        ++pos;
        ++info.records;
    }
    // The result is checked against the CRC32 of the direction taken.
    const std::uint32_t recorded = info.targetCrc;
    info.targetCrc = forward.targetCrc;
    CheckTarget(result);
    info.targetCrc = recorded;
    return result;
}

}  // namespace detail

}  // namespace kestro::patch
