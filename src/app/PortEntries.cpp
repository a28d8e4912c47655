#include "PortEntries.h"

#include "IntText.h"

#include <limits>

QString PortEntryText(int number, const QString& device)
{
    return QStringLiteral("COM%1(%2)").arg(number).arg(device);
}

std::int32_t PortNumberFromEntry(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1String("COM"));
    if (at < 0)
        return 0;
    QString rest = text.mid(at + 3);
    const qsizetype paren = rest.indexOf(QLatin1Char('('));
    if (paren >= 0)
        rest.truncate(paren);
    const std::int64_t n = ReadInt(rest.toStdString(), 0);
    if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(n);
}

QStringList PushCommandHistory(QStringList history, const QString& text)
{
    qsizetype repeat = -1;
    for (qsizetype i = 0; i < history.size(); ++i) {
        if (history[i].compare(text, Qt::CaseInsensitive) == 0) {
            repeat = i;
            break;
        }
    }
    if (repeat >= 0)
        history.removeAt(repeat);
    else
        while (history.size() >= kCommandHistoryMax)
            history.removeAt(kCommandHistoryMax - 1);
    history.prepend(text);
    return history;
}
