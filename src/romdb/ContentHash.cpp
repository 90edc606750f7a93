// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/ContentHash.h"

#include <libdeflate.h>
#include <openssl/evp.h>

#include <stdexcept>

namespace kestro::romdb {

namespace {

// One digest context, with its algorithm fetched once rather than per file.
struct Digest {
    EVP_MD* md = nullptr;
    EVP_MD_CTX* ctx = nullptr;

    explicit Digest(const char* name) : md(EVP_MD_fetch(nullptr, name, nullptr)), ctx(EVP_MD_CTX_new()) {
        if (md == nullptr || ctx == nullptr) throw std::runtime_error(std::string("No ") + name + " digest available");
    }
    ~Digest() {
        EVP_MD_CTX_free(ctx);
        EVP_MD_free(md);
    }
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void Start() { EVP_DigestInit_ex2(ctx, md, nullptr); }
    void Update(const std::uint8_t* data, std::size_t size) { EVP_DigestUpdate(ctx, data, size); }
    std::string Finish() {
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned length = 0;
        EVP_DigestFinal_ex(ctx, out, &length);
        return HashText(out, length);
    }
};

}  // namespace

struct HashRun::Digests {
    Digest sha1{"SHA1"};
    Digest md5{"MD5"};
};

std::string CrcText(std::uint32_t crc) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(crc >> 24), static_cast<unsigned char>(crc >> 16),
                                    static_cast<unsigned char>(crc >> 8), static_cast<unsigned char>(crc)};
    return HashText(bytes, 4);
}

std::string HashText(const std::uint8_t* bytes, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

HashRun::HashRun() = default;
HashRun::~HashRun() = default;

void HashRun::Start(const HashNeeds& needs) {
    m_needs = needs;
    m_crc = 0;
    if ((needs.sha1 || needs.md5) && !m_digests) m_digests = std::make_unique<Digests>();
    if (needs.sha1) m_digests->sha1.Start();
    if (needs.md5) m_digests->md5.Start();
}

void HashRun::Update(const std::uint8_t* data, std::size_t size) {
    // libdeflate's CRC32 is zlib's, folded with carry-less multiplies: several
    // times faster, and it takes any length at once.
    if (m_needs.crc) m_crc = libdeflate_crc32(m_crc, data, size);
    if (m_needs.sha1) m_digests->sha1.Update(data, size);
    if (m_needs.md5) m_digests->md5.Update(data, size);
}

FileHashes HashRun::Finish() {
    FileHashes hashes;
    hashes.hasCrc = m_needs.crc;
    hashes.crc = m_needs.crc ? m_crc : 0;
    if (m_needs.sha1) hashes.sha1 = m_digests->sha1.Finish();
    if (m_needs.md5) hashes.md5 = m_digests->md5.Finish();
    return hashes;
}

}  // namespace kestro::romdb
