#include "meter/profile.h"
#include "meter/range.h"
#include "meter/reading_state.h"
#include "meter/startup.h"

#include <gtest/gtest.h>

namespace kx::meter {
namespace {

using F = ProfileFlag;

struct ProfileCase {
    ProfileFlags flags;
    Receiver receiver;
    std::optional<std::string_view> title;
    bool speed19200;
    RangeCode range;
};

#if defined(KX52B_BUILD_40K)
constexpr Receiver kRv210Receiver = Receiver::H53ARData;
constexpr std::string_view kRv210Title = "rv410/450 Interface Program _Ver: 0.01";
#else
constexpr Receiver kRv210Receiver = Receiver::H38BRData;
constexpr std::string_view kRv210Title = "rv210/230 Interface Program _Ver: 2.01";
#endif

TEST(Profile, EvaluatesRowsInOrderWithoutUndoingSpeedOrRange)
{
    const ProfileCase cases[] = {
        {buildProfileFlags(), kRv210Receiver, kRv210Title, false, RangeCode::Range4},
        {{}, Receiver::None, std::nullopt, false, RangeCode::Range4},
        {{F::IF6270x}, Receiver::None, std::nullopt, false, RangeCode::Range4},
        {{F::IFKX38G}, Receiver::H52BRData, "LP2204 Interface Program _Ver: 1.00", true, RangeCode::Range6},
        {{F::IFKX38D}, Receiver::H52BRData, "KX38D Interface Program _Ver: 2.05", false, RangeCode::Range34},
        {{F::IFKX38F}, Receiver::H52BRData, "KX38F Interface Program _Ver: 1.01", true, RangeCode::Range4},
        {{F::IFKX38G, F::IFOther}, Receiver::H38BRData, "LP2209 Interface Program _Ver: 1.00", true, RangeCode::Range6},
        {{F::IFKX38D, F::IFKX964}, Receiver::H52BRData, "KX964 Interface Program _Ver: 1.00", true, RangeCode::Range6},
        {{F::IFKX38A, F::IFKX52B}, Receiver::H52BRData, "KX52B Interface Program _Ver: 3.04", false, RangeCode::Range4},
        {{F::IFRV210, F::IF7319}, Receiver::H38BRData, "Norvane 7319 Interface Program _Ver: 1.00", false, RangeCode::Range4},
    };
    for (const ProfileCase &c : cases) {
        const Profile p = evaluateProfile(c.flags);
        SCOPED_TRACE(c.title.value_or("(no title)"));
        EXPECT_EQ(p.receiver, c.receiver);
        EXPECT_EQ(p.title, c.title);
        EXPECT_EQ(p.speed19200, c.speed19200);
        EXPECT_EQ(p.range, c.range);
    }
}

TEST(Profile, FlagNamesRoundTripAndUnknownNamesAreRefused)
{
    for (std::size_t i = 0; i < kProfileFlagCount; ++i) {
        const auto flag = static_cast<ProfileFlag>(i);
        EXPECT_EQ(profileFlagNamed(profileFlagName(flag)), flag) << profileFlagName(flag);
    }
    EXPECT_EQ(profileFlagNamed("IFKX38Z"), std::nullopt);
    EXPECT_EQ(profileFlagNamed("ifkx38d"), std::nullopt);
}

TEST(Range, LoadsConstantsLimitsAndTexts)
{
    struct Case {
        RangeCode code;
        std::int32_t fullScale, gaugeZero, barFull, gaugeSpan;
        std::optional<std::string_view> setmax, minText;
    } const cases[] = {
        {RangeCode::Range4, KX52B_FULL_SCALE_4, 400, 40, 80, std::nullopt, std::nullopt},
        {RangeCode::Range6, 6000, 600, 60, 120, "6000", "6001"},
        {RangeCode::Range34, 3400, 340, 34, 68, "3400", "3401"},
    };
    for (const Case &c : cases) {
        ReadingState s;
        const std::optional<LimitTexts> texts = loadRange(s, c.code);
        SCOPED_TRACE(rangeCodeText(c.code));
        EXPECT_EQ(s.FullScale, c.fullScale);
        EXPECT_EQ(s.GaugeZero, c.gaugeZero);
        EXPECT_EQ(s.BarFull, c.barFull);
        EXPECT_EQ(s.GaugeSpan, c.gaugeSpan);
        EXPECT_EQ(s.MaxLimit, c.fullScale + 2);
        EXPECT_EQ(s.MinLimit, -(c.fullScale + 2));
        EXPECT_EQ(s.MaxReading, -(c.fullScale + 1));
        EXPECT_EQ(s.MinReading, c.fullScale + 1);
        ASSERT_EQ(texts.has_value(), c.setmax.has_value());
        if (texts) {
            EXPECT_EQ(texts->Setmax, *c.setmax);
            EXPECT_EQ(texts->SetMin, std::string("-").append(*c.setmax));
            EXPECT_EQ(texts->MinText, *c.minText);
            EXPECT_EQ(texts->MaxText, std::string("-").append(*c.minText));
        }
    }
}

TEST(Range, StateStartsWithTheBuildsRangeAndAUnitThatNeverMatches)
{
    const ReadingState s;
    EXPECT_EQ(s.FullScale, KX52B_FULL_SCALE_4);
    EXPECT_EQ(s.MaxLimit, KX52B_FULL_SCALE_4 + 2);
    EXPECT_EQ(s.LastUnitText, "113");
    EXPECT_EQ(s.ChartLive, 1);
    EXPECT_FALSE(s.FrequencyMode);
}

TEST(Limit, EmptyOrLoneSignIsZeroAndBadTextIsRefused)
{
    const struct {
        std::string_view text;
        std::optional<float> limit;
    } cases[] = {
        {"", 0.0f}, {"-", 0.0f}, {"+", 0.0f}, {"-0", 0.0f}, {"+25", 25.0f}, {"-50", -50.0f},
        {"2147483647", 2147483647.0f}, {"5-", std::nullopt}, {"--5", std::nullopt}, {"--0", std::nullopt}, {"+-0", std::nullopt},
        {"2147483648", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseLimit(c.text), c.limit) << '"' << c.text << '"';
}

} // namespace
} // namespace kx::meter
