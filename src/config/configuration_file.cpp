#include "config/configuration_file.h"

#include <map>
#include <new>
#include <utility>

#include "config/configuration_keys.h"
#include "config/connection_line.h"
#include "config/gage_format_file.h"
#include "config/gage_line.h"
#include "config/profile.h"

namespace gage {
namespace {

void LoadConnections(const std::string& path, const ConfigurationHooks& hooks,
                     ConnectionTable& connections) {
    for (int index = 0; index < kConnectionCount; ++index) {
        ConnectionRecord& row = connections[static_cast<std::size_t>(index)];
        ClearConnection(row);
        const std::string line =
            profile::GetString(path, kInterfacesSection, MuxKey(index), {}, kConfigurationLineRoom);
        if (!line.empty()) {
            ParseConnectionLine(line, hooks.resolveHost, row);
        }
    }
}

// Gages often share a format; each section is read from the file once per load.
class FormatCache {
  public:
    explicit FormatCache(const std::string& definitionsPath) : path_(definitionsPath) {}

    void Load(GageRecord& gage) {
        const auto key = std::make_pair(gage.InterfaceTypeNumber, gage.FormatNumber);
        auto found = formats_.find(key);
        if (found == formats_.end()) {
            found = formats_.emplace(key, ReadGageFormat(path_, key.first, key.second)).first;
        }
        gage.Format = found->second;
    }

  private:
    const std::string& path_;
    std::map<std::pair<std::uint16_t, std::uint16_t>, GageFormat> formats_;
};

void LoadGages(const std::string& path, const std::string& definitionsPath, int version,
               WindowHandle window, const ConfigurationHooks& hooks, GageTable& gages) {
    gages.clear();
    FormatCache formats(definitionsPath);
    for (int number = 1;; ++number) {
        const std::string line =
            profile::GetString(path, kGagesSection, GageKey(number), {}, kConfigurationLineRoom);
        if (line.empty()) {
            break;
        }
        GageRecord gage;
        if (ParseGageLine(line, version, gage) != GageLineStatus::Accepted) {
            continue;
        }
        try {
            gages.push_back(std::move(gage));
        } catch (const std::bad_alloc&) {
            continue;
        }
        GageRecord& added = gages.back();
        formats.Load(added);
        if (hooks.sendGageInit) {
            hooks.sendGageInit(window, added);
        }
    }
}

}  // namespace

int LoadConfiguration(ConfigurationTables tables, WindowHandle window, const std::string& path,
                      const std::string& definitionsPath, const ConfigurationHooks& hooks) {
    if (path.empty()) {
        return 0;
    }
    const std::string name = profile::GetString(path, kApplicationSection, "NAME");
    if (!EqualsIgnoreCase(name, kApplicationName)) {
        return 0;
    }
    const int version = profile::GetInt(path, kApplicationSection, "VERSION", 0);

    LoadConnections(path, hooks, tables.connections);
    if (hooks.startConnects) {
        hooks.startConnects();
    }
    if (hooks.openConnection) {
        for (int index = 0; index < kConnectionCount; ++index) {
            hooks.openConnection(window, index);
        }
    }
    LoadGages(path, definitionsPath, version, window, hooks, tables.gages);
    return 1;
}

int SaveConfiguration(const GageTable& gages, const ConnectionTable& connections,
                      const std::string& path) {
    if (path.empty()) {
        return 0;
    }
    profile::Batch batch(path);
    batch.DeleteSection(kApplicationSection);
    batch.WriteString(kApplicationSection, "NAME", kApplicationName);
    batch.WriteString(kApplicationSection, "VERSION", std::to_string(kGageLineVersion));

    batch.DeleteSection(kInterfacesSection);
    for (int index = 0; index < kConnectionCount; ++index) {
        const ConnectionRecord& row = connections[static_cast<std::size_t>(index)];
        if (!row.Name.empty()) {
            batch.WriteString(kInterfacesSection, MuxKey(index), FormatConnectionLine(row));
        }
    }

    batch.DeleteSection(kGagesSection);
    int number = 0;
    for (const GageRecord& gage : gages) {
        if (gage.IsNamed()) {
            batch.WriteString(kGagesSection, GageKey(++number), FormatGageLine(gage));
        }
    }
    // The previous file is kept beside the new one as BRW_GAGE.CFG.bak.
    return batch.Commit(/*keepBackup=*/true) ? 1 : 0;
}

}  // namespace gage
