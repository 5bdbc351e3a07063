#include <QApplication>
#include <gtest/gtest.h>

// Test discovery runs the program at build time, where there is no display: default to the
// offscreen platform unless the caller chose one.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
