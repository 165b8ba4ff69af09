#include "config/connection_line.h"

#include <algorithm>
#include <array>
#include <optional>

#include "config/c_number_text.h"
#include "config/field_tokenizer.h"
#include "config/ipv4_address.h"
#include "config/line_report.h"

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

// Fields 1 to 9 in words; fields 3 to 6 hold the address of a TCP/IP connection.
constexpr std::array<std::string_view, 10> kSerialFieldNames{
    "name",      "interface type", "port number",  "baud rate",   "data bits",
    "stop bits", "parity",         "flow control", "buffer size", "kind"};
constexpr std::array<std::string_view, 4> kAddressFieldNames{
    "first address octet", "second address octet", "third address octet", "fourth address octet"};

constexpr std::string_view kBlanks = " \t\n\v\f\r";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos
               ? std::string_view()
               : text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::size_t CountFields(FieldScanner scanner) {
    std::size_t count = 0;
    while (scanner.NextField(',')) {
        ++count;
    }
    return count;
}

// The address fields as written, for a line without a host name.
std::string AddressFields(const std::array<std::string_view, kMandatoryFields>& fields) {
    std::string address;
    for (std::size_t i = 3; i <= 6; ++i) {
        address += (i > 3 ? "." : "") + std::string(TrimBlanks(fields[i]));
    }
    return address;
}

ConnectionLineStatus FillRow(std::string_view line, const HostResolver& resolveHost,
                             ConnectionRecord& row, const LineNotes& notes) {
    FieldScanner scanner(line);
    std::array<std::string_view, kMandatoryFields> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto next = scanner.NextField(',');
        if (!next) {
            notes.Skip(LineNote::Counted(LineNoteKind::TooFewFields, i, kMandatoryFields));
            return ConnectionLineStatus::TooFewFields;
        }
        fields[i] = *next;
    }
    const auto kind = scanner.NextField(',');
    const std::int32_t kindValue = kind ? ReadCInteger(*kind) : KIND_SERIAL;
    row.Kind = kindValue == KIND_TCPIP ? KIND_TCPIP : KIND_SERIAL;
    const auto name = [&](std::size_t i) -> std::string_view {
        if (!row.IsTcp()) {
            return kSerialFieldNames[i];
        }
        return i == 2             ? "TCP port"
               : i >= 3 && i <= 6 ? kAddressFieldNames[i - 3]
                                  : kSerialFieldNames[i];
    };
    const auto number = [&](std::size_t i) { return notes.Integer(fields[i], name(i)); };

    row.Name = notes.Name(fields[0]);
    const std::int32_t type = number(1);
    row.InterfaceType = static_cast<std::uint16_t>(type);
    if (row.InterfaceType != type) {
        notes.Change(LineNote(LineNoteKind::KeptIn16Bits, std::to_string(type),
                              std::to_string(row.InterfaceType), name(1)));
    }
    row.PortNumber = number(2);
    row.BaudRate = static_cast<std::uint32_t>(number(3));
    row.DataBits = static_cast<std::uint32_t>(number(4));
    row.StopBits = static_cast<std::uint32_t>(number(5));
    row.Parity = static_cast<std::uint32_t>(number(6));
    row.FlowControl = static_cast<std::uint32_t>(number(7));
    const std::int32_t buffer = number(8);
    row.BufferSize = std::min(buffer, kMaxBufferSize);
    if (row.BufferSize != buffer) {
        notes.Change(LineNote(LineNoteKind::BufferSizeCut, std::to_string(buffer),
                              std::to_string(row.BufferSize)));
    }
    if (kind) {
        notes.Integer(*kind, name(9));
        if (kindValue != KIND_SERIAL && kindValue != KIND_TCPIP) {
            notes.Change(LineNote(LineNoteKind::UnknownKind, std::to_string(kindValue)));
        }
    }
    const std::optional<std::string_view> hostField = scanner.NextField(',');
    if (notes.wanted()) {
        const std::size_t count =
            kMandatoryFields + (kind ? 1 : 0) + (hostField ? 1 : 0) + CountFields(scanner);
        if (!row.IsTcp() && hostField && !TrimBlanks(*hostField).empty()) {
            notes.Change(LineNote(LineNoteKind::HostNameNotRead, std::string(*hostField)));
        }
        if (count > kMandatoryFields + 2) {
            notes.Change(
                LineNote::Counted(LineNoteKind::FieldsIgnored, count, kMandatoryFields + 2));
        }
    }

    if (!row.IsTcp()) {
        if (row.PortNumber > kMaxSerialPortNumber) {
            notes.Skip(LineNote(LineNoteKind::SerialPortTooHigh, std::to_string(row.PortNumber)));
            return ConnectionLineStatus::SerialPortTooHigh;
        }
        return ConnectionLineStatus::Accepted;
    }
    const std::string_view host = hostField.value_or(std::string_view());
    if (host.size() > kMaxHostNameLength) {
        notes.Skip(
            LineNote::Counted(LineNoteKind::HostNameTooLong, host.size(), kMaxHostNameLength));
        return ConnectionLineStatus::HostNameTooLong;
    }
    row.HostName = host;
    row.TcpPort = static_cast<std::uint16_t>(row.PortNumber & 0xFFFF);
    if (row.TcpPort == 0) {
        notes.Skip(LineNote(LineNoteKind::TcpPortZero, std::to_string(row.PortNumber)));
        return ConnectionLineStatus::TcpPortZero;
    }
    if (row.TcpPort != row.PortNumber) {
        notes.Change(LineNote(LineNoteKind::TcpPortLowBits, std::to_string(row.PortNumber),
                              std::to_string(row.TcpPort)));
    }
    row.IpAddress = ResolveAddress(row, resolveHost);
    if (row.IpAddress == kInaddrNone) {
        notes.Skip(row.HostName.empty()
                       ? LineNote(LineNoteKind::AddressUnresolved, AddressFields(fields))
                       : LineNote(LineNoteKind::AddressUnresolved, std::string(host), {}, "host"));
        return ConnectionLineStatus::AddressUnresolved;
    }
    return ConnectionLineStatus::Accepted;
}

}  // namespace

ConnectionLineStatus ParseConnectionLine(std::string_view line, const HostResolver& resolveHost,
                                         ConnectionRecord& row, LineReport* report) {
    const ConnectionLineStatus status = FillRow(line, resolveHost, row, LineNotes(report));
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
