// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileRead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestro::base {

namespace {

ReadResult Refused(ReadStatus status, std::string reason) {
    return {status, std::move(reason)};
}

// A directory is "no file" to the user, as it always was; anything else that
// is no regular file is named for what it is not.
ReadResult NotRegular(bool directory) {
    return directory ? Refused(ReadStatus::Missing, "it is a directory")
                     : Refused(ReadStatus::NotAFile, kNotARegularFile);
}

}  // namespace

#if !defined(_WIN32)

int OpenRegularFile(const std::string& path, ReadResult& result) {
    // A device is not even opened (opening some has effects of its own).
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        result = NotRegular(S_ISDIR(info.st_mode));
        return -1;
    }
    // Should one be put there since, O_NONBLOCK makes the open of a FIFO return at once instead of waiting
    // for a writer; the type check below then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        result = Refused(error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable,
                         std::strerror(error));
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result = NotRegular(S_ISDIR(info.st_mode));
        return -1;
    }
    // Reads of a regular file never return EAGAIN, but clear the flag all the same.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    result = {};
    return fd;
}

namespace {

std::size_t OpenFileSize(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

// Bytes read, 0 at the end, -1 on an error (errno says which).
long ReadSome(int fd, std::uint8_t* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
}

void CloseFile(int fd) {
    ::close(fd);
}

}  // namespace

bool IsSpecialFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    return !S_ISREG(info.st_mode);
}

#else

int OpenRegularFile(const std::string& path, ReadResult& result) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        result = Refused(ReadStatus::Missing, "No such file or directory");
        return -1;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result = NotRegular(std::filesystem::is_directory(status));
        return -1;
    }
    const int fd = ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) result = Refused(ReadStatus::Unreadable, std::strerror(errno));
    return fd;
}

namespace {

std::size_t OpenFileSize(int fd) {
    struct _stat64 info {};
    return ::_fstat64(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

long ReadSome(int fd, std::uint8_t* buffer, std::size_t size) {
    return ::_read(fd, buffer, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

void CloseFile(int fd) {
    ::_close(fd);
}

}  // namespace

bool IsSpecialFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

#endif

ReadResult ReadRegularFile(const std::string& path, std::vector<std::uint8_t>& data, std::size_t limit) {
    ReadResult result;
    data.clear();
    const int fd = OpenRegularFile(path, result);
    if (fd < 0) return result;
    data.resize(std::min(OpenFileSize(fd), limit));
    std::size_t have = 0;
    while (have < data.size()) {
        const long n = ReadSome(fd, data.data() + have, data.size() - have);
        if (n < 0) {
            result = Refused(ReadStatus::Unreadable, std::strerror(errno));
            break;
        }
        if (n == 0) break;  // the file shrank while it was read
        have += static_cast<std::size_t>(n);
    }
    data.resize(have);
    CloseFile(fd);
    return result;
}

}  // namespace kestro::base
