#include "log/log_files.h"
#include "log/log_prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace kx::log {
namespace {

// Types a name into the save dialog once it is up, with the kind of file chosen.
std::optional<QString> typeIntoSaveDialog(int filterIndex, const QString &name)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *kinds = dialog->findChild<QComboBox *>("fileTypeCombo");
        ASSERT_NE(kinds, nullptr);
        kinds->setCurrentIndex(filterIndex);
        // What a click on the entry sends.
        emit kinds->activated(filterIndex);
        emit kinds->textActivated(kinds->itemText(filterIndex));
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(name);
        static_cast<QDialog *>(dialog)->accept();
    });
    QWidget parent;
    WidgetFileDialogs dialogs(&parent);
    return dialogs.saveFileName(kSaveFilters, kSaveDefaultSuffix);
}

TEST(WidgetFileDialogs, NameWithoutExtensionTakesTheChosenKind)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const struct {
        int filter;
        const char *typed;
        const char *saved;
    } cases[] = {
        {0, "run", "run.xls"}, {1, "run", "run.db"}, {2, "run", "run.txt"},
        {3, "run", "run.xls"}, {1, "run.DB", "run.DB"},
    };
    for (const auto &c : cases) {
        const std::optional<QString> chosen = typeIntoSaveDialog(c.filter, QString::fromLatin1(c.typed));
        ASSERT_TRUE(chosen.has_value()) << c.saved;
        EXPECT_EQ(QFileInfo(*chosen).fileName(), c.saved);
    }
    QDir::setCurrent(previous);
}

// Presses `key` on the question box once it is up, then the button captioned `caption` if it is
// still up.
int answerQuestion(const QStringList &choices, int onClose, Qt::Key key, const QString &caption)
{
    QTimer::singleShot(0, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, key);
        if (QApplication::activeModalWidget() != box)
            return;
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == caption)
                button->click();
        }
    });
    QWidget parent;
    WidgetMessageBoxes boxes(&parent);
    return boxes.choose(QStringLiteral("Which?"), choices, onClose);
}

TEST(WidgetMessageBoxes, ChooseAnswersWithTheButtonPressed)
{
    const QStringList choices{"Restore", "Save as…", "Discard"};
    const struct {
        int onClose;
        Qt::Key key;
        const char *pressed;
        int answer;
    } cases[] = {
        {-1, Qt::Key_Escape, "Save as…", 1}, // no way out but a choice
        {-1, Qt::Key_Return, "Discard", 0},  // the first is the default
        {2, Qt::Key_Escape, "Restore", 2},   // closing answers as the box says
    };
    for (const auto &c : cases)
        EXPECT_EQ(answerQuestion(choices, c.onClose, c.key, QString::fromUtf8(c.pressed)), c.answer) << c.pressed;
}

} // namespace
} // namespace kx::log
