#include <windows.h>

#include <memory>

#include "config/profile_file.h"

namespace gage::profile::detail {

namespace {

std::uint64_t Combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint64_t>(low);
}

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

}  // namespace

FileStamp StatFile(const std::string& path) {
    // No access asked and every sharing allowed: taking the stamp never stands in a writer's way.
    const std::unique_ptr<void, HandleCloser> file(
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (file.get() == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = Combine(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.modified = static_cast<std::int64_t>(
        Combine(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    // The file index names the file on its volume as an inode does: a file put in its place has
    // another (its creation time may be the old one's, carried over by the file system).
    stamp.identity = Combine(info.nFileIndexHigh, info.nFileIndexLow);
    return stamp;
}

bool IsSettled(const FileStamp& stamp) {
    constexpr std::int64_t kSettledTicks = 22000000;  // 100 ns units, past one FAT tick
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return stamp.modified + kSettledTicks <
           static_cast<std::int64_t>(Combine(now.dwHighDateTime, now.dwLowDateTime));
}

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::CreateNew(const std::string& path, const std::string&) {
    Close();
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (handle_ == -1) {
        return false;
    }
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool OutputFile::Flush() {
    return handle_ != -1 && FlushFileBuffers(AsHandle(handle_)) != 0;
}

bool OutputFile::Close() {
    if (handle_ == -1) {
        return true;
    }
    const BOOL closed = CloseHandle(AsHandle(handle_));
    handle_ = -1;
    return closed != 0;
}

bool MoveOver(const std::string& temporary, const std::string& target) {
    return MoveFileExA(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

}  // namespace gage::profile::detail
