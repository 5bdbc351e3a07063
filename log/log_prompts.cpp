#include "log/log_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>

namespace kx::log {

QTime SystemClock::now() const
{
    return QTime::currentTime();
}

WidgetMessageBoxes::WidgetMessageBoxes(QWidget *parent)
    : m_parent(parent)
{
}

void WidgetMessageBoxes::information(const QString &text)
{
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), text);
}

void WidgetMessageBoxes::error(const QString &text)
{
    QMessageBox::critical(m_parent, QApplication::applicationDisplayName(), text);
}

MessageBoxes::Answer WidgetMessageBoxes::askSaveDiscardCancel(const QString &text)
{
    const auto pressed = QMessageBox::question(m_parent, QApplication::applicationDisplayName(), text,
                                               QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                               QMessageBox::Save);
    if (pressed == QMessageBox::Save)
        return Answer::Save;
    return pressed == QMessageBox::Discard ? Answer::Discard : Answer::Cancel;
}

int WidgetMessageBoxes::choose(const QString &text, const QStringList &choices, int onClose)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text, QMessageBox::NoButton, m_parent);
    QList<QPushButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, buttons.size() == onClose ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    box.setDefaultButton(buttons.value(0));
    // Without an escape button the box cannot be closed but by a choice.
    if (onClose >= 0)
        box.setEscapeButton(buttons.value(onClose));
    box.exec();
    const qsizetype pressed = buttons.indexOf(box.clickedButton());
    return pressed < 0 ? onClose : int(pressed);
}

WidgetFileDialogs::WidgetFileDialogs(QWidget *parent)
    : m_parent(parent)
{
}

static std::optional<QString> chosen(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// The one extension of a filter such as "DB File(*.db)"; empty for "All File(*.*)".
static QString filterExtension(const QString &filter)
{
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    return single.match(filter).captured(1);
}

std::optional<QString> WidgetFileDialogs::saveFileName(const QStringList &filters, const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without extension takes the chosen kind's: "run" under "DB File" is "run.db".
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, defaultSuffix](const QString &filter) {
        const QString extension = filterExtension(filter);
        dialog.setDefaultSuffix(extension.isEmpty() ? defaultSuffix : extension);
    });
    return chosen(dialog);
}

std::optional<QString> WidgetFileDialogs::openFileName(const QStringList &filters)
{
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    return chosen(dialog);
}

bool WidgetFileDialogs::setUpPrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kx::log
