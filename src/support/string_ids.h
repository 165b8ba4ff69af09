#pragma once
// Names of the string table's entries (support/string_table.def), for code and tests.

namespace gage {

enum StringId : unsigned {
#define GAGE_STRING(name, id, text) name = id,
#define GAGE_STRING_NUMBERED(id, text)
#include "support/string_table.def"
#undef GAGE_STRING_NUMBERED
#undef GAGE_STRING
};

}  // namespace gage
