// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A patch applied with its base checked and both ends named: the dump a
// BPS or UPS patch wants, the file it was given, and what came out, each by
// name where the built-in table or the DAT in use knows it, else by CRC32
// and size. Windows and `kestro patch` show these texts as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Message.h"
#include "patch/Patch.h"
#include "romdb/Catalogue.h"
#include "romdb/FileOps.h"

namespace kestro::patch {

/// A file as the texts name it.
struct Dump {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    std::string name;  ///< empty when neither the table nor the DAT knows it
    bool Known() const { return !name.empty(); }
};

/// The bytes named: by the DAT (every hash it lists) when one is in use,
/// else by the built-in table.
Dump DumpOf(ByteView data, const romdb::Catalogue* dat);
/// The base a BPS or UPS patch records, named where the DAT knows its CRC32.
Dump WantedBase(const PatchInfo& info, const romdb::Catalogue* dat);
/// "Red Alarm (J) [!]", or "a file of 1048576 bytes with CRC32 0123ABCD".
std::string Describe(const Dump& dump);

/// One patch applied: the outcome with the three files named.
struct CheckedApply {
    ApplyResult applied;
    Dump opened;
    Dump wanted;  ///< BPS and UPS only
    Dump result;  ///< when applied
    bool Applied() const { return applied.status == ApplyStatus::Applied; }
    bool WrongBase() const { return applied.status == ApplyStatus::WrongBase; }
};

CheckedApply ApplyChecked(ByteView patch, ByteView source, bool force, const romdb::Catalogue* dat);

/// "This patch is for Red Alarm (J) [!]; the opened file is Red Alarm (U) [!]."
std::string WrongBaseText(const CheckedApply& outcome);
/// The question that offers to look for the wanted base in the collection:
/// question icon, Yes and No, No the default.
base::Message FindBaseQuestion(const CheckedApply& outcome, const std::string& directory);
/// Said when the collection holds no such file, offering another directory.
base::Message BaseNotFoundQuestion(const CheckedApply& outcome, const std::string& directory);
/// The question before a forced apply: exclamation icon, Yes and No, No the default.
base::Message ApplyAnywayQuestion(const CheckedApply& outcome);
/// Why nothing was applied (a damaged patch, a wrong result), exclamation and OK.
base::Message RefusedMessage(const CheckedApply& outcome);
/// What the user is told after an apply: the result named, and the warnings
/// (an IPS result no dump is known as, though its source was one; the
/// warnings of a forced apply).
std::vector<std::string> ResultNotes(const CheckedApply& outcome);

/// True when a file name's stem is a dump's name in the built-in table or the
/// DAT: a forced result must not pass for the dump.
bool IsDumpName(std::string_view fileName, const romdb::Catalogue* dat);
/// Why a forced result may not be written to this file: its name is a
/// dump's. Empty when it may.
std::string ForcedNameProblem(const std::string& path, const romdb::Catalogue* dat);
/// The name proposed for a patched ROM: the ROM's name with the patch's
/// added, "Red Alarm (U) [!] (Translation).vb", in the ROM's directory.
std::string PatchedFileName(const std::string& romPath, const std::string& patchPath);

/// A file found to be the wanted base: a .vb file, or an entry of a .zip.
struct FoundBase {
    std::string path;   ///< the file, or the archive
    std::string entry;  ///< the archive's entry; empty for a plain file
    Bytes data;
};
/// Looks through a directory's .vb files and zipped ROMs for the file of this
/// size and CRC32; only files of the right size are read.
std::optional<FoundBase> FindBase(romdb::FileOps& files, const std::string& directory, std::uint64_t size,
                                  std::uint32_t crc);

}  // namespace kestro::patch
