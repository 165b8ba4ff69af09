#include "ui/forms/data_port_form.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "config/interface_type_file.h"
#include "config/ipv4_address.h"
#include "support/string_ids.h"
#include "support/support.h"

namespace gage {

namespace {

constexpr std::size_t kShownTypeDescription = 30;
constexpr double kFallbackResolveSeconds = 3.0;  // a blocking connect still bounds its look-up

constexpr std::array<std::int32_t, 12> kBaudRates{110,  150,  300,   600,   1200,  2400,
                                                  4800, 9600, 19200, 38400, 57600, 115200};
constexpr std::array<std::int32_t, 5> kDataBits{4, 5, 6, 7, 8};
constexpr std::array<std::int32_t, 4> kBufferSizes{128, 256, 512, 1024};

template <std::size_t N>
std::vector<ComboLine> NumberLines(const std::array<std::int32_t, N>& values) {
    std::vector<ComboLine> lines;
    for (const std::int32_t value : values) {
        lines.push_back({std::to_string(value), value});
    }
    return lines;
}

std::vector<ComboLine> StringLines(Support& support, unsigned firstId, int count) {
    std::vector<ComboLine> lines;
    for (int value = 1; value <= count; ++value) {
        lines.push_back({support.LoadString(firstId + static_cast<unsigned>(value - 1)), value});
    }
    return lines;
}

bool HasLine(const std::vector<ComboLine>& lines, std::int32_t data) {
    for (const ComboLine& line : lines) {
        if (line.data == data) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<ComboLine> SerialListLines(Support& support, SerialList list) {
    switch (list) {
        case SERIAL_LIST_BAUD_RATE:
            return NumberLines(kBaudRates);
        case SERIAL_LIST_PARITY:
            return StringLines(support, IDS_PARITY_NONE, 5);
        case SERIAL_LIST_DATA_BITS:
            return NumberLines(kDataBits);
        case SERIAL_LIST_STOP_BITS:
            return {{"1", 1}, {"2", 2}, {"1.5", 3}};
        case SERIAL_LIST_FLOW_CONTROL:
            return StringLines(support, IDS_FLOW_NONE, 4);
        case SERIAL_LIST_BUFFER_SIZE:
            return NumberLines(kBufferSizes);
        default:
            return {};
    }
}

std::int32_t SerialListDefault(SerialList list) {
    switch (list) {
        case SERIAL_LIST_BAUD_RATE:
            return 9600;
        case SERIAL_LIST_DATA_BITS:
            return 8;
        case SERIAL_LIST_BUFFER_SIZE:
            return 1024;
        default:
            return 1;  // parity none, one stop bit, no flow control
    }
}

std::int32_t SerialListValue(const ConnectionRecord& record, SerialList list) {
    switch (list) {
        case SERIAL_LIST_BAUD_RATE:
            return static_cast<std::int32_t>(record.BaudRate);
        case SERIAL_LIST_PARITY:
            return static_cast<std::int32_t>(record.Parity);
        case SERIAL_LIST_DATA_BITS:
            return static_cast<std::int32_t>(record.DataBits);
        case SERIAL_LIST_STOP_BITS:
            return static_cast<std::int32_t>(record.StopBits);
        case SERIAL_LIST_FLOW_CONTROL:
            return static_cast<std::int32_t>(record.FlowControl);
        case SERIAL_LIST_BUFFER_SIZE:
            return record.BufferSize;
        default:
            return 0;
    }
}

void SetSerialListValue(ConnectionRecord& record, SerialList list, std::int32_t value) {
    const auto field = static_cast<std::uint32_t>(value);
    switch (list) {
        case SERIAL_LIST_BAUD_RATE:
            record.BaudRate = field;
            break;
        case SERIAL_LIST_PARITY:
            record.Parity = field;
            break;
        case SERIAL_LIST_DATA_BITS:
            record.DataBits = field;
            break;
        case SERIAL_LIST_STOP_BITS:
            record.StopBits = field;
            break;
        case SERIAL_LIST_FLOW_CONTROL:
            record.FlowControl = field;
            break;
        case SERIAL_LIST_BUFFER_SIZE:
            record.BufferSize = value;
            break;
        default:
            break;
    }
}

std::vector<ComboLine> InterfaceTypeLines(const std::string& definitionsPath) {
    std::vector<ComboLine> lines;
    for (const DefinitionEntry& type : ListInterfaceTypes(definitionsPath)) {
        lines.push_back({type.description.substr(0, kShownTypeDescription), type.number});
    }
    return lines;
}

int InterfaceTypeSelection(const std::vector<ComboLine>& lines, std::string_view name) {
    // The list shows descriptions cut shorter than a connection name may be: a name taken from a
    // longer description still finds its type.
    const std::string_view shown = name.substr(0, kShownTypeDescription);
    for (std::size_t position = 0; position < lines.size(); ++position) {
        if (lines[position].text == shown) {
            return static_cast<int>(position);
        }
    }
    return lines.empty() ? -1 : 0;
}

std::vector<ComboLine> CommunicationSourceLines(Support& support, const ServerSettings& settings,
                                                const PortProbe& probe) {
    std::vector<ComboLine> lines{{support.LoadString(IDS_UNDEFINED_PORT), kSourceUndefined}};
    for (int port = 1; port <= kMaxSerialPortNumber; ++port) {
        if (probe(port)) {
            lines.push_back({settings.ComPrefix.str() + std::to_string(port), port});
        }
    }
    lines.push_back({"TCP/IP", kSourceTcp});
    return lines;
}

DataPortForm::DataPortForm(ReadContext& engine, ConnectionRecord& record, bool modify,
                           PortProbe probe, HostResolver resolver)
    : engine_(engine), modify_(modify), probe_(std::move(probe)), resolver_(std::move(resolver)) {
    ChannelClose(engine_.channels, record);
    CopyConnectionSettings(record, backup_);
    CopyConnectionSettings(record, working_);
}

std::vector<ComboLine> DataPortForm::SourceLines() const {
    return CommunicationSourceLines(engine_.support, engine_.settings, probe_);
}

std::string DataPortForm::ResolvedText(const std::string& host) const {
    const std::uint32_t address = resolver_(host);
    return address != kInaddrNone ? TcpAddressText(address) : std::string();
}

DataPortOpening DataPortForm::Open(const std::vector<ComboLine>& sources) {
    DataPortOpening shown;
    if (working_.IsTcp()) {
        shown.source = kSourceTcp;
        if (!working_.HostName.empty()) {
            shown.hostForm = true;
            shown.host = working_.HostName.str();
            shown.hostPort = std::to_string(working_.PortNumber);
            shown.resolved = ResolvedText(shown.host);
        } else {
            shown.octets = {std::to_string(working_.BaudRate), std::to_string(working_.DataBits),
                            std::to_string(working_.StopBits), std::to_string(working_.Parity)};
            shown.octetPort = std::to_string(working_.PortNumber);
        }
    } else if (HasLine(sources, working_.PortNumber) && working_.PortNumber != kSourceTcp) {
        shown.source = working_.PortNumber;
    } else {
        working_.PortNumber = 0;  // a port that is not offered now
    }
    for (int index = 0; index < kSerialListCount; ++index) {
        const auto list = static_cast<SerialList>(index);
        std::int32_t value = SerialListValue(working_, list);
        if (!HasLine(SerialListLines(engine_.support, list), value)) {
            value = SerialListDefault(list);
            // A TCP/IP record keeps its address octets in these fields.
            if (!working_.IsTcp()) {
                SetSerialListValue(working_, list, value);
            }
        }
        shown.serial[static_cast<std::size_t>(index)] = value;
    }
    return shown;
}

int DataPortForm::Apply(WindowHandle owner, const DataPortEntries& entries) {
    ChannelClose(engine_.channels, working_);
    if (entries.interfaceType) {
        working_.InterfaceType = static_cast<std::uint16_t>(entries.interfaceType->data);
        working_.Name = std::string_view(entries.interfaceType->text).substr(0, kNameSize - 1);
    }
    if (!entries.source) {
        return 1;
    }
    working_.PortNumber = *entries.source;
    return *entries.source == kSourceTcp ? ApplyTcp(entries) : ApplySerial(owner, entries);
}

int DataPortForm::ApplyTcp(const DataPortEntries& entries) {
    working_.Kind = KIND_TCPIP;
    if (entries.hostForm) {
        working_.HostName = std::string_view(entries.host).substr(0, kHostNameSize - 1);
        working_.PortNumber = static_cast<std::int32_t>(UnsignedEntry(entries.hostPort));
        working_.IpAddress = resolver_(working_.HostName.str());
    } else {
        std::array<std::uint32_t, kOctetCount> octets{};
        for (std::size_t index = 0; index < kOctetCount; ++index) {
            octets[index] = UnsignedEntry(entries.octets[index]);
        }
        working_.BaudRate = octets[0];
        working_.DataBits = octets[1];
        working_.StopBits = octets[2];
        working_.Parity = octets[3];
        working_.PortNumber = static_cast<std::int32_t>(UnsignedEntry(entries.octetPort));
        std::array<char, 64> dotted{};
        std::snprintf(dotted.data(), dotted.size(), "%u.%u.%u.%u", octets[0], octets[1], octets[2],
                      octets[3]);
        working_.IpAddress = ParseIPv4Address(dotted.data());
        working_.HostName = "";  // the octets stay the address after the next load
    }
    working_.TcpPort = static_cast<std::uint16_t>(working_.PortNumber & 0xFFFF);
    if (working_.IpAddress == kInaddrNone) {
        return 0;
    }
    return working_.TcpPort >= 2 && working_.TcpPort <= 65534 ? 1 : 0;
}

int DataPortForm::ApplySerial(WindowHandle owner, const DataPortEntries& entries) {
    working_.Kind = KIND_SERIAL;
    for (int index = 0; index < kSerialListCount; ++index) {
        if (const auto& value = entries.serial[static_cast<std::size_t>(index)]) {
            SetSerialListValue(working_, static_cast<SerialList>(index), *value);
        }
    }
    if (working_.PortNumber < 1 || working_.PortNumber > kMaxSerialPortNumber) {
        return 1;  // "(undefined)": stored without a port
    }
    if (SerialOpen(engine_.channels, owner, working_) == 0) {
        return 0;  // the communication error has been shown
    }
    return SerialConfigure(engine_.channels, owner, working_) < 0 ? 0 : 1;
}

void DataPortForm::Cancel() {
    ChannelClose(engine_.channels, working_);
    ChannelClose(engine_.channels, backup_);
    CopyConnectionSettings(backup_, working_);
}

void DataPortForm::Finish(ConnectionRecord& record) {
    CopyConnectionSettings(working_, record);
    record.PortHandle = std::move(working_.PortHandle);
    record.Socket = std::move(working_.Socket);
}

HostResolver TimedHostResolver(const ServerSettings& settings) {
    const double seconds = settings.TcpConnectionTimeout > 0.0 ? settings.TcpConnectionTimeout
                                                               : kFallbackResolveSeconds;
    const auto limit = std::chrono::milliseconds(static_cast<long long>(seconds * 1000.0));
    return [limit](const std::string& host) { return TcpResolveHostWithin(host.c_str(), limit); };
}

}  // namespace gage
