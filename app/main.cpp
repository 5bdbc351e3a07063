#include "app/guarded_application.h"
#include "app/main_window.h"

int main(int argc, char **argv)
{
    kx::app::GuardedApplication app(argc, argv);
    kx::app::TFCOMM FCOMM;
    FCOMM.show();
    return app.exec();
}
