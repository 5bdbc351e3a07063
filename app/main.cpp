#include <QApplication>
#include <QMainWindow>

// The main window arrives with its own work; until then the program opens a window with its build's title.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
#if defined(KX52B_BUILD_40K)
    window.setWindowTitle(QStringLiteral("rv410/450 Interface Program _Ver: 0.01"));
    window.resize(720, 520);
#else
    window.setWindowTitle(QStringLiteral("rv210/230 Interface Program _Ver: 2.01"));
    window.resize(622, 463);
#endif
    window.show();
    return app.exec();
}
