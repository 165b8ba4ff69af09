#pragma once
// What a configuration line parser did to one line on its way in: why it left the line's row
// empty, and every value it did not take as written. The loader passes no report; the
// configuration check passes one and only puts its notes into words, so the check explains
// each line the way the loader reads it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gage {

enum class LineNoteKind {
    // Why a line is skipped.
    UnknownVersion,        // written: the VERSION
    TooFewFields,          // count: the fields the line has; limit: the fields it needs
    SerialPortTooHigh,     // written: the port number
    TcpPortZero,           // written: the port number
    HostNameTooLong,       // count: its characters
    AddressUnresolved,     // written: the host name (field "host"), or else the address fields
    ConnectionOutOfRange,  // written: the connection index
    // What a line that loads keeps otherwise than written.
    NumberNotAsWritten,  // field, written; kept: what the loader reads
    NameTooLong,         // count: the characters of the raw field
    NameEmpty,
    NameTrimmed,       // written, kept
    KeptIn16Bits,      // field, written, kept ("a.b" for the interface type and format)
    BufferSizeCut,     // written, kept
    UnknownKind,       // written: the kind; read as serial
    TcpPortLowBits,    // written: the port number; kept: the TCP port
    HostNameNotRead,   // written: the host field of a serial line
    SerialNumberCut,   // count: its characters; limit: the characters kept
    GainZero,          // read as 1
    PrecisionLimited,  // written, kept
    FieldsIgnored,     // count: the fields the line has; limit: the fields read
};

inline bool SkipsTheLine(LineNoteKind kind) {
    return kind <= LineNoteKind::ConnectionOutOfRange;
}

struct LineNote {
    explicit LineNote(LineNoteKind noteKind, std::string writtenText = {},
                      std::string keptText = {}, std::string_view fieldName = {})
        : kind(noteKind),
          field(fieldName),
          written(std::move(writtenText)),
          kept(std::move(keptText)) {}
    static LineNote Counted(LineNoteKind kind, std::size_t count, std::size_t limit) {
        LineNote note(kind);
        note.count = count;
        note.limit = limit;
        return note;
    }

    LineNoteKind kind;
    std::string_view field;  // the field in words, for notes about one field
    std::string written;     // the value as the line has it
    std::string kept;        // what the loader makes of it
    std::size_t count = 0;
    std::size_t limit = 0;
};

struct LineReport {
    std::optional<LineNote> skipped;  // set when the line leaves its row empty
    std::vector<LineNote> changes;    // in the order of the fields
};

// How a parser fills a report it may not have been given.
class LineNotes {
  public:
    explicit LineNotes(LineReport* report) : report_(report) {}

    bool wanted() const { return report_ != nullptr; }
    void Change(LineNote note) const;
    void Skip(LineNote note) const;

    // Integer and real fields, noted when the loader does not read them as written.
    std::int32_t Integer(std::string_view text, std::string_view field) const;
    double Real(std::string_view text, std::string_view field) const;
    // A gage or connection name, noted when it is not taken whole.
    std::string_view Name(std::string_view raw) const;

  private:
    LineReport* report_;
};

}  // namespace gage
