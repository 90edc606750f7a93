// SPDX-License-Identifier: GPL-3.0-or-later
// Creating BPS patches. One pass over the target: at each position the
// longest of three matches is taken (the same place in the source, any place
// in the source, any place already written in the target), found through
// hash tables of 8-byte blocks; where none is long enough the byte goes into
// the patch as it is.
#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "patch/Patch.h"
#include "patch/PatchReader.h"

namespace kestro::patch {

namespace {

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

constexpr std::size_t kBlock = 8;
// Shorter matches cost more in action heads and offsets than they save.
constexpr std::size_t kShortestRead = 4;
constexpr std::size_t kShortestCopy = kBlock;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

std::uint32_t BlockHash(const std::uint8_t* at, int bits) {
    std::uint64_t block;
    std::memcpy(&block, at, kBlock);
    return static_cast<std::uint32_t>((block * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
}

std::size_t MatchLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t most) {
    std::size_t n = 0;
    while (n + kBlock <= most && std::memcmp(a + n, b + n, kBlock) == 0) n += kBlock;
    while (n < most && a[n] == b[n]) ++n;
    return n;
}

// One table slot per block start, the latest start kept.
class BlockTable {
public:
    explicit BlockTable(std::size_t size)
        : m_bits(std::clamp(static_cast<int>(std::bit_width(size)), 10, 22)),
          m_slots(std::size_t{1} << m_bits, kNone) {}
    void Add(const std::uint8_t* base, std::size_t pos) {
        m_slots[BlockHash(base + pos, m_bits)] = static_cast<std::uint32_t>(pos);
    }
    std::uint32_t Find(const std::uint8_t* at) const { return m_slots[BlockHash(at, m_bits)]; }

private:
    int m_bits;
    std::vector<std::uint32_t> m_slots;
};

class BpsWriter {
public:
    explicit BpsWriter(ByteView target) : m_target(target) {}
    Bytes out;

    void Literal() { ++m_pending; }
    void Read(std::size_t length) { Emit(SourceRead, length); }
    void Copy(Action kind, std::size_t from, std::size_t length) {
        Emit(kind, length);
        std::int64_t& last = kind == SourceCopy ? m_sourceFrom : m_targetFrom;
        const std::int64_t delta = static_cast<std::int64_t>(from) - last;
        detail::PutNumber(out, (static_cast<std::uint64_t>(delta < 0 ? -delta : delta) << 1) | (delta < 0 ? 1 : 0));
        last = static_cast<std::int64_t>(from + length);
    }
    void Flush() {
        if (m_pending == 0) return;
        detail::PutNumber(out, ((m_pending - 1) << 2) | TargetRead);
        out.insert(out.end(), m_target.begin() + m_written, m_target.begin() + m_written + m_pending);
        m_written += m_pending;
        m_pending = 0;
    }

private:
    void Emit(Action kind, std::size_t length) {
        Flush();
        detail::PutNumber(out, ((length - 1) << 2) | kind);
        m_written += length;
    }

    ByteView m_target;
    std::size_t m_written = 0;
    std::size_t m_pending = 0;
    std::int64_t m_sourceFrom = 0;
    std::int64_t m_targetFrom = 0;
};

}  // namespace

Bytes CreateBps(ByteView source, ByteView target, std::string_view metadata) {
    BpsWriter writer(target);
    Bytes& out = writer.out;
    out.assign({'B', 'P', 'S', '1'});
    detail::PutNumber(out, source.size());
    detail::PutNumber(out, target.size());
    detail::PutNumber(out, metadata.size());
    out.insert(out.end(), metadata.begin(), metadata.end());

    const std::uint8_t* src = source.data();
    const std::uint8_t* tgt = target.data();
    const std::size_t S = source.size();
    const std::size_t T = target.size();
    BlockTable sourceBlocks(S);
    for (std::size_t p = 0; p + kBlock <= S; ++p) sourceBlocks.Add(src, p);
    BlockTable targetBlocks(T);
    std::size_t indexed = 0;  // target blocks before this start are in the table

    for (std::size_t t = 0; t < T;) {
        for (; indexed < t && indexed + kBlock <= T; ++indexed) targetBlocks.Add(tgt, indexed);
        Action kind = TargetRead;
        std::size_t best = 0;
        std::size_t from = 0;
        if (t < S) {
            const std::size_t n = MatchLength(src + t, tgt + t, std::min(S, T) - t);
            if (n >= kShortestRead) kind = SourceRead, best = n;
        }
        if (t + kBlock <= T) {
            if (const std::uint32_t p = sourceBlocks.Find(tgt + t); p != kNone && p != t) {
                const std::size_t n = MatchLength(src + p, tgt + t, std::min(S - p, T - t));
                if (n >= kShortestCopy && n > best) kind = SourceCopy, best = n, from = p;
            }
            // Byte by byte, as the copy will run: an overlapping copy repeats a pattern.
            if (const std::uint32_t p = targetBlocks.Find(tgt + t); p != kNone && p < t) {
                std::size_t n = 0;
                while (t + n < T && tgt[p + n] == tgt[t + n]) ++n;
                if (n >= kShortestCopy && n > best) kind = TargetCopy, best = n, from = p;
            }
        }
        if (kind == TargetRead) {
            writer.Literal();
            ++t;
            continue;
        }
        if (kind == SourceRead) {
            writer.Read(best);
        } else {
            writer.Copy(kind, from, best);
        }
        t += best;
    }
    writer.Flush();
    detail::PutLe32(out, Crc32(source));
    detail::PutLe32(out, Crc32(target));
    detail::PutLe32(out, Crc32(out));
    return std::move(out);
}

}  // namespace kestro::patch
