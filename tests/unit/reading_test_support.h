#pragma once
// Shared pieces of the reading engine's tests: a clock that passes time only when the engine
// waits, and a context over a fresh set of tables.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "channels/channel.h"
#include "channels/channel_wait.h"
#include "config/byte_string.h"
#include "reading/read_context.h"
#include "reading/reading_result.h"

namespace gage {
// The measured value by copy: the field is packed and unaligned, so it cannot be bound to a
// reference (as test assertions would).
inline double ValueOf(const ReadingResult& result) {
    return result.Value;
}
}  // namespace gage

namespace gage::testing_support {

// The double of a bit pattern, for values that must come out the same in every build.
inline double Bits(std::uint64_t bits) {
    return std::bit_cast<double>(bits);
}

// Puts bytes into a connection's receive buffer (allocating it).
inline void HoldBytes(ConnectionRecord& record, std::string_view bytes) {
    if (!record.HasReceiveBuffer()) {
        AllocateReceiveBuffer(record);
    }
    std::memcpy(record.RxBuffer.get() + record.RxCount, bytes.data(), bytes.size());
    record.RxCount += static_cast<std::int32_t>(bytes.size());
}

// Time stands still until the engine sleeps or waits; then it jumps by the time asked for.
class FakeClock final : public EngineClock {
  public:
    explicit FakeClock(std::uint32_t start = 1000) : now(start) {}

    std::uint32_t Now() override {
        ++nowCalls;
        const std::uint32_t reading = now;
        if (stepPerNow != 0) {
            Advance(stepPerNow);
        }
        return reading;
    }
    void Sleep(std::uint32_t milliseconds) override {
        slept += milliseconds;
        Advance(milliseconds);
    }
    bool WaitReadable(const ConnectionRecord& record, std::uint32_t milliseconds) override {
        if (ChannelWaitReadable(record, 0) == 1) {
            return true;
        }
        waited += milliseconds;
        Advance(milliseconds);
        return false;
    }
    void Advance(std::uint32_t milliseconds) { now += milliseconds; }

    std::uint32_t now;
    std::uint64_t slept = 0;
    std::uint64_t waited = 0;
    long long nowCalls = 0;
    std::uint32_t stepPerNow = 0;  // time that passes with every reading of the clock
};

// Tables, settings and support of one test, with a context over them.
struct EngineFixture {
    Support support;
    ServerSettings settings;
    ConnectionTable connections;
    ChannelContext channels{support, settings};
    FakeClock clock;
    ReadContext context{channels, connections, settings, support, clock};

    void Hold(int index, std::string_view bytes) {
        HoldBytes(connections[static_cast<std::size_t>(index)], bytes);
    }
    std::string_view Held(int index) {
        const ConnectionRecord& record = connections[static_cast<std::size_t>(index)];
        if (!record.HasReceiveBuffer()) {
            return {};
        }
        return {reinterpret_cast<const char*>(record.RxBuffer.get()),
                static_cast<std::size_t>(record.RxCount)};
    }
};

// Sets an encoded byte string of a format from its file text ("<13><10>").
inline void SetBytes(ByteString& bytes, std::uint16_t& length, std::string_view text) {
    length = EncodeByteString(text, bytes);
}

// The start, end and separator of a format's records, from their file texts.
inline void SetFrame(GageFormat& format, std::string_view start, std::string_view end,
                     std::string_view separator = {}) {
    SetBytes(format.RecordStart, format.RecordStartLength, start);
    SetBytes(format.RecordEnd, format.RecordEndLength, end);
    SetBytes(format.Separator, format.SeparatorLength, separator);
}

inline FieldSpec Spec(int field, int start, int length, std::string_view condition = {}) {
    FieldSpec spec;
    spec.Defined = 1;
    spec.FieldNumber = static_cast<std::uint16_t>(field);
    spec.StartPosition = static_cast<std::uint16_t>(start);
    spec.Length = static_cast<std::uint16_t>(length);
    spec.Condition = condition;
    return spec;
}

// A gage that has only a name and a connection.
inline GageRecord NamedGage(std::string_view name, int connection) {
    GageRecord gage;
    gage.Name = name;
    gage.ConnectionIndex = connection;
    return gage;
}

// A gage whose records are one value and recordEnd, read unrounded, on connection 0: where most
// reading tests start. A name with "RandomValue" in it reads the simulated source.
inline GageRecord OneValueGage(std::string_view name, std::string_view recordEnd = "<13><10>") {
    GageRecord gage = NamedGage(name, 0);
    gage.InterfaceTypeNumber = 1;
    gage.Precision = -1;
    gage.Format.ReadTimeout = 200;
    SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, recordEnd);
    gage.Format.ValueAField = Spec(1, 1, 0);
    return gage;
}

}  // namespace gage::testing_support
