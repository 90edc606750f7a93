// SPDX-License-Identifier: GPL-3.0-or-later
// IPS: "PATCH", records of a 3-byte offset and a 2-byte size (size 0: a run
// of one byte, RLE), "EOF", and optionally the 3-byte size to cut the result to.
#include <algorithm>
#include <cstring>

#include "patch/Patch.h"
#include "patch/PatchReader.h"

namespace kestro::patch {

namespace {

constexpr std::uint32_t kEofMark = 0x454F46;  // "EOF" read as an offset
constexpr std::size_t kLongestRecord = 0xFFFF;
// A run shorter than this costs less as plain bytes than as an RLE record.
constexpr std::size_t kShortestRun = 9;
// Unchanged bytes between two changes: fewer than this are cheaper inside
// one record than as the five bytes of a new record's head.
constexpr std::size_t kLongestGap = 5;

class IpsWriter {
public:
    explicit IpsWriter(ByteView target) : m_target(target) { m_out.assign({'P', 'A', 'T', 'C', 'H'}); }

    void Literal(std::size_t start, std::size_t length) {
        while (length > 0) {
            // A record may not begin at 0x454F46: begin it a byte earlier,
            // writing again the byte that is already right there.
            std::size_t from = start == kEofMark ? start - 1 : start;
            const std::size_t take = std::min(length, kLongestRecord - (start - from));
            const std::size_t count = take + (start - from);
            Head(from, count);
            m_out.insert(m_out.end(), m_target.begin() + from, m_target.begin() + from + count);
            start += take;
            length -= take;
        }
    }

    void Run(std::size_t start, std::size_t length) {
        if (start == kEofMark) {
            Literal(start, 1);
            ++start;
            --length;
        }
        while (length > 0) {
            const std::size_t take = std::min(length, kLongestRecord);
            if (take < kShortestRun || start == kEofMark) {
                Literal(start, take);
            } else {
                Head(start, 0);
                m_out.push_back(static_cast<std::uint8_t>(take >> 8));
                m_out.push_back(static_cast<std::uint8_t>(take));
                m_out.push_back(m_target[start]);
            }
            start += take;
            length -= take;
        }
    }

    Bytes Finish(std::optional<std::size_t> truncateTo) {
        m_out.insert(m_out.end(), {'E', 'O', 'F'});
        if (truncateTo) Put(*truncateTo, 3);
        return std::move(m_out);
    }

private:
    void Head(std::size_t offset, std::size_t size) {
        Put(offset, 3);
        Put(size, 2);
    }
    void Put(std::size_t value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) m_out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    ByteView m_target;
    Bytes m_out;
};

// One changed stretch [start, end) written as plain records and RLE runs.
void WriteStretch(IpsWriter& writer, ByteView target, std::size_t start, std::size_t end) {
    std::size_t literal = start;
    std::size_t i = start;
    while (i < end) {
        std::size_t j = i + 1;
        while (j < end && target[j] == target[i]) ++j;
        if (j - i >= kShortestRun) {
            writer.Literal(literal, i - literal);
            writer.Run(i, j - i);
            literal = j;
        }
        i = j;
    }
    writer.Literal(literal, end - literal);
}

}  // namespace

CreateResult CreateIps(ByteView source, ByteView target) {
    // The last offset and the size after "EOF" both have three bytes.
    if (target.size() > kLargestIpsTarget || (target.size() < source.size() && target.size() >= kLargestIpsTarget)) {
        return {{},
                "An IPS patch cannot describe a file of " + std::to_string(target.size()) +
                    " bytes: its offsets end at 16 MiB. Create a BPS patch instead."};
    }
    IpsWriter writer(target);
    const auto differs = [&](std::size_t i) { return i >= source.size() || source[i] != target[i]; };
    std::size_t i = 0;
    while (i < target.size()) {
        if (!differs(i)) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        for (std::size_t gap = 0; end + gap < target.size() && gap <= kLongestGap;) {
            if (differs(end + gap)) {
                end += gap + 1;
                gap = 0;
            } else {
                ++gap;
            }
        }
        WriteStretch(writer, target, i, end);
        i = end;
    }
    // A grown file ending in bytes equal to the old ones still needs its last
    // byte written, or the patched file would stop short.
    if (target.size() > source.size() && !differs(target.size() - 1)) writer.Literal(target.size() - 1, 1);
    std::optional<std::size_t> truncate;
    if (target.size() < source.size()) truncate = target.size();
    return {writer.Finish(truncate), {}};
}

namespace detail {

ApplyResult ApplyIps(ByteView patch, ByteView source) {
    ApplyResult result;
    result.info.format = PatchFormat::Ips;
    PatchReader in(patch, patch.size());
    in.Take(5, "the mark");
    Bytes out(source.begin(), source.end());
    for (;;) {
        const std::size_t at = in.Offset();
        if (in.AtEnd()) in.Fail(at, "the patch has no \"EOF\" mark");
        const std::uint32_t offset = in.BigEndian(3, "a record's offset");
        if (offset == kEofMark) break;
        std::uint32_t size = in.BigEndian(2, "a record's size");
        const std::uint8_t* bytes = nullptr;
        std::uint8_t fill = 0;
        if (size == 0) {
            size = in.BigEndian(2, "an RLE record's length");
            if (size == 0) in.Fail(at, "an RLE record has the length 0");
            fill = in.Byte("an RLE record's byte");
        } else {
            bytes = in.Take(size, "a record");
        }
        if (out.size() < std::size_t{offset} + size) out.resize(std::size_t{offset} + size);
        if (bytes != nullptr) {
            std::memcpy(out.data() + offset, bytes, size);
        } else {
            std::memset(out.data() + offset, fill, size);
        }
        ++result.info.records;
    }
    if (!in.AtEnd()) {
        const std::uint32_t size = in.BigEndian(3, "the size after \"EOF\"");
        if (!in.AtEnd()) in.Fail(in.Offset(), "bytes follow the size after \"EOF\"");
        result.info.truncateTo = size;
        if (size < out.size()) out.resize(size);
    }
    result.info.targetSize = out.size();
    result.info.sourceSize = source.size();
    result.target = std::move(out);
    result.status = ApplyStatus::Applied;
    return result;
}

}  // namespace detail

}  // namespace kestro::patch
