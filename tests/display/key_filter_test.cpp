#include "display/key_filter.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString typeInto(kx::display::KeyFilter *(*install)(QWidget *), const QString &keys)
{
    QLineEdit edit;
    install(&edit);
    QTest::keyClicks(&edit, keys);
    return edit.text();
}

TEST(KeyFilter, PassesOnlyItsCharacters)
{
    EXPECT_EQ(typeInto(kx::display::installRecordSITimeKeyPress, "1a-2 .3+"), "123");
    EXPECT_EQ(typeInto(kx::display::installSetmaxKeyPress, "-12a.5+"), "-125+");
}

TEST(KeyFilter, BackspaceStillEdits)
{
    QLineEdit edit;
    kx::display::installRecordSITimeKeyPress(&edit);
    QTest::keyClicks(&edit, "123");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "12");
}

} // namespace
