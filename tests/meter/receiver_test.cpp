#include "meter_rig.h"

#include <gtest/gtest.h>

namespace kx::meter::test {
namespace {

using F = ProfileFlag;

// The frames a receiver decoded, in order, and what the window showed at the end.
struct Received {
    std::vector<std::string> frames;
    std::string display, maxText, minText;
    bool operator==(const Received &) const = default;
};

Received feedInBlocks(ProfileFlags flags, const Bytes &stream, std::size_t blockSize)
{
    Rig rig(flags);
    Received run;
    rig.window.onFrameStart = [&] { run.frames.push_back(rig.meter.state.LastFrame); };
    for (std::size_t at = 0; at < stream.size(); at += blockSize) {
        const Bytes block(stream.begin() + at, stream.begin() + std::min(stream.size(), at + blockSize));
        EXPECT_EQ(rig.feed(block), std::nullopt);
    }
    run.display = rig.meter.state.DisplayText;
    run.maxText = rig.window.MaxText;
    run.minText = rig.window.MinText;
    return run;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string_view kMinus1234 = "685DB1F2700040"; // -1.234 V DC AUTO
const std::string_view kPlus0567 = "07D3E7E1500040";  // digits 0 5 6 7, no point, V

struct SplitCase {
    const char *name;
    ProfileFlags flags;
    Bytes stream;
    std::vector<std::string> frames;
};

std::vector<SplitCase> splitCases()
{
    std::vector<SplitCase> cases;
    Bytes missingOne = segmentFrame(kMinus1234);
    missingOne.erase(missingOne.begin() + 5);
    cases.push_back({"segment", {F::IFKX38A},
                     join({{0x55, 0xE6}, segmentFrame(kMinus1234), missingOne, segmentFrame(kPlus0567),
                           segmentFrame(kMinus1234)}),
                     {std::string(kMinus1234), std::string(kPlus0567), std::string(kMinus1234)}});
    cases.push_back({"carriage return", {F::IFKX52B},
                     join({{0x31, 0x32, 0x0D}, carriageReturnFrame("A20123B00AD"), {0x3D, 0x8D, 0x0D},
                           carriageReturnFrame("A40000B000D"), carriageReturnFrame("A20123B00AD")}),
                     {"A20123B00AD", "A40000B000D", "A20123B00AD"}});
#if defined(KX52B_BUILD_40K)
    cases.push_back({"extended", buildProfileFlags(),
                     join({{0x33, 0x0D}, extendedFrame("123452101DA"), extendedFrame("012341400DA"),
                           extendedFrame("123452105DA")}),
                     {"123452101DA", "012341400DA", "123452105DA"}});
#endif
    return cases;
}

TEST(Receiver, SameFramesWhateverTheSplitIntoBlocks)
{
    for (const SplitCase &c : splitCases()) {
        SCOPED_TRACE(c.name);
        const Received whole = feedInBlocks(c.flags, c.stream, c.stream.size());
        EXPECT_EQ(whole.frames, c.frames);
        for (std::size_t size = 1; size < c.stream.size(); ++size)
            EXPECT_EQ(feedInBlocks(c.flags, c.stream, size), whole) << "blocks of " << size;
    }
}

TEST(Receiver, SegmentFrameEndsAtAnyHighDigitE)
{
    Rig rig({F::IFKX38A});
    Bytes positions;
    for (std::uint8_t i = 1; i <= 14; ++i)
        positions.push_back(static_cast<std::uint8_t>(i * 0x11));
    (void)rig.feed(positions);
    EXPECT_EQ(rig.meter.state.LastFrame, "123456789ABCDE");
    EXPECT_EQ(rig.window.decoderRuns, 1);

    // An early 0xE? ends the frame there; the rest is dropped with the next frame end.
    (void)rig.feed({0x11, 0x22, 0xE3, 0x44, 0xEF});
    EXPECT_EQ(rig.meter.state.LastFrame, "4F");
    EXPECT_EQ(rig.window.decoderRuns, 1);
    EXPECT_TRUE(rig.meter.state.FrameDigits.empty());
}

TEST(Receiver, CarriageReturnLineNeedsLineFeedAndCarriageReturnInPlace)
{
    const struct {
        const char *name;
        Bytes bytes;
        std::int64_t runs;
    } cases[] = {
        {"line", carriageReturnFrame("A20123B00AD"), 1},
        {"no line feed", {0x32, 0x30, 0x31, 0x32, 0x33, 0x3B, 0x30, 0x30, 0x3A, 0x0D}, 0},
        {"ten data bytes", {0x0A, 0x32, 0x30, 0x31, 0x32, 0x33, 0x3B, 0x30, 0x30, 0x3A, 0x30, 0x0D}, 0},
        {"ten data bytes, eleventh low digit D", {0x0A, 0x32, 0x30, 0x31, 0x32, 0x33, 0x3B, 0x30, 0x30, 0x3A, 0x3D, 0x0D}, 1},
        {"0x3D and 0x8D end nothing", {0x0A, 0x32, 0x8D, 0x3D, 0x0D}, 0},
    };
    for (const auto &c : cases) {
        Rig rig({F::IFKX52B});
        (void)rig.feed(c.bytes);
        EXPECT_EQ(rig.window.decoderRuns, c.runs) << c.name;
    }
}

#if defined(KX52B_BUILD_40K)
TEST(Receiver, ExtendedLineHandsNineDigitsAndEndMark)
{
    Rig rig;
    (void)rig.feed({0x0A, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x0D});
    EXPECT_EQ(rig.meter.state.LastFrame, "123456789DA");
    EXPECT_EQ(rig.window.USBtxt, "123456789DA");
    EXPECT_EQ(rig.window.decoderRuns, 1);
}
#endif

TEST(Receiver, StreamWithoutFrameEndKeepsBoundedDigitsAndRecovers)
{
    for (ProfileFlags flags : {ProfileFlags{F::IFKX38A}, ProfileFlags{F::IFKX52B}}) {
        Rig rig(flags);
        (void)rig.feed(Bytes(100000, 0x11));
        EXPECT_EQ(rig.meter.state.FrameDigits.size(), kMaxFrameDigits);
        EXPECT_EQ(rig.meter.state.FrameIndexDigits.size(), kMaxFrameDigits);
        const Bytes good = flags.has(F::IFKX38A) ? segmentFrame(kMinus1234) : carriageReturnFrame("A20123B00AD");
        EXPECT_EQ(rig.feed(join({good, good})), std::nullopt);
        EXPECT_EQ(rig.window.decoderRuns, 1);
    }
}

TEST(Receiver, FailedFrameEndsTheBlockAndReceptionResumesWithTheNextBlock)
{
    Rig rig({F::IFKX52B});
    const Bytes good = carriageReturnFrame("A20123B00AD");
    const Bytes firstHalf(good.begin(), good.begin() + 5), secondHalf(good.begin() + 5, good.end());
    EXPECT_EQ(rig.feed(join({carriageReturnFrame("A20A23B00AD"), good, firstHalf})),
              "'0A23' is not a valid integer value");
    EXPECT_EQ(rig.window.decoderRuns, 1);
    EXPECT_TRUE(rig.meter.state.FrameDigits.empty());
    // The frame cut by the discarded rest is dropped; the one after it is decoded.
    EXPECT_EQ(rig.feed(join({secondHalf, good})), std::nullopt);
    EXPECT_EQ(rig.window.decoderRuns, 2);
    EXPECT_EQ(rig.meter.state.DisplayText, "01.23");
}

TEST(Receiver, NothingToDoForEmptyOrNegativeSize)
{
    Rig rig({F::IFKX52B});
    const std::uint8_t cr = 0x0D;
    EXPECT_EQ(H52BRData(rig.meter, &cr, 0), std::nullopt);
    EXPECT_EQ(H52BRData(rig.meter, &cr, -3), std::nullopt);
    EXPECT_TRUE(rig.meter.state.LastFrame.empty());
}

} // namespace
} // namespace kx::meter::test
