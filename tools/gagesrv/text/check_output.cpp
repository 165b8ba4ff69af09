#include "gagesrv/text/check_output.h"

#include "config/serial_port_map.h"

namespace gage::gagesrv {

namespace {

const char* EffectWord(FindingEffect effect) {
    switch (effect) {
        case FindingEffect::Skipped:
            return "skipped";
        case FindingEffect::Changed:
            return "changed";
        case FindingEffect::Warning:
            break;
    }
    return "warning";
}

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string FindingLine(const ConfigurationFinding& finding) {
    std::string line = finding.file;
    if (!finding.section.empty()) {
        line += " [" + finding.section + "]";
    }
    if (!finding.key.empty()) {
        line += " " + finding.key;
    }
    if (finding.line > 0) {
        line += " (line " + std::to_string(finding.line) + ")";
    }
    return line + ": " + EffectWord(finding.effect) + ": " + finding.reason;
}

std::string CheckReport(const std::string& configuration, const std::string& definitions,
                        const ConfigurationCheck& check) {
    std::string text = "Checking " + configuration + " with " + definitions + ".\n";
    for (const ConfigurationFinding& finding : check.findings) {
        text += FindingLine(finding) + "\n";
    }
    text += Counted(check.connectionsLoaded, "connection", "connections") + " and " +
            Counted(check.gagesLoaded, "gage", "gages") + " would load; ";
    if (check.findings.empty()) {
        return text + "every line is taken as written.\n";
    }
    return text + Counted(check.SkippedLines(), "line", "lines") + " skipped, " +
           std::to_string(check.ChangedLines()) + " changed, " +
           Counted(check.Warnings(), "warning", "warnings") + ".\n";
}

void AddMissingDeviceFindings(ConfigurationCheck& check, const ServerSettings& settings,
                              const DeviceExistsCheck& exists) {
    for (const MissingMappedDevice& missing : MissingMappedDevices(settings, exists)) {
        const std::string port = SerialPortKey(missing.port);
        check.findings.push_back(
            {FindingEffect::Warning, settings.SystemSettingsPath, kSerialPortMapSection, port, 0,
             "the device " + missing.device + " does not exist, so " + port + " cannot open."});
    }
}

}  // namespace gage::gagesrv
