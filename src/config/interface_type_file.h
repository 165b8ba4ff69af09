#pragma once
// Interface types in BRW_GAGE.DEF (section "TYPE<t>"): a description and up to 20
// initialisation strings "delay,command", sent in key order whenever a connection of the type is
// opened.

#include <string>
#include <vector>

#include "config/definition_sections.h"

namespace gage {

inline constexpr int kInitStringCount = 20;

// One initialisation string: wait delay milliseconds, then send command.
struct InitString {
    int delay = 0;
    std::string command;
};

std::string ReadInterfaceTypeDescription(const std::string& definitionsPath, int type);

// The strings of keys INIT1 to INIT20 that send something, in key order; missing keys and
// values without a command (no comma, nothing after it) are skipped. A command that begins with
// a double quote is the text up to the next one, quotes removed.
std::vector<InitString> ReadInitStrings(const std::string& definitionsPath, int type);

// Replaces section "TYPE<type>" with the description and one key INIT1, INIT2 ... for each row
// that has a command, numbered without gaps. Returns false when the file could not be written.
bool WriteInterfaceType(const std::string& definitionsPath, int type, std::string_view description,
                        const std::vector<InitString>& rows);

// Interface types 1 to 100 that have a description, in ascending order.
std::vector<DefinitionEntry> ListInterfaceTypes(const std::string& definitionsPath);
// The lowest type number from 1 whose section has no description.
int LowestUnusedInterfaceTypeNumber(const std::string& definitionsPath);
// Deletes the type's formats 0 to 100 and then the type itself.
bool RemoveInterfaceType(const std::string& definitionsPath, int type);

}  // namespace gage
