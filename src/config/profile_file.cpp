// Reading a profile file whole, the same on every platform (the narrow C library functions take
// the path as the system's ANSI text on Windows).

#include <cstdio>
#include <memory>

#include "config/profile_file.h"

namespace gage::profile::detail {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    std::size_t used = 0;
    std::size_t got = 0;
    do {
        bytes.resize(used + 65536);  // grows geometrically, so large files read in linear time
        got = std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
        used += got;
    } while (got > 0);
    bytes.resize(used);
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace gage::profile::detail
