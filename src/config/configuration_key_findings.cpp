#include "config/configuration_key_findings.h"

#include <algorithm>
#include <map>
#include <optional>

#include "config/c_number_text.h"
#include "config/configuration_keys.h"
#include "config/connection_record.h"
#include "config/profile.h"
#include "config/profile_document.h"

namespace gage {
namespace {

std::string Lower(std::string_view text) {
    return profile::detail::LowerAscii(text);
}

// "MUX_", "GAGE_" followed by a decimal number, as written; nothing for any other key.
std::optional<std::string_view> NumberAfter(std::string_view key, std::string_view prefix) {
    if (key.size() <= prefix.size() || !EqualsIgnoreCase(key.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = key.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return digits;
}

class UnreadKeys {
  public:
    UnreadKeys(const std::string& path, const profile::ProfileListing& listing, int gageStop)
        : path_(path), listing_(listing), gageStop_(gageStop) {}

    std::vector<ConfigurationFinding> Find() {
        for (const auto& key : listing_.keysBeforeFirstSection) {
            Add("", key.name, "never read; it stands before any section.", key.line);
        }
        std::map<std::string, int> firstSections;  // lower-case name -> line
        for (const auto& section : listing_.sections) {
            const bool known = EqualsIgnoreCase(section.name, kApplicationSection) ||
                               EqualsIgnoreCase(section.name, kInterfacesSection) ||
                               EqualsIgnoreCase(section.name, kGagesSection);
            const auto [first, isFirst] = firstSections.emplace(Lower(section.name), section.line);
            if (!known) {
                if (isFirst) {
                    Add(section.name, "",
                        "never read; the loader reads only [APPLICATION], [INTERFACES] and "
                        "[GAGES].",
                        section.line);
                }
                continue;
            }
            if (!isFirst) {
                for (const auto& key : section.keys) {
                    Add(section.name, key.name,
                        "never read; only the first [" + section.name + "] section (line " +
                            std::to_string(first->second) + ") is read.",
                        key.line);
                }
                continue;
            }
            FindInSection(section);
        }
        return std::move(findings_);
    }

  private:
    void Add(std::string_view section, std::string_view key, std::string reason, int line) {
        findings_.push_back({FindingEffect::Skipped, path_, std::string(section), std::string(key),
                             line, std::move(reason)});
    }

    void FindInSection(const profile::ListedSection& section) {
        std::map<std::string, int> seen;  // lower-case key -> line of its first occurrence
        for (const auto& key : section.keys) {
            const auto [first, isFirst] = seen.emplace(Lower(key.name), key.line);
            if (!isFirst) {
                Add(section.name, key.name,
                    "never read; the key appears earlier (line " + std::to_string(first->second) +
                        "), and only that one is read.",
                    key.line);
                continue;
            }
            std::string reason = UnreadKeyReason(section.name, key.name);
            if (reason.empty() && !key.hasValue) {
                reason = "the line has no '=', so the key reads as missing.";
            }
            if (!reason.empty()) {
                Add(section.name, key.name, "never read; " + reason, key.line);
            }
        }
    }

    // Why the loader never asks for key; empty when it does.
    std::string UnreadKeyReason(std::string_view section, std::string_view key) const {
        if (EqualsIgnoreCase(section, kApplicationSection)) {
            return EqualsIgnoreCase(key, "NAME") || EqualsIgnoreCase(key, "VERSION")
                       ? std::string()
                       : std::string("[APPLICATION] holds only NAME and VERSION.");
        }
        if (EqualsIgnoreCase(section, kInterfacesSection)) {
            const auto digits = NumberAfter(key, "MUX_");
            if (!digits) {
                return "connections are keys MUX_0 to MUX_63.";
            }
            const int index = digits->size() > 3 ? kConnectionCount : ReadCInteger(*digits);
            if (index >= kConnectionCount) {
                return "connections are MUX_0 to MUX_63.";
            }
            return EqualsIgnoreCase(key, MuxKey(index)) ? std::string()
                                                        : "the loader asks for " + MuxKey(index) +
                                                              ", written without leading "
                                                              "zeros.";
        }
        const auto digits = NumberAfter(key, "GAGE_");
        if (!digits) {
            return "gages are keys GAGE_1, GAGE_2 and so on.";
        }
        const std::string_view significant =
            digits->substr(std::min(digits->find_first_not_of('0'), digits->size()));
        if (significant.empty()) {
            return "gages are numbered from GAGE_1.";
        }
        if (significant.size() != digits->size()) {
            return "the loader asks for GAGE_" + std::string(significant) +
                   ", written without leading zeros.";
        }
        const bool beyondStop = significant.size() > std::to_string(gageStop_).size() ||
                                ReadCInteger(significant) > gageStop_;
        if (!beyondStop) {
            return {};
        }
        const profile::ListedKey* stop = ReadListedKey(listing_, kGagesSection, GageKey(gageStop_));
        return "the loader stops at " + GageKey(gageStop_) + ", which is " +
               (stop != nullptr ? "empty" : "missing") + ".";
    }

    const std::string& path_;
    const profile::ProfileListing& listing_;
    int gageStop_;
    std::vector<ConfigurationFinding> findings_;
};

}  // namespace

const profile::ListedKey* ReadListedKey(const profile::ProfileListing& listing,
                                        std::string_view section, std::string_view key) {
    for (const auto& listed : listing.sections) {
        if (EqualsIgnoreCase(listed.name, section)) {
            for (const auto& candidate : listed.keys) {
                if (EqualsIgnoreCase(candidate.name, key)) {
                    return &candidate;
                }
            }
            return nullptr;
        }
    }
    return nullptr;
}

std::vector<ConfigurationFinding> UnreadKeyFindings(const std::string& path,
                                                    const profile::ProfileListing& listing,
                                                    int gageStop) {
    return UnreadKeys(path, listing, gageStop).Find();
}

}  // namespace gage
