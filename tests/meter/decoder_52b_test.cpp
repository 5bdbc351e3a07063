#include "meter_rig.h"

#include <gtest/gtest.h>

namespace kx::meter::test {
namespace {

using F = ProfileFlag;

const ProfileFlags kPlain{F::IF2485};
constexpr std::int32_t kFull = KX52B_FULL_SCALE_4;
constexpr std::int32_t kGaugeZero = 400;

struct Case {
    std::string frame;
    ProfileFlags flags;
    Reading reading;
    std::string digitsShown; // LcdDa to LcdDd: the letter when shown, "_" when hidden
    Handed handed = {};
};

std::string digitsShown(const LcdModel &lcd)
{
    std::string text;
    const char letters[] = "abcd";
    int i = 0;
    for (LcdElement e : {LcdElement::LcdDa, LcdElement::LcdDb, LcdElement::LcdDc, LcdElement::LcdDd})
        text += lcd.shown(e) ? letters[i++] : (++i, '_');
    return text;
}

TEST(CarriageReturnDecoder, DecodesFunctionsRangesAndModifiers)
{
    const std::vector<std::string> rs{"LCD232C", "LCDRS"};
    const auto with = [&](std::vector<std::string> names) {
        names.insert(names.end(), rs.begin(), rs.end());
        return names;
    };
    const Case cases[] = {
        {"A20123B00AD", kPlain, "01.23", 123, "V", "DC", "AUTO", with({"LcdP2", "LcdV", "LcdDc1", "LcdAuto"}), "_bcd",
         12 + kGaugeZero, 1, 123},
        {"A40000B000D", kPlain, "0000", 0, "V", "", "MANU", with({"LcdV"}), "___d", kGaugeZero, 1, 0},
        {"A00012B000D", kPlain, "001.2", 12, "mV", "", "MANU", with({"LcdP3", "LcdV", "Lcdm"}), "__cd"},
        {"A10123B000D", kPlain, "0.123", 123, "V", "", "MANU", with({"LcdP1", "LcdV"}), "abcd"},
        {"A20000B100D", kPlain, "0.L", kFull + 1, "V", "", "MANU", with({"LcdP2", "LcdV"}), "_bc_", 800, 40, kFull},
        {"A20000B500D", kPlain, "-0.L", -(kFull + 1), "V", "", "MANU", with({"LcdFH", "LcdP2", "LcdV"}), "_bc_", 0,
         40, -kFull},
        {"A000001100D", kPlain, ".0L", kFull + 1, ")", "", "MANU", with({"LCDDI", "LcdP1", "LcdV"}), "_bc_", 800, 25,
         kFull},
        {"A01234B010D", kPlain, "1.234", 1234, "kHz", "", "MANU", with({"LCDHz", "LCDk", "LcdP1"}), "abcd",
         123 + kGaugeZero, 12, 1234},
        {"A01234B410D", kPlain, "-123.4", -1234, "mV", "", "MANU", with({"LcdFH", "LcdP3", "LcdV", "Lcdm"}), "abcd",
         -123 + kGaugeZero, 12, -1234},
        {"A012342000D", kPlain, "1234", 1234, "Hz", "", "MANU", with({"LCDHz"}), "abcd"},
        {"A012342000D", {F::IFKX52B}, "1.234", 1234, "kHz", "", "MANU", with({"LCDHz", "LCDk", "LcdP1"}), "abcd"},
        {"A112342800D", kPlain, "123.4", 1234, "kRPM", "", "MANU", with({"LCDk", "LcdP3", "LcdRPM"}), "abcd"},
        {"A112342800D", {F::IF2485, F::IF6270x}, "12.34", 1234, "kHz", "", "MANU", with({"LCDHz", "LCDk", "LcdP2"}),
         "abcd"},
        {"A002354800D", kPlain, "0235", 235, "#", "", "MANU", with({"LCDCS"}), "_bcd"},
        {"A002354000D", kPlain, "0235", 235, "?", "", "MANU", with({"LCDFS"}), "_bcd"},
        {"A005671000D", kPlain, "0.567", 567, ")", "", "MANU", with({"LCDDI", "LcdP1", "LcdV"}), "abcd"},
        {"A005671000D", {F::IF2485, F::IF6270x}, "0.56", 56, ")V", "", "MANU", with({"LCDDI", "LcdP1", "LcdV"}),
         "abcd", 56 + kGaugeZero, 5, 56},
        {"A001255000D", {F::IFKX38D}, "012.5", 125, "&*", "", "MANU", with({"LCDFm", "LCDohm", "LcdP3"}), "_bcd"},
        {"A001255000D", {F::IF2485, F::IF6270x}, "012", 12, "&*", "", "MANU", with({"LCDFm", "LCDohm"}), "_bcd"},
        {"A20123B00CD", kPlain, "01.23", 123, "V", "DC", "MANU", with({"LcdAC", "LcdDc1", "LcdP2", "LcdV"}), "_bcd"},
        {"A20123B00CD", {F::IFKX964}, "01.23", 123, "V", "DC", "MANU",
         {"LCDTRMS", "LCDTRMST", "LcdACDC", "LcdDc1", "LcdP2", "LcdV"}, "_bcd"},
        {"A20123B003D", kPlain, "01.23", 123, "V", "", "AUTO", {"LcdAuto", "LcdP2", "LcdV"}, "_bcd"},
        {"A312346000D", kPlain, "1.234", 1234, "uF", "", "MANU", with({"LCDF", "LCDu", "LcdP1"}), "abcd"},
        {"A412343000D", kPlain, "1.234", 1234, "M*", "", "MANU", with({"LCDM1", "LCDohm", "LcdP1"}), "abcd"},
        {"A012349000D", kPlain, "12.34", 1234, "mA", "", "MANU", with({"LCDA", "Lcdm", "LcdP2"}), "abcd"},
        {"A012349000D", {F::IF2485, F::IF6270x}, "12.34", 1234, "A", "", "MANU", with({"LCDA", "LcdP2"}), "abcd"},
        {"A01234F000D", {F::IF2485, F::IF6270x}, "12.34", 1234, "mA", "", "MANU", with({"LCDA", "Lcdm", "LcdP2"}),
         "abcd"},
        {"A31234D000D", kPlain, "1234", 1234, "uA", "", "MANU", with({"LCDA", "LCDu"}), "abcd"},
        {"A012347000D", kPlain, "1234", 1234, "", "", "MANU", rs, "abcd"},
        {"AA02354800D", kPlain, "0235", 235, "#", "", "MANU", with({"LCDCS"}), "_bcd"},
        {"A20123B00BD", kPlain, "01.23", 123, "V", "DC", "AUTO", {"LcdAuto", "LcdDc1", "LcdP2", "LcdV"}, "_bcd"},
        {"A20123B60AD", kPlain, "-01.23", -123, "V", "DC", "AUTO", with({"LCDBATT", "LcdAuto", "LcdDc1", "LcdFH", "LcdP2", "LcdV"}),
         "_bcd"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.frame + (c.flags.has(F::IF6270x) ? " 6270x" : "") + (c.flags.has(F::IFKX964) ? " KX964" : "")
                     + (c.flags.has(F::IFKX52B) ? " KX52B" : "") + (c.flags.has(F::IFKX38D) ? " KX38D" : ""));
        Rig rig(c.flags);
        EXPECT_EQ(rig.feed(carriageReturnFrame(c.frame)), std::nullopt);
        EXPECT_EQ(rig.meter.state.LastFrame, c.frame);
        EXPECT_EQ(rig.window.Memo1.line(rig.window.Memo1.size() - 1), c.frame);
        expectReading(rig, c.reading);
        EXPECT_EQ(digitsShown(rig.meter.lcd), c.digitsShown);
        expectHanded(rig.window, c.handed);
    }
}

TEST(CarriageReturnDecoder, DiodeOn6270xBlanksTheLastDigitCaption)
{
    Rig rig({F::IF2485, F::IF6270x});
    (void)rig.feed(carriageReturnFrame("A005671000D"));
    EXPECT_EQ(captions(rig.meter.lcd).substr(captions(rig.meter.lcd).size() - 4), "056_");
}

TEST(CarriageReturnDecoder, RangeDigitIsConvertedOnlyWhereTheFunctionReadsIt)
{
    const struct {
        std::string frame;
        Failure error;
    } cases[] = {
        {"AA0123B00AD", "'A' is not a valid integer value"},   // voltage reads the range
        {"AA02354800D", std::nullopt},                          // temperature does not,
        {"AA01234010D", "'A' is not a valid integer value"},   // but the frequency override does
    };
    for (const auto &c : cases) {
        Rig rig(kPlain);
        EXPECT_EQ(rig.feed(carriageReturnFrame(c.frame)), c.error) << c.frame;
    }
}

} // namespace
} // namespace kx::meter::test

namespace kx::meter::test {
namespace {

TEST(CarriageReturnDecoder, FrameLogKeepsTheLatestLinesOldestFirst)
{
    Rig rig(kPlain);
    const std::size_t total = FrameMemo::kLines + 5;
    for (std::size_t i = 0; i < total; ++i)
        (void)rig.feed(carriageReturnFrame("A4" + std::to_string(1000 + i) + "B000D"));
    const FrameMemo &memo = rig.window.Memo1;
    ASSERT_EQ(memo.size(), FrameMemo::kLines);
    EXPECT_EQ(memo.line(0), "A41005B000D");
    EXPECT_EQ(memo.line(memo.size() - 1), "A4" + std::to_string(1000 + total - 1) + "B000D");
}

} // namespace
} // namespace kx::meter::test
