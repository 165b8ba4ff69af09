#pragma once
// Profile (INI) files with the private-profile rules the configuration files rely on: sections
// and keys compared without regard to case, values cut to the reader's buffer, missing file,
// section or key giving the default, enclosing quotes stripped. A file is parsed once and kept
// (in the current profile::Store, profile_store.h) until it changes on disk; every change replaces
// the whole file atomically (temporary file, flush, rename), so a crash never leaves a half-written
// file.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace gage::profile {

// Reads a value as GetPrivateProfileString does into a buffer of bufferSize characters
// (value cut to bufferSize - 1). Returns the number of characters copied.
std::size_t GetString(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view defaultValue, char* buffer, std::size_t bufferSize);

// The same, returned as a string cut to bufferSize - 1 characters.
std::string GetString(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view defaultValue = {}, std::size_t bufferSize = 256);

// Reads an integer as GetPrivateProfileInt does: leading sign and decimal digits of the value,
// 0 when there are none, defaultValue when the key is missing.
int GetInt(const std::string& path, std::string_view section, std::string_view key,
           int defaultValue);

// Writes one key (creating file and section as needed); an empty value is kept as an empty
// value, unlike DeleteKey. Returns false when the file could not be written (the file on disk is
// then unchanged) and for names and values that would not read back as written: an empty section
// or key, a key with '=' or starting with ';' or '[', a line break or NUL anywhere.
// Deleting what is not there succeeds without touching the file. DeleteSection removes every
// section of that name; DeleteKey removes the key together with any hidden duplicates of it.
bool WriteString(const std::string& path, std::string_view section, std::string_view key,
                 std::string_view value);
bool DeleteKey(const std::string& path, std::string_view section, std::string_view key);
bool DeleteSection(const std::string& path, std::string_view section);

// Collects many changes to one file and writes them in one atomic replacement, so that a save of
// a whole configuration is one write. Nothing reaches the disk before Commit.
class Batch {
  public:
    explicit Batch(std::string path);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void DeleteKey(std::string_view section, std::string_view key);
    void DeleteSection(std::string_view section);
    // Writes the file once, with every change in order (nothing when nothing changed). When
    // keepBackup is set the previous file is first kept as path + ".bak"; if that fails, nothing
    // is written. Returns false when the write failed or a change was refused (see WriteString;
    // the other changes are still written).
    bool Commit(bool keepBackup = false);

  private:
    struct State;
    std::string path_;
    std::unique_ptr<State> state_;
};

}  // namespace gage::profile
