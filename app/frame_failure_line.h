#pragma once

#include <QLabel>

namespace kx::app {

// Frames that fail conversion are not errors the user must answer: a meter sends them several
// times a second while its display shows no digits. One line of the window says how many failed
// and why the last one did, instead of a box per frame.
class FrameFailureLine : public QLabel {
public:
    explicit FrameFailureLine(QWidget *parent);

    void report(const QString &message);

private:
    long long m_count = 0;
    QString m_last;
};

} // namespace kx::app
