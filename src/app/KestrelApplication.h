// The application object: an error of the serial component that escapes an event handler
// is shown in an error box; the action that raised it ends and the program goes on.
#pragma once

#include <QApplication>

class KestrelApplication : public QApplication {
    Q_OBJECT
public:
    KestrelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
