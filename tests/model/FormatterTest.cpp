#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/ParameterConverter.h"
#include "model/ParameterFormatter.h"

namespace {

ParameterValue bytes(std::string text)
{
    return ParameterValue(std::move(text));
}

std::string formatted(const ParameterFormatter& formatter, const ParameterValue& value)
{
    std::ostringstream out;
    EXPECT_TRUE(formatter.format(out, value));
    return out.str();
}

std::shared_ptr<EnumeratedFormatter> inputs()
{
    auto formatter = std::make_shared<EnumeratedFormatter>("Input");
    formatter->add(ParameterValue(0), "AES");
    formatter->add(ParameterValue(5), "Optical");
    formatter->add(ParameterValue(-1), "None");
    return formatter;
}

} // namespace

TEST(Formatter, FormatsValuesAsThePartsPrescribe)
{
    struct Case {
        std::shared_ptr<ParameterFormatter> formatter;
        ParameterValue value;
        std::string text;
    };
    auto time = std::make_shared<TimeFormatter>("Time", 1);
    auto halfSeconds = std::make_shared<TimeFormatter>("Time", 2);
    auto gain = std::make_shared<FractionFormatter>("Gain", "", 10, 192, 2);
    auto trim = std::make_shared<FractionFormatter>("Trim", "dB", 10, 260, 10);
    auto level = std::make_shared<FractionFormatter>("Level", "dB", 1, 31, 1);
    auto hundredths = std::make_shared<FractionFormatter>("Delay", "ms", 100, 0, 1);
    auto high = std::make_shared<BCDFormatter>("Hours", 1);
    auto low = std::make_shared<BCDFormatter>("Minutes", 0);
    auto name = std::make_shared<StringFormatter>("Name");
    const std::vector<Case> cases = {
        {inputs(), ParameterValue(5), "Optical"},
        {inputs(), bytes("\x05"), "Optical"}, // one byte: the label of 5
        {inputs(), ParameterValue(0xFFFF), "None"},
        {inputs(), ParameterValue(7), "7"},
        {inputs(), ParameterValue(-2), "-2"},
        {high, ParameterValue(0x2359), "23"},
        {low, ParameterValue(0x2359), "59"},
        {low, ParameterValue(5), "05"},
        {low, ParameterValue(0x1F), "25"}, // a nibble above 9 counts in full
        {time, ParameterValue(0), "00:00:00"},
        {time, ParameterValue(3725), "01:02:05"},
        {time, ParameterValue(65535), "18:12:15"},
        {halfSeconds, ParameterValue(7450), "01:02:05"},
        {gain, ParameterValue(212), "+10.0"},
        {gain, ParameterValue(193), "+0.5"},
        {gain, ParameterValue(192), "0 "},
        {gain, ParameterValue(191), "-0.5"},
        {gain, ParameterValue(2), "-95.0"},
        {trim, ParameterValue(245), "-1.5"},
        {trim, ParameterValue(260), "0 dB"},
        {level, ParameterValue(0), "-31"},
        {level, ParameterValue(37), "+6"},
        {level, ParameterValue(-1), "+65504"}, // read unsigned: 65535 - 31
        {hundredths, ParameterValue(5), "+5.00"},
        {name, bytes("Studio"), "Studio"},
        {name, bytes(std::string("Stu\0dio", 7)), "Stu"},
        {name, bytes(""), ""},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(formatted(*cases[i].formatter, cases[i].value), cases[i].text);
    }
}

TEST(Formatter, RelabellingReplacesTheLabelWhateverTheByteLength)
{
    EnumeratedFormatter formatter("Mode");
    formatter.add(ParameterValue(1), "On");
    formatter.add(bytes("\x01"), "Enabled");
    EXPECT_EQ(formatter.labels().size(), 1u);
    EXPECT_EQ(formatted(formatter, ParameterValue(1)), "Enabled");
}

TEST(Formatter, WriteNameStopsAtZeroAndReportsAFailedStream)
{
    StringFormatter formatter(std::string("Unit\0Name", 9));
    std::ostringstream out;
    EXPECT_TRUE(formatter.writeName(out));
    EXPECT_EQ(out.str(), "Unit");

    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_FALSE(formatter.writeName(broken));
    EXPECT_FALSE(formatter.format(broken, bytes("x")));
    EXPECT_FALSE(inputs()->format(broken, ParameterValue(0)));
    // These two report success whatever the stream says.
    EXPECT_TRUE(TimeFormatter("T", 1).format(broken, ParameterValue(1)));
    EXPECT_TRUE(FractionFormatter("F", "", 1, 0, 1).format(broken, ParameterValue(1)));
}

TEST(Formatter, DegenerateArgumentsDoNotDivideByZero)
{
    EXPECT_EQ(formatted(TimeFormatter("T", 0), ParameterValue(61)), "00:01:01");
    EXPECT_EQ(formatted(FractionFormatter("F", "", 10, 0, 0), ParameterValue(3)), "+3.0");
    EXPECT_EQ(formatted(FractionFormatter("F", "x", 0, 0, 1), ParameterValue(3)), "0 x");
    EXPECT_EQ(formatted(BCDFormatter("B", 7), ParameterValue(0x1234)), "00");
    EXPECT_EQ(FractionFormatter("F", "", 999, 0, 1).decimals(), 2);
    EXPECT_EQ(FractionFormatter("F", "", 1000, 0, 1).decimals(), 3);
}

TEST(Converter, ValueToText)
{
    struct Case {
        FractionParameterConverter converter;
        ParameterValue value;
        std::string text;
    };
    const FractionParameterConverter eighths(160, 8, 3, true);
    const FractionParameterConverter tenths(260, 10, 1, true);
    const FractionParameterConverter whole(3, 1, 0, true);
    const FractionParameterConverter unsignedWhole(-1, 1, 0, false);
    const FractionParameterConverter plain(0, 1, 0, false);
    const std::vector<Case> cases = {
        {eighths, ParameterValue(161), "+0.125"},
        {eighths, ParameterValue(159), "-0.125"},
        {eighths, ParameterValue(160), "0"},
        {eighths, ParameterValue(0), "-20.000"},
        {tenths, ParameterValue(245), "-1.5"},
        {tenths, ParameterValue(260), "0"},
        {whole, ParameterValue(5), "+2"},
        {whole, ParameterValue(3), "0"},
        {unsignedWhole, ParameterValue(4), "5"},
        {unsignedWhole, ParameterValue(-1), "0"},
        {plain, ParameterValue(-1), "-1"}, // read signed, unlike the fraction formatter
        {FractionParameterConverter(0, 3, 0, false), ParameterValue(1), "0"},   // 0.33 rounds to 0
        {FractionParameterConverter(0, 2, 0, false), ParameterValue(1), "1"},   // 0.5 rounds away
        {FractionParameterConverter(0, 2, 0, false), ParameterValue(-1), "-1"}, // -0.5 rounds away
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        std::string text = "previous";
        cases[i].converter.toText(text, cases[i].value);
        EXPECT_EQ(text, cases[i].text);
    }
}

TEST(Converter, TextToValueAndRefusals)
{
    struct Case {
        FractionParameterConverter converter;
        std::string text;
        bool accepted;
        int value; // when accepted
    };
    const FractionParameterConverter eighths(160, 8, 3, true);
    const FractionParameterConverter tenths(260, 10, 1, true);
    const FractionParameterConverter whole(3, 1, 0, true);
    const FractionParameterConverter unsignedWhole(-1, 1, 0, false);
    const FractionParameterConverter plain(0, 1, 0, false);
    const std::vector<Case> cases = {
        {eighths, "0.125", true, 161},
        {eighths, "-1", true, 152},
        {eighths, "0.0625", true, 161},  // halves away from zero
        {eighths, "-0.0625", true, 159}, // halves away from zero
        {tenths, "-1.5", true, 245},
        {tenths, "+1.5", true, 275},   // a leading plus reads like none
        {tenths, "  12dB", true, 380}, // blanks skipped, trailing units ignored
        {tenths, "12 dB", true, 380},
        {whole, "2", true, 5},
        {unsignedWhole, "5", true, 4},
        {plain,
         std::string("7\0"
                     "9",
                     3),
         true, 7}, // reading stops at the zero byte
        {plain, "32767", true, 32767},
        {plain, "-32768", true, -32768},
        // refused: nothing readable
        {tenths, "dB12", false, 0},
        {tenths, "", false, 0},
        {tenths, "   ", false, 0},
        {tenths, "-", false, 0},
        {plain,
         std::string("\0"
                     "7",
                     2),
         false, 0},
        // refused: not finite or outside 16 bits once the offset is added
        {eighths, "8192", false, 0},      // 160 + 65536 must not wrap round to 160
        {eighths, "4076", false, 0},      // 160 + 32608 = 32768
        {eighths, "-4116", true, -32768}, // 160 - 32928, the lowest value
        {eighths, "-4117", false, 0},     // 160 - 32936
        {plain, "32768", false, 0},
        {plain, "-32769", false, 0},
        {plain, "1e39", false, 0},
        {plain, "1e30", false, 0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        ParameterValue value(std::string("kept"));
        EXPECT_EQ(cases[i].converter.toValue(value, cases[i].text), cases[i].accepted);
        if (cases[i].accepted)
            EXPECT_EQ(value, ParameterValue(cases[i].value));
        else
            EXPECT_EQ(value, ParameterValue(std::string("kept")));
    }
}

TEST(Converter, StringsKeepEveryByte)
{
    const StringParameterConverter converter;
    const std::string withZero("ab\0cd", 5);
    ParameterValue value;
    EXPECT_TRUE(converter.toValue(value, withZero));
    EXPECT_EQ(value.toString(), withZero);
    std::string text;
    converter.toText(text, value);
    EXPECT_EQ(text, withZero);
    EXPECT_TRUE(converter.toValue(value, ""));
    EXPECT_EQ(value.size(), 0u);
}
