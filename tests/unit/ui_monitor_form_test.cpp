// The monitor's byte rendering (dialog and terminal), its send line and the picker's rows.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/support.h"
#include "ui/forms/ascii_picker_form.h"
#include "ui/forms/monitor_text.h"
#include "ui/forms/serial_monitor_form.h"

namespace gage {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(MonitorText, OneTickShowsEveryByteInHexAndTheTextUpToAZeroByte) {
    struct Case {
        std::string received;
        std::string hex;
        std::string raw;
    };
    const Case cases[] = {
        {"Hello\r\n", "48 65 6C 6C 6F 0D 0A ", "Hello\r\n"},
        {std::string("AB\0CD", 5), "41 42 00 43 44 ", "AB"},
        {"\xff\x80", "FF 80 ", "\xff\x80"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = Bytes(c.received);
        const MonitorTickText shown = RenderMonitorTick(bytes);
        EXPECT_EQ(shown.hex, c.hex) << c.hex;
        EXPECT_EQ(shown.raw, c.raw) << c.hex;
    }
}

TEST(MonitorText, LargeTickIsShownWholeAndInOrder) {
    std::vector<std::uint8_t> bytes(100 * 1024);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>('A' + i % 26);
    }
    const MonitorTickText shown = RenderMonitorTick(bytes);
    EXPECT_EQ(shown.raw, std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(shown.hex.size(), bytes.size() * 3);
    EXPECT_EQ(shown.hex.substr(shown.hex.size() - 3), "4C ");  // the last byte, 'L'
}

TEST(MonitorText, TerminalBreaksHexLinesAndShowsControlBytesAsTokens) {
    ByteRenderer hex(MonitorView::Hex);
    const std::vector<std::uint8_t> seventeen(17, 0x41);
    std::string line;
    for (int i = 0; i < 16; ++i) {
        line += "41 ";
    }
    EXPECT_EQ(hex.Render(seventeen), line + "\n41 ");
    EXPECT_EQ(hex.Finish(), "\n");
    ByteRenderer raw(MonitorView::Raw);
    EXPECT_EQ(raw.Render(Bytes(std::string("a\x1b\0\r\n", 5))), "a<27><0>\r\n");
    EXPECT_EQ(raw.Finish(), "");
}

TEST(MonitorSendLine, TokensAreAppendedToWhatCountsOfTheLine) {
    EXPECT_EQ(AppendToken("ABC", kCarriageReturnToken), "ABC<13>");
    EXPECT_EQ(AppendToken("", kLineFeedToken), "<10>");
    const std::string longLine(2000, 'x');
    EXPECT_EQ(AppendToken(longLine, "<13>"), std::string(kSendLineRoom, 'x') + "<13>");
}

TEST(AsciiPicker, RowsNameEveryByteValueAndCutTheLineAt127) {
    Support support;
    support.UseBuiltInsOnly(true);
    const std::vector<std::string> rows = AsciiPickerRows(support);
    ASSERT_EQ(rows.size(), 256u);
    EXPECT_EQ(rows[0], "<0>\tNUL");
    EXPECT_EQ(rows[13], "<13>\tCR");
    EXPECT_EQ(rows[32], "<32>\t(space)");
    EXPECT_EQ(rows[65], "<65>\tA");
    EXPECT_EQ(rows[126], "<126>\t~");
    EXPECT_EQ(rows[127], "<127>\t(undefined)");
    EXPECT_EQ(rows[255], "<255>\t(undefined)");
    EXPECT_EQ(RowToken(rows[13]), "<13>");

    const std::string line(200, 'q');
    EXPECT_EQ(PickerStartLine(line), line.substr(0, 127));
    EXPECT_EQ(PickerStartLine("short"), "short");
    EXPECT_FALSE(PickerResult("").has_value());
    EXPECT_EQ(PickerResult("<2>"), "<2>");
}

}  // namespace
}  // namespace gage
