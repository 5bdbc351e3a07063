#include "tools/sim/frames.h"

#include <gtest/gtest.h>

namespace kx::sim {
namespace {

std::string lowDigits(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (unsigned char b : bytes)
        digits += kHex[b & 15];
    return digits;
}

TEST(SimFrames, SegmentSweepEncodesTheMetersOwnFrame)
{
    // Minus, 1.234, DC, AUTO, V: the frame a 4000-count meter sends for -1.234 V DC.
    const std::string expected = "\x16\x28\x35\x4D\x5B\x61\x7F\x82\x97\xA0\xB0\xC0\xD4\xE0";
    bool found = false;
    for (const Frame &f : builtInScenario(Family::Segment))
        if (f.displayText == "-1.234" && f.unitText == "V") {
            EXPECT_EQ(f.bytes, expected);
            EXPECT_EQ(f.lastFrame, "685DB1F2700040");
            found = true;
        }
    EXPECT_TRUE(found);
}

TEST(SimFrames, EveryScenarioFrameIsWellFormedForItsReceiver)
{
    for (const Frame &f : builtInScenario(Family::Segment)) {
        SCOPED_TRACE(f.displayText + " " + f.unitText);
        ASSERT_EQ(f.bytes.size(), 14u);
        for (std::size_t i = 0; i < 14; ++i)
            EXPECT_EQ(static_cast<unsigned char>(f.bytes[i]) >> 4, i + 1);
        EXPECT_EQ(f.lastFrame, lowDigits(f.bytes));
    }
    for (Family family : {Family::Line, Family::FiveDigit}) {
        for (const Frame &f : builtInScenario(family)) {
            SCOPED_TRACE(f.lastFrame);
            ASSERT_EQ(f.bytes.size(), 11u);
            EXPECT_TRUE(f.bytes.ends_with("\r\n"));
            EXPECT_EQ(f.bytes.find('\r'), 9u) << "only the line end may be a carriage return";
            const std::string data = lowDigits(f.bytes.substr(0, 9));
            EXPECT_EQ(f.lastFrame, family == Family::Line ? "A" + data + "D" : data + "DA");
            EXPECT_FALSE(f.displayText.empty());
        }
    }
}

TEST(SimFrames, FramesFromDigitTexts)
{
    const struct {
        Family family;
        const char *digits;
        const char *bytes;   // nullptr: rejected
        const char *lastFrame;
    } cases[] = {
        {Family::FiveDigit, "123452101DA", "123452101\r\n", "123452101DA"},
        {Family::FiveDigit, "a00003105", ":00003105\r\n", "A00003105DA"},
        {Family::Line, "A20123B00AD", "20123;00:\r\n", "A20123B00AD"},
        {Family::Line, "20000B500", "20000;500\r\n", "A20000B500D"},
        {Family::Segment, "123456789ABCDE", "\x11\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB\xCC\xDD\xEE",
         "123456789ABCDE"},
        {Family::Segment, "123456789ABCD", nullptr, nullptr},
        {Family::Line, "B20123B00AD", nullptr, nullptr},
        {Family::FiveDigit, "12345210G", nullptr, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.digits);
        const auto frame = frameFromDigits(c.family, c.digits);
        if (!c.bytes) {
            EXPECT_EQ(frame, std::nullopt);
            continue;
        }
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->bytes, c.bytes);
        EXPECT_EQ(frame->lastFrame, c.lastFrame);
    }
}

} // namespace
} // namespace kx::sim
