#include "FormMain.h"
#include "FormTerminal.h"
#include "KestrelApplication.h"

#include <QWidget>

int main(int argc, char* argv[])
{
    KestrelApplication app(argc, argv);

    // Created in this order, all hidden but the main window.
    TFormMain formMain;
    TFormTerminal formTerminal(formMain.CommX1);
    formMain.setTerminal(&formTerminal);

    // The data window's frame until its own form takes this place.
    QWidget formMemory;
    formMemory.setObjectName(QStringLiteral("FormMemory"));
    formMemory.setWindowTitle(QStringLiteral("Kestrel DataUtility"));
    formMemory.resize(800, 600);
    formMemory.setAttribute(Qt::WA_QuitOnClose, false);
    formMain.setDataWindow(&formMemory);

    formMain.show();
    const int rc = app.exec();
    // The port closes with its component; nothing may reach the terminal meanwhile.
    formMain.setTerminal(nullptr);
    return rc;
}
