#include "app/window_look.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace kx::app {

namespace {

const QString kArial = QStringLiteral("Liberation Sans");

QString fontRule(int pixelSize, bool bold, bool italic)
{
    return QStringLiteral("font-family: '%1'; font-size: %2px; font-weight: %3; font-style: %4;")
        .arg(kArial)
        .arg(pixelSize)
        .arg(bold ? QStringLiteral("bold") : QStringLiteral("normal"))
        .arg(italic ? QStringLiteral("italic") : QStringLiteral("normal"));
}

// Style sheets address the control by its object name, so a child never inherits the rule.
void styleByName(QWidget *control, const QString &rules)
{
    control->setStyleSheet(QStringLiteral("#%1 { %2 }").arg(control->objectName(), rules));
}

} // namespace

void applyWindowLook(QWidget *window)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    font.setBold(true);
    window->setFont(font);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(0xD4, 0xD0, 0xC8));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void arialLook(QWidget *control, int pixelSize, bool bold, bool italic)
{
    QFont font(kArial);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    control->setFont(font);
}

void portPanelLook(QWidget *panel)
{
    styleByName(panel, QStringLiteral("background-color: silver; color: black; border: 2px inset #808080; ")
                           + fontRule(16, true, false));
}

void linkPanelLook(QWidget *panel, int pixelSize)
{
    styleByName(panel, QStringLiteral("background-color: #0080FF; color: yellow; border: 2px outset #80C0FF; ")
                           + fontRule(pixelSize, true, true));
}

void toolbarCaptionLook(QWidget *caption)
{
    styleByName(caption, QStringLiteral("color: white; ") + fontRule(11, false, false));
}

void silverEditLook(QWidget *edit)
{
    styleByName(edit, QStringLiteral("background-color: silver;"));
}

} // namespace kx::app
