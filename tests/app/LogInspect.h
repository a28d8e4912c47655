// Test helpers that read a traffic log or a rich-text file back into plain facts.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include "TrafficLog.h"

struct LogRun {
    int block;
    QString text;
    QColor colour;
    QString family;
    int charset;
};

inline QList<LogRun> logRuns(const QTextDocument& doc)
{
    QList<LogRun> out;
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next(), ++n)
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList fam = f.fontFamilies().toStringList();
            out.append({n, it.fragment().text(), f.foreground().color(),
                        fam.isEmpty() ? QString() : fam.first(), TrafficLog::charsetOf(f)});
        }
    return out;
}

struct RtfFont {
    int charset;
    QString name;
};

inline QList<RtfFont> rtfFonts(const QByteArray& rtf)
{
    QList<RtfFont> out;
    static const QRegularExpression re(QStringLiteral(R"(\{\\f(\d+)\\fnil\\fcharset(\d+) ([^;]*);\})"));
    for (auto m = re.globalMatch(QString::fromLatin1(rtf)); m.hasNext();) {
        const auto x = m.next();
        if (x.captured(1).toInt() != out.size())
            return {};  // indexes must run 0, 1, 2, ...
        out.append({x.captured(2).toInt(), x.captured(3)});
    }
    return out;
}

// Colour table; entry 0 is the reader's automatic colour (invalid here).
inline QList<QColor> rtfColours(const QByteArray& rtf)
{
    QList<QColor> out{QColor()};
    const QString s = QString::fromLatin1(rtf);
    const qsizetype start = s.indexOf(QStringLiteral("{\\colortbl ;"));
    if (start < 0)
        return {};
    const QString table = s.mid(start, s.indexOf(u'}', start) - start);
    static const QRegularExpression re(QStringLiteral(R"(\\red(\d+)\\green(\d+)\\blue(\d+);)"));
    for (auto m = re.globalMatch(table); m.hasNext();) {
        const auto x = m.next();
        out.append(QColor(x.captured(1).toInt(), x.captured(2).toInt(), x.captured(3).toInt()));
    }
    return out;
}
