// Loading and saving a large configuration: 1,000 gages over 64 connections and 100 formats.
// Target: each well under 50 ms.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/configuration_file.h"
#include "config/profile_store.h"

namespace {

constexpr int kGages = 1000;
constexpr int kTypes = 4;
constexpr int kFormatsPerType = 25;

class LargeConfiguration {
  public:
    LargeConfiguration() {
        directory_ = std::filesystem::temp_directory_path() / "gage-config-bench";
        std::filesystem::create_directories(directory_);
        configuration = (directory_ / "BRW_GAGE.CFG").string();
        definitions = (directory_ / "BRW_GAGE.DEF").string();
        saved = (directory_ / "saved.cfg").string();
        WriteDated(configuration, ConfigurationText());
        WriteDated(definitions, DefinitionsText());
    }
    ~LargeConfiguration() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    // Written and dated back, as a file is that was not changed in the last seconds.
    static void WriteDated(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        std::filesystem::last_write_time(
            path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    }

    static std::string ConfigurationText() {
        std::string text = "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n";
        for (int i = 0; i < gage::kConnectionCount; ++i) {
            text += "MUX_" + std::to_string(i) + "=\"Port " + std::to_string(i) + "\"," +
                    std::to_string(1 + i % kTypes) + "," + std::to_string(1 + i % 64) +
                    ",9600,8,1,1,1,1024,0,\n";
        }
        text += "[GAGES]\n";
        for (int n = 1; n <= kGages; ++n) {
            const int format = n % (kTypes * kFormatsPerType);
            text += "GAGE_" + std::to_string(n) + "=\"Gage " + std::to_string(n) + "\"," +
                    std::to_string(1 + format / kFormatsPerType) + "," +
                    std::to_string(1 + format % kFormatsPerType) + "," + std::to_string(n % 8) +
                    ",5,SN-" + std::to_string(100000 + n) + ",-0.05,25.4,0.001,1,3,8," +
                    std::to_string(n % gage::kConnectionCount) + "\n";
        }
        return text;
    }

    static std::string DefinitionsText() {
        std::string text;
        for (int t = 1; t <= kTypes; ++t) {
            text += "[TYPE" + std::to_string(t) + "]\nDESCRIPTION=Interface " + std::to_string(t) +
                    "\nINIT1=100,<27>R<13>\n";
            for (int f = 1; f <= kFormatsPerType; ++f) {
                text += "[TYPE" + std::to_string(t) + "." + std::to_string(f) +
                        "]\nDESCRIPTION=Format " + std::to_string(f) +
                        "\nDATATYPE=0\nSDECIMAL=.\nSEPARATOR=,\nRECSTART=<2>\nRECEND=<13><10>\n"
                        "RECLENGTH=24\nGAGEINIT=ID<ID><13>\nMEAS_READ=R<CH><13>\nMEASPOST=A<13>\n"
                        "MEASDELAY=20\nMEASTIMEOUT=1500\nFMTOPTS=19\nCHANNEL=1,1,2\n"
                        "LITERAL=2,1,0,EQ(\"NRM\")\nVALUE1=3,1,0\nREADING=4,1,0\n";
            }
        }
        return text;
    }

    std::string configuration;
    std::string definitions;
    std::string saved;

  private:
    std::filesystem::path directory_;
};

void BM_LoadConfiguration(benchmark::State& state) {
    const LargeConfiguration files;
    gage::GageTable gages;
    gage::ConnectionTable connections;
    for (auto _ : state) {
        gage::profile::Store store;  // every load parses both files afresh
        const gage::profile::StoreInUse storeInUse(store);
        const int accepted = gage::LoadConfiguration({gages, connections}, nullptr,
                                                     files.configuration, files.definitions, {});
        benchmark::DoNotOptimize(accepted);
    }
    if (gages.size() != kGages) {
        state.SkipWithError("not every gage was loaded");
    }
}
BENCHMARK(BM_LoadConfiguration)->Unit(benchmark::kMillisecond);

void BM_SaveConfiguration(benchmark::State& state) {
    const LargeConfiguration files;
    gage::GageTable gages;
    gage::ConnectionTable connections;
    gage::LoadConfiguration({gages, connections}, nullptr, files.configuration, files.definitions,
                            {});
    for (auto _ : state) {
        benchmark::DoNotOptimize(gage::SaveConfiguration(gages, connections, files.saved));
    }
}
BENCHMARK(BM_SaveConfiguration)->Unit(benchmark::kMillisecond);

// The dialog's round: save, then load what was just saved.
void BM_SaveThenLoad(benchmark::State& state) {
    const LargeConfiguration files;
    gage::GageTable gages;
    gage::ConnectionTable connections;
    gage::LoadConfiguration({gages, connections}, nullptr, files.configuration, files.definitions,
                            {});
    for (auto _ : state) {
        gage::SaveConfiguration(gages, connections, files.saved);
        benchmark::DoNotOptimize(gage::LoadConfiguration({gages, connections}, nullptr, files.saved,
                                                         files.definitions, {}));
    }
}
BENCHMARK(BM_SaveThenLoad)->Unit(benchmark::kMillisecond);

}  // namespace
