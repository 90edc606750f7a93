#include "base/Paths.h"

namespace kestro::base {

namespace {
bool IsSeparator(char c) {
#if defined(_WIN32)
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}
}  // namespace

std::string WithTrailingSeparator(std::string directory) {
    if (!directory.empty() && !IsSeparator(directory.back())) directory += kPathSeparator;
    return directory;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    return WithTrailingSeparator(directory) + name;
}

std::string DirectoryOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) return path.substr(0, i);
    }
    return {};
}

std::string FileNameOf(const std::string& path) {
    return path.substr(DirectoryOf(path).size());
}

}  // namespace kestro::base
