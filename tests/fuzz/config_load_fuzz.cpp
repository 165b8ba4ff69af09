// BRW_GAGE.CFG loading takes any file: the input is written as the configuration file, loaded,
// saved into that same file (so the writer meets whatever else it holds) and loaded again.
// Nothing may crash, hang or leave a row outside its limits, and every named gage reads back.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "config/configuration_file.h"
#include "config/profile_store.h"
#include "fuzz_support.h"

namespace {

using gage::fuzz::Check;

struct Files {
    Files() {
        std::ofstream(definitions) << "[TYPE1.1]\nDESCRIPTION=F\nRECEND=<13>\nVALUE1=1,1,0\n";
    }
    std::string configuration = gage::fuzz::ScratchFile("config_load_fuzz.cfg");
    std::string definitions = gage::fuzz::ScratchFile("config_load_fuzz.def");
};

void CheckTables(const gage::GageTable& gages, const gage::ConnectionTable& connections) {
    for (const gage::GageRecord& gage : gages) {
        Check(gage.ConnectionIndex >= 0 && gage.ConnectionIndex < gage::kConnectionCount);
        Check(gage.Precision >= 0 && gage.Precision <= 15);
        Check(gage.Gain != 0.0);
    }
    for (const gage::ConnectionRecord& row : connections) {
        Check(row.BufferSize <= 1024);
        Check(row.Kind == gage::KIND_SERIAL || row.Kind == gage::KIND_TCPIP);
        if (row.Kind == gage::KIND_TCPIP) {
            Check(row.TcpPort != 0 && row.IpAddress != gage::kInaddrNone);
            Check(row.HostName.size() <= 253);
        } else {
            Check(row.PortNumber <= 64);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Files files;
    {
        std::ofstream out(files.configuration, std::ios::binary | std::ios::trunc);
        gage::fuzz::WriteBytes(out, data, size);
    }
    // A store of its own per input, its stamps trusted: only this run's own save changes the file,
    // so every lookup is about the loader and the writer, not the disk.
    gage::profile::Store store;
    store.TrustEveryStamp();
    const gage::profile::StoreInUse storeInUse(store);

    gage::GageTable gages;
    gage::ConnectionTable connections;
    int initialised = 0;
    gage::ConfigurationHooks hooks;
    hooks.sendGageInit = [&](gage::WindowHandle, gage::GageRecord&) { ++initialised; };
    const int loaded = gage::LoadConfiguration({gages, connections}, nullptr, files.configuration,
                                               files.definitions, hooks);
    Check((loaded == 1 || gages.empty()) && static_cast<std::size_t>(initialised) == gages.size());
    CheckTables(gages, connections);

    Check(gage::SaveConfiguration(gages, connections, files.configuration) == 1);
    gage::GageTable again;
    gage::ConnectionTable connectionsAgain;
    Check(gage::LoadConfiguration({again, connectionsAgain}, nullptr, files.configuration,
                                  files.definitions, {}) == 1);
    CheckTables(again, connectionsAgain);
    // A free row is not written.
    Check(again.size() == static_cast<std::size_t>(std::count_if(
                              gages.begin(), gages.end(),
                              [](const gage::GageRecord& gage) { return gage.IsNamed(); })));
    return 0;
}
