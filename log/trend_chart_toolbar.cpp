#include "log/trend_chart_toolbar.h"

#include "display/key_filter.h"
#include "log/chart_paging.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include <array>

namespace kx::log {

namespace {

struct ButtonRow {
    QToolButton *TrendChartToolbar::*member;
    const char *name;
    int left;
    int width;
    const char *hint;
    QStyle::StandardPixmap icon;
};

// Left to right, all at top 3 and 21 high; the page counter between Previous and Next is a flat
// button used as a label.
constexpr std::array kButtons{
    ButtonRow{&TrendChartToolbar::btNew, "BtNew", 91, 35, "New", QStyle::SP_FileIcon},
    ButtonRow{&TrendChartToolbar::btSave, "BtSave", 125, 35, "Save", QStyle::SP_DialogSaveButton},
    ButtonRow{&TrendChartToolbar::btFirst, "BtFirst", 163, 25, "First", QStyle::SP_MediaSkipBackward},
    ButtonRow{&TrendChartToolbar::btPrevious, "BTPrevious", 187, 25, "Previous",
              QStyle::SP_MediaSeekBackward},
    ButtonRow{&TrendChartToolbar::btNext, "BtNext", 235, 25, "Next", QStyle::SP_MediaSeekForward},
    ButtonRow{&TrendChartToolbar::btLast, "BTlast", 259, 25, "last", QStyle::SP_MediaSkipForward},
};

QToolButton *flatButton(QWidget *chart, const char *name, const QRect &bounds, const char *hint)
{
    auto *button = new QToolButton(chart);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setGeometry(bounds);
    button->setToolTip(QString::fromLatin1(hint));
    button->setAccessibleName(QString::fromLatin1(hint));
    return button;
}

} // namespace

TrendChartToolbar buildTrendChartToolbar(QWidget *chart)
{
    TrendChartToolbar bar;

    auto *bevel = new QFrame(chart);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(2, 2, 40, 20);
    bar.btFill = new QCheckBox(QStringLiteral("Fill"), bevel);
    bar.btFill->setObjectName(QStringLiteral("BtFill"));
    bar.btFill->setGeometry(3, 3, 36, 17);
    bar.btFill->setToolTip(QStringLiteral("Graphic Fill"));
    bar.btFill->setAccessibleName(QStringLiteral("Fill"));
    // The bevel leaves room for "Fill" in a regular weight only, also in a bold window.
    QFont regular;
    regular.setBold(false);
    bar.btFill->setFont(regular);
    bar.btFill->setChecked(true);

    bar.maxrecord = new QLineEdit(QString::number(ChartPaging::kStartPointsPerPage), chart);
    bar.maxrecord->setObjectName(QStringLiteral("Maxrecord"));
    bar.maxrecord->setGeometry(48, 3, 41, 21);
    bar.maxrecord->setStyleSheet(QStringLiteral("background-color: silver;"));
    bar.maxrecord->setAccessibleName(QStringLiteral("Points per page"));
    display::installRecordSITimeKeyPress(bar.maxrecord);

    for (const ButtonRow &row : kButtons) {
        QToolButton *button = flatButton(chart, row.name, QRect(row.left, 3, row.width, 21), row.hint);
        button->setIcon(chart->style()->standardIcon(row.icon));
        bar.*row.member = button;
    }
    bar.bt10 = flatButton(chart, "Bt10", QRect(211, 3, 25, 21), "Page No.");
    bar.bt10->setText(QStringLiteral("1"));
    bar.bt10->setStyleSheet(QStringLiteral("color: blue;"));

    // Enlarge and restore share one place; only one of them shows at a time.
    bar.tbFd = flatButton(chart, "TbFd", QRect(288, 3, 25, 25), "Graphic Enlarge");
    bar.tbFd->setIcon(chart->style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    bar.tbSx = flatButton(chart, "TbSx", QRect(288, 3, 25, 25), "Graphic Restore");
    bar.tbSx->setIcon(chart->style()->standardIcon(QStyle::SP_TitleBarNormalButton));
    bar.tbSx->hide();
    return bar;
}

} // namespace kx::log
