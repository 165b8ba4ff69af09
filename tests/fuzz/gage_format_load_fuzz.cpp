// BRW_GAGE.DEF reading takes any file: the input is written as the definitions file (after a
// section header when its first byte is even, so that most inputs reach the format keys) and
// read as a runtime format, an editing form, lists and initialisation strings.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "config/gage_format_file.h"
#include "config/interface_type_file.h"
#include "config/profile_store.h"
#include "fuzz_support.h"

using gage::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = gage::fuzz::ScratchFile("gage_format_load_fuzz.def");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (size > 0 && data[0] % 2 == 0) {
            out << "[TYPE1.1]\n";
        }
        gage::fuzz::WriteBytes(out, data, size);
        out << "\n[TYPE1]\n";
        gage::fuzz::WriteBytes(out, data, size);
    }
    // A store of its own per input, its stamps trusted: the file does not change during one run,
    // so every lookup is about the loader, not the disk.
    gage::profile::Store store;
    store.TrustEveryStamp();
    const gage::profile::StoreInUse storeInUse(store);

    gage::GageRecord gage;
    gage.InterfaceTypeNumber = 1;
    gage.FormatNumber = 1;
    Check(gage::LoadGageFormat(path, gage) == 1);
    const gage::GageFormat& format = gage.Format;
    Check(format.SeparatorLength <= 64 && format.RecordStartLength <= 64);
    Check(format.RecordEndLength <= 64 && format.RequestSequenceLength <= 64);
    for (const gage::FieldSpec* spec :
         {&format.ChannelField, &format.CodeField, &format.LiteralField, &format.ValueAField,
          &format.ValueBField, &format.ReadingField}) {
        Check(spec->Defined <= 1 && (spec->Defined == 0 || spec->StartPosition >= 1));
    }

    gage::GageFormat form;
    gage::LoadGageFormatText(path, 1, 1, form);
    for (const auto& item : gage::ReadInitStrings(path, 1)) {
        Check(item.command.size() < 128);
    }
    (void)gage::ListGageFormats(path, 1);
    (void)gage::ListInterfaceTypes(path);
    return 0;
}
