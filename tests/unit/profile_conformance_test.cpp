// The table of private-profile cases against gage::profile (the Windows tests run the same table
// against the system's functions too).

#include <gtest/gtest.h>

#include "config/profile_store.h"
#include "unit/profile_conformance_cases.h"

namespace gage::profile_cases {
namespace {

// Each case on a file of its own, then all again on one file, so that a stale cache entry shows.
TEST(ProfileConformance, EveryCaseBehavesAsWindowsDoes) {
    const TemporaryDirectory directory;
    profile::Store store;
    const profile::StoreInUse storeInUse(store);
    for (const bool reused : {false, true}) {
        int index = 0;
        for (const ProfileCase& testCase : Cases()) {
            const std::string name = reused ? "reused.ini" : "case" + std::to_string(index++);
            RunCase(testCase, OurProfileApi(), directory, name);
        }
    }
}

}  // namespace
}  // namespace gage::profile_cases
