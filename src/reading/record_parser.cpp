#include "reading/record_parser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "reading/command_sender.h"
#include "reading/field_conditions.h"
#include "reading/record_fields.h"

namespace gage {

namespace {

// The buffer is as full as a read leaves it: make room by dropping the oldest half. A TCP/IP
// connection stops appending at 4096 held bytes, so its guard acts there.
struct OverflowGuard {
    int threshold;
    int drop;
};

OverflowGuard GuardFor(const ConnectionRecord& record) {
    if (record.IsTcp()) {
        return {kTcpAppendLimit, kTcpAppendLimit / 2};
    }
    return {kSerialAppendLimit, kReceiveBufferSize / 2};
}

void RemoveZeroBytes(ConnectionRecord& record) {
    std::uint8_t* const begin = record.RxBuffer.get();
    std::uint8_t* const end = std::remove(begin, begin + record.RxCount, std::uint8_t{0});
    const int kept = static_cast<int>(end - begin);
    if (kept < record.RxCount) {
        std::fill(end, begin + record.RxCount, std::uint8_t{0});
        record.RxCount = kept;
    }
}

// A byte string's length, never more than its field holds.
int Bytes(std::uint16_t length) {
    return std::min<int>(length, static_cast<int>(kByteStringSize));
}

enum FieldIndex { kChannel, kCode, kLiteral, kValueA, kValueB, kReading, kFieldCount };

std::array<const FieldSpec*, kFieldCount> SpecsOf(const GageFormat& format) {
    return {&format.ChannelField, &format.CodeField,   &format.LiteralField,
            &format.ValueAField,  &format.ValueBField, &format.ReadingField};
}

// The framed record: body start and length within the buffer, and the terminator position
// (kNotFound for records framed by length alone).
struct Frame {
    int bodyStart = 0;
    int bodyLength = 0;
    int terminator = kNotFound;
};

// Frames the first record; false when there is none to look at (Finish follows either way,
// frame.terminator telling what it may consume).
bool FrameRecord(const GageFormat& format, const std::uint8_t* buffer, int count, Frame& frame) {
    if (format.RecordStartLength > 0) {
        const int start =
            FindBytes(buffer, count, format.RecordStart.data(), Bytes(format.RecordStartLength));
        if (start == kNotFound) {
            return false;
        }
        frame.bodyStart = start + Bytes(format.RecordStartLength);
    }
    const int remaining = count - frame.bodyStart;
    if (format.RecordEndLength > 0) {
        const int end = FindBytes(buffer + frame.bodyStart, remaining, format.RecordEnd.data(),
                                  Bytes(format.RecordEndLength));
        if (end == kNotFound) {
            return false;
        }
        frame.terminator = frame.bodyStart + end;
        frame.bodyLength = end;
    } else {
        if (format.BodyLength == 0 || format.BodyLength > remaining) {
            return false;
        }
        frame.bodyLength = format.BodyLength;
    }
    if (frame.bodyLength == 0) {
        return false;
    }
    return format.BodyLength == 0 || format.BodyLength == frame.bodyLength;
}

// Finds each field of the body: with a separator by walking its fields, otherwise every field
// is the whole body.
void LocateFields(const GageFormat& format, const std::uint8_t* buffer, const Frame& frame,
                  std::array<FieldLocation, kFieldCount>& locations) {
    const auto specs = SpecsOf(format);
    const std::uint8_t* const body = buffer + frame.bodyStart;
    if (format.SeparatorLength == 0) {
        for (int f = 0; f < kFieldCount; ++f) {
            locations[f] = {true, body, frame.bodyLength};
        }
        return;
    }
    const int separatorLength = Bytes(format.SeparatorLength);
    const int bodyEnd = frame.bodyLength;  // offsets within the body
    const int terminator = frame.terminator == kNotFound ? kNotFound : frame.bodyLength;
    int p = 0;
    int k = 0;
    do {
        const int found =
            FindBytes(body + p, bodyEnd - p, format.Separator.data(), separatorLength);
        const int fieldEnd = found == kNotFound ? bodyEnd : p + found;
        ++k;
        for (int f = 0; f < kFieldCount; ++f) {
            if (specs[f]->Defined && specs[f]->FieldNumber == k) {
                if (!locations[f].found) {
                    locations[f] = {true, body + p, fieldEnd - p};
                }
                break;
            }
        }
        p = fieldEnd + separatorLength;
    } while (terminator != kNotFound && p < terminator);
}

double Combine(const GageFormat& format, double a, double b) {
    const bool hasA = format.ValueAField.Defined != 0;
    const bool hasB = format.ValueBField.Defined != 0;
    if (!hasA && !hasB) {
        return 1.0;
    }
    if (!hasB) {
        return a;
    }
    if (!hasA) {
        return b;
    }
    switch (format.CombinationCode()) {
        case 2:
            return b;
        case 3:
            return a - b;
        case 4:
            return (a + b) * 0.5;
        case 5:
            return a + b;
        default:
            return a;
    }
}

// Decodes the located fields into the result and tests the conditions; true for a valid
// reading.
bool ComputeReading(ReadContext& context, const GageRecord& gage,
                    const std::array<FieldLocation, kFieldCount>& at, ParseOutput& output) {
    const GageFormat& format = gage.Format;
    const char userSeparator = context.settings.DecimalSeparator;
    ReadingResult& result = output.result;
    result.Channel =
        LowWordOf(FieldValue(at[kChannel], format.ChannelField, format, userSeparator));
    FieldText(at[kCode], format.CodeField, result.Code, sizeof result.Code);
    FieldText(at[kLiteral], format.LiteralField, result.Literal, sizeof result.Literal);
    double a = FieldValue(at[kValueA], format.ValueAField, format, userSeparator);
    double b = FieldValue(at[kValueB], format.ValueBField, format, userSeparator);
    if (gage.Gain != 0.0) {
        a *= gage.Gain;
        b *= gage.Gain;
    }
    if (gage.Zero != 0.0) {
        a -= gage.Zero;
        b -= gage.Zero;
    }
    if (gage.Precision >= 0) {
        a = context.support.MathRound(a, gage.Precision);
        b = context.support.MathRound(b, gage.Precision);
    }
    if ((gage.Flags & GAGE_FLAG_ABSOLUTE) != 0) {
        a = std::fabs(a);
        b = std::fabs(b);
    }
    output.valueA = a;
    output.valueB = b;
    result.ReadingNumber =
        LowWordOf(FieldValue(at[kReading], format.ReadingField, format, userSeparator));

    const bool valid =
        TestNumericCondition(result.Channel, format.ChannelField.Condition.view(), userSeparator) &&
        TestTextCondition(result.Code, format.CodeField.Condition.view()) &&
        TestTextCondition(result.Literal, format.LiteralField.Condition.view()) &&
        TestNumericCondition(a, format.ValueAField.Condition.view(), userSeparator) &&
        TestNumericCondition(b, format.ValueBField.Condition.view(), userSeparator) &&
        TestNumericCondition(result.ReadingNumber, format.ReadingField.Condition.view(),
                             userSeparator);
    result.Value = Combine(format, a, b);
    return valid;
}

// The end of every parse: the channel rule, consumption of a terminated record and the
// overflow guard. Returns the parse result.
int Finish(const GageRecord& gage, ConnectionRecord& record, const ParseOutput& output,
           const Frame* frame, unsigned options, bool valid) {
    const GageFormat& format = gage.Format;
    if ((options & READ_OPT_CHANNEL_ONLY) != 0 && gage.ChannelNumber != 0 &&
        format.ChannelField.Defined && output.result.Channel != gage.ChannelNumber) {
        // The record belongs to the gage on its own channel: leave it in the buffer.
        valid = false;
    } else if (frame != nullptr && frame->terminator != kNotFound) {
        ConsumeReceivedBytes(record, frame->terminator + Bytes(format.RecordEndLength));
    }
    const OverflowGuard guard = GuardFor(record);
    if (record.RxCount >= guard.threshold) {
        ConsumeReceivedBytes(record, guard.drop);
    }
    return valid ? 1 : 0;
}

}  // namespace

int FindBytes(const std::uint8_t* bytes, int count, const std::uint8_t* pattern,
              int patternLength) {
    if (bytes == nullptr || pattern == nullptr || patternLength <= 0 || count < patternLength) {
        return kNotFound;
    }
    const std::uint8_t first = pattern[0];
    const int lastStart = count - patternLength;
    for (int i = 0; i <= lastStart; ++i) {
        const void* hit =
            std::memchr(bytes + i, first, static_cast<std::size_t>(lastStart - i + 1));
        if (hit == nullptr) {
            return kNotFound;
        }
        i = static_cast<int>(static_cast<const std::uint8_t*>(hit) - bytes);
        if (std::memcmp(bytes + i, pattern, static_cast<std::size_t>(patternLength)) == 0) {
            return i;
        }
    }
    return kNotFound;
}

int ParseRecord(ReadContext& context, WindowHandle owner, const GageRecord& gage,
                ParseOutput& output, unsigned options) {
    output.result = ReadingResult{};
    ConnectionRecord* const connection = GageConnection(context, gage.ConnectionIndex);
    if (connection == nullptr || !connection->HasReceiveBuffer()) {
        if (output.copyBuffer != nullptr && output.copyLength != nullptr) {
            *output.copyLength = 0;
        }
        return 0;
    }
    ConnectionRecord& record = *connection;
    const GageFormat& format = gage.Format;
    if (format.DataType == DATATYPE_ASCII16) {
        RemoveZeroBytes(record);
    }
    if (output.copyBuffer != nullptr && output.copyLength != nullptr) {
        const int copied = std::min<int>(output.copyMaximum, record.RxCount);
        if (copied > 0) {
            std::memcpy(output.copyBuffer, record.RxBuffer.get(), static_cast<std::size_t>(copied));
        }
        *output.copyLength = static_cast<std::uint16_t>(copied);
    }
    if (record.RxCount <= 0) {
        return 0;
    }

    const std::uint8_t* const buffer = record.RxBuffer.get();
    Frame frame;
    const bool framed = FrameRecord(format, buffer, record.RxCount, frame);
    if (!framed) {
        return Finish(gage, record, output, &frame, options, false);
    }

    if (format.RequestSequenceLength > 0 && !format.MeasReadCommand.empty() &&
        FindBytes(buffer + frame.bodyStart, frame.bodyLength, format.RequestSequence.data(),
                  Bytes(format.RequestSequenceLength)) != kNotFound) {
        DelayMilliseconds(context, format.CommandDelay);
        if (ConnectionIsOpen(record)) {
            SendGageCommand(context, owner, &gage, record, format.MeasReadCommand.view());
        }
        return Finish(gage, record, output, &frame, options, false);
    }

    std::array<FieldLocation, kFieldCount> locations{};
    LocateFields(format, buffer, frame, locations);
    const auto specs = SpecsOf(format);
    constexpr std::array<bool, kFieldCount> numeric = {true, false, false, true, true, true};
    const char separator = format.DecimalSeparator[0];
    for (int f = 0; f < kFieldCount; ++f) {
        if (!CheckField(locations[f], *specs[f], numeric[f], format.DataType, separator)) {
            return Finish(gage, record, output, &frame, options, false);
        }
    }
    const bool valid = ComputeReading(context, gage, locations, output);
    return Finish(gage, record, output, &frame, options, valid);
}

}  // namespace gage
