#include "config/line_note_wording.h"

namespace gage {
namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string FieldCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " field" : " fields");
}

std::string SkipReason(const LineNote& note, LineOwner owner, std::string_view versionText) {
    switch (note.kind) {
        case LineNoteKind::UnknownVersion:
            return "VERSION " + note.written + " is a layout the loader does not know.";
        case LineNoteKind::TooFewFields:
            return "the line has " + FieldCount(note.count) +
                   (owner == LineOwner::Connection
                        ? "; a connection needs at least " + std::to_string(note.limit) + "."
                        : "; a " + std::string(versionText) + " line needs " +
                              std::to_string(note.limit) + ".");
        case LineNoteKind::SerialPortTooHigh:
            return "serial port number " + note.written + " is above 64.";
        case LineNoteKind::TcpPortZero:
            return note.written == "0"
                       ? std::string("the TCP port is 0.")
                       : "the TCP port " + note.written + " is 0 in its low 16 bits.";
        case LineNoteKind::HostNameTooLong:
            return "the host name is " + std::to_string(note.count) +
                   " characters long, longer than any DNS name (253).";
        case LineNoteKind::AddressUnresolved:
            return note.field.empty()
                       ? "the address " + note.written +
                             " (fields 4 to 7) is no usable IPv4 address."
                       : "the host " + Quoted(note.written) + " does not resolve to an address.";
        case LineNoteKind::ConnectionOutOfRange:
            return "the connection index " + note.written +
                   " names no connection (they are numbered 0 to 63).";
        default:
            return {};
    }
}

std::string FreeGageRow(const LineNote& note) {
    return (note.kind == LineNoteKind::NameEmpty
                ? std::string("the gage has no name")
                : "the name is " + std::to_string(note.count) + " characters long (at most 31)") +
           "; the gage loads as a free row that the host cannot reach by name, and the next save "
           "drops it.";
}

std::string Reason(const LineNote& note, LineOwner owner, std::string_view versionText) {
    switch (note.kind) {
        case LineNoteKind::NumberNotAsWritten:
            return "the " + std::string(note.field) + " " + Quoted(note.written) + " is read as " +
                   note.kept + ".";
        case LineNoteKind::NameTooLong:
            return "the name is " + std::to_string(note.count) +
                   " characters long (at most 31): the connection loads without a name, and the "
                   "next save drops it.";
        case LineNoteKind::NameTrimmed:
            return "the name " + Quoted(note.written) + " is read as " + Quoted(note.kept) + ".";
        case LineNoteKind::KeptIn16Bits:
            return owner == LineOwner::Connection
                       ? "the interface type " + note.written + " is kept in 16 bits, as " +
                             note.kept + "."
                       : "the interface type and format " + note.written +
                             " are kept in 16 bits each, as " + note.kept + ".";
        case LineNoteKind::BufferSizeCut:
            return "the buffer size " + note.written + " is cut to " + note.kept + ".";
        case LineNoteKind::UnknownKind:
            return "the kind " + note.written +
                   " is neither 0 (serial) nor 1 (TCP/IP); it is read as 0 (serial).";
        case LineNoteKind::TcpPortLowBits:
            return "the port " + note.written + " is used as TCP port " + note.kept +
                   " (its low 16 bits).";
        case LineNoteKind::HostNameNotRead:
            return "the host name " + Quoted(note.written) +
                   " is not read for a serial connection, and the next save drops it.";
        case LineNoteKind::SerialNumberCut:
            return "the serial number is " + std::to_string(note.count) +
                   " characters long; only the first " + std::to_string(note.limit) + " are kept.";
        case LineNoteKind::GainZero:
            return "the gain 0 is read as 1.";
        case LineNoteKind::PrecisionLimited:
            return "the precision " + note.written + " is limited to " + note.kept + " (0 to 15).";
        case LineNoteKind::FieldsIgnored:
            return owner == LineOwner::Connection
                       ? "the line has " + FieldCount(note.count) + "; everything after the " +
                             std::to_string(note.limit) + "th is ignored."
                       : "the line has " + FieldCount(note.count) + "; a " +
                             std::string(versionText) + " line has " + std::to_string(note.limit) +
                             ", so the rest are ignored.";
        default:
            return SkipReason(note, owner, versionText);
    }
}

}  // namespace

WordedNote WordLineNote(const LineNote& note, LineOwner owner, std::string_view versionText) {
    const bool nameLost =
        note.kind == LineNoteKind::NameTooLong || note.kind == LineNoteKind::NameEmpty;
    if (nameLost && owner == LineOwner::Gage) {
        return {FindingEffect::Skipped, FreeGageRow(note)};
    }
    if (note.kind == LineNoteKind::NameEmpty) {
        return {FindingEffect::Warning,
                "the connection has no name: it loads, but the next save drops it."};
    }
    return {SkipsTheLine(note.kind) ? FindingEffect::Skipped : FindingEffect::Changed,
            Reason(note, owner, versionText)};
}

}  // namespace gage
