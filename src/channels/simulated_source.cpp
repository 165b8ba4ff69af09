#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "channels/channel.h"

namespace gage {

double NormalDeviate(ChannelContext& context) {
    NormalDeviateState& state = context.deviate;
    if (state.HasHeld) {
        state.HasHeld = false;
        return state.Held;
    }
    constexpr double kRange = RandomSource::kMaximum + 1.0;
    double u1 = 0.0;
    double u2 = 0.0;
    double s = 0.0;
    do {
        const int r1 = context.random.Next();
        const int r2 = context.random.Next();
        u1 = 2.0 * r1 / kRange - 1.0;
        u2 = 2.0 * r2 / kRange - 1.0;
        s = u1 * u1 + u2 * u2;
    } while (s <= 0.0 || s >= 1.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    state.Held = u1 * f;
    state.HasHeld = true;
    return u2 * f;
}

int SimulatedRead(ChannelContext& context, ConnectionRecord& record) {
    if (!record.HasReceiveBuffer()) {
        return 0;
    }
    const int held = std::clamp(record.RxCount, 0, kSerialAppendLimit);
    const int room = kSerialAppendLimit - held;
    const double x = NormalDeviate(context);

    // "%4.4f\r\n" without the process locale: the decimal point is the user's separator.
    std::array<char, 64> text{};
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size() - 2, x, std::chars_format::fixed, 4);
    if (error != std::errc{}) {
        return 0;
    }
    char* const point = std::find(text.data(), end, '.');
    if (point != end) {
        *point = context.settings.DecimalSeparator;
    }
    char* last = end;
    *last++ = '\r';
    *last++ = '\n';
    const int length = std::min(static_cast<int>(last - text.data()), room);
    if (length <= 0) {
        return 0;
    }
    std::memcpy(record.RxBuffer.get() + held, text.data(), static_cast<std::size_t>(length));
    record.RxCount = held + length;
    record.RxBuffer[record.RxCount] = 0;  // the block keeps two spare bytes past the limit
    return length;
}

int SimulatedRead(ChannelContext& context, const GageRecord& gage, ConnectionTable& connections) {
    if (gage.ConnectionIndex < 0 || gage.ConnectionIndex >= kConnectionCount) {
        return 0;
    }
    return SimulatedRead(context, connections[static_cast<std::size_t>(gage.ConnectionIndex)]);
}

bool IsSimulatedGage(const GageRecord& gage) {
    return gage.Name.view().find("RandomValue") != std::string_view::npos;
}

}  // namespace gage
