#include "rom/RomImage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace kestro::rom {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kLargestImage = std::numeric_limits<std::int32_t>::max();

base::Message Refusal(std::string title, std::string text) {
    return {std::move(title), std::move(text), base::MessageIcon::Exclamation, base::MessageButtons::Ok,
            base::MessageResult::Ok};
}

RomOpenResult Refused(RomCheck check, const std::string& reason = {}) {
    RomOpenResult result;
    result.check = check;
    result.message = RefusalMessage(check, reason);
    return result;
}

// Length of a regular file, or 0 for anything else (nothing there, a
// directory, a device): all of these are "no file" to the user.
std::uintmax_t RegularFileLength(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return 0;
    std::uintmax_t length = fs::file_size(path, ec);
    return ec ? 0 : length;
}

bool ReadWhole(const std::string& path, std::uintmax_t length, std::vector<std::uint8_t>& data, std::string& reason) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = errno != 0 ? std::strerror(errno) : "The file cannot be opened.";
        return false;
    }
    data.resize(static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(length));
    // A file that shrank while it was read is checked at the length actually read.
    data.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        reason = "The file could not be read to its end.";
        return false;
    }
    return true;
}

}  // namespace

RomCheck CheckRomData(const std::vector<std::uint8_t>& data) {
    if (data.empty()) return RomCheck::Missing;
    if (data.size() <= kHeaderBlockSize) return RomCheck::TooSmall;
    if (data.size() > kLargestImage) return RomCheck::TooLarge;
    const auto reserved = data.begin() + static_cast<std::ptrdiff_t>(HeaderBlockOffset(data.size()) + kReservedOffset);
    const bool allZero = std::all_of(reserved, reserved + kReservedLength, [](std::uint8_t b) { return b == 0; });
    return allZero ? RomCheck::Accepted : RomCheck::Invalid;
}

RomOpenResult OpenRom(const std::string& path) {
    const std::uintmax_t length = RegularFileLength(path);
    if (length == 0) return Refused(RomCheck::Missing);
    if (length <= kHeaderBlockSize) return Refused(RomCheck::TooSmall);
    if (length > kLargestImage) return Refused(RomCheck::TooLarge);

    RomOpenResult result;
    std::string reason;
    if (!ReadWhole(path, length, result.image.data, reason)) return Refused(RomCheck::Unreadable, reason);
    result.check = CheckRomData(result.image.data);
    if (!result.Accepted()) return Refused(result.check);
    result.image.path = path;
    result.image.size = static_cast<std::int32_t>(result.image.data.size());
    return result;
}

base::Message RefusalMessage(RomCheck check, const std::string& reason) {
    switch (check) {
        case RomCheck::Accepted: return {};
        case RomCheck::Missing: return Refusal("Invalid filename", "File does not exist.");
        case RomCheck::TooSmall: return Refusal("Invalid VB ROM", "File too small to be a VB ROM image.");
        case RomCheck::Invalid: return Refusal("Invalid VB ROM", "Invalid VB ROM image.");
        case RomCheck::TooLarge: return Refusal("Invalid VB ROM", "File too large to be a VB ROM image.");
        case RomCheck::Unreadable:
            return Refusal("Cannot read ROM", base::JoinCr({"The file could not be read.", reason}));
    }
    return {};
}

base::FileWriteResult WriteImage(const RomImage& image) {
    return WriteImageTo(image, image.path);
}

base::FileWriteResult WriteImageTo(const RomImage& image, const std::string& path) {
    return base::WriteFileAtomically(path, image.data);
}

base::Message SaveFailedMessage(const std::string& path, const std::string& reason) {
    return Refusal("Save failed",
                   base::JoinCr({"The ROM could not be saved to", path, reason, "The file was left as it was."}));
}

}  // namespace kestro::rom
