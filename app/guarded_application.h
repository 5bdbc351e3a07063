#pragma once

#include <QApplication>

namespace kx::app {

// The application object of the programs. An error that escapes an event handler is shown in the
// standard error box and the event loop goes on with the next event; nothing is thrown across the
// event loop.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace kx::app
