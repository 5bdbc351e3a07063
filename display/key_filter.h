#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace kx::display {

// Swallows every typed printable character outside an allowed set, the way the program's numeric
// edit fields always have. Control characters (Backspace, Ctrl shortcuts) and keys that type
// nothing (arrows, Delete) pass, so editing still works.
class KeyFilter : public QObject {
public:
    KeyFilter(QString allowed, QObject *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_allowed;
};

// `RecordSITimeKeyPress`: digits only, for the sampling interval and the chart's points per page.
KeyFilter *installRecordSITimeKeyPress(QWidget *edit);

// `SetmaxKeyPress`: digits and the signs, for the alarm limit fields.
KeyFilter *installSetmaxKeyPress(QWidget *edit);

} // namespace kx::display
