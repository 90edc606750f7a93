// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hashes DAT files list (CRC32, MD5, SHA-1), taken in the same read as
// the byte sums: a file's bytes pass through once, whatever is asked of them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kestro::romdb {

/// Which hashes a catalogue needs; the built-in table needs none.
struct HashNeeds {
    bool crc = false;
    bool sha1 = false;
    bool md5 = false;
    bool Any() const { return crc || sha1 || md5; }
};

/// Hashes of one file's bytes; a hash not asked for stays empty.
struct FileHashes {
    bool hasCrc = false;
    std::uint32_t crc = 0;
    std::string sha1;  ///< 40 lower-case hex digits
    std::string md5;   ///< 32 lower-case hex digits
};

/// CRC32 as DATs write it: 8 lower-case hex digits.
std::string CrcText(std::uint32_t crc);
/// Bytes of a digest as DATs write them: two lower-case hex digits each.
std::string HashText(const std::uint8_t* bytes, std::size_t size);

/// Runs the asked hashes over chunks of one file at a time; reusable.
class HashRun {
public:
    HashRun();
    ~HashRun();
    HashRun(const HashRun&) = delete;
    HashRun& operator=(const HashRun&) = delete;

    void Start(const HashNeeds& needs);
    void Update(const std::uint8_t* data, std::size_t size);
    FileHashes Finish();

private:
    struct Digests;
    HashNeeds m_needs;
    std::uint32_t m_crc = 0;
    std::unique_ptr<Digests> m_digests;
};

}  // namespace kestro::romdb
