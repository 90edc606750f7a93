// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a user's file so that an interrupted write never leaves half of it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestro::base {

/// Outcome of a file write: ok, or the reason it failed (UTF-8, for a message).
struct FileWriteResult {
    bool ok = true;
    std::string reason;

    explicit operator bool() const { return ok; }
};

/// Writes the bytes to path as one step: they go to a temporary file in the
/// same directory, are flushed to disk, and the temporary file is renamed over
/// the target. An existing target keeps its permissions (and, where allowed,
/// its owner); a symbolic link is followed, so the link stays and its target
/// is replaced. A read-only target is refused, as an in-place write would be,
/// and so is one that is not a regular file (a directory, FIFO or device):
/// nothing is ever renamed over it.
/// On failure the target is untouched and no temporary file is left behind.
FileWriteResult WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size);
inline FileWriteResult WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& data) {
    return WriteFileAtomically(path, data.data(), data.size());
}
FileWriteResult WriteFileAtomically(const std::string& path, const std::string& bytes);

/// Takes the new content chunk by chunk: returns 0, or the errno of a failed write.
using ContentSink = std::function<int(const std::uint8_t* data, std::size_t size)>;
/// Produces the whole new content into the sink: returns 0, or an errno of its
/// own (a failed read of the file it copies).
using ContentSource = std::function<int(const ContentSink& sink)>;

/// The same replacement with the content streamed, so that a large copy never
/// sits in memory whole. mode, when given, becomes the new file's permissions
/// (a copy keeps its original's); otherwise an existing target's are kept.
FileWriteResult ReplaceFileAtomically(const std::string& path, const ContentSource& source,
                                      std::optional<unsigned> mode = std::nullopt);

}  // namespace kestro::base
