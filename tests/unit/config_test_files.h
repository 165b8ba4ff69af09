#pragma once
// A private temporary directory for configuration-file tests, removed with everything in it, and
// a profile store of its own in use meanwhile, so that no test reads another test's cached file.

#include <fstream>
#include <iterator>
#include <string>

#include "config/profile_store.h"
#include "helpers/temporary_directory.h"

namespace gage::test {

class ConfigTestDirectory : public TemporaryDirectory {
  public:
    ConfigTestDirectory() : TemporaryDirectory("gage-config-test-") {}
    // A whole file by its path (empty when it does not exist).
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    profile::Store& store() { return store_; }

  private:
    profile::Store store_;
    profile::StoreInUse storeInUse_{store_};
};

}  // namespace gage::test
