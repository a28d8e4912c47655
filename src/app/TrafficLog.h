// Entries of the traffic log: one entry per line, in its colour, optionally followed by
// the end mark "~" in the symbol font, each entry written on the empty last line.
#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>

class QPlainTextEdit;

namespace TrafficLog {

inline const QColor kProgressColour{0, 0, 0};
inline const QColor kSentColour{0, 0, 255};
inline const QColor kReceivedColour{255, 0, 0};

inline const QString kEndMark = QStringLiteral("~");
inline const QString kEndMarkFont = QStringLiteral("Webdings");
constexpr int kSymbolCharset = 2;

// The character set of a stretch of text, as a rich-text file names it (0 when unset).
constexpr int kCharsetProperty = QTextFormat::UserProperty + 1;
int charsetOf(const QTextCharFormat& f);

// The log's own format: the text box's font, the ordinary character set, colour col.
QTextCharFormat logFormat(const QPlainTextEdit& log, const QColor& col);

// Writes text at the end of the last line, then the end mark when asked, then a new line.
void addEntry(QPlainTextEdit& log, const QString& text, const QColor& col, bool endMark);

// Scrolls the view one page down.
void pageDown(QPlainTextEdit& log);

}  // namespace TrafficLog
