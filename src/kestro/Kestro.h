// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// C entry point of the Kestro checksum library (libKestro.so / Kestro.dll).

#include <cstdint>

#if defined(_WIN32)
#define KESTRO_API extern "C" __declspec(dllexport)
#define KESTRO_CALL __stdcall
#else
#define KESTRO_API extern "C" __attribute__((visibility("default")))
#define KESTRO_CALL
#endif

/// Writes the checksum text of a ROM image (8 upper-case hex digits, no NUL)
/// into checksumOut. wholeFile is 0 to leave the 32 header bytes out, -1 (any
/// non-zero value) to sum the whole image. Returns 1 on success, 0 when an
/// argument is unusable (the buffer is then left as it was).
KESTRO_API std::int32_t KESTRO_CALL GetVbRomChecksum(const char* image, std::int32_t size, std::int32_t wholeFile,
                                                     char* checksumOut);

/// The function's type, for loading the library at run time.
using GetVbRomChecksumFn = std::int32_t(KESTRO_CALL*)(const char*, std::int32_t, std::int32_t, char*);
