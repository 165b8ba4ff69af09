#include "entry/startup.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "channels/tcp_channel.h"
#include "config/system_settings.h"
#include "entry/configuration_reload.h"
#include "entry/user_locale.h"
#include "support/builtin_paths.h"

namespace gage {

namespace {

constexpr int kPathBufferSize = 256;
constexpr int kIdentityBufferSize = 64;

// The directory the host names for location, ending in the path separator. A host that names
// none gets the current directory, as an absolute path, so that the files stay where they were
// found even if the process changes directory later.
std::string DirectoryOf(const StartupQueries& queries, const char* location) {
    std::array<char, kPathBufferSize> buffer{};
    if (queries.getPath) {
        queries.getPath(location, buffer.data(), kPathBufferSize);
    }
    std::string directory(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    if (directory.empty()) {
        std::error_code error;
        directory = std::filesystem::current_path(error).string();
        if (error) {
            return {};
        }
    }
    return builtin::WithTrailingSeparator(directory);
}

// The owner name becomes part of a file name: characters that would make it a path, or an
// invalid name, are replaced.
std::string FileNameSafe(std::string name) {
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) {
            c = '_';
        }
    }
    return name;
}

std::string OwnerName(const StartupQueries& queries) {
    std::array<char, kIdentityBufferSize> first{};  // not used by the gage server
    std::array<char, kIdentityBufferSize> second{};
    if (queries.getIdentity) {
        queries.getIdentity(first.data(), second.data());
    }
    return std::string(second.data(), ::strnlen(second.data(), second.size()));
}

}  // namespace

StartupQueries SupportStartupQueries(Support& support) {
    StartupQueries queries;
    queries.getPath = [&support](const char* location, char* buffer, int bufferSize) {
        support.UtilGetPath(0, location, buffer, bufferSize);
    };
    queries.getIdentity = [&support](char* first, char* second) {
        support.UtilGetIdentity(first, second);
    };
    queries.startup = [&support] { return support.UtilStartup(); };
    return queries;
}

void SettleServerSettings(ServerSettings& settings, const StartupQueries& queries) {
    settings.SharedDirectory = DirectoryOf(queries, "SHARED");
    settings.LocalDirectory = DirectoryOf(queries, "LOCAL");
    settings.SystemSettingsPath = settings.SharedDirectory + "ZRN_SYS.INI";
    settings.DefinitionsPath = settings.SharedDirectory + "BRW_GAGE.DEF";
    settings.LogPath = settings.LocalDirectory + "ZRNGSV32" + ".LOG";
    ReadSystemSettings(settings);

    const std::string owner = FileNameSafe(OwnerName(queries));
    const bool hostChoosesShared = queries.startup && queries.startup() == 1;
    if (hostChoosesShared || settings.UseSharedPath) {
        const std::string directory = settings.SharedDirectory + "GAGE_SERVER";
        builtin::CreateDirectoryTree(directory);  // one already there, or a failure, is ignored
        settings.ConfigurationPath = directory + builtin::PathSeparator() + owner + ".BRW_GAGE.CFG";
    } else {
        settings.ConfigurationPath = settings.LocalDirectory + "BRW_GAGE.CFG";
    }
}

void StartUp(Runtime& runtime, void* module) {
    runtime.support.SetModule(module);
    SettleServerSettings(runtime.settings, SupportStartupQueries(runtime.support));
    runtime.support.SetLogPath(runtime.settings.LogPath);
    TcpStartup(runtime.channels);  // a failure is logged; nothing later depends on it
    const UserLocale user = QueryUserLocale();
    runtime.settings.SavedLocaleName = user.name;
    runtime.settings.DecimalSeparator = user.decimalSeparator;
    LoadRuntimeConfiguration(runtime, nullptr);
}

void ShutDown(Runtime& runtime) {
    runtime.TearDown();
    TcpShutdown(runtime.channels, runtime.connections);
}

}  // namespace gage
