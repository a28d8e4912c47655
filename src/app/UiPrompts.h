// Every message box and file dialog of the shell goes through here, so that tests can
// answer them instead of a person (the default shows the real, modal box).
#pragma once

#include <QString>

#include <functional>
#include <string>

class QFileDialog;
class QWidget;
class ECommError;

struct UiMessage {
    enum class Kind { Information, Error };
    Kind kind = Kind::Information;
    QString text;
    QString detail;  // shown as the box's detailed text when not empty
};

namespace UiPrompts {

using MessageHook = std::function<void(QWidget* parent, const UiMessage&)>;
// Returns the chosen file, or an empty text when the user cancels.
using FileDialogHook = std::function<QString(QFileDialog& dialog)>;

// Replace the default boxes (tests); an empty hook restores the default.
void setMessageHook(MessageHook hook);
void setFileDialogHook(FileDialogHook hook);

// A plain message box with one text.
void showMessage(QWidget* parent, const QString& text);
// An error box with a message and, when given, the reason as detail.
void showError(QWidget* parent, const QString& text, const QString& detail = {});
// The error box of the serial component: its message, the operating system's reason.
void showCommError(QWidget* parent, const ECommError& e);

// Runs a file dialog; the chosen file or an empty text.
QString runFileDialog(QFileDialog& dialog);

}  // namespace UiPrompts
