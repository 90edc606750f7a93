// SPDX-License-Identifier: GPL-3.0-or-later
#include "kestro/Kestro.h"

#include "kestro/VbChecksum.h"

KESTRO_API std::int32_t KESTRO_CALL GetVbRomChecksum(const char* image, std::int32_t size, std::int32_t wholeFile,
                                                     char* checksumOut) {
    return kestro::checksum::ChecksumInto(image, size, wholeFile, checksumOut);
}
