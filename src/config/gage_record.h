#pragma once
// A configured gage (a row of the GageTable) and the decoded gage format it carries.

#include <array>
#include <cstdint>
#include <vector>

#include "support/fixed_string.h"

namespace gage {

inline constexpr std::uint32_t GAGE_FLAG_ABSOLUTE = 2;     // return the absolute value
inline constexpr std::uint32_t GAGE_FLAG_NEGATE_V7 = 4;    // sign bit of layout-7 files
inline constexpr std::uint32_t GAGE_FLAG_NO_READ_CMD = 8;  // no read command when polling

inline constexpr std::uint16_t FMT_OPT_CLEAR_BEFORE = 1;
inline constexpr std::uint16_t FMT_OPT_CLEAR_AFTER = 2;
// Bits 4 to 7 of the options: which value to return when A and B are both defined.
inline constexpr std::uint16_t FMT_OPT_COMBINATION_MASK = 0x00F0;
inline constexpr int FMT_OPT_COMBINATION_SHIFT = 4;

enum GageDataType : std::uint16_t {
    DATATYPE_ASCII = 0,
    DATATYPE_BINARY_LSB_FIRST = 1,
    DATATYPE_BINARY_MSB_FIRST = 2,
    DATATYPE_ASCII16 = 3,
};

inline constexpr std::size_t kByteStringSize = 64;   // encoded byte strings, at most 64 bytes
inline constexpr std::size_t kCommandTextSize = 64;  // command texts, 63 characters usable
inline constexpr std::size_t kConditionSize = 24;    // condition text, 23 characters usable

using ByteString = std::array<std::uint8_t, kByteStringSize>;
using CommandText = FixedString<kCommandTextSize>;

// One field spec ("field,start,length[,OP(literals)]") in its loaded form.
struct FieldSpec {
    std::uint16_t Defined = 0;
    std::uint16_t FieldNumber = 0;
    std::uint16_t StartPosition = 0;
    std::uint16_t Length = 0;  // 0 = to the end of the field
    FixedString<kConditionSize> Condition;
};

// The format block of a gage. In the runtime form the byte strings hold encoded bytes with their
// lengths; in the editing form (format dialog) they hold the texts from the file and the lengths
// stay 0.
struct GageFormat {
    ByteString RecordStart{};
    ByteString RecordEnd{};
    ByteString Separator{};
    std::array<char, 2> DecimalSeparator{'.', '\0'};
    ByteString RequestSequence{};
    std::uint16_t DataType = DATATYPE_ASCII;
    std::uint16_t RecordStartLength = 0;
    std::uint16_t RecordEndLength = 0;
    std::uint16_t SeparatorLength = 0;  // 0 = no separator
    std::uint16_t RequestSequenceLength = 0;
    std::uint16_t CommandDelay = 0;  // MEASDELAY, milliseconds
    std::uint16_t ReadTimeout = 0;   // MEASTIMEOUT, milliseconds
    std::uint16_t Options = 0;       // FMT_OPT_*
    std::uint16_t BodyLength = 0;    // RECLENGTH less start and end, 0 = any length
    std::uint16_t Bits = 0;
    std::uint32_t Scale = 0;  // 2 to the power (Bits mod 32), binary types
    CommandText GageInitCommand;
    CommandText MeasInitCommand;
    CommandText MeasStartCommand;
    CommandText MeasStopCommand;
    CommandText MeasReadCommand;
    CommandText MeasPostCommand;
    CommandText SubgroupStartCommand;
    CommandText SubgroupEndCommand;
    double FullScale = 0.0;
    FieldSpec ChannelField;
    FieldSpec CodeField;
    FieldSpec LiteralField;
    FieldSpec ValueAField;
    FieldSpec ValueBField;
    FieldSpec ReadingField;

    int CombinationCode() const {
        return (Options & FMT_OPT_COMBINATION_MASK) >> FMT_OPT_COMBINATION_SHIFT;
    }
};

inline constexpr std::size_t kNameSize = 32;          // 31 usable characters
inline constexpr std::size_t kSerialNumberSize = 64;  // 63 usable characters

struct GageRecord {
    std::uint16_t InterfaceTypeNumber = 0;  // 0 = not set: never read or sent to
    std::uint16_t FormatNumber = 0;
    GageFormat Format;
    std::int32_t ConnectionIndex = 0;  // row of the ConnectionTable, 0 to 63
    FixedString<kNameSize> Name;       // empty = free row
    FixedString<kSerialNumberSize> SerialNumber;
    std::int32_t GageId = 0;         // 0 to 255, the ID token of commands
    std::int32_t ChannelNumber = 0;  // 0 to 255, 0 = any channel
    std::uint32_t Flags = 0;         // GAGE_FLAG_*
    double Minimum = 0.0;
    double Maximum = 0.0;
    double Zero = 0.0;
    double Gain = 1.0;
    std::int32_t Precision = 7;           // digits right of the decimal point, 0 to 15
    std::int32_t MeasurementStarted = 0;  // runtime only: a start command awaits its stop

    bool IsNamed() const { return !Name.empty(); }
};

// Rows are appended by the loader and the configuration dialog; a deleted gage only has its name
// cleared and stays as a free row until the next reload.
using GageTable = std::vector<GageRecord>;

}  // namespace gage
