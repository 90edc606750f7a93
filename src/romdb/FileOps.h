// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-system steps the collection database takes, behind one small
// interface so that tests can make any of them fail.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/AtomicFile.h"

namespace kestro::romdb {

/// Outcome of a file operation: ok, or the reason it failed (UTF-8, for the user).
struct FileResult {
    bool ok = true;
    std::string reason;

    explicit operator bool() const { return ok; }
    static FileResult Failed(std::string why) { return {false, std::move(why)}; }
};

/// What tells a file from another, or from itself changed: its device and
/// inode, its size, and its change and modification times (nanoseconds since
/// 1970). Any write or truncation changes the change time.
struct FileIdentity {
    bool known = false;  ///< false where the file system gives none
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t changed = 0;
    std::int64_t modified = 0;

    bool operator==(const FileIdentity&) const = default;
    /// The same file with the same bytes, its change time aside (a rename sets it).
    bool SameButChanged(const FileIdentity& other) const {
        return known && other.known && device == other.device && inode == other.inode && size == other.size &&
               modified == other.modified;
    }
};

/// True when a file's change time lies far enough before now (nanoseconds
/// since 1970) that a change made from now on gives it another change time:
/// a file system keeps the times only to its clock's step.
bool ChangeTimeSettled(const FileIdentity& identity, std::int64_t now);

/// A file opened for reading from its start.
class InputFile {
public:
    virtual ~InputFile() = default;
    /// The length in bytes when opened.
    virtual std::int64_t Size() const = 0;
    /// The open file's identity as it is now; unknown by default.
    virtual FileIdentity Identity() const { return {}; }
    /// Reads up to size bytes; 0 at the end, -1 on an error (see Error).
    virtual std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) = 0;
    virtual std::string Error() const = 0;
};

class FileOps {
public:
    virtual ~FileOps() = default;

    /// Names of the files (not directories) in a directory, in no set order;
    /// none when the directory cannot be read.
    virtual std::vector<std::string> ListFiles(const std::string& directory) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    /// True when anything (file or directory) has this path.
    virtual bool Exists(const std::string& path) = 0;

    /// The identity of the file a path names (through a link, as OpenRead
    /// goes); unknown when there is none, and by default.
    virtual FileIdentity Identity(const std::string& path) {
        (void)path;
        return {};
    }

    /// Nothing, with the reason in error, when the file cannot be opened.
    virtual std::unique_ptr<InputFile> OpenRead(const std::string& path, std::string& error) = 0;

    /// Copies a file's bytes to a path as one step: the destination holds the
    /// whole copy afterwards, or, on failure, what it held before.
    virtual FileResult CopyFile(const std::string& from, const std::string& to) = 0;
    virtual FileResult RemoveFile(const std::string& path) = 0;
    virtual FileResult MakeDirectory(const std::string& path) = 0;
    /// How RenameFile went.
    enum class Renamed { Yes, NeedsCopy, Failed };
    /// Moves a file to a new path without copying its bytes, when both lie on
    /// one file system: atomic, and the file keeps its identity (inode). An
    /// existing file at the destination is never replaced unless replace is
    /// true. NeedsCopy, with the file untouched, when this cannot be done here
    /// (another file system, a symbolic link, a file system without links);
    /// the caller then copies. The default does no renames at all.
    virtual Renamed RenameFile(const std::string& from, const std::string& to, bool replace, std::string& error) {
        (void)from, (void)to, (void)replace, (void)error;
        return Renamed::NeedsCopy;
    }
    /// True when RenameFile moves within a directory tree without copying,
    /// so that a file can go to its final name in one rename.
    virtual bool RenamesInPlace() const { return false; }
    /// Makes the renames in a directory durable; called once per phase
    /// rather than once per file.
    virtual void SyncDirectory(const std::string& directory) { (void)directory; }
    /// Removes an empty directory; one that still holds anything stays.
    virtual FileResult RemoveDirectory(const std::string& path) = 0;
    /// Creates or replaces a file with these bytes, as one step.
    virtual FileResult WriteFile(const std::string& path, const std::string& bytes) = 0;
    /// The same with the bytes produced a piece at a time, so that a large
    /// file is never held whole; here they are gathered and written as one.
    virtual FileResult WriteFileFrom(const std::string& path, const base::ContentSource& source) {
        std::string bytes;
        const int error = source([&bytes](const std::uint8_t* data, std::size_t size) {
            bytes.append(reinterpret_cast<const char*>(data), size);
            return 0;
        });
        if (error != 0) return FileResult::Failed("Cannot write " + path + ": " + std::strerror(error));
        return WriteFile(path, bytes);
    }
    /// True when OpenRead, and reading what it opens, may run on several threads at once.
    virtual bool OpensFromAnyThread() const { return false; }
};

/// The real file system.
class DiskFileOps : public FileOps {
public:
    std::vector<std::string> ListFiles(const std::string& directory) override;
    bool IsDirectory(const std::string& path) override;
    bool Exists(const std::string& path) override;
    FileIdentity Identity(const std::string& path) override;
    std::unique_ptr<InputFile> OpenRead(const std::string& path, std::string& error) override;
    FileResult CopyFile(const std::string& from, const std::string& to) override;
    Renamed RenameFile(const std::string& from, const std::string& to, bool replace, std::string& error) override;
    void SyncDirectory(const std::string& directory) override;
    FileResult RemoveFile(const std::string& path) override;
    FileResult MakeDirectory(const std::string& path) override;
    FileResult RemoveDirectory(const std::string& path) override;
    FileResult WriteFile(const std::string& path, const std::string& bytes) override;
    FileResult WriteFileFrom(const std::string& path, const base::ContentSource& source) override {
        const base::FileWriteResult written = base::ReplaceFileAtomically(path, source);
        return written ? FileResult{} : FileResult::Failed(written.reason);
    }
    bool OpensFromAnyThread() const override { return true; }
#if !defined(_WIN32)
    bool RenamesInPlace() const override {
        return true;
    }
#endif
};

/// Whether two files hold the same bytes, read side by side in chunks; a
/// failure, with the reason, when either cannot be read.
FileResult CompareFiles(FileOps& files, const std::string& a, const std::string& b, bool& same);

/// Bytes read at a time: large enough to read fast, small enough that
/// memory stays the same whatever the size of the files.
inline constexpr std::size_t kReadChunkSize = 256 * 1024;

}  // namespace kestro::romdb
