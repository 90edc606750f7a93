// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/RomImage.h"

#include "base/FileRead.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>

namespace kestro::rom {

namespace fs = std::filesystem;

namespace {

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

// The length of a regular file longer than largest, refused before it is read.
std::optional<std::uintmax_t> TooLargeToRead(const std::string& path, std::int64_t largest) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const std::uintmax_t length = fs::file_size(path, ec);
    if (ec || length <= static_cast<std::uintmax_t>(largest)) return std::nullopt;
    return length;
}

std::string TooLargeReason(std::uintmax_t length, std::int64_t largest) {
    return "The file is " + std::to_string(length) + " bytes long; " +
           (largest == kLargestVbRom ? "a Virtual Boy ROM is at most 16 MiB (" + std::to_string(largest) + " bytes)."
                                     : "at most " + std::to_string(largest) + " bytes are read.");
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

RomOpenResult OpenRom(const std::string& path, std::int64_t largest) {
    largest = std::min(largest, kLargestImage);
    if (auto length = TooLargeToRead(path, largest))
        return Refused(RomCheck::TooLarge, TooLargeReason(*length, largest));
    RomOpenResult result;
    // The read refuses a FIFO or a device at once rather than wait on it.
    const auto limit = static_cast<std::size_t>(largest) + 1;
    const base::ReadResult read = base::ReadRegularFile(path, result.image.data, limit);
    if (read.status == base::ReadStatus::Missing) return Refused(RomCheck::Missing);
    if (!read) return Refused(RomCheck::Unreadable, read.reason);
    const std::size_t length = result.image.data.size();
    if (length == 0) return Refused(RomCheck::Missing);
    if (length <= kHeaderBlockSize) return Refused(RomCheck::TooSmall);
    if (length > static_cast<std::size_t>(largest)) return Refused(RomCheck::TooLarge, TooLargeReason(length, largest));
    result.check = CheckRomData(result.image.data);
    if (!result.Accepted()) return Refused(result.check);
    result.image.path = path;
    result.image.size = static_cast<std::int32_t>(result.image.data.size());
    return result;
}

namespace {

// A reason on a line of its own reads as a sentence: capital first, full stop last.
std::string AsSentence(std::string reason) {
    if (reason.empty()) return reason;
    if (reason.front() >= 'a' && reason.front() <= 'z') reason.front() = static_cast<char>(reason.front() - 'a' + 'A');
    if (reason.back() != '.') reason += '.';
    return reason;
}

}  // namespace

base::Message RefusalMessage(RomCheck check, const std::string& reason) {
    switch (check) {
        case RomCheck::Accepted: return {};
        case RomCheck::Missing: return Refusal("Invalid filename", "File does not exist.");
        case RomCheck::TooSmall: return Refusal("Invalid VB ROM", "File too small to be a VB ROM image.");
        case RomCheck::Invalid: return Refusal("Invalid VB ROM", "Invalid VB ROM image.");
        case RomCheck::TooLarge:
            return Refusal("Invalid VB ROM", reason.empty()
                                                 ? "File too large to be a VB ROM image."
                                                 : base::JoinCr({"File too large to be a VB ROM image.", reason}));
        case RomCheck::Unreadable:
            return Refusal("Cannot read ROM", base::JoinCr({"The file could not be read.", AsSentence(reason)}));
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
