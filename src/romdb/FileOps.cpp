// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/FileOps.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/AtomicFile.h"
#include "base/FileRead.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestro::romdb {

namespace fs = std::filesystem;

namespace {

std::string Why(const std::string& what, const std::string& path, const std::string& reason) {
    return what + " " + path + ": " + reason;
}

#if defined(_WIN32)
class StreamInput final : public InputFile {
public:
    StreamInput(std::ifstream stream, std::int64_t size) : m_stream(std::move(stream)), m_size(size) {}
    std::int64_t Size() const override { return m_size; }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        m_stream.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
        if (m_stream.bad()) return -1;
        return static_cast<std::ptrdiff_t>(m_stream.gcount());
    }
    std::string Error() const override { return std::strerror(EIO); }

private:
    std::ifstream m_stream;
    std::int64_t m_size;
};

#endif

#if !defined(_WIN32)
FileIdentity IdentityOf(const struct stat& info) {
    constexpr std::int64_t kSecond = 1000000000;
    FileIdentity identity;
    identity.known = true;
    identity.device = static_cast<std::uint64_t>(info.st_dev);
    identity.inode = static_cast<std::uint64_t>(info.st_ino);
    identity.size = static_cast<std::int64_t>(info.st_size);
    identity.changed = static_cast<std::int64_t>(info.st_ctim.tv_sec) * kSecond + info.st_ctim.tv_nsec;
    identity.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * kSecond + info.st_mtim.tv_nsec;
    return identity;
}

// Plain reads straight into the caller's buffer: nothing between the disk
// cache and the checksum.
class DescriptorInput final : public InputFile {
public:
    DescriptorInput(int fd, std::int64_t size) : m_fd(fd), m_size(size) {}
    ~DescriptorInput() override { ::close(m_fd); }
    std::int64_t Size() const override { return m_size; }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, size);
            if (n >= 0 || errno != EINTR) {
                if (n < 0) m_error = errno;
                return n;
            }
        }
    }
    std::string Error() const override { return std::strerror(m_error != 0 ? m_error : EIO); }
    FileIdentity Identity() const override {
        struct stat info {};
        return ::fstat(m_fd, &info) == 0 ? IdentityOf(info) : FileIdentity{};
    }

private:
    int m_fd;
    std::int64_t m_size;
    int m_error = 0;
};
#endif

}  // namespace

bool ChangeTimeSettled(const FileIdentity& identity, std::int64_t now) {
    // Whole seconds mark a file system that keeps no finer times (some keep
    // two-second steps); the others step at least every 10 ms.
    constexpr std::int64_t kMillisecond = 1000000;
    const std::int64_t step = identity.changed % (1000 * kMillisecond) == 0 ? 2000 * kMillisecond : 100 * kMillisecond;
    return identity.known && identity.changed < now - step;
}

std::vector<std::string> DiskFileOps::ListFiles(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    return names;
}

bool DiskFileOps::IsDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool DiskFileOps::Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

#if !defined(_WIN32)

FileIdentity DiskFileOps::Identity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return IdentityOf(info);
}

std::unique_ptr<InputFile> DiskFileOps::OpenRead(const std::string& path, std::string& error) {
    base::ReadResult opened;
    const int fd = base::OpenRegularFile(path, opened);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        error = Why("Cannot open", path, fd < 0 ? opened.reason : std::strerror(errno));
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    return std::make_unique<DescriptorInput>(fd, static_cast<std::int64_t>(info.st_size));
}

#else

FileIdentity DiskFileOps::Identity(const std::string&) {
    return {};
}

std::unique_ptr<InputFile> DiskFileOps::OpenRead(const std::string& path, std::string& error) {
    std::error_code ec;
    const auto size = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
    std::ifstream stream(path, std::ios::binary);
    if (!stream || ec || !fs::is_regular_file(path, ec)) {
        error = Why("Cannot open", path, ec ? ec.message() : std::string(std::strerror(errno)));
        return nullptr;
    }
    return std::make_unique<StreamInput>(std::move(stream), static_cast<std::int64_t>(size));
}

#endif

#if !defined(_WIN32)

FileResult DiskFileOps::CopyFile(const std::string& from, const std::string& to) {
    base::ReadResult opened;
    const int in = base::OpenRegularFile(from, opened);
    if (in < 0) return FileResult::Failed(Why("Cannot open", from, opened.reason));
    struct stat info {};
    ::fstat(in, &info);
    // The copy keeps the permissions of the file it copies.
    const base::FileWriteResult written = base::ReplaceFileAtomically(
        to,
        [in](const base::ContentSink& sink) {
            std::vector<std::uint8_t> buffer(kReadChunkSize);
            for (;;) {
                ssize_t n = ::read(in, buffer.data(), buffer.size());
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) return errno;
                if (n == 0) return 0;
                if (int error = sink(buffer.data(), static_cast<std::size_t>(n))) return error;
            }
        },
        static_cast<unsigned>(info.st_mode & 07777));
    ::close(in);
    if (!written) return FileResult::Failed(written.reason);
    return {};
}

#else

FileResult DiskFileOps::CopyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return FileResult::Failed(Why("Cannot open", from, std::strerror(errno)));
    const base::FileWriteResult written = base::ReplaceFileAtomically(to, [&in](const base::ContentSink& sink) {
        std::vector<std::uint8_t> buffer(kReadChunkSize);
        while (in) {
            in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
            if (in.bad()) return EIO;
            if (int error = sink(buffer.data(), static_cast<std::size_t>(in.gcount()))) return error;
        }
        return 0;
    });
    if (!written) return FileResult::Failed(written.reason);
    return {};
}

#endif

#if !defined(_WIN32)

FileOps::Renamed DiskFileOps::RenameFile(const std::string& from, const std::string& to, bool replace,
                                         std::string& error) {
    struct stat info {};
    // A link is copied as the file it points to, as before: moved as a link,
    // a relative one would point elsewhere from its new directory.
    if (::lstat(from.c_str(), &info) != 0) {
        error = Why("Cannot move", from, std::strerror(errno));
        return Renamed::Failed;
    }
    if (!S_ISREG(info.st_mode)) return Renamed::NeedsCopy;
    auto failed = [&](int code) {
        if (code == EXDEV || code == EPERM || code == ENOSYS || code == EOPNOTSUPP) return Renamed::NeedsCopy;
        error = Why("Cannot move", from, std::strerror(code));
        return Renamed::Failed;
    };
    if (replace) return ::rename(from.c_str(), to.c_str()) == 0 ? Renamed::Yes : failed(errno);
#if defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Renamed::Yes;
    // EINVAL: a file system that does not know the flag; then a link does it.
    if (errno != EINVAL && errno != ENOSYS) return failed(errno);
#endif
    // A second name, then the first one gone: the link never replaces a file.
    if (::link(from.c_str(), to.c_str()) != 0) return failed(errno);
    if (::unlink(from.c_str()) != 0) {
        const int code = errno;
        ::unlink(to.c_str());  // back to one name, where the file was
        error = Why("Cannot move", from, std::strerror(code));
        return Renamed::Failed;
    }
    return Renamed::Yes;
}

void DiskFileOps::SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

#else

FileOps::Renamed DiskFileOps::RenameFile(const std::string&, const std::string&, bool, std::string&) {
    return Renamed::NeedsCopy;
}

void DiskFileOps::SyncDirectory(const std::string&) {}

#endif

FileResult DiskFileOps::WriteFile(const std::string& path, const std::string& bytes) {
    base::FileWriteResult written = base::WriteFileAtomically(path, bytes);
    if (!written) return FileResult::Failed(written.reason);
    return {};
}

FileResult DiskFileOps::RemoveFile(const std::string& path) {
    std::error_code ec;
    if (!fs::remove(path, ec) && !ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
    if (ec) return FileResult::Failed(Why("Cannot delete", path, ec.message()));
    return {};
}

FileResult DiskFileOps::MakeDirectory(const std::string& path) {
    std::error_code ec;
    if (!fs::create_directory(path, ec) && !ec) ec = std::make_error_code(std::errc::file_exists);
    if (ec) return FileResult::Failed(Why("Cannot create the directory", path, ec.message()));
    return {};
}

FileResult DiskFileOps::RemoveDirectory(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) return FileResult::Failed(Why("Cannot remove", path, "not a directory"));
    // fs::remove removes only an empty directory, so nothing inside is ever lost.
    fs::remove(path, ec);
    if (ec) return FileResult::Failed(Why("Cannot remove the directory", path, ec.message()));
    return {};
}

namespace {

// Reads until size bytes are in or the file ends; -1 on an error.
std::ptrdiff_t ReadFully(InputFile& input, std::uint8_t* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const std::ptrdiff_t n = input.Read(buffer + got, size - got);
        if (n < 0) return -1;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(got);
}

}  // namespace

FileResult CompareFiles(FileOps& files, const std::string& a, const std::string& b, bool& same) {
    same = false;
    std::string error;
    auto first = files.OpenRead(a, error);
    if (!first) return FileResult::Failed(error);
    auto second = files.OpenRead(b, error);
    if (!second) return FileResult::Failed(error);
    if (first->Size() != second->Size()) return {};
    std::vector<std::uint8_t> one(kReadChunkSize), other(kReadChunkSize);
    for (;;) {
        const std::ptrdiff_t n = ReadFully(*first, one.data(), one.size());
        if (n < 0) return FileResult::Failed(Why("Cannot read", a, first->Error()));
        const std::ptrdiff_t m = ReadFully(*second, other.data(), other.size());
        if (m < 0) return FileResult::Failed(Why("Cannot read", b, second->Error()));
        if (n != m || !std::equal(one.begin(), one.begin() + n, other.begin())) return {};
        if (n == 0) {
            same = true;
            return {};
        }
    }
}

}  // namespace kestro::romdb
