// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/Checksum.h"

#include "kestro/VbChecksum.h"

namespace kestro::rom {

namespace {
GetVbRomChecksumFn g_function = nullptr;

// The library's rule, linked in, for the command line and the tests.
std::int32_t KESTRO_CALL BuiltInChecksum(const char* image, std::int32_t size, std::int32_t wholeFile, char* out) {
    return checksum::ChecksumInto(image, size, wholeFile, out);
}
}  // namespace

void SetChecksumFunction(GetVbRomChecksumFn fn) {
    g_function = fn;
}

GetVbRomChecksumFn ChecksumFunction() {
    return g_function != nullptr ? g_function : &BuiltInChecksum;
}

std::string Checksum(const std::uint8_t* data, std::size_t size, bool includeHeader) {
    // The library's interface takes the buffer as single-byte characters and
    // fills an 8-character output initialised to NULs.
    char out[8] = {};
    ChecksumFunction()(reinterpret_cast<const char*>(data), static_cast<std::int32_t>(size), includeHeader ? -1 : 0,
                       out);
    return std::string(out, out + 8);
}

}  // namespace kestro::rom
