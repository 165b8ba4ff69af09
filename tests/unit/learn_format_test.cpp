// The learner of gagesrv learn: record shapes it must find, each format saved through the
// ordinary saver, loaded again and read through the record parser; traffic it must refuse.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "config/byte_string.h"
#include "config/gage_format_file.h"
#include "config/profile.h"
#include "gagesrv/learn/format_learner.h"
#include "helpers/temporary_directory.h"
#include "reading/record_parser.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

struct ShapeCase {
    const char* name;
    std::string traffic;
    // What the saver writes for record start, end and separator, and the keys VALUE1, CHANNEL
    // and LITERAL; an empty text: the key is not written.
    std::array<std::string, 6> keys;
    std::vector<double> values;  // every complete record's value, in order
    std::vector<int> channels;   // empty: no channel field
};

std::string BigEndian32(std::int32_t value) {
    const auto word = static_cast<std::uint32_t>(value);
    return {static_cast<char>(word >> 24), static_cast<char>(word >> 16),
            static_cast<char>(word >> 8), static_cast<char>(word)};
}

std::vector<ShapeCase> Cases() {
    std::string binary = "\x05";  // the tail of a record cut off by the start of the capture
    for (const std::int32_t count : {1500, 1600, 2250, 1500, 1720, 70000}) {
        binary += "\x02" + BigEndian32(count);
    }
    return {
        {"multiplexer with channel, value and status",
         "01,+12.3456,NRM\r\n02,-0.5000,NRM\r\n03,+7.1000,NRM\r\n"
         "01,+12.3500,NRM\r\n02,-0.4000,NRM\r\n03,+7.2000,NRM\r\n",
         {"", "<13><10>", ",", "2,1,0", "1,1,0", "3,1,0,EQ(\"NRM\")"},
         {12.3456, -0.5, 7.1, 12.35, -0.4, 7.2},
         {1, 2, 3, 1, 2, 3}},
        {"fixed columns with a sign, STX and CR",
         "\x02+0012.345 MM\r\x02-0003.100 MM\r\x02+0000.250 MM\r\x02-0100.000 MM\r",
         {"<2>", "<13>", "", "1,1,9", "", "1,11,0,EQ(\"MM\")"},
         {12.345, -3.1, 0.25, -100.0},
         {}},
        {"plain value with CR LF",
         "12.5\r\n13.25\r\n9.125\r\n12.5\r\n",
         {"", "<13><10>", "", "1,1,0", "", ""},
         {12.5, 13.25, 9.125, 12.5},
         {}},
        {"decimal comma between semicolons",
         "G;12,50\r\nG;12,75\r\nG;11,05\r\n",
         {"", "<13><10>", ";", "2,1,0", "", "1,1,0,EQ(\"G\")"},
         {12.5, 12.75, 11.05},
         {}},
        {"binary record of fixed length",
         binary,
         {"<2>", "", "", "1,1,4", "", ""},
         {1500, 1600, 2250, 1500, 1720, 70000},
         {}},
    };
}

class LearnFormatTest : public ::testing::Test {
  protected:
    testing_support::EngineFixture engine;
    test::TemporaryDirectory files{"learn-"};
};

TEST_F(LearnFormatTest, LearnedFormatsReadTheirRecordsBackThroughTheSaverAndTheParser) {
    for (const ShapeCase& shape : Cases()) {
        SCOPED_TRACE(shape.name);
        const learn::LearnOutcome outcome = learn::LearnFormat(shape.traffic, {}, engine.context);
        ASSERT_EQ(outcome.refusal, learn::Refusal::None);
        EXPECT_EQ(outcome.check.explained, static_cast<int>(shape.values.size()));
        EXPECT_GE(outcome.check.confidence, 60);

        const std::string definitions = files.File("BRW_GAGE.DEF");
        GageFormat editingForm;
        editingForm.Options = outcome.proposal.options;
        ASSERT_EQ(SaveGageFormat(definitions, 1, 1, outcome.proposal.format, editingForm),
                  FormatSaveResult::Saved);
        GageFormat text;
        LoadGageFormatText(definitions, 1, 1, text);
        const auto key = [&](const char* name) {
            return profile::GetString(definitions, "TYPE1.1", name, {}, 128);
        };
        const auto bytes = [](const ByteString& b) { return std::string(ByteStringText(b)); };
        const std::array<std::string, 6> saved = {bytes(text.RecordStart), bytes(text.RecordEnd),
                                                  bytes(text.Separator),   key("VALUE1"),
                                                  key("CHANNEL"),          key("LITERAL")};
        EXPECT_EQ(saved, shape.keys);

        GageRecord gage = testing_support::OneValueGage("Learned");
        gage.Format = ReadGageFormat(definitions, 1, 1);
        AllocateReceiveBuffer(engine.connections[0]);
        const int length = std::atoi(key("RECLENGTH").c_str());
        std::size_t from = length > 0 ? shape.traffic.size() % static_cast<std::size_t>(length) : 0;
        for (std::size_t r = 0; r < shape.values.size(); ++r) {
            // A record framed by length stays in the buffer: each is read on its own, as the
            // format's clear options have the read cycle do.
            if (length > 0) {
                EmptyReceiveBuffer(engine.connections[0]);
                engine.Hold(0, shape.traffic.substr(from, static_cast<std::size_t>(length)));
                from += static_cast<std::size_t>(length);
            } else if (r == 0) {
                engine.Hold(0, shape.traffic);
            }
            ReadingResult result{};
            ParseOutput output{result};
            ASSERT_EQ(ParseRecord(engine.context, nullptr, gage, output, 0), 1) << "record " << r;
            EXPECT_DOUBLE_EQ(ValueOf(result), shape.values[r]) << "record " << r;
            if (!shape.channels.empty()) {
                EXPECT_EQ(result.Channel, shape.channels[r]);
            }
        }
    }
}

TEST_F(LearnFormatTest, NoiseAndMixedRecordsAreRefused) {
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 400; ++i) {
        noise += static_cast<char>(random() & 0xFF);
    }
    const std::tuple<const char*, std::string, learn::Refusal> cases[] = {
        {"nothing", "", learn::Refusal::NoRecords},
        {"text without a line end", "12.5 13.5 14.5", learn::Refusal::NoRecords},
        {"random bytes", noise, learn::Refusal::NoSharedShape},
        {"records of different make-up", "12.5\r\nOK 1 2\r\nABC\r\n7,5;1\r\n",
         learn::Refusal::NoSharedShape},
    };
    for (const auto& [name, traffic, refusal] : cases) {
        EXPECT_EQ(learn::LearnFormat(traffic, {}, engine.context).refusal, refusal) << name;
    }
}

}  // namespace
}  // namespace gage
