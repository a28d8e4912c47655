#include "ImageFile.h"

#include "FieldRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace exchange {

namespace {

// ---- writing ----

QString TitleValue(const char16_t (&title)[kTitleLen])
{
    // All 14 characters up to the last non-NUL one, so a NUL inside the text survives.
    int len = kTitleLen;
    while (len > 0 && title[len - 1] == u'\0')
        --len;
    return QString::fromUtf16(title, len);
}

template <class R, class Visit>
QJsonObject RecordObject(const R& r, Visit visit)
{
    QJsonObject o;
    visit(r, [&o](const char* name, const auto& field, const IntRule&) {
        o.insert(QLatin1String(name), static_cast<qint64>(field));
    });
    return o;
}

QJsonArray LinkArray(const TSearchGrpElement& g)
{
    QJsonArray banks;
    for (int n = 0; n < 40; ++n)
        if (g.Link[n / 8] & (1u << (n % 8)))
            banks.append(n);
    return banks;
}

QJsonArray GroupArray(const TSearchGrpElement (&groups)[kGroupCount], bool searchGroup)
{
    QJsonArray out;
    for (int i = 0; i < kGroupCount; ++i) {
        QJsonObject o;
        VisitGroupFields(groups[i], searchGroup, [&o](const char* name, const auto& field, const IntRule&) {
            o.insert(QLatin1String(name), static_cast<qint64>(field));
        });
        o.insert(QStringLiteral("group"), i);
        o.insert(QStringLiteral("Link"), LinkArray(groups[i]));
        out.append(o);
    }
    return out;
}

auto ChannelFields = [](const auto& r, auto&& v) { VisitChannelFields(r, v); };
auto HeaderFields = [](const auto& r, auto&& v) { VisitBankHeaderFields(r, v); };
auto SearchBankFields = [](const auto& r, auto&& v) { VisitSearchBankFields(r, v); };

// ---- reading ----

struct ImageError {
    QString message;
};

[[noreturn]] void Fail(const QString& path, const QString& what)
{
    throw ImageError{path.isEmpty() ? what : path + QStringLiteral(": ") + what};
}

QString Join(const QString& path, const QString& part)
{
    return path.isEmpty() ? part : path + QLatin1Char('.') + part;
}

QString NumberText(double d)
{
    if (std::trunc(d) == d && std::fabs(d) < 9e18)
        return QString::number(static_cast<qint64>(d));
    return QString::number(d, 'g', 17);
}

QString TypeName(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("a true/false value");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a text");
    case QJsonValue::Array: return QStringLiteral("a list");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

std::int64_t IntegerValue(const QJsonValue& v, const QString& path, const IntRule& rule)
{
    if (!v.isDouble())
        Fail(path, QStringLiteral("%1 where a whole number belongs").arg(TypeName(v)));
    const double d = v.toDouble();
    if (!std::isfinite(d) || std::trunc(d) != d)
        Fail(path, QStringLiteral("%1 is not a whole number").arg(NumberText(d)));
    if (std::fabs(d) > 9e15)  // far beyond every rule; toInteger would not be exact
        Fail(path, QStringLiteral("%1 out of range").arg(NumberText(d)));
    const std::int64_t i = v.toInteger();
    if (!rule.Accepts(i))
        Fail(path, QStringLiteral("%1 out of range").arg(i));
    return i;
}

QJsonArray ArrayValue(const QJsonValue& v, const QString& path, qsizetype count, const char* what)
{
    if (!v.isArray())
        Fail(path, QStringLiteral("%1 where a list belongs").arg(TypeName(v)));
    const QJsonArray a = v.toArray();
    if (a.size() != count)
        Fail(path, QStringLiteral("%1 %2, expected %3").arg(a.size()).arg(QLatin1String(what)).arg(count));
    return a;
}

// One JSON object of the image: each key must be read exactly once; leftovers are refused.
class ObjectReader {
public:
    ObjectReader(const QJsonValue& v, QString path) : path_(std::move(path))
    {
        if (!v.isObject())
            Fail(path_, QStringLiteral("%1 where an object belongs").arg(TypeName(v)));
        obj_ = v.toObject();
    }

    const QString& Path() const { return path_; }

    QJsonValue Take(const QString& key)
    {
        const auto it = obj_.constFind(key);
        if (it == obj_.constEnd())
            Fail(Join(path_, key), QStringLiteral("missing"));
        used_.insert(key);
        return it.value();
    }

    template <class T>
    void Int(const char* name, T& field, const IntRule& rule)
    {
        const QString key = QLatin1String(name);
        field = static_cast<T>(IntegerValue(Take(key), Join(path_, key), rule));
    }

    // The place number a record carries must be the place it stands at.
    void Place(const char* name, int expected)
    {
        const QString key = QLatin1String(name);
        const QString path = Join(path_, key);
        const std::int64_t v = IntegerValue(Take(key), path, IntRule{INT32_MIN, INT32_MAX});
        if (v != expected)
            Fail(path, QStringLiteral("%1 stands in the place of %2").arg(v).arg(expected));
    }

    void Title(char16_t (&title)[kTitleLen])
    {
        const QString path = Join(path_, QStringLiteral("Title"));
        const QJsonValue v = Take(QStringLiteral("Title"));
        if (!v.isString())
            Fail(path, QStringLiteral("%1 where a text belongs").arg(TypeName(v)));
        const QString text = v.toString();
        if (text.size() > kTitleLen)
            Fail(path, QStringLiteral("%1 characters, at most %2").arg(text.size()).arg(kTitleLen));
        for (QChar c : text)
            if (!TitleCharAllowed(c.unicode()))
                Fail(path, QStringLiteral("line break in a title"));
        std::fill(title, title + kTitleLen, u'\0');
        std::memcpy(title, text.utf16(), static_cast<std::size_t>(text.size()) * sizeof(char16_t));
    }

    void Finish() const
    {
        QStringList unknown;
        for (auto it = obj_.constBegin(); it != obj_.constEnd(); ++it)
            if (!used_.contains(it.key()))
                unknown << it.key();
        if (!unknown.isEmpty())
            Fail(path_, QStringLiteral("unknown field \"%1\"").arg(unknown.join(QStringLiteral("\", \""))));
    }

private:
    QString path_;
    QJsonObject obj_;
    QSet<QString> used_;
};

template <class R>
void CheckIFBW(const R& r, const QString& path)
{
    if (r.IFBW > IFBWMaxFor(r.AMode))
        Fail(Join(path, QStringLiteral("IFBW")), QStringLiteral("%1 out of range for AMode %2").arg(r.IFBW).arg(r.AMode));
}

void ReadChannel(const QJsonValue& v, const QString& path, int ch, TMemChElement& r)
{
    ObjectReader o(v, path);
    o.Place("channel", ch);
    VisitChannelFields(r, [&o](const char* name, auto& field, const IntRule& rule) { o.Int(name, field, rule); });
    o.Title(r.Title);
    o.Finish();
    CheckIFBW(r, path);
}

void ReadBank(const QJsonValue& v, const QString& path, int bank, TStore& s)
{
    ObjectReader o(v, path);
    o.Place("bank", bank);
    {
        ObjectReader h(o.Take(QStringLiteral("header")), Join(path, QStringLiteral("header")));
        TMemBankElement& r = s.MemBankData[bank];
        VisitBankHeaderFields(r, [&h](const char* name, auto& field, const IntRule& rule) { h.Int(name, field, rule); });
        h.Title(r.Title);
        h.Finish();
    }
    const QString chPath = Join(path, QStringLiteral("channels"));
    const QJsonArray channels = ArrayValue(o.Take(QStringLiteral("channels")), chPath, kMemChPerBank, "channels");
    for (int ch = 0; ch < kMemChPerBank; ++ch)
        ReadChannel(channels[ch], Join(path, QStringLiteral("channel %1").arg(ch)), ch, s.MemChData[bank][ch]);
    o.Finish();
}

void ReadSearchBank(const QJsonValue& v, const QString& path, int n, TSearchBankElement& r)
{
    ObjectReader o(v, path);
    o.Place("searchBank", n);
    VisitSearchBankFields(r, [&o](const char* name, auto& field, const IntRule& rule) { o.Int(name, field, rule); });
    o.Title(r.Title);
    o.Finish();
    CheckIFBW(r, path);
}

void ReadLink(const QJsonValue& v, const QString& path, TSearchGrpElement& g)
{
    if (!v.isArray())
        Fail(path, QStringLiteral("%1 where a list belongs").arg(TypeName(v)));
    std::memset(g.Link, 0, sizeof g.Link);
    const QJsonArray banks = v.toArray();
    for (qsizetype i = 0; i < banks.size(); ++i) {
        const int n = static_cast<int>(IntegerValue(banks[i], path, IntRule{0, 39}));
        if (g.Link[n / 8] & (1u << (n % 8)))
            Fail(path, QStringLiteral("bank %1 listed twice").arg(n));
        g.Link[n / 8] = static_cast<std::uint8_t>(g.Link[n / 8] | (1u << (n % 8)));
    }
}

void ReadGroups(const QJsonValue& v, const QString& path, bool searchGroup, TSearchGrpElement (&groups)[kGroupCount])
{
    const QJsonArray a = ArrayValue(v, path, kGroupCount, "groups");
    for (int i = 0; i < kGroupCount; ++i) {
        ObjectReader o(a[i], Join(path, QStringLiteral("group %1").arg(i)));
        o.Place("group", i);
        VisitGroupFields(groups[i], searchGroup,
                         [&o](const char* name, auto& field, const IntRule& rule) { o.Int(name, field, rule); });
        ReadLink(o.Take(QStringLiteral("Link")), Join(o.Path(), QStringLiteral("Link")), groups[i]);
        o.Finish();
    }
}

void ReadOffsetTable(const QJsonValue& v, const QString& path, std::int32_t (&table)[kOffsetCount])
{
    const QJsonArray a = ArrayValue(v, path, kOffsetCount, "entries");
    for (int i = 0; i < kOffsetCount; ++i) {
        // Entry 0 stands for "no offset" and is always 0.
        const IntRule rule = i == 0 ? IntRule{0, 0} : kOffsetEntryRule;
        table[i] = static_cast<std::int32_t>(IntegerValue(a[i], Join(path, QStringLiteral("entry %1").arg(i)), rule));
    }
}

QString SyntaxError(const QByteArray& bytes, const QJsonParseError& err)
{
    int line = 1;
    int column = 1;
    const int end = std::min<int>(err.offset, static_cast<int>(bytes.size()));
    for (int i = 0; i < end; ++i) {
        if (bytes[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2: syntax error: %3").arg(line).arg(column).arg(err.errorString());
}

void ReadInto(const QByteArray& bytes, TStore& s)
{
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError)
        throw ImageError{SyntaxError(bytes, err)};
    if (!doc.isObject())
        Fail({}, QStringLiteral("the file holds no image"));
    ObjectReader top(doc.object(), {});
    const QJsonValue format = top.Take(QStringLiteral("format"));
    if (format.toString() != QLatin1String(kImageFormatName))
        Fail(QStringLiteral("format"), QStringLiteral("the file holds no image"));
    const QJsonValue version = top.Take(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != kImageVersion)
        Fail(QStringLiteral("version"), QStringLiteral("%1 is not supported (this program reads version %2)")
                                            .arg(version.isDouble() ? NumberText(version.toDouble()) : TypeName(version))
                                            .arg(kImageVersion));

    top.Int("Region", s.Region, kRegionRule);
    ReadOffsetTable(top.Take(QStringLiteral("OffsetFreqTable")), QStringLiteral("OffsetFreqTable"), s.OffsetFreqTable);
    const QJsonArray banks = ArrayValue(top.Take(QStringLiteral("memory")), QStringLiteral("memory"), kMemBankCount, "banks");
    for (int b = 0; b < kMemBankCount; ++b)
        ReadBank(banks[b], QStringLiteral("memory.bank %1").arg(b), b, s);
    const QJsonArray sbanks =
        ArrayValue(top.Take(QStringLiteral("searchBanks")), QStringLiteral("searchBanks"), kSearchBankCount, "search banks");
    for (int n = 0; n < kSearchBankCount; ++n)
        ReadSearchBank(sbanks[n], QStringLiteral("searchBanks.searchBank %1").arg(n), n, s.SearchBankData[n]);
    ReadGroups(top.Take(QStringLiteral("scanGroups")), QStringLiteral("scanGroups"), false, s.ScanGrpData);
    ReadGroups(top.Take(QStringLiteral("searchGroups")), QStringLiteral("searchGroups"), true, s.SearchGrpData);
    top.Finish();
}

}  // namespace

QByteArray WriteImage(const TStore& s)
{
    QJsonObject top;
    top.insert(QStringLiteral("format"), QLatin1String(kImageFormatName));
    top.insert(QStringLiteral("version"), kImageVersion);
    top.insert(QStringLiteral("Region"), static_cast<qint64>(s.Region));

    QJsonArray offsets;
    for (std::int32_t e : s.OffsetFreqTable)
        offsets.append(static_cast<qint64>(e));
    top.insert(QStringLiteral("OffsetFreqTable"), offsets);

    QJsonArray banks;
    for (int b = 0; b < kMemBankCount; ++b) {
        QJsonObject header = RecordObject(s.MemBankData[b], HeaderFields);
        header.insert(QStringLiteral("Title"), TitleValue(s.MemBankData[b].Title));
        QJsonArray channels;
        for (int ch = 0; ch < kMemChPerBank; ++ch) {
            const TMemChElement& r = s.MemChData[b][ch];
            QJsonObject o = RecordObject(r, ChannelFields);
            o.insert(QStringLiteral("channel"), ch);
            o.insert(QStringLiteral("Title"), TitleValue(r.Title));
            channels.append(o);
        }
        QJsonObject bank;
        bank.insert(QStringLiteral("bank"), b);
        bank.insert(QStringLiteral("header"), header);
        bank.insert(QStringLiteral("channels"), channels);
        banks.append(bank);
    }
    top.insert(QStringLiteral("memory"), banks);

    QJsonArray sbanks;
    for (int n = 0; n < kSearchBankCount; ++n) {
        const TSearchBankElement& r = s.SearchBankData[n];
        QJsonObject o = RecordObject(r, SearchBankFields);
        o.insert(QStringLiteral("searchBank"), n);
        o.insert(QStringLiteral("Title"), TitleValue(r.Title));
        sbanks.append(o);
    }
    top.insert(QStringLiteral("searchBanks"), sbanks);
    top.insert(QStringLiteral("scanGroups"), GroupArray(s.ScanGrpData, false));
    top.insert(QStringLiteral("searchGroups"), GroupArray(s.SearchGrpData, true));
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool ReadImage(const QByteArray& bytes, TStore& store, QString& error)
{
    // Built in a copy of the target, so the padding between fields (and the templates,
    // which the image does not carry) stay the target's own; the target changes only once
    // the whole file has passed.
    auto candidate = std::make_unique<TStore>();
    std::memcpy(static_cast<void*>(candidate.get()), &store, sizeof(TStore));
    try {
        ReadInto(bytes, *candidate);
    } catch (const ImageError& e) {
        error = e.message;
        return false;
    }
    // Member by member: the store may be a base of a larger object whose own fields could
    // sit in tail padding that a copy of the whole would overwrite.
    auto copy = [](auto& to, const auto& from) { std::memcpy(static_cast<void*>(&to), &from, sizeof to); };
    copy(store.MemChData, candidate->MemChData);
    copy(store.MemBankData, candidate->MemBankData);
    copy(store.OffsetFreqTable, candidate->OffsetFreqTable);
    copy(store.ScanGrpData, candidate->ScanGrpData);
    copy(store.SearchBankData, candidate->SearchBankData);
    copy(store.Region, candidate->Region);
    copy(store.SearchGrpData, candidate->SearchGrpData);
    return true;
}

}  // namespace exchange
