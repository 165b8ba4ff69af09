#include "config/profile_atomic_write.h"

#include <atomic>
#include <cstdint>
#include <random>

#include "config/profile_file.h"

namespace gage::profile::detail {

namespace {

// A name beside path that no other writer (thread or process) picks at the same time.
std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<std::uint32_t> counter{0};
    // No thread_local generator: its destructor would outlive an unloaded DLL on some runtimes.
    const std::uint32_t unique =
        static_cast<std::uint32_t>(std::random_device{}()) ^ (counter.fetch_add(1) * 2654435761u);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = path + ".~";
    for (int shift = 28; shift >= 0; shift -= 4) {
        name += kHex[(unique >> shift) & 0xFu];
    }
    return name + ".tmp";
}

// Writes bytes to a new temporary file beside path and returns its name; empty on failure (and
// then no temporary file is left behind).
std::string WriteTemporary(const std::string& path, std::string_view bytes,
                           const std::string& modelPath, std::optional<WriteStep> refused) {
    const auto fails = [refused](WriteStep step) { return refused == step; };
    OutputFile file;
    std::string temporary;
    bool created = false;
    for (int attempt = 0; attempt < 8 && !created; ++attempt) {
        temporary = TemporaryNameFor(path);
        created = !fails(WriteStep::OpenTemporary) && file.CreateNew(temporary, modelPath);
    }
    if (!created) {
        return {};
    }
    const bool written = !fails(WriteStep::Write) && file.Write(bytes);
    const bool flushed = written && !fails(WriteStep::Flush) && file.Flush();
    const bool closed = file.Close();
    if (!written || !flushed || !closed) {
        RemoveFile(temporary);
        return {};
    }
    return temporary;
}

bool KeepBackup(const std::string& path, std::optional<WriteStep> refused) {
    if (!StatFile(path).exists) {
        return true;  // nothing to keep
    }
    const std::optional<std::string> previous = ReadWholeFile(path);
    if (!previous || refused == WriteStep::Backup) {
        return false;
    }
    const std::string backupPath = path + ".bak";
    const std::string temporary = WriteTemporary(backupPath, *previous, path, refused);
    if (temporary.empty()) {
        return false;
    }
    if (!MoveOver(temporary, backupPath)) {
        RemoveFile(temporary);
        return false;
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, bool keepBackup,
                         std::optional<WriteStep> refusedStep) {
    if (path.empty()) {
        return false;
    }
    const std::string temporary = WriteTemporary(path, bytes, path, refusedStep);
    if (temporary.empty()) {
        return false;
    }
    // The previous version must be safe before it is replaced; without it nothing changes.
    if (keepBackup && !KeepBackup(path, refusedStep)) {
        RemoveFile(temporary);
        return false;
    }
    if (refusedStep == WriteStep::Replace || !MoveOver(temporary, path)) {
        RemoveFile(temporary);
        return false;
    }
    return true;
}

}  // namespace gage::profile::detail
