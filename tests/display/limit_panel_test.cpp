#include "display/limit_panel.h"

#include "meter/reading_state.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kx::display::LimitPanel;

struct LimitPanelFixture : ::testing::Test {
    LimitPanelFixture()
    {
        state.MaxLimit = 40002;
        state.MinLimit = -40002;
    }

    QLineEdit *edit(const char *name) { return panel.findChild<QLineEdit *>(name); }
    QCheckBox *box(const char *name) { return panel.findChild<QCheckBox *>(name); }
    QString caption(const char *name) { return panel.findChild<QLabel *>(name)->text(); }

    kx::meter::ReadingState state;
    int redraws = 0;
    std::vector<QString> errors;
    LimitPanel panel{state, [this] { ++redraws; }, [this](const QString &message) { errors.push_back(message); }};
};

TEST_F(LimitPanelFixture, StartsWithTheLayoutsTextsUnparsed)
{
    EXPECT_EQ(edit("Setmax")->text(), "40000");
    EXPECT_EQ(edit("SetMin")->text(), "-40000");
    EXPECT_EQ(caption("MinText"), "40001");
    EXPECT_EQ(caption("MaxText"), "-40001");
    EXPECT_FALSE(panel.SetMaxBChecked());
    EXPECT_FALSE(panel.SetMinBChecked());
    EXPECT_EQ(state.MaxLimit, 40002.0f);
    EXPECT_EQ(redraws, 0);
    for (const char *name : {"Setmax", "SetMin", "SetMaxB", "SetMinB", "Label11", "Label12", "MinText", "MinTextU",
                             "MaxText", "MaxTextU"}) {
        const auto *control = panel.findChild<QWidget *>(name);
        ASSERT_TRUE(control) << name;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << name;
    }
}

TEST_F(LimitPanelFixture, EveryTextChangeSetsTheLimitAndRedrawsTheScale)
{
    struct Case {
        const char *text;
        float limit;
    };
    const Case cases[] = {{"", 0}, {"-", 0}, {"+", 0}, {"+25", 25}, {"-0", 0}, {"+0", 0}, {"-50", -50},
                          {"2147483647", 2147483647.0f}, {"-2147483648", -2147483648.0f}};
    for (const Case &c : cases) {
        state.MaxLimit = 12345;
        const int before = redraws;
        edit("Setmax")->setText("9");  // a change even when the case's text is the previous one
        edit("Setmax")->setText(c.text);
        EXPECT_EQ(state.MaxLimit, c.limit) << '"' << c.text << '"';
        EXPECT_EQ(redraws, before + 2) << '"' << c.text << '"';
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(LimitPanelFixture, TextThatIsNoWholeNumberKeepsTheLimitAndIsReported)
{
    for (const char *text : {"5-", "--5", "+-5", "2147483648", "-2147483649", "1.5", "1 2"}) {
        edit("SetMin")->setText("-7");
        const int before = redraws;
        edit("SetMin")->setText(text);
        EXPECT_EQ(state.MinLimit, -7.0f) << text;
        EXPECT_EQ(redraws, before) << text;
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(errors.back(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

TEST_F(LimitPanelFixture, TypingALimitUpdatesItKeystrokeByKeystroke)
{
    QLineEdit *setMin = edit("SetMin");
    setMin->clear();
    std::vector<float> seen;
    for (const char key : std::string("-50")) {
        QTest::keyClick(setMin, key);
        seen.push_back(state.MinLimit);
    }
    EXPECT_EQ(seen, (std::vector<float>{0, -5, -50}));

    // A sign typed after a digit is reported and leaves the limit.
    QTest::keyClick(setMin, '-');
    EXPECT_EQ(setMin->text(), "-50-");
    EXPECT_EQ(state.MinLimit, -50.0f);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(LimitPanelFixture, KeyFilterDiscardsLettersSpacesAndSeparators)
{
    for (const char *name : {"Setmax", "SetMin"}) {
        edit(name)->clear();
        QTest::keyClicks(edit(name), "1a 2.3,4+x");
        EXPECT_EQ(edit(name)->text(), "1234+") << name;
    }
}

TEST_F(LimitPanelFixture, CheckBoxClicksParseTheEditAgain)
{
    QCheckBox *setMaxB = box("SetMaxB");
    state.MaxLimit = 1;
    QTest::mouseClick(setMaxB, Qt::LeftButton);
    EXPECT_TRUE(panel.SetMaxBChecked());
    EXPECT_EQ(state.MaxLimit, 40000.0f);
    EXPECT_EQ(redraws, 1);

    // Clearing the box parses too; the limit stays but no longer counts.
    state.MaxLimit = 1;
    QTest::mouseClick(setMaxB, Qt::LeftButton);
    EXPECT_FALSE(panel.SetMaxBChecked());
    EXPECT_EQ(state.MaxLimit, 40000.0f);
    EXPECT_EQ(redraws, 2);

    // Ticked over a text that does not parse: the box ticks, the limit stays, the text is reported.
    edit("SetMin")->setText("1-");
    state.MinLimit = -3;
    QTest::mouseClick(box("SetMinB"), Qt::LeftButton);
    EXPECT_TRUE(panel.SetMinBChecked());
    EXPECT_EQ(state.MinLimit, -3.0f);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors.back(), "'1-' is not a valid integer value");
}

TEST_F(LimitPanelFixture, RangeTextsAndReadings)
{
    panel.setLimitTexts({"6000", "-6000", "6001", "-6001"});
    EXPECT_EQ(state.MaxLimit, 6000.0f);
    EXPECT_EQ(state.MinLimit, -6000.0f);
    EXPECT_EQ(caption("MinText"), "6001");
    EXPECT_EQ(caption("MaxText"), "-6001");

    panel.setMinMaxCaptions("1.234", "-0.010", "k*", "+A");
    EXPECT_EQ(caption("MaxText"), "1.234");
    EXPECT_EQ(caption("MinText"), "-0.010");
    EXPECT_EQ(caption("MaxTextU"), "kΩ");
    EXPECT_EQ(caption("MinTextU"), "µA");
}

} // namespace
