#include "app/guarded_application.h"

#include <QMessageBox>

#include <exception>

namespace kx::app {

GuardedApplication::GuardedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    QString failure;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    } catch (...) {
        failure = QStringLiteral("An unexpected error occurred.");
    }
    QMessageBox::critical(activeWindow(), applicationDisplayName(), failure);
    return false;
}

} // namespace kx::app
