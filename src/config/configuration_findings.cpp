#include "config/configuration_findings.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "config/c_number_text.h"
#include "config/configuration_key_findings.h"
#include "config/configuration_keys.h"
#include "config/definition_sections.h"
#include "config/gage_line.h"
#include "config/line_note_wording.h"
#include "config/line_report.h"
#include "config/profile.h"
#include "config/profile_document.h"
#include "config/profile_listing.h"

namespace gage {

namespace {

constexpr std::size_t kLongestLineRead = kConfigurationLineRoom - 1;
constexpr std::int32_t kLargestByte = 255;
// Gages whose name holds this read from the built-in simulated source, which needs no configured
// connection.
constexpr std::string_view kSimulatedGageMark = "RandomValue";

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string Lower(std::string_view text) {
    return profile::detail::LowerAscii(text);
}

enum class FileRead { Read, Missing, Failed };

FileRead ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (!std::filesystem::exists(status)) {
        return FileRead::Missing;
    }
    if (std::filesystem::is_directory(status)) {
        error = path + " is a directory, not a file.";
        return FileRead::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + " cannot be read.";
        return FileRead::Failed;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = path + " cannot be read.";
        return FileRead::Failed;
    }
    return FileRead::Read;
}

class Checker {
  public:
    Checker(const std::string& path, const std::string& definitionsPath,
            const HostResolver& resolveHost, ConfigurationCheck& check)
        : path_(path),
          definitionsPath_(definitionsPath),
          resolveHost_(resolveHost),
          check_(check) {}

    void Run() {
        std::string bytes;
        const FileRead configuration = ReadWholeFile(path_, bytes, check_.error);
        if (configuration == FileRead::Failed) {
            return;
        }
        if (configuration == FileRead::Missing) {
            AddFileFinding(path_, "the file does not exist, so no connection or gage would load.");
            return;
        }
        listing_ = profile::ListProfile(bytes);
        std::string definitionBytes;
        const FileRead definitions = ReadWholeFile(definitionsPath_, definitionBytes, check_.error);
        if (definitions == FileRead::Failed) {
            return;
        }
        haveDefinitions_ = definitions == FileRead::Read;
        for (const auto& section : profile::ListProfile(definitionBytes).sections) {
            definitionSections_.insert(Lower(section.name));
        }

        const std::string name = profile::GetString(path_, kApplicationSection, "NAME");
        if (!EqualsIgnoreCase(name, kApplicationName)) {
            Add(FindingEffect::Warning, kApplicationSection, "NAME",
                (name.empty() ? std::string("is missing") : "is " + Quoted(name)) + ", not " +
                    Quoted(kApplicationName) +
                    ": the loader refuses the whole file, so no connection or gage would load.");
            return;
        }
        CheckVersion();
        if (!haveDefinitions_) {
            AddFileFinding(definitionsPath_,
                           "the file does not exist, so no interface type or gage format is "
                           "defined: connections send no initialisation strings and every gage "
                           "loads with an empty format.");
        }
        for (int index = 0; index < kConnectionCount; ++index) {
            CheckConnection(index);
        }
        int number = 1;
        for (;; ++number) {
            const std::string line = profile::GetString(path_, kGagesSection, GageKey(number), {},
                                                        kConfigurationLineRoom);
            if (line.empty()) {
                break;
            }
            CheckGage(number, line);
        }
        for (auto& finding : UnreadKeyFindings(path_, listing_, number)) {
            check_.findings.push_back(std::move(finding));
        }
    }

  private:
    void AddFileFinding(const std::string& file, std::string reason) {
        check_.findings.push_back({FindingEffect::Warning, file, {}, {}, 0, std::move(reason)});
    }

    void Add(FindingEffect effect, std::string_view section, std::string_view key,
             std::string reason) {
        const profile::ListedKey* listed = ReadListedKey(listing_, section, key);
        check_.findings.push_back({effect, path_, std::string(section), std::string(key),
                                   listed != nullptr ? listed->line : 0, std::move(reason)});
    }

    bool HasDefinitionSection(const std::string& section) const {
        return definitionSections_.count(Lower(section)) != 0;
    }

    void CheckLineLength(std::string_view section, const std::string& key) {
        const profile::ListedKey* listed = ReadListedKey(listing_, section, key);
        if (listed != nullptr && listed->value.size() > kLongestLineRead) {
            Add(FindingEffect::Changed, section, key,
                "the line is " + std::to_string(listed->value.size()) +
                    " characters long; only the first " + std::to_string(kLongestLineRead) +
                    " are read.");
        }
    }

    void CheckVersion() {
        const std::string text = profile::GetString(path_, kApplicationSection, "VERSION");
        version_ = profile::GetInt(path_, kApplicationSection, "VERSION", 0);
        versionText_ = text.empty() ? std::string("VERSION 0 (VERSION is missing)")
                                    : "VERSION " + std::to_string(version_);
        if (!ReadCIntegerField(text).asWritten) {
            Add(FindingEffect::Changed, kApplicationSection, "VERSION",
                "the version " + Quoted(text) + " is read as " + std::to_string(version_) + ".");
        }
        if (version_ >= kFirstUnknownGageLineVersion) {
            Add(FindingEffect::Warning, kApplicationSection, "VERSION",
                "VERSION " + std::to_string(version_) +
                    " is a layout the loader does not know (10 or more): no GAGE line is "
                    "loaded.");
        }
    }

    // Words what the parser noted; false when the line leaves its row empty.
    bool AddNotes(const LineReport& report, LineOwner owner, std::string_view section,
                  const std::string& key) {
        if (report.skipped) {
            Add(FindingEffect::Skipped, section, key,
                WordLineNote(*report.skipped, owner, versionText_).reason);
            return false;
        }
        for (const LineNote& note : report.changes) {
            WordedNote worded = WordLineNote(note, owner, versionText_);
            if (worded.effect == FindingEffect::Skipped) {  // a gage without a usable name
                Add(worded.effect, section, key, std::move(worded.reason));
                return false;
            }
        }
        for (const LineNote& note : report.changes) {
            WordedNote worded = WordLineNote(note, owner, versionText_);
            Add(worded.effect, section, key, std::move(worded.reason));
        }
        return true;
    }

    // Whether an earlier line of names holds name; remembers it otherwise.
    static std::optional<std::string> EarlierName(
        std::vector<std::pair<std::string, std::string>>& names, const std::string& key,
        std::string_view name) {
        for (const auto& [earlierKey, earlierName] : names) {
            if (EqualsIgnoreCase(earlierName, name)) {
                return earlierKey;
            }
        }
        names.emplace_back(key, std::string(name));
        return std::nullopt;
    }

    void CheckConnection(int index) {
        const std::string key = MuxKey(index);
        const std::string line =
            profile::GetString(path_, kInterfacesSection, key, {}, kConfigurationLineRoom);
        std::string& state = connectionState_[static_cast<std::size_t>(index)];
        if (line.empty()) {
            state = key + " is missing";
            return;
        }
        CheckLineLength(kInterfacesSection, key);
        ConnectionRecord row;
        LineReport report;
        ParseConnectionLine(line, resolveHost_, row, &report);
        if (!AddNotes(report, LineOwner::Connection, kInterfacesSection, key)) {
            state = key + " is skipped";
            return;
        }
        ++check_.connectionsLoaded;
        if (!row.Name.empty()) {
            if (const auto earlier = EarlierName(connectionNames_, key, row.Name.view())) {
                Add(FindingEffect::Warning, kInterfacesSection, key,
                    "the name " + Quoted(row.Name.view()) + " is also the name of " + *earlier +
                        ".");
            }
        }
        if (haveDefinitions_ && !HasDefinitionSection(InterfaceTypeSection(row.InterfaceType))) {
            Add(FindingEffect::Warning, kInterfacesSection, key,
                "interface type " + std::to_string(row.InterfaceType) + " has no section [" +
                    InterfaceTypeSection(row.InterfaceType) +
                    "] in BRW_GAGE.DEF: no initialisation strings are sent when the connection "
                    "opens.");
        }
    }

    void CheckGage(int number, const std::string& line) {
        const std::string key = GageKey(number);
        CheckLineLength(kGagesSection, key);
        GageRecord gage;
        LineReport report;
        ParseGageLine(line, version_, gage, &report);
        if (!AddNotes(report, LineOwner::Gage, kGagesSection, key)) {
            return;
        }
        ++check_.gagesLoaded;
        for (const auto& [value, name] :
             {std::pair{gage.ChannelNumber, "channel"}, std::pair{gage.GageId, "identifier"}}) {
            if (value < 0 || value > kLargestByte) {
                Add(FindingEffect::Warning, kGagesSection, key,
                    std::string("the ") + name + " " + std::to_string(value) +
                        " is outside 0 to 255; a command sends it as one byte, " +
                        std::to_string(value & kLargestByte) + ".");
            }
        }
        const auto index = static_cast<std::size_t>(gage.ConnectionIndex);
        const bool simulated = gage.Name.view().find(kSimulatedGageMark) != std::string_view::npos;
        if (!connectionState_[index].empty() && !simulated) {
            Add(FindingEffect::Warning, kGagesSection, key,
                "the connection " + std::to_string(gage.ConnectionIndex) + " is not configured (" +
                    connectionState_[index] + "), so the gage cannot be read.");
        }
        const std::string section = GageFormatSection(gage.InterfaceTypeNumber, gage.FormatNumber);
        if (haveDefinitions_ && !HasDefinitionSection(section)) {
            Add(FindingEffect::Warning, kGagesSection, key,
                "the gage format [" + section +
                    "] is not in BRW_GAGE.DEF; the gage loads with every format setting at its "
                    "default.");
        }
        if (const auto earlier = EarlierName(gageNames_, key, gage.Name.view())) {
            Add(FindingEffect::Warning, kGagesSection, key,
                "the name " + Quoted(gage.Name.view()) + " is also the name of " + *earlier +
                    "; the host reaches only " + *earlier + " by that name.");
        }
    }

    const std::string& path_;
    const std::string& definitionsPath_;
    const HostResolver& resolveHost_;
    ConfigurationCheck& check_;
    profile::ProfileListing listing_;
    std::set<std::string> definitionSections_;  // lower-case names
    bool haveDefinitions_ = false;
    int version_ = 0;
    std::string versionText_;  // "VERSION 9", as the findings name the file's layout
    // Empty for a configured row, otherwise why the row is empty.
    std::array<std::string, kConnectionCount> connectionState_;
    std::vector<std::pair<std::string, std::string>> connectionNames_;  // key, name
    std::vector<std::pair<std::string, std::string>> gageNames_;
};

std::set<std::string> KeysWith(const std::vector<ConfigurationFinding>& findings,
                               FindingEffect effect) {
    std::set<std::string> keys;
    for (const auto& finding : findings) {
        if (finding.effect == effect) {
            keys.insert(finding.file + "\n" + Lower(finding.section) + "\n" + Lower(finding.key) +
                        "\n" + std::to_string(finding.line));
        }
    }
    return keys;
}

}  // namespace

int ConfigurationCheck::SkippedLines() const {
    return static_cast<int>(KeysWith(findings, FindingEffect::Skipped).size());
}

int ConfigurationCheck::ChangedLines() const {
    const std::set<std::string> skipped = KeysWith(findings, FindingEffect::Skipped);
    int count = 0;
    for (const auto& key : KeysWith(findings, FindingEffect::Changed)) {
        count += skipped.count(key) == 0 ? 1 : 0;
    }
    return count;
}

int ConfigurationCheck::Warnings() const {
    int count = 0;
    for (const auto& finding : findings) {
        count += finding.effect == FindingEffect::Warning ? 1 : 0;
    }
    return count;
}

ConfigurationCheck CheckConfiguration(const std::string& path, const std::string& definitionsPath,
                                      const HostResolver& resolveHost) {
    ConfigurationCheck check;
    Checker(path, definitionsPath, resolveHost, check).Run();
    // In file order; findings about a whole file come first.
    std::stable_sort(check.findings.begin(), check.findings.end(),
                     [](const ConfigurationFinding& a, const ConfigurationFinding& b) {
                         return a.line < b.line;
                     });
    if (!check.error.empty()) {
        check.findings.clear();
        check.connectionsLoaded = 0;
        check.gagesLoaded = 0;
    }
    return check;
}

}  // namespace gage
