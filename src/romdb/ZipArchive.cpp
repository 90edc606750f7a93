#include "romdb/ZipArchive.h"

#include <zip.h>

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
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

Archive OpenArchive(const std::string& path, std::string& error) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (archive == nullptr) error = "not a readable zip archive: " + OpenError(code);
    return Archive(archive);
}

class ZipEntryInput final : public InputFile {
public:
    ZipEntryInput(Archive archive, zip_file_t* file, std::int64_t size)
        : m_archive(std::move(archive)), m_file(file), m_size(size) {}
    ~ZipEntryInput() override { zip_fclose(m_file); }
    std::int64_t Size() const override { return m_size; }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        // One byte beyond the declared size is asked for, so that an entry
        // holding more than it says is caught without reading the rest.
        const std::int64_t left = m_size - m_read;
        const auto want = static_cast<zip_uint64_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), left + 1));
        if (want == 0) return 0;
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
    Archive m_archive;
    zip_file_t* m_file;
    std::int64_t m_size;
    std::int64_t m_read = 0;
    std::string m_error;
};

}  // namespace

bool IsZipFileName(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && Lower(ext[1]) == 'z' && Lower(ext[2]) == 'i' && Lower(ext[3]) == 'p';
}

bool ListZipEntries(const std::string& path, std::vector<ZipEntry>& entries, std::string& error) {
    entries.clear();
    Archive archive = OpenArchive(path, error);
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

std::unique_ptr<InputFile> OpenZipEntry(const std::string& path, std::uint64_t index, std::string& error) {
    Archive archive = OpenArchive(path, error);
    if (!archive) return nullptr;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive.get(), index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        error = std::string("the entry cannot be read: ") + zip_error_strerror(zip_get_error(archive.get()));
        return nullptr;
    }
    if (stat.size > static_cast<zip_uint64_t>(kLargestZipEntry)) {
        error = "the entry unpacks to " + std::to_string(stat.size) +
                " bytes, more than the largest Virtual Boy ROM (16 MiB); it was not read";
        return nullptr;
    }
    zip_file_t* file = zip_fopen_index(archive.get(), index, 0);
    if (file == nullptr) {
        error = std::string("the entry cannot be opened: ") + zip_error_strerror(zip_get_error(archive.get()));
        return nullptr;
    }
    return std::make_unique<ZipEntryInput>(std::move(archive), file, static_cast<std::int64_t>(stat.size));
}

std::string ZipRowName(const std::string& archive, const std::string& entry) {
    return archive + " \xE2\x86\x92 " + entry;
}

}  // namespace kestro::romdb
