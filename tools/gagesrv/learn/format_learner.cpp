#include "gagesrv/learn/format_learner.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "config/byte_string.h"
#include "config/c_number_text.h"
#include "config/field_spec.h"
#include "reading/record_parser.h"

namespace gage::learn {

namespace {

constexpr int kRecordsForFullConfidence = 5;
constexpr std::size_t kMaxLiteral = 15;  // what a field row's literal holds

FieldRowInput Row(const Part& part) {
    FieldRowInput row{std::to_string(part.fieldNumber),
                      std::to_string(part.start),
                      std::to_string(part.length),
                      {},
                      {}};
    if (!part.constantText.empty() && part.constantText.size() <= kMaxLiteral) {
        row.op = "EQ";
        row.literal = part.constantText;
    }
    return row;
}

Proposal Propose(const Framing& framing, const Shape& shape, std::string_view readCommand) {
    Proposal proposal;
    proposal.framing = framing;
    proposal.shape = shape;
    proposal.readCommand = std::string(readCommand);
    FormatDialogInput& input = proposal.format;
    input.description = "Learned format";
    input.recordStart = ByteStringFileText(framing.start);
    input.recordEnd = ByteStringFileText(framing.end);
    input.separator = ByteStringFileText(shape.separator);
    input.decimalSeparator = std::string(1, shape.decimalSeparator);
    input.combinationChoice = 0;
    input.dataType = DATATYPE_ASCII;
    if (framing.binary) {
        const Part& value = shape.parts.front();
        input.dataType = value.msbFirst ? DATATYPE_BINARY_MSB_FIRST : DATATYPE_BINARY_LSB_FIRST;
        input.fullScale = "1";  // raw counts: the gage's units are not in its bytes
        input.recordLength = std::to_string(framing.recordLength);
        // Records framed by length stay in the buffer once read: clear it around each read.
        proposal.options = FMT_OPT_CLEAR_BEFORE | FMT_OPT_CLEAR_AFTER;
    }
    for (const Part& part : shape.parts) {
        switch (part.kind) {
            case PartKind::Value:
                input.valueA = Row(part);
                proposal.precision = part.decimals;
                break;
            case PartKind::Channel:
                input.channel = Row(part);
                break;
            case PartKind::Literal:
                input.literal = Row(part);
                break;
        }
    }
    return proposal;
}

void ParseRow(const FieldRowInput& row, FieldSpec& spec, bool noSeparator) {
    if (const std::optional<std::string> text = FormatFieldSpec(row)) {
        ParseFieldSpec(*text, spec, noSeparator);
    }
}

template <std::size_t N>
std::string TextOf(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

bool SameNumber(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
}

// Whether the parser, given one record alone, reads what the learner saw in it.
bool ReadsBack(ReadContext& context, const GageRecord& gage, const Proposal& proposal,
               std::size_t body, std::size_t index) {
    ConnectionRecord& record = context.connections[0];
    const std::string bytes =
        proposal.framing.start + proposal.framing.bodies[body] + proposal.framing.end;
    EmptyReceiveBuffer(record);
    const std::size_t held = std::min<std::size_t>(bytes.size(), kReceiveBufferSize);
    std::memcpy(record.RxBuffer.get(), bytes.data(), held);
    record.RxCount = static_cast<std::int32_t>(held);
    ReadingResult result{};
    ParseOutput output{result};
    if (ParseRecord(context, nullptr, gage, output, 0) != 1) {
        return false;
    }
    for (const Part& part : proposal.shape.parts) {
        const bool same =
            part.kind == PartKind::Value     ? SameNumber(result.Value, part.numbers[index])
            : part.kind == PartKind::Channel ? result.Channel == part.numbers[index]
                                             : TextOf(result.Literal) == part.words[index];
        if (!same) {
            return false;
        }
    }
    return true;
}

Check CheckProposal(const Proposal& proposal, ReadContext& engine) {
    ConnectionTable table;
    ReadContext context{engine.channels, table, engine.settings, engine.support, engine.clock};
    AllocateReceiveBuffer(table[0]);
    GageRecord gage;
    gage.Name = "Learned";
    gage.InterfaceTypeNumber = 1;
    gage.Format = ProposedGageFormat(proposal);
    gage.Precision = -1;  // values as read, for the comparison
    Check check;
    check.records = static_cast<int>(proposal.framing.bodies.size());
    const std::vector<std::size_t>& covered = proposal.shape.records;
    for (std::size_t i = 0; i < covered.size(); ++i) {
        check.explained += ReadsBack(context, gage, proposal, covered[i], i) ? 1 : 0;
    }
    if (check.records > 0) {
        const double share = static_cast<double>(check.explained) / check.records;
        const double amount =
            std::min(1.0, static_cast<double>(check.records) / kRecordsForFullConfidence);
        check.confidence = static_cast<int>(std::lround(100.0 * share * amount));
    }
    return check;
}

}  // namespace

std::string ByteStringFileText(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && c != '<') {
            text += c;
        } else {
            text += "<" + std::to_string(byte) + ">";
        }
    }
    return text;
}

GageFormat ProposedGageFormat(const Proposal& proposal) {
    const FormatDialogInput& input = proposal.format;
    GageFormat format;
    format.DataType = static_cast<std::uint16_t>(input.dataType);
    if (format.DataType == DATATYPE_BINARY_LSB_FIRST ||
        format.DataType == DATATYPE_BINARY_MSB_FIRST) {
        format.Bits = static_cast<std::uint16_t>(std::atoi(input.bits.c_str()));
        format.Scale = std::uint32_t{1} << (format.Bits % 32);
        format.FullScale = ReadCReal(input.fullScale);
    }
    format.DecimalSeparator[0] = input.decimalSeparator.empty() ? '.' : input.decimalSeparator[0];
    format.SeparatorLength = EncodeByteString(input.separator, format.Separator);
    format.RecordStartLength = EncodeByteString(input.recordStart, format.RecordStart);
    format.RecordEndLength = EncodeByteString(input.recordEnd, format.RecordEnd);
    if (const int length = std::atoi(input.recordLength.c_str()); length != 0) {
        format.BodyLength =
            static_cast<std::uint16_t>(length - format.RecordStartLength - format.RecordEndLength);
    }
    format.Options = static_cast<std::uint16_t>(
        proposal.options | ((input.combinationChoice + 1) << FMT_OPT_COMBINATION_SHIFT));
    const bool noSeparator = format.SeparatorLength == 0;
    ParseRow(input.channel, format.ChannelField, noSeparator);
    ParseRow(input.literal, format.LiteralField, noSeparator);
    ParseRow(input.valueA, format.ValueAField, noSeparator);
    return format;
}

LearnOutcome LearnFormat(std::string_view traffic, std::string_view readCommand,
                         ReadContext& engine) {
    LearnOutcome outcome;
    const Framing framing = FrameTraffic(traffic);
    if (framing.bodies.empty()) {
        outcome.refusal = Refusal::NoRecords;
        return outcome;
    }
    const std::optional<Shape> shape = FindShape(framing);
    if (!shape) {
        outcome.refusal = Refusal::NoSharedShape;
        outcome.check.records = static_cast<int>(framing.bodies.size());
        return outcome;
    }
    outcome.proposal = Propose(framing, *shape, readCommand);
    outcome.check = CheckProposal(outcome.proposal, engine);
    if (outcome.check.explained == 0) {
        outcome.refusal = Refusal::NoSharedShape;
    }
    return outcome;
}

}  // namespace gage::learn
