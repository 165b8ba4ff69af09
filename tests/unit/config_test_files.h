#pragma once
// A private temporary directory for configuration-file tests, removed with everything in it, and
// a profile store of its own in use meanwhile, so that no test reads another test's cached file.

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "config/profile_store.h"
#include "helpers/temporary_directory.h"

namespace gage::test {

class ConfigTestDirectory {
  public:
    std::string File(std::string_view name) const { return directory_.File(name); }
    // Writes a whole file (any bytes); returns its path.
    std::string Write(std::string_view name, std::string_view contents) const {
        return directory_.Write(name, contents);
    }
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    profile::Store& store() { return store_; }

  private:
    TemporaryDirectory directory_{"gage-config-test-"};
    profile::Store store_;
    profile::StoreInUse storeInUse_{store_};
};

}  // namespace gage::test
