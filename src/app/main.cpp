#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Kestrel DataUtility"));
    w.resize(369, 147);
    w.show();
    return app.exec();
}
