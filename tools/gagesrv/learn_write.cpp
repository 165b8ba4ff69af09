#include "gagesrv/learn_write.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "config/configuration_file.h"
#include "config/connection_line.h"
#include "config/definition_sections.h"
#include "config/gage_format_file.h"
#include "config/gage_line.h"
#include "config/interface_type_file.h"
#include "support/fixed_string.h"

namespace gage::gagesrv {

namespace {

constexpr std::uint16_t kReadTimeoutMs = 2000;

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The lines of section name (header included) as the file holds them.
std::string SectionText(const std::string& fileText, const std::string& name) {
    const std::string header = "[" + name + "]";
    const std::size_t at = fileText.find(header);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t next = fileText.find("\n[", at);
    std::string text =
        fileText.substr(at, next == std::string::npos ? std::string::npos : next + 1 - at);
    std::erase(text, '\r');
    return text;
}

// "base 1", "base 2" ... the first that taken does not refuse.
template <typename Taken>
std::string UniqueName(const std::string& base, Taken taken) {
    for (int n = 1;; ++n) {
        const std::string name = base + " " + std::to_string(n);
        if (!taken(name)) {
            return name;
        }
    }
}

bool NameUsedByGage(const GageTable& gages, const std::string& name) {
    for (const GageRecord& gage : gages) {
        if (gage.IsNamed() && EqualsIgnoreCase(gage.Name.view(), name)) {
            return true;
        }
    }
    return false;
}

bool NameUsedByConnection(const ConnectionTable& connections, const std::string& name) {
    for (const ConnectionRecord& connection : connections) {
        if (EqualsIgnoreCase(connection.Name.view(), name)) {
            return true;
        }
    }
    return false;
}

int AddConnection(ConnectionTable& connections, const LearnedSource& source, int type) {
    for (int index = 0; index < kConnectionCount; ++index) {
        ConnectionRecord& row = connections[static_cast<std::size_t>(index)];
        if (!row.Name.empty()) {
            continue;
        }
        const ConnectionRecord& from = *source.newConnection;
        row.Name = UniqueName("Learned port", [&](const std::string& name) {
            return NameUsedByConnection(connections, name);
        });
        row.InterfaceType = static_cast<std::uint16_t>(type);
        row.Kind = from.Kind;
        row.PortNumber = from.IsTcp() ? from.PortNumber : source.newPortNumber;
        row.BaudRate = from.BaudRate;
        row.DataBits = from.DataBits;
        row.StopBits = from.StopBits;
        row.Parity = from.Parity;
        row.FlowControl = from.FlowControl;
        row.BufferSize = from.BufferSize;
        row.HostName = from.HostName.view();
        return index;
    }
    return -1;
}

}  // namespace

bool WriteLearned(const learn::Proposal& proposal, const LearnedSource& source,
                  const std::string& definitionsPath, const std::string& configurationPath,
                  LearnedEntries& entries, std::string& error) {
    GageTable gages;
    ConnectionTable connections;
    std::error_code ignored;
    if (std::filesystem::exists(configurationPath, ignored) &&
        LoadConfiguration({gages, connections}, nullptr, configurationPath, definitionsPath, {}) ==
            0) {
        error = "The gage configuration " + configurationPath +
                " is not a gage server configuration; nothing was written.";
        return false;
    }
    // The connection's own interface type keeps its initialisation strings; a new type is made
    // only where there is none.
    entries.type = source.connectionType;
    if (entries.type == 0 || ReadInterfaceTypeDescription(definitionsPath, entries.type).empty()) {
        entries.type = LowestUnusedInterfaceTypeNumber(definitionsPath);
        entries.newType = true;
        const std::string description = UniqueName("Learned interface", [&](const std::string& n) {
            for (const DefinitionEntry& entry : ListInterfaceTypes(definitionsPath)) {
                if (EqualsIgnoreCase(entry.description, n)) {
                    return true;
                }
            }
            return false;
        });
        if (entries.type > kLastListedDefinitionNumber ||
            !WriteInterfaceType(definitionsPath, entries.type, description, {})) {
            error = "The definitions file " + definitionsPath + " could not be written.";
            return false;
        }
    }
    entries.format = LowestUnusedFormatNumber(definitionsPath, entries.type);
    FormatDialogInput input = proposal.format;
    input.description = UniqueName("Learned format", [&](const std::string& name) {
        return IsFormatDescriptionTaken(definitionsPath, entries.type, entries.format, name);
    });
    GageFormat editingForm;
    editingForm.Options = proposal.options;
    editingForm.MeasReadCommand = proposal.readCommand;
    editingForm.ReadTimeout = kReadTimeoutMs;
    if (entries.format > kLastListedDefinitionNumber ||
        SaveGageFormat(definitionsPath, entries.type, entries.format, input, editingForm) !=
            FormatSaveResult::Saved) {
        error = "The definitions file " + definitionsPath + " could not be written.";
        return false;
    }
    const std::string definitions = FileText(definitionsPath);
    entries.definitionText =
        (entries.newType ? SectionText(definitions, InterfaceTypeSection(entries.type)) : "") +
        SectionText(definitions, GageFormatSection(entries.type, entries.format));

    entries.connectionIndex = source.connectionIndex;
    if (entries.connectionIndex < 0 && source.newConnection != nullptr &&
        (source.newConnection->IsTcp() || source.newPortNumber > 0)) {
        entries.connectionIndex = AddConnection(connections, source, entries.type);
        entries.newConnection = entries.connectionIndex >= 0;
    }
    if (entries.connectionIndex < 0) {
        return true;  // the format is there; a gage line needs a connection
    }
    if (source.line) {
        // The settings the records came clean with are the connection's from now on.
        ConnectionRecord& row = connections[static_cast<std::size_t>(entries.connectionIndex)];
        row.BaudRate = source.line->baudRate;
        row.DataBits = source.line->dataBits;
        row.Parity = source.line->parity;
        row.StopBits = source.line->stopBits;
    }
    if (entries.newConnection || source.line) {
        entries.configurationText =
            "MUX_" + std::to_string(entries.connectionIndex) + "=" +
            FormatConnectionLine(connections[static_cast<std::size_t>(entries.connectionIndex)]) +
            "\n";
    }
    GageRecord gage;
    gage.Name = UniqueName("Learned gage",
                           [&](const std::string& name) { return NameUsedByGage(gages, name); });
    gage.InterfaceTypeNumber = static_cast<std::uint16_t>(entries.type);
    gage.FormatNumber = static_cast<std::uint16_t>(entries.format);
    gage.ConnectionIndex = entries.connectionIndex;
    gage.Gain = 1.0;
    gage.Precision = proposal.precision;
    entries.gageName = gage.Name.str();
    gages.push_back(gage);
    int key = 0;
    for (const GageRecord& row : gages) {
        key += row.IsNamed() ? 1 : 0;
    }
    entries.configurationText += "GAGE_" + std::to_string(key) + "=" + FormatGageLine(gage) + "\n";
    if (SaveConfiguration(gages, connections, configurationPath) == 0) {
        error = "The gage configuration " + configurationPath + " could not be written.";
        return false;
    }
    return true;
}

bool PreviewLearned(const learn::Proposal& proposal, const LearnedSource& source,
                    const std::string& definitionsPath, const std::string& configurationPath,
                    LearnedEntries& entries, std::string& error) {
    std::error_code code;
    std::random_device random;
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path(code) /
        ("gagesrv-learn-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(scratch, code);
    const std::string definitions = (scratch / "BRW_GAGE.DEF").string();
    const std::string configuration = (scratch / "BRW_GAGE.CFG").string();
    std::filesystem::copy_file(definitionsPath, definitions, code);
    std::filesystem::copy_file(configurationPath, configuration, code);
    const bool written = WriteLearned(proposal, source, definitions, configuration, entries, error);
    std::filesystem::remove_all(scratch, code);
    return written;
}

}  // namespace gage::gagesrv
