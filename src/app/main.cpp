#include "AppWindows.h"
#include "KestrelApplication.h"

int main(int argc, char* argv[])
{
    KestrelApplication app(argc, argv);
    AppWindows windows;
    windows.formMain.show();
    return app.exec();
}
