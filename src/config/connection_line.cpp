#include "config/connection_line.h"

#include <array>
#include <optional>

#include "config/c_number_text.h"
#include "config/field_tokenizer.h"
#include "config/ipv4_address.h"

namespace gage {
namespace {

constexpr std::size_t kMandatoryFields = 9;

std::uint32_t ResolveAddress(const ConnectionRecord& row, const HostResolver& resolveHost) {
    if (row.HostName.empty()) {
        const std::string dotted = std::to_string(row.BaudRate) + "." +
                                   std::to_string(row.DataBits) + "." +
                                   std::to_string(row.StopBits) + "." + std::to_string(row.Parity);
        return ParseIPv4Address(dotted);
    }
    if (resolveHost) {
        return resolveHost(row.HostName.c_str());
    }
    return ParseIPv4Address(row.HostName.view());
}

ConnectionLineStatus FillRow(std::string_view line, const HostResolver& resolveHost,
                             ConnectionRecord& row) {
    FieldScanner scanner(line);
    std::array<std::string_view, kMandatoryFields> fields;
    for (auto& field : fields) {
        const auto next = scanner.NextField(',');
        if (!next) {
            return ConnectionLineStatus::TooFewFields;
        }
        field = *next;
    }
    row.Name = NameFromField(fields[0]);
    row.InterfaceType = static_cast<std::uint16_t>(ReadCInteger(fields[1]));
    row.PortNumber = ReadCInteger(fields[2]);
    row.BaudRate = static_cast<std::uint32_t>(ReadCInteger(fields[3]));
    row.DataBits = static_cast<std::uint32_t>(ReadCInteger(fields[4]));
    row.StopBits = static_cast<std::uint32_t>(ReadCInteger(fields[5]));
    row.Parity = static_cast<std::uint32_t>(ReadCInteger(fields[6]));
    row.FlowControl = static_cast<std::uint32_t>(ReadCInteger(fields[7]));
    row.BufferSize = std::min(ReadCInteger(fields[8]), kMaxBufferSize);
    const auto kind = scanner.NextField(',');
    const std::int32_t kindValue = kind ? ReadCInteger(*kind) : KIND_SERIAL;
    row.Kind = kindValue == KIND_TCPIP ? KIND_TCPIP : KIND_SERIAL;

    if (row.Kind == KIND_SERIAL) {
        return row.PortNumber <= kMaxSerialPortNumber ? ConnectionLineStatus::Accepted
                                                      : ConnectionLineStatus::SerialPortTooHigh;
    }
    const std::string_view host = scanner.NextField(',').value_or(std::string_view());
    if (host.size() > kMaxHostNameLength) {
        return ConnectionLineStatus::HostNameTooLong;
    }
    row.HostName = host;
    row.TcpPort = static_cast<std::uint16_t>(row.PortNumber & 0xFFFF);
    if (row.TcpPort == 0) {
        return ConnectionLineStatus::TcpPortZero;
    }
    row.IpAddress = ResolveAddress(row, resolveHost);
    return row.IpAddress != kInaddrNone ? ConnectionLineStatus::Accepted
                                        : ConnectionLineStatus::AddressUnresolved;
}

}  // namespace

ConnectionLineStatus ParseConnectionLine(std::string_view line, const HostResolver& resolveHost,
                                         ConnectionRecord& row) {
    const ConnectionLineStatus status = FillRow(line, resolveHost, row);
    if (status != ConnectionLineStatus::Accepted) {
        ClearConnection(row);
    }
    return status;
}

std::string FormatConnectionLine(const ConnectionRecord& row) {
    std::string line = "\"" + row.Name.str() + "\"";
    for (const std::uint32_t value :
         {std::uint32_t{row.InterfaceType}, static_cast<std::uint32_t>(row.PortNumber),
          row.BaudRate, row.DataBits, row.StopBits, row.Parity, row.FlowControl,
          static_cast<std::uint32_t>(row.BufferSize), static_cast<std::uint32_t>(row.Kind)}) {
        line += ",";
        line += std::to_string(value);
    }
    line += ",";
    line += row.HostName.view();
    return line;
}

}  // namespace gage
