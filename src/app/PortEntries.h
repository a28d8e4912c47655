// Text forms of the port list and the command history of the terminal.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

// "COM<n>(<device>)", the entry shown in the port list.
QString PortEntryText(int number, const QString& device);

// The port number of an entry or typed text: the digits after the first "COM", up to the
// first "(". 0 when there is no "COM" or no readable number.
std::int32_t PortNumberFromEntry(const QString& text);

// The history after sending text: a repeat (ignoring letter case) moves to the top,
// otherwise the oldest entries beyond nine go; at most kCommandHistoryMax entries.
constexpr int kCommandHistoryMax = 10;
QStringList PushCommandHistory(QStringList history, const QString& text);
