// The record parser takes any format and any bytes without reading or writing outside the
// receive buffer, and keeps the buffer bounded: after every parse it holds less than the level
// at which its kind of connection stops taking bytes, and the texts it hands over are terminated.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "channels/channel.h"
#include "fuzz_support.h"
#include "reading/read_context.h"
#include "reading/record_parser.h"

namespace {

void FillBytes(FuzzedDataProvider& input, gage::ByteString& bytes, std::uint16_t& length) {
    const std::string text = input.ConsumeRandomLengthString(8);
    bytes.fill(0);
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), bytes.size()));
    // Lengths past the 64 bytes a field holds must not be trusted.
    length = input.ConsumeBool() ? static_cast<std::uint16_t>(text.size())
                                 : input.ConsumeIntegralInRange<std::uint16_t>(0, 80);
}

gage::FieldSpec Spec(FuzzedDataProvider& input) {
    gage::FieldSpec spec;
    spec.Defined = input.ConsumeIntegralInRange<std::uint16_t>(0, 1);
    spec.FieldNumber = input.ConsumeIntegralInRange<std::uint16_t>(0, 6);
    spec.StartPosition = input.ConsumeIntegralInRange<std::uint16_t>(0, 12);
    spec.Length = input.ConsumeIntegralInRange<std::uint16_t>(0, 12);
    spec.Condition = input.ConsumeRandomLengthString(30);
    return spec;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    gage::Support support;
    support.UseBuiltInsOnly(true);
    gage::ServerSettings settings;
    settings.DecimalSeparator = input.ConsumeBool() ? ',' : '.';
    gage::ConnectionTable connections;
    gage::ChannelContext channels{support, settings};
    // Near the tick counter's wrap, so deadlines are computed across it.
    gage::fuzz::InstantClock clock(0xFFFFFF00u);
    gage::ReadContext context{channels, connections, settings, support, clock};

    gage::GageRecord gage;
    gage.Name = "Fuzzed";
    gage::GageFormat& format = gage.Format;
    format.DataType = input.ConsumeIntegralInRange<std::uint16_t>(0, 4);
    FillBytes(input, format.RecordStart, format.RecordStartLength);
    FillBytes(input, format.RecordEnd, format.RecordEndLength);
    FillBytes(input, format.Separator, format.SeparatorLength);
    FillBytes(input, format.RequestSequence, format.RequestSequenceLength);
    format.DecimalSeparator[0] = input.ConsumeIntegral<char>();
    format.BodyLength = input.ConsumeIntegralInRange<std::uint16_t>(0, 40);
    format.Options = input.ConsumeIntegral<std::uint16_t>();
    format.Bits = input.ConsumeIntegralInRange<std::uint16_t>(0, 40);
    format.Scale = std::uint32_t{1} << (format.Bits % 32);
    format.FullScale = input.ConsumeFloatingPoint<double>();
    format.CommandDelay = input.ConsumeIntegral<std::uint16_t>();
    format.MeasReadCommand = input.ConsumeRandomLengthString(8);
    format.ChannelField = Spec(input);
    format.CodeField = Spec(input);
    format.LiteralField = Spec(input);
    format.ValueAField = Spec(input);
    format.ValueBField = Spec(input);
    format.ReadingField = Spec(input);
    gage.Gain = input.ConsumeFloatingPoint<double>();
    gage.Zero = input.ConsumeFloatingPoint<double>();
    gage.Precision = input.ConsumeIntegralInRange<std::int32_t>(-2, 16);
    gage.Flags = input.ConsumeIntegral<std::uint32_t>();
    gage.ChannelNumber = input.ConsumeIntegralInRange<std::int32_t>(0, 255);
    const unsigned options = input.ConsumeIntegralInRange<unsigned>(0, 3);

    gage::ConnectionRecord& record = connections[0];
    record.Kind = input.ConsumeBool() ? gage::KIND_TCPIP : gage::KIND_SERIAL;
    const int limit = record.IsTcp() ? gage::kTcpAppendLimit : gage::kSerialAppendLimit;
    gage::AllocateReceiveBuffer(record);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    // Large inputs are repeated up to a full buffer, so the overflow guard gets its turn.
    const bool fill = !bytes.empty() && bytes.size() % 7 == 0;
    do {
        const std::size_t room = static_cast<std::size_t>(limit - record.RxCount);
        const std::size_t n = std::min(bytes.size(), room);
        std::memcpy(record.RxBuffer.get() + record.RxCount, bytes.data(), n);
        record.RxCount += static_cast<int>(n);
    } while (fill && record.RxCount < limit);

    gage::ReadingResult result{};
    std::uint8_t copy[64];
    std::uint16_t copied = 0;
    gage::ParseOutput output{result, 0.0, 0.0, copy, &copied, sizeof copy};
    for (int round = 0; round < 64 && record.RxCount > 0; ++round) {
        const int before = record.RxCount;
        gage::ParseRecord(context, nullptr, gage, output, options);
        gage::fuzz::Check(record.RxCount >= 0 && record.RxCount < limit &&
                          record.RxCount <= before && copied <= sizeof copy &&
                          result.Code[sizeof result.Code - 1] == '\0' &&
                          result.Literal[sizeof result.Literal - 1] == '\0' &&
                          std::memchr(result.Reserved, 1, sizeof result.Reserved) == nullptr);
        if (record.RxCount == before) {
            break;  // nothing consumed: the next parse would find the same
        }
    }
    return 0;
}
