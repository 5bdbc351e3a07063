#include "log/reading_log_controls.h"

#include "display/key_filter.h"
#include "log/reading_log.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace kx::log {

void bindReadingLogControls(const ReadingLogControls &controls, ReadingLog &log, MessageBoxes &boxes)
{
    controls.repeatSet->setText(QStringLiteral("Repeat"));
    controls.repeatSet->setToolTip(QStringLiteral("Repeage Record"));
    controls.repeatSet->setChecked(true);
    // The interval field covers the blank run of the caption.
    controls.recordSI->setText(QStringLiteral("Sampling Interval           'S"));
    controls.recordSI->setChecked(false);
    controls.recordSITime->setText(QStringLiteral("10"));
    log.setRepeatFilter(true);
    log.setSampling(false);
    display::installRecordSITimeKeyPress(controls.recordSITime);

    QObject::connect(controls.repeatSet, &QCheckBox::toggled, controls.repeatSet,
                     [&log](bool on) { log.setRepeatFilter(on); });
    QObject::connect(controls.recordSI, &QCheckBox::toggled, controls.recordSI,
                     [&log](bool on) { log.setSampling(on); });
    QObject::connect(controls.recordSITime, &QLineEdit::textChanged, controls.recordSITime,
                     [&log, &boxes](const QString &text) {
                         if (Status s = log.setIntervalText(text); !s.ok())
                             boxes.error(s.error);
                     });
}

QTimer *startRecordTimer(ReadingLog &log, QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setInterval(1000);
    QObject::connect(timer, &QTimer::timeout, timer, [&log] { log.tick(); });
    timer->start();
    return timer;
}

QActionGroup *addSizeLimitItems(QMenu *recordMenu, ReadingLog &log)
{
    auto *group = new QActionGroup(recordMenu);
    group->setExclusive(true);
    for (const SizeLimit &limit : kSizeLimits) {
        QAction *item = recordMenu->addAction(QString::fromLatin1(limit.caption));
        item->setObjectName(QString::fromLatin1(limit.name));
        item->setCheckable(true);
        item->setChecked(limit.records == kStartRecordLimit);
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, item, [&log, records = limit.records] { log.setMaxRecords(records); });
    }
    log.setMaxRecords(kStartRecordLimit);
    return group;
}

} // namespace kx::log
