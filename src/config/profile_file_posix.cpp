#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "config/profile_file.h"

namespace gage::profile::detail {

namespace {

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileStamp StatFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.identity =
        (static_cast<std::uint64_t>(info.st_dev) << 32) ^ static_cast<std::uint64_t>(info.st_ino);
    return stamp;
}

bool IsSettled(const FileStamp& stamp) {
    constexpr std::int64_t kSettledNanoseconds = 2200000000;  // past one FAT tick
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t nowNanoseconds =
        static_cast<std::int64_t>(now.tv_sec) * 1000000000 + static_cast<std::int64_t>(now.tv_nsec);
    return stamp.modified + kSettledNanoseconds < nowNanoseconds;
}

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::CreateNew(const std::string& path, const std::string& modelPath) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    handle_ = fd;
    struct stat model {};
    if (::stat(modelPath.c_str(), &model) == 0 && S_ISREG(model.st_mode)) {
        ::fchmod(fd, model.st_mode & 07777);  // a private file stays private
    }
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (handle_ < 0) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool OutputFile::Flush() {
    return handle_ >= 0 && ::fsync(static_cast<int>(handle_)) == 0;
}

bool OutputFile::Close() {
    if (handle_ < 0) {
        return true;
    }
    const int result = ::close(static_cast<int>(handle_));
    handle_ = -1;
    return result == 0;
}

bool MoveOver(const std::string& temporary, const std::string& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return false;
    }
    // The rename itself reaches the disk only with its directory.
    const int directory = ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return true;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

}  // namespace gage::profile::detail
