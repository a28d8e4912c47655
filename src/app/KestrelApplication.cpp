#include "KestrelApplication.h"

#include "CommX.h"
#include "UiPrompts.h"

#include <QWidget>

#include <exception>

KestrelApplication::KestrelApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kestrel DataUtility"));
}

bool KestrelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ECommError& e) {
        UiPrompts::showCommError(activeWindow(), e);
    } catch (const std::exception& e) {
        // Not expected from any handler; shown rather than ending the program.
        UiPrompts::showError(activeWindow(), QString::fromLocal8Bit(e.what()));
    }
    return false;
}
