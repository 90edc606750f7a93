// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/RomScan.h"

#include <algorithm>
#include <chrono>

#include "kestro/VbChecksum.h"
#include "rom/RomHeader.h"

namespace kestro::romdb {

namespace {

// Lets a window draw while a very large file is read; ROMs themselves are
// read long before this much.
constexpr std::int64_t kPumpEvery = 16 * 1024 * 1024;

// Copies the part of a chunk that falls inside the header bytes.
void TakeHeaderBytes(const std::uint8_t* chunk, std::int64_t chunkStart, std::int64_t length, std::int64_t headerStart,
                     std::string& header) {
    const std::int64_t headerEnd = headerStart + static_cast<std::int64_t>(rom::kHeaderSize);
    const std::int64_t from = std::max(chunkStart, headerStart);
    const std::int64_t to = std::min(chunkStart + length, headerEnd);
    for (std::int64_t at = from; at < to; ++at)
        header[static_cast<std::size_t>(at - headerStart)] = static_cast<char>(chunk[at - chunkStart]);
}

bool ReservedBytesZero(const std::string& header) {
    const auto first = header.begin() + static_cast<std::ptrdiff_t>(rom::kReservedOffset);
    return std::all_of(first, first + static_cast<std::ptrdiff_t>(rom::kReservedLength), [](char c) { return c == 0; });
}

}  // namespace

std::string RomScan::ChecksumA() const {
    return checksum::ChecksumText(wholeSum - headerSum);
}

std::string RomScan::ChecksumB() const {
    return checksum::ChecksumText(wholeSum);
}

RomScan ScanRomFile(FileOps& files, const std::string& path, std::vector<std::uint8_t>& buffer,
                    const std::function<void()>& pump) {
    std::string error;
    auto input = files.OpenRead(path, error);
    if (!input) {
        RomScan scan;
        scan.result = RomScan::Result::Unreadable;
        scan.error = std::move(error);
        return scan;
    }
    return ScanInput(*input, buffer, pump);
}

RomScan ScanInput(InputFile& input, std::vector<std::uint8_t>& buffer, const std::function<void()>& pump,
                  HashRun* hashes, const HashNeeds& needs) {
    RomScan scan;
    scan.size = input.Size();
    if (scan.size <= 0) return scan;
    if (scan.size <= static_cast<std::int64_t>(rom::kHeaderBlockSize)) {
        scan.result = RomScan::Result::TooSmall;
        return scan;
    }
    if (buffer.size() < kReadChunkSize) buffer.resize(kReadChunkSize);
    const std::int64_t headerStart = scan.size - static_cast<std::int64_t>(rom::kHeaderBlockSize);
    scan.header.assign(rom::kHeaderSize, '\0');
    std::int64_t offset = 0;
    std::int64_t sincePump = 0;
    const std::int64_t started =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    const FileIdentity before = input.Identity();
    const bool hashing = hashes != nullptr && needs.Any();
    if (hashing) hashes->Start(needs);
    for (;;) {
        std::ptrdiff_t n = input.Read(buffer.data(), buffer.size());
        if (n < 0) {
            scan.result = RomScan::Result::Unreadable;
            scan.error = input.Error();
            return scan;
        }
        if (n == 0) break;
        scan.wholeSum += checksum::ByteSum(buffer.data(), static_cast<std::size_t>(n));
        if (hashing) hashes->Update(buffer.data(), static_cast<std::size_t>(n));
        TakeHeaderBytes(buffer.data(), offset, n, headerStart, scan.header);
        offset += n;
        sincePump += n;
        if (sincePump >= kPumpEvery && pump) {
            sincePump = 0;
            pump();
        }
    }
    if (offset != scan.size) {
        // The file changed length while it was read: its header is not where it was.
        scan.result = RomScan::Result::Unreadable;
        scan.error = "The file changed while it was read.";
        return scan;
    }
    if (hashing) scan.hashes = hashes->Finish();
    scan.headerSum = checksum::ByteSum(reinterpret_cast<const std::uint8_t*>(scan.header.data()), scan.header.size());
    scan.result = ReservedBytesZero(scan.header) ? RomScan::Result::Valid : RomScan::Result::Invalid;
    if (before.size == scan.size && ChangeTimeSettled(before, started) && input.Identity() == before) {
        scan.identity = before;
    }
    return scan;
}

std::string HeaderDigits(const std::string& header) {
    std::string digits;
    digits.reserve(header.size() * 3);
    for (char c : header) {
        const unsigned value = static_cast<unsigned char>(c);
        digits += static_cast<char>('0' + value / 100);
        digits += static_cast<char>('0' + value / 10 % 10);
        digits += static_cast<char>('0' + value % 10);
    }
    return digits;
}

std::string HeaderFromDigits(const std::string& digits) {
    std::string header;
    for (std::size_t at = 0; at + 3 <= digits.size(); at += 3) {
        unsigned value = 0;
        for (std::size_t k = at; k < at + 3; ++k) {
            const char c = digits[k];
            value = value * 10 + ((c >= '0' && c <= '9') ? static_cast<unsigned>(c - '0') : 0);
        }
        header += static_cast<char>(value & 0xFF);
    }
    return header;
}

}  // namespace kestro::romdb
