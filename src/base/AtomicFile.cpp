// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AtomicFile.h"

#include "base/FileRead.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestro::base {

namespace fs = std::filesystem;

namespace {

FileWriteResult Failed(const std::string& what, int error) {
    return {false, what + ": " + std::strerror(error)};
}

// The file a write really replaces: the target of a symbolic link, so that
// the link itself survives.
fs::path ResolveTarget(const std::string& path) {
    std::error_code ec;
    fs::path target(path);
    if (!fs::is_symlink(target, ec)) return target;
    fs::path resolved = fs::canonical(target, ec);
    if (!ec) return resolved;
    fs::path link = fs::read_symlink(target, ec);
    if (ec) return target;
    return link.is_absolute() ? link : target.parent_path() / link;
}

fs::path TemporaryName(const fs::path& target, std::mt19937_64& random) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    auto value = random();
    for (int k = 0; k < 12; ++k, value >>= 4) suffix += kDigits[value & 0xF];
    fs::path dir = target.parent_path();
    return dir / ("." + target.filename().string() + ".tmp-" + suffix);
}

}  // namespace

#if defined(_WIN32)

FileWriteResult ReplaceFileAtomically(const std::string& path, const ContentSource& source, std::optional<unsigned>) {
    const fs::path target = ResolveTarget(path);
    if (IsSpecialFile(target.string())) return {false, "Cannot write " + target.string() + ": " + kNotARegularFile};
    std::mt19937_64 random{std::random_device{}()};
    const fs::path temp = TemporaryName(target, random);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return Failed("Cannot create a temporary file beside " + target.string(), errno);
        const int error = source([&out](const std::uint8_t* data, std::size_t size) {
            out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
            return out ? 0 : EIO;
        });
        out.flush();
        if (!out || error != 0) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return Failed("Cannot write " + temp.string(), errno);
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, "Cannot replace " + target.string() + ": " + ec.message()};
    }
    return {};
}

#else

namespace {

// Writes everything or reports the error, retrying short writes and signals.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int CreateTemporary(const fs::path& target, fs::path& temp) {
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryName(target, random);
        // 0666 less the umask: a new file gets the permissions any new file would.
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncDirectory(const fs::path& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileWriteResult ReplaceFileAtomically(const std::string& path, const ContentSource& source,
                                      std::optional<unsigned> mode) {
    const fs::path target = ResolveTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A rename would put a plain file in place of a device or a pipe (as root,
    // even /dev/null): only regular files are ever replaced.
    if (exists && !S_ISREG(existing.st_mode)) {
        return {false, "Cannot write " + target.string() + ": " + kNotARegularFile};
    }
    if (exists && ::access(target.c_str(), W_OK) != 0) return Failed("Cannot write " + target.string(), errno);

    fs::path temp;
    int fd = CreateTemporary(target, temp);
    if (fd < 0) return Failed("Cannot create a temporary file beside " + target.string(), errno);

    int error = 0;
    std::string step = "Cannot write " + target.string();
    if (mode) {
        if (::fchmod(fd, static_cast<mode_t>(*mode & 07777)) != 0) error = errno;
    } else if (exists) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
        // Keeping the owner only works for the owner's group or for root; the
        // permissions above are what matters.
        [[maybe_unused]] int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
    }
    if (error == 0) {
        error = source([fd](const std::uint8_t* data, std::size_t size) { return WriteAll(fd, data, size); });
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        step = "Cannot replace " + target.string();
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return Failed(step, error);
    }
    SyncDirectory(target.parent_path());
    return {};
}

#endif

FileWriteResult WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size) {
    return ReplaceFileAtomically(path, [data, size](const ContentSink& sink) { return sink(data, size); });
}

FileWriteResult WriteFileAtomically(const std::string& path, const std::string& bytes) {
    return WriteFileAtomically(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace kestro::base
