#pragma once
// The keys and sections of BRW_GAGE.CFG that the loader never reads, and why.

#include <string>
#include <string_view>
#include <vector>

#include "config/configuration_findings.h"
#include "config/profile_listing.h"

namespace gage {

// The line the profile reader takes a key from: the first of that name in the first section of
// that name; nothing when there is none.
const profile::ListedKey* ReadListedKey(const profile::ProfileListing& listing,
                                        std::string_view section, std::string_view key);

// Findings for the file at path, listed as listing; gageStop is the first GAGE number the loader
// finds missing or empty.
std::vector<ConfigurationFinding> UnreadKeyFindings(const std::string& path,
                                                    const profile::ProfileListing& listing,
                                                    int gageStop);

}  // namespace gage
