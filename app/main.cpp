#include "meter/profile.h"

#include <QApplication>
#include <QMainWindow>

// The main window arrives with its own work; until then the program opens a window with the title
// its build's meter profile gives.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    const kx::meter::Profile profile = kx::meter::evaluateProfile(kx::meter::buildProfileFlags());
    if (profile.title)
        window.setWindowTitle(QString::fromUtf8(profile.title->data(), static_cast<qsizetype>(profile.title->size())));
#if defined(KX52B_BUILD_40K)
    window.resize(720, 520);
#else
    window.resize(622, 463);
#endif
    window.show();
    return app.exec();
}
