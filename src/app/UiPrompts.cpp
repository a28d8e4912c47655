#include "UiPrompts.h"

#include "CommX.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

UiPrompts::MessageHook& messageHook()
{
    static UiPrompts::MessageHook hook;
    return hook;
}

UiPrompts::FileDialogHook& fileDialogHook()
{
    static UiPrompts::FileDialogHook hook;
    return hook;
}

void showDefaultBox(QWidget* parent, const UiMessage& m)
{
    QMessageBox box(m.kind == UiMessage::Kind::Error ? QMessageBox::Critical
                                                     : QMessageBox::NoIcon,
                    QStringLiteral("Kestrel DataUtility"), m.text, QMessageBox::Ok, parent);
    if (!m.detail.isEmpty())
        box.setDetailedText(m.detail);
    box.exec();
}

}  // namespace

namespace UiPrompts {

void setMessageHook(MessageHook hook) { messageHook() = std::move(hook); }
void setFileDialogHook(FileDialogHook hook) { fileDialogHook() = std::move(hook); }

static void show(QWidget* parent, const UiMessage& m)
{
    if (messageHook())
        messageHook()(parent, m);
    else
        showDefaultBox(parent, m);
}

void showMessage(QWidget* parent, const QString& text)
{
    show(parent, UiMessage{UiMessage::Kind::Information, text, {}});
}

void showError(QWidget* parent, const QString& text, const QString& detail)
{
    show(parent, UiMessage{UiMessage::Kind::Error, text, detail});
}

void showCommError(QWidget* parent, const ECommError& e)
{
    showError(parent, QString::fromStdString(e.what()), QString::fromStdString(e.detail()));
}

QString runFileDialog(QFileDialog& dialog)
{
    if (fileDialogHook())
        return fileDialogHook()(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace UiPrompts
