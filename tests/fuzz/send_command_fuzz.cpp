// Command texts of any content expand without reading past their end, and what is counted is
// exactly what reaches the line: the bytes read back from the far end of a socket pair.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <thread>

#include "channels/channel.h"
#include "fuzz_support.h"
#include "reading/command_sender.h"
#include "reading/read_context.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    gage::Support support;
    support.UseBuiltInsOnly(true);
    gage::ServerSettings settings;
    gage::ConnectionTable connections;
    gage::ChannelContext channels{support, settings};
    gage::fuzz::InstantClock clock;
    gage::ReadContext context{channels, connections, settings, support, clock};

    gage::GageRecord gage;
    gage.GageId = input.ConsumeIntegral<std::int32_t>();
    gage.ChannelNumber = input.ConsumeIntegral<std::int32_t>();
    gage.SerialNumber = input.ConsumeRandomLengthString(70);
    const bool withGage = input.ConsumeBool();
    const std::string text = input.ConsumeRemainingBytesAsString().substr(0, 512);

    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) {
        return 0;
    }
    gage::ConnectionRecord& record = connections[0];
    record.Kind = gage::KIND_TCPIP;
    record.Socket.reset(pair[0]);
    // Read as the bytes come: a long expansion, sent a byte per write, fills a socket pair.
    std::string received;
    std::thread reader([&received, end = pair[1]] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(end, chunk, sizeof chunk)) > 0;) {
            received.append(chunk, static_cast<std::size_t>(n));
        }
    });
    const int count =
        gage::SendGageCommand(context, nullptr, withGage ? &gage : nullptr, record, text);
    record.Socket.reset();
    reader.join();
    ::close(pair[1]);
    // Every character sends at most the longest token text: 63 characters of serial number.
    gage::fuzz::Check(count >= 0 && static_cast<std::size_t>(count) == received.size() &&
                      received.size() <= text.size() * 63);
    return 0;
}
