#include <gtest/gtest.h>

#include <vector>

#include "channels/comm_errors.h"
#include "helpers/message_box_recorder.h"

namespace gage {
namespace {

class CommErrorsTest : public ::testing::Test {
  protected:
    CommErrorsTest() { support.UseBuiltInsOnly(true); }

    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    test::MessageBoxRecorder recorder{support, MB_RESULT_OK};
    std::vector<MessageBoxRequest>& boxes = recorder.boxes;
};

TEST_F(CommErrorsTest, LineErrorFlagsAreTestedInAFixedOrder) {
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_RXOVER | COMM_ERR_OVERRUN), 20u);  // overrun first
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_RXOVER), 15u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_RXPARITY | COMM_ERR_RXOVER), 15u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_MODE | COMM_ERR_BREAK), 9u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_BREAK | COMM_ERR_FRAME), 10u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_FRAME | COMM_ERR_OVERRUN), 13u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_RXPARITY | COMM_ERR_TXFULL), 16u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_TXFULL), 17u);
    EXPECT_EQ(CommErrorMessageId(0x40), 18u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_HARDWARE), 5u);
    EXPECT_EQ(CommErrorMessageId(COMM_ERR_BAUD_RATE), 2u);
    EXPECT_EQ(CommErrorMessageId(-7), 18u);
}

TEST_F(CommErrorsTest, TextCarriesTheCodeInDecimalAndHexAndTheExtraText) {
    EXPECT_EQ(ReportCommError(context, nullptr, 3, nullptr, MB_STYLE_OK), MB_RESULT_OK);
    recorder.answers = {MB_RESULT_RETRY};
    EXPECT_EQ(
        ReportCommError(context, nullptr, COMM_ERR_HARDWARE, "Error Reading Communication Port",
                        MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3),
        MB_RESULT_RETRY);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "COMMUNICATION ERROR");
    // An overflow with an overrun shows the overrun text.
    EXPECT_EQ(boxes[0].text, "Character lost due to overrun.\n\nError Code: 3 (3)");
    EXPECT_EQ(boxes[0].style, MB_STYLE_OK | MB_STYLE_ICONERROR);
    EXPECT_EQ(boxes[1].text,
              "The hardware is not available (is locked by another device).\n\nError Code: -10 "
              "(FFFFFFF6)\n\nError Reading Communication Port");
    EXPECT_EQ(boxes[1].style, MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3 | MB_STYLE_ICONERROR);
}

TEST_F(CommErrorsTest, TheModeSilencesEachKindOfCodeOnItsOwn) {
    EXPECT_EQ(ReportCommError(context, nullptr, 0, nullptr, 0), 0);
    EXPECT_EQ(SetCommErrorReporting(context, COMM_REPORT_OPEN_ERRORS), COMM_REPORT_ALL);
    EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_FRAME, nullptr, 0), COMM_ERR_FRAME);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_HARDWARE, nullptr, 0), MB_RESULT_OK);
    EXPECT_EQ(boxes.size(), 1u);

    SetCommErrorReporting(context, COMM_REPORT_LINE_ERRORS);
    EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_HARDWARE, nullptr, 0), COMM_ERR_HARDWARE);
    EXPECT_EQ(boxes.size(), 1u);

    {
        const ScopedCommErrorReporting quiet(context, 0);
        EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_MODE, nullptr, 0), COMM_ERR_MODE);
        EXPECT_EQ(ReportGageError(context, nullptr, GAGE_ERR_TIMEOUT, nullptr, nullptr, 0),
                  GAGE_ERR_TIMEOUT);
    }
    EXPECT_EQ(context.commErrorReporting, COMM_REPORT_LINE_ERRORS);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(CommErrorsTest, GageErrorsFrameTheMessageAndKeepTheCallersStyle) {
    recorder.answers = {MB_RESULT_YES};
    EXPECT_EQ(
        ReportGageError(context, nullptr, GAGE_ERR_NO_PORT, "Gage 7", "Port 3", MB_STYLE_YESNO),
        MB_RESULT_YES);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "GAGE ERROR");
    EXPECT_EQ(boxes[0].text,
              "Gage 7\n\nNO COMMUNICATION PORT SELECTED\r\n\r\nSelect a communication port "
              "now?\n\nPort 3");
    EXPECT_EQ(boxes[0].style, MB_STYLE_YESNO);

    ReportGageError(context, nullptr, 999, nullptr, "", MB_STYLE_OK);
    EXPECT_EQ(boxes[1].text, "AN UNDEFINED ERROR HAS OCCURED");
    ReportGageError(context, nullptr, GAGE_ERR_UNIT_NUMBER, nullptr, nullptr, MB_STYLE_OK);
    EXPECT_EQ(boxes[2].text, "UNSUPPORTED UNIT NUMBER SPECIFIED");
}

}  // namespace
}  // namespace gage
