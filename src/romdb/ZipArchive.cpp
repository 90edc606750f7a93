// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/ZipArchive.h"

#include <zip.h>

#include <algorithm>

namespace kestro::romdb {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveCloser>;

ArchiveHandle OpenArchive(const std::string& path, std::string& error) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (archive == nullptr) error = "not a readable zip archive: " + OpenError(code);
    return ArchiveHandle(archive);
}

}  // namespace

bool IsZipFileName(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && Lower(ext[1]) == 'z' && Lower(ext[2]) == 'i' && Lower(ext[3]) == 'p';
}

bool ListZipEntries(const std::string& path, std::vector<ZipEntry>& entries, std::string& error) {
    entries.clear();
    ArchiveHandle archive = OpenArchive(path, error);
    if (!archive) return false;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0) {
            error = std::string("entry ") + std::to_string(i + 1) +
                    " cannot be read: " + zip_error_strerror(zip_get_error(archive.get()));
            return false;
        }
        const std::string name = (stat.valid & ZIP_STAT_NAME) != 0 ? stat.name : "";
        if (name.empty() || name.back() == '/') continue;
        const auto size = (stat.valid & ZIP_STAT_SIZE) != 0 ? static_cast<std::int64_t>(stat.size) : -1;
        entries.push_back({static_cast<std::uint64_t>(i), name, size});
    }
    return true;
}

// An open archive. libzip serves one thread at a time, so every call on it
// goes through the lock; the reads of its entries take turns.
class ZipArchives::Archive {
public:
    explicit Archive(ArchiveHandle archive) : m_archive(std::move(archive)) {}
    std::mutex& Lock() { return m_mutex; }
    zip_t* Handle() { return m_archive.get(); }

private:
    std::mutex m_mutex;
    ArchiveHandle m_archive;
};

namespace {

class ZipEntryInput final : public InputFile {
public:
    ZipEntryInput(std::shared_ptr<ZipArchives::Archive> archive, zip_file_t* file, std::int64_t size)
        : m_archive(std::move(archive)), m_file(file), m_size(size) {}
    ~ZipEntryInput() override {
        std::lock_guard lock(m_archive->Lock());
        zip_fclose(m_file);
    }
    std::int64_t Size() const override { return m_size; }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        // One byte beyond the declared size is asked for, so that an entry
        // holding more than it says is caught without reading the rest.
        const std::int64_t left = m_size - m_read;
        const auto want = static_cast<zip_uint64_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), left + 1));
        if (want == 0) return 0;
        std::lock_guard lock(m_archive->Lock());
        const zip_int64_t n = zip_fread(m_file, buffer, want);
        if (n < 0) {
            m_error = zip_error_strerror(zip_file_get_error(m_file));
            return -1;
        }
        m_read += n;
        if (m_read > m_size) {
            m_error = "the entry holds more bytes than the archive declares";
            return -1;
        }
        return static_cast<std::ptrdiff_t>(n);
    }
    std::string Error() const override { return m_error; }

private:
    std::shared_ptr<ZipArchives::Archive> m_archive;
    zip_file_t* m_file;
    std::int64_t m_size;
    std::int64_t m_read = 0;
    std::string m_error;
};

// Archives kept open at once by one run.
constexpr std::size_t kOpenArchives = 4;

}  // namespace

ZipArchives::ZipArchives() = default;
ZipArchives::~ZipArchives() = default;

std::unique_ptr<InputFile> ZipArchives::OpenEntry(const std::string& path, std::uint64_t index, std::string& error) {
    std::shared_ptr<Archive> archive;
    {
        std::lock_guard lock(m_mutex);
        auto known = std::find_if(m_open.begin(), m_open.end(), [&](const Opened& o) { return o.path == path; });
        if (known == m_open.end()) {
            Opened opened{path, nullptr, {}};
            if (ArchiveHandle handle = OpenArchive(path, opened.error)) {
                opened.archive = std::make_shared<Archive>(std::move(handle));
            }
            m_open.push_front(std::move(opened));
            // An archive dropped here stays open for as long as an entry of it is read.
            if (m_open.size() > kOpenArchives) m_open.pop_back();
        } else if (known != m_open.begin()) {
            m_open.splice(m_open.begin(), m_open, known);
        }
        archive = m_open.front().archive;
        if (!archive) {
            error = m_open.front().error;
            return nullptr;
        }
    }
    std::lock_guard lock(archive->Lock());
    zip_t* handle = archive->Handle();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(handle, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        error = std::string("the entry cannot be read: ") + zip_error_strerror(zip_get_error(handle));
        return nullptr;
    }
    if (stat.size > static_cast<zip_uint64_t>(kLargestZipEntry)) {
        error = "the entry unpacks to " + std::to_string(stat.size) +
                " bytes, more than the largest Virtual Boy ROM (16 MiB); it was not read";
        return nullptr;
    }
    zip_file_t* file = zip_fopen_index(handle, index, 0);
    if (file == nullptr) {
        error = std::string("the entry cannot be opened: ") + zip_error_strerror(zip_get_error(handle));
        return nullptr;
    }
    return std::make_unique<ZipEntryInput>(std::move(archive), file, static_cast<std::int64_t>(stat.size));
}

std::string ZipRowName(const std::string& archive, const std::string& entry) {
    return archive + " \xE2\x86\x92 " + entry;
}

}  // namespace kestro::romdb
