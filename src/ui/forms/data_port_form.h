#pragma once
// What the Data port dialog decides: its interface type, communication source and serial lists,
// what the controls show when it opens, and what OK and Monitor store in the working copy of the
// connection. The dialog works on a working copy; the backup copy is what Cancel restores.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/connection_record.h"
#include "reading/read_context.h"
#include "support/window_handle.h"
#include "ui/forms/gage_setup_form.h"

namespace gage {

inline constexpr std::int32_t kSourceUndefined = 0;
inline constexpr std::int32_t kSourceTcp = -1;
inline constexpr std::size_t kOctetCount = 4;
inline constexpr std::size_t kOctetDigits = 3;  // a full octet moves the caret on

// The six serial lists, in the dialog's order.
enum SerialList : int {
    SERIAL_LIST_BAUD_RATE,
    SERIAL_LIST_PARITY,
    SERIAL_LIST_DATA_BITS,
    SERIAL_LIST_STOP_BITS,
    SERIAL_LIST_FLOW_CONTROL,
    SERIAL_LIST_BUFFER_SIZE,
    kSerialListCount
};

std::vector<ComboLine> SerialListLines(Support& support, SerialList list);
std::int32_t SerialListDefault(SerialList list);
std::int32_t SerialListValue(const ConnectionRecord& record, SerialList list);
void SetSerialListValue(ConnectionRecord& record, SerialList list, std::int32_t value);

// The interface types 1 to 100 with a description (cut to 30 characters), type number as data.
std::vector<ComboLine> InterfaceTypeLines(const std::string& definitionsPath);
// The line whose text is name exactly, else the first; -1 for no lines.
int InterfaceTypeSelection(const std::vector<ComboLine>& lines, std::string_view name);

// Whether a COM port can be opened now (SerialProbePort by default).
using PortProbe = std::function<bool(int portNumber)>;
// A host name or dotted address to an address in network byte order, kInaddrNone when not found.
using HostResolver = std::function<std::uint32_t(const std::string& host)>;

// "(undefined)" with data 0, each COM port the probe can open ("<prefix><n>", data n), "TCP/IP"
// with data -1.
std::vector<ComboLine> CommunicationSourceLines(Support& support, const ServerSettings& settings,
                                                const PortProbe& probe);

// A full octet edit moves the focus on.
inline bool IsOctetComplete(std::string_view text) {
    return text.size() == kOctetDigits;
}

// What the controls show when the dialog opens.
struct DataPortOpening {
    std::int32_t source = kSourceUndefined;  // item data of the source to select
    bool hostForm = false;
    std::string host;
    std::string hostPort;
    std::string resolved;  // dotted address of the host; empty when it did not resolve
    std::array<std::string, kOctetCount> octets;
    std::string octetPort;
    std::array<std::int32_t, kSerialListCount> serial{};
};

// The controls' contents that OK and Monitor apply.
struct DataPortEntries {
    std::optional<ComboLine> interfaceType;  // the selected type
    std::optional<std::int32_t> source;      // the selected source's item data
    bool hostForm = false;
    std::string host;
    std::string hostPort;
    std::array<std::string, kOctetCount> octets;
    std::string octetPort;
    std::array<std::optional<std::int32_t>, kSerialListCount> serial;
};

class DataPortForm {
  public:
    // Closes record's connection (so that its own port is found free) and takes the copies.
    DataPortForm(ReadContext& engine, ConnectionRecord& record, bool modify, PortProbe probe,
                 HostResolver resolver);

    ConnectionRecord& Working() { return working_; }
    bool Modify() const { return modify_; }
    const std::string& DefinitionsPath() const { return engine_.settings.DefinitionsPath; }

    std::vector<ComboLine> SourceLines() const;
    // Settles the working copy (a port not offered becomes 0, a serial value not in its list
    // becomes the list's default) and says what the controls show.
    DataPortOpening Open(const std::vector<ComboLine>& sources);
    // The dotted address host resolves to; empty when it does not.
    std::string ResolvedText(const std::string& host) const;

    // ApplyDataPortSettings: 1 when the entries are acceptable (a serial port is then open and
    // configured), 0 when not.
    int Apply(WindowHandle owner, const DataPortEntries& entries);
    // Closes both copies' connections and restores the backup into the working copy.
    void Cancel();
    // Hands the working copy, with any port or socket it opened, back to record.
    void Finish(ConnectionRecord& record);

  private:
    int ApplyTcp(const DataPortEntries& entries);
    int ApplySerial(WindowHandle owner, const DataPortEntries& entries);

    ReadContext& engine_;
    ConnectionRecord working_;
    ConnectionRecord backup_;
    bool modify_;
    PortProbe probe_;
    HostResolver resolver_;
};

// The resolver the dialog uses: TcpResolveHostWithin the configured connection time-out.
HostResolver TimedHostResolver(const ServerSettings& settings);

}  // namespace gage
