#include "log/chart_messages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace kx::log {

void ChartMessageBoxes::information(const QString &text)
{
    QMessageBox::information(m_parent, QCoreApplication::applicationName(), text);
}

void ChartMessageBoxes::error(const QString &text)
{
    QMessageBox::critical(m_parent, QCoreApplication::applicationName(), text);
}

} // namespace kx::log
