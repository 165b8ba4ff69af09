#pragma once
// A private temporary directory for configuration-file tests, removed with everything in it. The
// profile cache is emptied on the way in, on the way out and after every write, so no test ever
// reads a cached copy of another test's file.

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "config/profile.h"
#include "helpers/temporary_directory.h"

namespace gage::test {

class ConfigTestDirectory {
  public:
    ConfigTestDirectory() { profile::ClearCache(); }
    ~ConfigTestDirectory() { profile::ClearCache(); }
    ConfigTestDirectory(const ConfigTestDirectory&) = delete;
    ConfigTestDirectory& operator=(const ConfigTestDirectory&) = delete;

    std::string File(std::string_view name) const { return directory_.File(name); }

    // Writes a whole file (any bytes) and makes sure no cached copy of an earlier one is used.
    std::string Write(std::string_view name, std::string_view contents) const {
        const std::string file = directory_.Write(name, contents);
        profile::ClearCache();
        return file;
    }

    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    TemporaryDirectory directory_{"gage-config-test-"};
};

}  // namespace gage::test
