#pragma once
// The file-system operations behind the profile module: recognising a changed file, reading it
// whole, and the pieces of an atomic replacement (profile_file_posix.cpp / profile_file_win32.cpp).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gage::profile::detail {

// What tells one version of a file from another without reading it.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;   // last write time, in the platform's finest unit
    std::uint64_t identity = 0;  // which file (inode, or file index), so a replacement shows

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StatFile(const std::string& path);

// Whether the file's last write lies far enough in the past that a later write must change its
// stamp. File times tick coarsely (milliseconds on Linux, two seconds on FAT), so two writes of the
// same size within one tick can leave the stamp as it was: such a file is checked by content.
bool IsSettled(const FileStamp& stamp);

// The whole file, or nothing when it cannot be read (missing, a directory, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);

// A new file opened for writing; closed (and left in place) when destroyed.
class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates path, which must not exist yet. The new file takes the permissions of modelPath
    // when that file exists.
    bool CreateNew(const std::string& path, const std::string& modelPath);
    bool Write(std::string_view bytes);
    // Forces the written bytes to the device.
    bool Flush();
    bool Close();

  private:
    std::intptr_t handle_ = -1;
};

// Renames temporary over target in one step (the target may exist) and makes the rename durable.
bool MoveOver(const std::string& temporary, const std::string& target);
bool RemoveFile(const std::string& path);

}  // namespace gage::profile::detail
