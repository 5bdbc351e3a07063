#pragma once

#include <QString>

class QWidget;

namespace kx::log {

// Where the chart's messages go: the main window shows errors in its error box; tests read them.
class ChartMessages {
public:
    virtual ~ChartMessages() = default;
    virtual void information(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
};

// Modal message boxes with an OK button over the given window.
class ChartMessageBoxes : public ChartMessages {
public:
    explicit ChartMessageBoxes(QWidget *parent) : m_parent(parent) {}
    void information(const QString &text) override;
    void error(const QString &text) override;

private:
    QWidget *m_parent;
};

} // namespace kx::log
