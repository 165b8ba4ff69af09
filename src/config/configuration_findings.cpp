#include "config/configuration_findings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include "config/c_number_text.h"
#include "config/configuration_keys.h"
#include "config/definition_sections.h"
#include "config/field_tokenizer.h"
#include "config/gage_line.h"
#include "config/profile.h"
#include "config/profile_document.h"
#include "config/profile_listing.h"

namespace gage {

namespace {

constexpr std::size_t kLongestLineRead = kConfigurationLineRoom - 1;
constexpr std::size_t kNameFieldLimit = kNameSize;  // a raw name field must be shorter
constexpr std::size_t kSerialNumberLimit = kSerialNumberSize - 1;
constexpr std::int32_t kLargestByte = 255;
constexpr std::size_t kConnectionFieldsRead = 11;
// Gages whose name holds this read from the built-in simulated source, which needs no configured
// connection.
constexpr std::string_view kSimulatedGageMark = "RandomValue";

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string Lower(std::string_view text) {
    return profile::detail::LowerAscii(text);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Whether an integer field reads as the number written: blanks, a sign and decimal digits only,
// within the 32 bits a field keeps (an unsigned 32-bit value reads back to the same bits). An
// empty field is plainly 0.
bool IntegerAsWritten(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        return true;
    }
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > 0xFFFFFFFFull) {
            return false;
        }
    }
    return negative ? magnitude <= 0x80000000ull : true;
}

// Whether a real field reads as the number written (nothing after the number).
bool RealAsWritten(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return true;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return end == text.data() + text.size() &&
           (error == std::errc{} || error == std::errc::result_out_of_range);
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    FieldScanner scanner(line);
    while (const auto field = scanner.NextField(',')) {
        fields.push_back(*field);
    }
    return fields;
}

std::string FieldCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " field" : " fields");
}

// "MUX_", "GAGE_" followed by a decimal number, as written; nothing for any other key.
std::optional<std::string_view> NumberAfter(std::string_view key, std::string_view prefix) {
    if (key.size() <= prefix.size() || !EqualsIgnoreCase(key.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = key.substr(prefix.size());
    for (const char c : digits) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
    }
    return digits;
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
        gageStop_ = number;
        CheckKeysNeverRead();
    }

  private:
    void AddFileFinding(const std::string& file, std::string reason) {
        ConfigurationFinding finding;
        finding.effect = FindingEffect::Warning;
        finding.file = file;
        finding.reason = std::move(reason);
        check_.findings.push_back(std::move(finding));
    }

    void Add(FindingEffect effect, std::string_view section, std::string_view key,
             std::string reason, int line = -1) {
        ConfigurationFinding finding;
        finding.effect = effect;
        finding.file = path_;
        finding.section = std::string(section);
        finding.key = std::string(key);
        finding.line = line >= 0 ? line : LineOf(section, key);
        finding.reason = std::move(reason);
        check_.findings.push_back(std::move(finding));
    }

    // The line the profile reader takes the key from: the first of that name in the first
    // section of that name.
    const profile::ListedKey* ListedKeyOf(std::string_view section, std::string_view key) const {
        for (const auto& listed : listing_.sections) {
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

    int LineOf(std::string_view section, std::string_view key) const {
        const profile::ListedKey* listed = ListedKeyOf(section, key);
        return listed != nullptr ? listed->line : 0;
    }

    bool HasDefinitionSection(const std::string& section) const {
        return definitionSections_.count(Lower(section)) != 0;
    }

    void CheckLineLength(std::string_view section, const std::string& key) {
        const profile::ListedKey* listed = ListedKeyOf(section, key);
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
        versionMissing_ = text.empty();
        if (!IntegerAsWritten(text)) {
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

    // --- connections -------------------------------------------------------------------------

    void CheckConnection(int index) {
        const std::string key = MuxKey(index);
        const std::string line =
            profile::GetString(path_, kInterfacesSection, key, {}, kConfigurationLineRoom);
        if (line.empty()) {
            connectionState_[static_cast<std::size_t>(index)] = key + " is missing";
            return;
        }
        CheckLineLength(kInterfacesSection, key);
        const std::vector<std::string_view> fields = SplitFields(line);
        ConnectionRecord row;
        const ConnectionLineStatus status = ParseConnectionLine(line, resolveHost_, row);
        if (status != ConnectionLineStatus::Accepted) {
            connectionState_[static_cast<std::size_t>(index)] = key + " is skipped";
            Add(FindingEffect::Skipped, kInterfacesSection, key,
                "" + ConnectionSkipReason(status, fields));
            return;
        }
        connectionState_[static_cast<std::size_t>(index)].clear();
        ++check_.connectionsLoaded;
        CheckConnectionName(key, fields[0], row);
        CheckConnectionValues(key, fields, row);
        if (haveDefinitions_ && !HasDefinitionSection(InterfaceTypeSection(row.InterfaceType))) {
            Add(FindingEffect::Warning, kInterfacesSection, key,
                "interface type " + std::to_string(row.InterfaceType) + " has no section [" +
                    InterfaceTypeSection(row.InterfaceType) +
                    "] in BRW_GAGE.DEF: no initialisation strings are sent when the connection "
                    "opens.");
        }
    }

    static std::string ConnectionSkipReason(ConnectionLineStatus status,
                                            const std::vector<std::string_view>& fields) {
        const auto field = [&](std::size_t i) {
            return i < fields.size() ? std::string(TrimBlanks(fields[i])) : std::string();
        };
        switch (status) {
            case ConnectionLineStatus::TooFewFields:
                return "the line has " + FieldCount(fields.size()) +
                       "; a connection needs at least 9.";
            case ConnectionLineStatus::SerialPortTooHigh:
                return "serial port number " + std::to_string(ReadCInteger(fields[2])) +
                       " is above 64.";
            case ConnectionLineStatus::TcpPortZero: {
                const std::int32_t port = ReadCInteger(fields[2]);
                return port == 0
                           ? std::string("the TCP port is 0.")
                           : "the TCP port " + std::to_string(port) + " is 0 in its low 16 bits.";
            }
            case ConnectionLineStatus::HostNameTooLong:
                return "the host name is " + std::to_string(fields[10].size()) +
                       " characters long, longer than any DNS name (253).";
            case ConnectionLineStatus::AddressUnresolved:
                if (fields.size() <= 10 || fields[10].empty()) {
                    return "the address " + field(3) + "." + field(4) + "." + field(5) + "." +
                           field(6) + " (fields 4 to 7) is no usable IPv4 address.";
                }
                return "the host " + Quoted(fields[10]) + " does not resolve to an address.";
            case ConnectionLineStatus::Accepted:
                break;
        }
        return {};
    }

    void CheckConnectionName(const std::string& key, std::string_view raw,
                             const ConnectionRecord& row) {
        if (raw.size() >= kNameFieldLimit) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the name is " + std::to_string(raw.size()) +
                    " characters long (at most 31): the connection loads without a name, and "
                    "the next save drops it.");
            return;
        }
        if (row.Name.empty()) {
            Add(FindingEffect::Warning, kInterfacesSection, key,
                "the connection has no name: it loads, but the next save drops it.");
            return;
        }
        if (row.Name.view() != raw) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the name " + Quoted(raw) + " is read as " + Quoted(row.Name.view()) + ".");
        }
        for (const auto& [earlierKey, earlierName] : connectionNames_) {
            if (EqualsIgnoreCase(earlierName, row.Name.view())) {
                Add(FindingEffect::Warning, kInterfacesSection, key,
                    "the name " + Quoted(row.Name.view()) + " is also the name of " + earlierKey +
                        ".");
                return;
            }
        }
        connectionNames_.emplace_back(key, row.Name.str());
    }

    void CheckConnectionValues(const std::string& key, const std::vector<std::string_view>& fields,
                               const ConnectionRecord& row) {
        const bool tcp = row.IsTcp();
        const std::array<const char*, 10> names{"",
                                                "interface type",
                                                tcp ? "TCP port" : "port number",
                                                tcp ? "first address octet" : "baud rate",
                                                tcp ? "second address octet" : "data bits",
                                                tcp ? "third address octet" : "stop bits",
                                                tcp ? "fourth address octet" : "parity",
                                                "flow control",
                                                "buffer size",
                                                "kind"};
        for (std::size_t i = 1; i < names.size() && i < fields.size(); ++i) {
            if (!IntegerAsWritten(fields[i])) {
                Add(FindingEffect::Changed, kInterfacesSection, key,
                    std::string("the ") + names[i] + " " + Quoted(fields[i]) + " is read as " +
                        std::to_string(ReadCInteger(fields[i])) + ".");
            }
        }
        const std::int32_t type = ReadCInteger(fields[1]);
        if (type != row.InterfaceType) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the interface type " + std::to_string(type) + " is kept in 16 bits, as " +
                    std::to_string(row.InterfaceType) + ".");
        }
        const std::int32_t buffer = ReadCInteger(fields[8]);
        if (buffer != row.BufferSize) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the buffer size " + std::to_string(buffer) + " is cut to " +
                    std::to_string(row.BufferSize) + ".");
        }
        if (fields.size() > 9) {
            const std::int32_t kind = ReadCInteger(fields[9]);
            if (kind != KIND_SERIAL && kind != KIND_TCPIP) {
                Add(FindingEffect::Changed, kInterfacesSection, key,
                    "the kind " + std::to_string(kind) +
                        " is neither 0 (serial) nor 1 (TCP/IP); it is read as 0 (serial).");
            }
        }
        if (tcp && row.PortNumber != row.TcpPort) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the port " + std::to_string(row.PortNumber) + " is used as TCP port " +
                    std::to_string(row.TcpPort) + " (its low 16 bits).");
        }
        if (!tcp && fields.size() > 10 && !TrimBlanks(fields[10]).empty()) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the host name " + Quoted(fields[10]) +
                    " is not read for a serial connection, and the next save drops it.");
        }
        if (fields.size() > kConnectionFieldsRead) {
            Add(FindingEffect::Changed, kInterfacesSection, key,
                "the line has " + FieldCount(fields.size()) +
                    "; everything after the 11th is ignored.");
        }
    }

    // --- gages -------------------------------------------------------------------------------

    void CheckGage(int number, const std::string& line) {
        const std::string key = GageKey(number);
        CheckLineLength(kGagesSection, key);
        const std::vector<std::string_view> fields = SplitFields(line);
        const GageLineLayout& layout = GageLineLayoutFor(version_);
        GageRecord gage;
        switch (ParseGageLine(line, version_, gage)) {
            case GageLineStatus::UnknownVersion:
                Add(FindingEffect::Skipped, kGagesSection, key,
                    "VERSION " + std::to_string(version_) +
                        " is a layout the loader does not know.");
                return;
            case GageLineStatus::TooFewFields:
                Add(FindingEffect::Skipped, kGagesSection, key,
                    "the line has " + FieldCount(fields.size()) + "; a " + VersionText() +
                        " line needs " + std::to_string(layout.fieldCount) + ".");
                return;
            case GageLineStatus::ConnectionOutOfRange:
                Add(FindingEffect::Skipped, kGagesSection, key,
                    "the connection index " +
                        std::to_string(
                            ReadCInteger(fields[static_cast<std::size_t>(layout.connection)])) +
                        " names no connection (they are numbered 0 to 63).");
                return;
            case GageLineStatus::Accepted:
                break;
        }
        if (fields[0].size() >= kNameFieldLimit || gage.Name.empty()) {
            Add(FindingEffect::Skipped, kGagesSection, key,
                (gage.Name.empty() && fields[0].size() < kNameFieldLimit
                     ? std::string("the gage has no name")
                     : "the name is " + std::to_string(fields[0].size()) +
                           " characters long (at most 31)") +
                    "; the gage loads as a free row that the host cannot reach by name, and the "
                    "next save drops it.");
            return;
        }
        ++check_.gagesLoaded;
        if (gage.Name.view() != fields[0]) {
            Add(FindingEffect::Changed, kGagesSection, key,
                "the name " + Quoted(fields[0]) + " is read as " + Quoted(gage.Name.view()) + ".");
        }
        CheckGageNumbers(key, fields, layout, gage);
        CheckGageReferences(key, gage);
        for (const auto& [earlierKey, earlierName] : gageNames_) {
            if (EqualsIgnoreCase(earlierName, gage.Name.view())) {
                Add(FindingEffect::Warning, kGagesSection, key,
                    "the name " + Quoted(gage.Name.view()) + " is also the name of " + earlierKey +
                        "; the host reaches only " + earlierKey + " by that name.");
                return;
            }
        }
        gageNames_.emplace_back(key, gage.Name.str());
    }

    std::string VersionText() const {
        return versionMissing_ ? std::string("VERSION 0 (VERSION is missing)")
                               : "VERSION " + std::to_string(version_);
    }

    void CheckGageNumbers(const std::string& key, const std::vector<std::string_view>& fields,
                          const GageLineLayout& layout, const GageRecord& gage) {
        const auto at = [&](int position) { return fields[static_cast<std::size_t>(position)]; };
        const std::array<std::pair<int, const char*>, 7> integers{
            {{1, "interface type"},
             {2, "format"},
             {3, "channel"},
             {layout.id, "identifier"},
             {layout.precision, "precision"},
             {layout.flags, "flags"},
             {layout.connection, "connection index"}}};
        for (const auto& [position, name] : integers) {
            if (position >= 0 && !IntegerAsWritten(at(position))) {
                Add(FindingEffect::Changed, kGagesSection, key,
                    std::string("the ") + name + " " + Quoted(at(position)) + " is read as " +
                        std::to_string(ReadCInteger(at(position))) + ".");
            }
        }
        const std::array<std::pair<int, const char*>, 4> reals{{{layout.minimum, "minimum"},
                                                                {layout.maximum, "maximum"},
                                                                {layout.zero, "zero"},
                                                                {layout.gain, "gain"}}};
        for (const auto& [position, name] : reals) {
            if (position >= 0 && !RealAsWritten(at(position))) {
                Add(FindingEffect::Changed, kGagesSection, key,
                    std::string("the ") + name + " " + Quoted(at(position)) + " is read as " +
                        FormatCReal(ReadCReal(at(position))) + ".");
            }
        }
        const std::int32_t type = ReadCInteger(fields[1]);
        const std::int32_t format = ReadCInteger(fields[2]);
        if (type != gage.InterfaceTypeNumber || format != gage.FormatNumber) {
            Add(FindingEffect::Changed, kGagesSection, key,
                "the interface type and format " + std::to_string(type) + "." +
                    std::to_string(format) + " are kept in 16 bits each, as " +
                    std::to_string(gage.InterfaceTypeNumber) + "." +
                    std::to_string(gage.FormatNumber) + ".");
        }
        if (layout.serial >= 0 && at(layout.serial).size() > kSerialNumberLimit) {
            Add(FindingEffect::Changed, kGagesSection, key,
                "the serial number is " + std::to_string(at(layout.serial).size()) +
                    " characters long; only the first 63 are kept.");
        }
        if (layout.gain >= 0 && ReadCReal(at(layout.gain)) == 0.0) {
            Add(FindingEffect::Changed, kGagesSection, key, "the gain 0 is read as 1.");
        }
        if (layout.precision >= 0) {
            const std::int32_t precision = ReadCInteger(at(layout.precision));
            if (precision != gage.Precision) {
                Add(FindingEffect::Changed, kGagesSection, key,
                    "the precision " + std::to_string(precision) + " is limited to " +
                        std::to_string(gage.Precision) + " (0 to 15).");
            }
        }
        for (const auto& [value, name] :
             {std::pair{gage.ChannelNumber, "channel"}, std::pair{gage.GageId, "identifier"}}) {
            if (value < 0 || value > kLargestByte) {
                Add(FindingEffect::Warning, kGagesSection, key,
                    std::string("the ") + name + " " + std::to_string(value) +
                        " is outside 0 to 255; a command sends it as one byte, " +
                        std::to_string(value & kLargestByte) + ".");
            }
        }
        if (fields.size() > layout.fieldCount) {
            Add(FindingEffect::Changed, kGagesSection, key,
                "the line has " + FieldCount(fields.size()) + "; a " + VersionText() +
                    " line has " + std::to_string(layout.fieldCount) +
                    ", so the rest are ignored.");
        }
    }

    void CheckGageReferences(const std::string& key, const GageRecord& gage) {
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
    }

    // --- keys never read ---------------------------------------------------------------------

    void CheckKeysNeverRead() {
        for (const auto& key : listing_.keysBeforeFirstSection) {
            Add(FindingEffect::Skipped, "", key.name, "never read; it stands before any section.",
                key.line);
        }
        std::map<std::string, int> firstSections;  // lower-case name -> line
        for (const auto& section : listing_.sections) {
            const std::string lower = Lower(section.name);
            const bool known = EqualsIgnoreCase(section.name, kApplicationSection) ||
                               EqualsIgnoreCase(section.name, kInterfacesSection) ||
                               EqualsIgnoreCase(section.name, kGagesSection);
            const auto [first, isFirst] = firstSections.emplace(lower, section.line);
            if (!known) {
                if (isFirst) {
                    Add(FindingEffect::Skipped, section.name, "",
                        "never read; the loader reads only [APPLICATION], [INTERFACES] and "
                        "[GAGES].",
                        section.line);
                }
                continue;
            }
            if (!isFirst) {
                for (const auto& key : section.keys) {
                    Add(FindingEffect::Skipped, section.name, key.name,
                        "never read; only the first [" + section.name + "] section (line " +
                            std::to_string(first->second) + ") is read.",
                        key.line);
                }
                continue;
            }
            CheckSectionKeys(section);
        }
    }

    void CheckSectionKeys(const profile::ListedSection& section) {
        std::map<std::string, int> seen;  // lower-case key -> line of its first occurrence
        for (const auto& key : section.keys) {
            const auto [first, isFirst] = seen.emplace(Lower(key.name), key.line);
            if (!isFirst) {
                Add(FindingEffect::Skipped, section.name, key.name,
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
                Add(FindingEffect::Skipped, section.name, key.name, "never read; " + reason,
                    key.line);
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
        const profile::ListedKey* stop = ListedKeyOf(kGagesSection, GageKey(gageStop_));
        return "the loader stops at " + GageKey(gageStop_) + ", which is " +
               (stop != nullptr ? "empty" : "missing") + ".";
    }

    const std::string& path_;
    const std::string& definitionsPath_;
    const HostResolver& resolveHost_;
    ConfigurationCheck& check_;
    profile::ProfileListing listing_;
    std::set<std::string> definitionSections_;  // lower-case names
    bool haveDefinitions_ = false;
    int version_ = 0;
    bool versionMissing_ = false;
    int gageStop_ = 1;  // the first GAGE number the loader finds missing or empty
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
