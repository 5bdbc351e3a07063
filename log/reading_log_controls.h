#pragma once

class QActionGroup;
class QCheckBox;
class QLineEdit;
class QMenu;
class QObject;
class QTimer;

namespace kx::log {

class MessageBoxes;
class ReadingLog;

// The log's controls on the main window, which places them; binding gives them their captions,
// hints and starting state and forwards their events to the log.
struct ReadingLogControls {
    QCheckBox *repeatSet;     // `RepeatSet`
    QCheckBox *recordSI;      // `RecordSI`
    QLineEdit *recordSITime;  // `RecordSITime`
};

// Binds the controls; a sampling interval that does not convert is shown in the error box.
void bindReadingLogControls(const ReadingLogControls &controls, ReadingLog &log, MessageBoxes &boxes);

// `Trecord`: the one-second tick of the sampling countdown, running from now on.
QTimer *startRecordTimer(ReadingLog &log, QObject *parent);

// The six size-limit items of the record menu, one of them checked; "10000" at first.
QActionGroup *addSizeLimitItems(QMenu *recordMenu, ReadingLog &log);

} // namespace kx::log
