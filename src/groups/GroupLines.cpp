#include "GroupLines.h"

#include "CommandEngine.h"

#include <limits>

namespace groups {

namespace {

// Integer reading rule; text that cannot be read gives a value every range test rejects.
int ReadInt(QStringView text)
{
    std::int32_t v = 0;
    return ReadInt32(text.toString(), &v) ? v : std::numeric_limits<int>::min();
}

// The value of the field whose key stands at p, ending at the blank before the key at q.
QStringView FieldValue(QStringView line, qsizetype p, qsizetype q)
{
    const qsizetype len = q - p - 3;
    if (len <= 0)
        return {};
    return line.mid(p + 2, len);
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Walks the text after "BK" two characters at a time: 99 is skipped, anything that is not
// a bank number ends the walk, a bank number sets its bit.
void ReadLinkList(QStringView text, TSearchGrpElement& g)
{
    for (qsizetype i = 0; i + 2 <= text.size(); i += 2) {
        const int bank = ReadInt(text.mid(i, 2));
        if (bank == 99)
            continue;
        if (!InRange(bank, 0, kLinkBankCount - 1))
            break;
        SetLinkBit(g, bank, true);
        g.GrpFlag_LinkEnable = 1;
    }
}

} // namespace

QString CommandKey(GroupKind kind)
{
    return kind == GroupKind::Scan ? QStringLiteral("MG") : QStringLiteral("SG");
}

bool LinkBit(const TSearchGrpElement& g, int bank)
{
    if (!InRange(bank, 0, kLinkBankCount - 1))
        return false;
    return (g.Link[bank / 8] >> (bank % 8)) & 1u;
}

void SetLinkBit(TSearchGrpElement& g, int bank, bool on)
{
    if (!InRange(bank, 0, kLinkBankCount - 1))
        return;
    const auto mask = static_cast<std::uint8_t>(1u << (bank % 8));
    if (on)
        g.Link[bank / 8] |= mask;
    else
        g.Link[bank / 8] &= static_cast<std::uint8_t>(~mask);
}

void ClearLinks(TSearchGrpElement& g)
{
    for (auto& b : g.Link)
        b = 0;
}

QString GroupLine(GroupKind kind, int gn, const TSearchGrpElement& g)
{
    QString line = CommandKey(kind) + QString::number(gn)
        + QStringLiteral(" DL%1").arg(int(g.Delay), 3, 10, QLatin1Char('0'))
        + QStringLiteral(" FR%1").arg(int(g.Free), 2, 10, QLatin1Char('0'));
    if (kind == GroupKind::Search)
        line += QStringLiteral(" AS") + QString::number(g.GrpFlag_AutoStore);
    return line + QStringLiteral(" BK") + ::LinkListText(g.Link);
}

std::optional<GroupAnswer> ParseGroupAnswer(GroupKind kind, QStringView line)
{
    if (line.size() < 4)
        return std::nullopt;
    GroupAnswer a;
    a.group = ReadInt(line.mid(2, 2));
    if (!InRange(a.group, 0, 9))
        return std::nullopt;

    const qsizetype dl = line.indexOf(u"DL");
    const qsizetype fr = line.indexOf(u"FR");
    if (dl < 0 || fr < 0)
        return std::nullopt;
    const int delay = ReadInt(FieldValue(line, dl, fr));
    if (!InRange(delay, 0, 100))
        return std::nullopt;
    a.record.Delay = static_cast<std::uint8_t>(delay);

    // The free value ends before "AS" on a search group answer, before "BK" on a scan one.
    qsizetype freeEnd = -1;
    if (kind == GroupKind::Search) {
        freeEnd = line.indexOf(u"AS");
        if (freeEnd < 0)
            return std::nullopt;
    }
    const qsizetype bk = line.indexOf(u"BK");
    if (bk < 0)
        return std::nullopt;
    if (kind == GroupKind::Scan)
        freeEnd = bk;
    const int free = ReadInt(FieldValue(line, fr, freeEnd));
    if (!InRange(free, 0, 60))
        return std::nullopt;
    a.record.Free = static_cast<std::uint8_t>(free);

    if (kind == GroupKind::Search) {
        const int autoStore = ReadInt(FieldValue(line, freeEnd, bk));
        if (!InRange(autoStore, 0, 1))
            return std::nullopt;
        a.record.GrpFlag_AutoStore = static_cast<std::uint8_t>(autoStore);
    }

    ReadLinkList(line.mid(bk + 2), a.record);
    a.record.GrpFlag_RegistedFlag = 1;
    return a;
}

int KeyStart(QStringView line, QStringView key)
{
    const qsizetype p = line.indexOf(key);
    return (p == 0 || p == 2) ? static_cast<int>(p) : -1;
}

} // namespace groups
