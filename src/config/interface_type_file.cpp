#include "config/interface_type_file.h"

#include "config/c_number_text.h"
#include "config/field_tokenizer.h"
#include "config/profile.h"

namespace gage {
namespace {

constexpr std::size_t kDescriptionRoom = 128;
constexpr std::size_t kInitValueRoom = 128;

std::string InitKey(int number) {
    return "INIT" + std::to_string(number);
}

}  // namespace

std::string ReadInterfaceTypeDescription(const std::string& definitionsPath, int type) {
    return profile::GetString(definitionsPath, InterfaceTypeSection(type), "DESCRIPTION", {},
                              kDescriptionRoom);
}

std::vector<InitString> ReadInitStrings(const std::string& definitionsPath, int type) {
    std::vector<InitString> strings;
    const std::string section = InterfaceTypeSection(type);
    for (int number = 1; number <= kInitStringCount; ++number) {
        const std::string value =
            profile::GetString(definitionsPath, section, InitKey(number), {}, kInitValueRoom);
        FieldScanner scanner(value);
        const auto delay = scanner.NextField(',');
        const auto command = scanner.RestField();
        if (delay && command) {
            strings.push_back({ReadCInteger(*delay), std::string(*command)});
        }
    }
    return strings;
}

bool WriteInterfaceType(const std::string& definitionsPath, int type, std::string_view description,
                        const std::vector<InitString>& rows) {
    const std::string section = InterfaceTypeSection(type);
    profile::Batch batch(definitionsPath);
    batch.DeleteSection(section);
    batch.WriteString(section, "DESCRIPTION", description.substr(0, kDescriptionRoom - 1));
    int number = 0;
    for (const InitString& row : rows) {
        if (row.command.empty()) {
            continue;
        }
        batch.WriteString(section, InitKey(++number),
                          std::to_string(row.delay) + "," + row.command);
    }
    return batch.Commit();
}

std::vector<DefinitionEntry> ListInterfaceTypes(const std::string& definitionsPath) {
    std::vector<DefinitionEntry> types;
    for (int number = kFirstDefinitionNumber; number <= kLastListedDefinitionNumber; ++number) {
        std::string description = ReadInterfaceTypeDescription(definitionsPath, number);
        if (!description.empty()) {
            types.push_back({number, std::move(description)});
        }
    }
    return types;
}

int LowestUnusedInterfaceTypeNumber(const std::string& definitionsPath) {
    int number = kFirstDefinitionNumber;
    while (number < 0xFFFF && !ReadInterfaceTypeDescription(definitionsPath, number).empty()) {
        ++number;
    }
    return number;
}

bool RemoveInterfaceType(const std::string& definitionsPath, int type) {
    profile::Batch batch(definitionsPath);
    for (int format = 0; format <= kLastListedDefinitionNumber; ++format) {
        batch.DeleteSection(GageFormatSection(type, format));
    }
    batch.DeleteSection(InterfaceTypeSection(type));
    return batch.Commit();
}

}  // namespace gage
