#pragma once
// Drives the built library from outside, as a host does. The fixture makes fresh shared and local
// directories, lets a test write configuration files into them, points the library at them
// (ZRNGSV_SHARED_DIR, ZRNGSV_LOCAL_DIR) and loads it, so no test touches a real user's files.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "helpers/temporary_directory.h"
#include "host/environment.h"
#include "host/library_loader.h"

namespace gage::harness {

using test::TemporaryDirectory;

// A configuration of one simulated gage, "RandomValue Caliper" (precision 4), on connection 0.
inline constexpr const char* kRandomCaliperConfiguration =
    "[APPLICATION]\r\nNAME=zrngsv32\r\nVERSION=9\r\n"
    "[INTERFACES]\r\nMUX_0=\"Bench\",1,0,9600,8,1,1,1,1024,0,\r\n"
    "[GAGES]\r\nGAGE_1=\"RandomValue Caliper\",1,1,0,1,SIM-1,-1,1,0,1,4,0,0\r\n";

class LoadedLibraryTest : public ::testing::Test {
  protected:
    void TearDown() override { Unload(); }

    // The directory the library takes ZRN_SYS.INI and BRW_GAGE.DEF from.
    const TemporaryDirectory& SharedDir() const { return shared_; }
    // The directory the library takes BRW_GAGE.CFG from and writes its log to.
    const TemporaryDirectory& LocalDir() const { return local_; }

    // Loads the library the build produced (running its start-up) with the directories above; on
    // failure records why and returns false. Use as ASSERT_TRUE(Load()). On Windows the library
    // is copied beside the test program and found there by name, as a host finds it.
    [[nodiscard]] bool Load() {
        Unload();
        sharedVariable_.emplace(host::kSharedDirVariable, shared_.with_separator());
        localVariable_.emplace(host::kLocalDirVariable, local_.with_separator());
        library_.emplace(GAGE_BUILT_LIBRARY);
        if (!library_->IsLoaded()) {
            ADD_FAILURE() << library_->Error();
        }
        return library_->IsLoaded();
    }
    // Unloads the library (running its shutdown); nothing when it is not loaded.
    void Unload() {
        library_.reset();
        localVariable_.reset();
        sharedVariable_.reset();
    }
    const host::GageServerLibrary& Library() const { return library_.value(); }
    // Calls the entry point with interface version 1; 0 when the library is not loaded.
    std::intptr_t Call(std::int32_t command, const char* argument = nullptr) const {
        return library_ ? library_->Call(command, argument) : 0;
    }

  private:
    TemporaryDirectory shared_{"gage-shared-"};
    TemporaryDirectory local_{"gage-local-"};
    std::optional<host::ScopedEnvironmentValue> sharedVariable_;
    std::optional<host::ScopedEnvironmentValue> localVariable_;
    std::optional<host::GageServerLibrary> library_;  // last: unloaded before the rest goes
};

}  // namespace gage::harness
