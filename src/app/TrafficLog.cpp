#include "TrafficLog.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QPlainTextEdit>

namespace TrafficLog {

int charsetOf(const QTextCharFormat& f)
{
    return f.hasProperty(kCharsetProperty) ? f.intProperty(kCharsetProperty) : 0;
}

QTextCharFormat logFormat(const QPlainTextEdit& log, const QColor& col)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{log.font().family()});
    f.setProperty(kCharsetProperty, 0);
    f.setForeground(col);
    return f;
}

void addEntry(QPlainTextEdit& log, const QString& text, const QColor& col, bool endMark)
{
    QTextCursor c(log.document());
    c.movePosition(QTextCursor::End);
    // One edit, so the document is laid out once per entry rather than once per piece.
    c.beginEditBlock();
    const QTextCharFormat entry = logFormat(log, col);
    c.insertText(text, entry);
    if (endMark) {
        QTextCharFormat mark = entry;
        mark.setFontFamilies(QStringList{kEndMarkFont});
        mark.setProperty(kCharsetProperty, kSymbolCharset);
        c.insertText(kEndMark, mark);
    }
    // What follows is back in the log's own font.
    c.insertBlock(QTextBlockFormat(), entry);
    c.endEditBlock();
}

void pageDown(QPlainTextEdit& log)
{
    log.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
}

}  // namespace TrafficLog
