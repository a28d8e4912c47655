#include "ChannelCsv.h"

#include "ChoiceLists.h"
#include "Csv.h"
#include "FieldRules.h"
#include "FreqText.h"
#include "IntText.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <optional>

namespace exchange {

namespace {

constexpr std::int64_t kNotRead = std::numeric_limits<std::int64_t>::min();

QString Latin(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString Item(ItemList items, int index)
{
    return Latin(ItemAt(items, index)).trimmed();
}

QString OnOff(std::uint8_t flag)
{
    return flag != 0 ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString Digits(std::int64_t v, int n, int base = 10)
{
    return QStringLiteral("%1").arg(v, n, base, QLatin1Char('0')).toUpper();
}

// A channel the table and the writes treat as holding data.
bool HoldsData(const TMemChElement& r)
{
    return r.MemFlag_RegistedFlag != 0 && r.RxFreq != 0;
}

// The table's MHz form without its alignment blanks; a sixth decimal only when the
// frequency has hertz below 10, so no stored frequency is cut.
QString FreqCell(std::int64_t f)
{
    const std::int64_t mhz = f / 1000000;
    const std::int64_t rest = f % 1000000;
    if (rest % 10 == 0)
        return QStringLiteral("%1.%2").arg(mhz).arg(Digits(rest / 10, 5));
    return QStringLiteral("%1.%2").arg(mhz).arg(Digits(rest, 6));
}

QString TitleCell(const TMemChElement& r)
{
    const std::u16string t = TitleText(r.Title);
    return QString::fromUtf16(t.data(), static_cast<qsizetype>(t.size()));
}

// What one row's import works on.
struct RowContext {
    const TStore& store;
    const TMemChElement& stored;
    TMemChElement& rec;
};

using ExportFn = QString (*)(const TMemChElement&, const TStore&);
// Reads a cell into ctx.rec; returns the error text, or nothing when the cell is good.
using ImportFn = std::optional<QString> (*)(const QString& cell, RowContext& ctx);

struct Column {
    const char* header;
    ExportFn exportText;
    ImportFn import;
};

int FindItem(ItemList items, const QString& cell)
{
    const QString want = cell.trimmed();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Latin(items[i]).trimmed().compare(want, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QString ItemsText(ItemList items)
{
    QStringList names;
    for (std::string_view s : items)
        names << Latin(s).trimmed();
    return names.join(QStringLiteral(", "));
}

std::optional<QString> ListCell(const QString& cell, ItemList items, const char* what, std::uint8_t& field)
{
    const int i = FindItem(items, cell);
    if (i < 0) {
        QString msg = QStringLiteral("unknown %1 \"%2\"").arg(QLatin1String(what), cell);
        if (items.size() <= 20)
            msg += QStringLiteral(" (one of %1)").arg(ItemsText(items));
        return msg;
    }
    field = static_cast<std::uint8_t>(i);
    return std::nullopt;
}

std::optional<QString> FlagCell(const QString& cell, std::uint8_t& field)
{
    const QString t = cell.trimmed();
    if (t.compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0)
        field = 1;
    else if (t.compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0)
        field = 0;
    else
        return QStringLiteral("\"%1\" is neither ON nor OFF").arg(cell);
    return std::nullopt;
}

template <class T>
std::optional<QString> NumberCell(const QString& cell, const IntRule& rule, T& field, int base = 10)
{
    const std::string t = cell.trimmed().toStdString();
    const std::int64_t v = base == 16 ? ReadHex(t, kNotRead) : ReadInt(t, kNotRead);
    if (v == kNotRead)
        return QStringLiteral("\"%1\" is not a number").arg(cell);
    if (!rule.Accepts(v))
        return QStringLiteral("%1 out of range").arg(cell.trimmed());
    field = static_cast<T>(v);
    return std::nullopt;
}

// ---- the columns ----

std::optional<QString> ImportFreq(const QString& cell, RowContext& c)
{
    const std::int64_t f = InputStrToMHz(cell.trimmed().toStdString());
    if (f < kMinFreq || f > kMaxFreq)
        return QStringLiteral("frequency \"%1\" is not 0.1 to 3000 MHz").arg(cell);
    c.rec.RxFreq = f;
    return std::nullopt;
}

std::optional<QString> ImportTitle(const QString& cell, RowContext& c)
{
    if (cell.size() > kMaxTitleChars)
        return QStringLiteral("title longer than %1 characters").arg(kMaxTitleChars);
    for (QChar ch : cell)
        if (!TitleCharAllowed(ch.unicode()) || ch.unicode() == 0)
            return QStringLiteral("line break or NUL in the title");
    // The dialogs' form: 12 characters, padded with spaces, then NULs.
    const QString padded = cell.leftJustified(kMaxTitleChars, QLatin1Char(' '));
    SetTitleText(c.rec.Title, std::u16string_view(reinterpret_cast<const char16_t*>(padded.utf16()),
                                                  static_cast<std::size_t>(padded.size())));
    return std::nullopt;
}

std::optional<QString> ImportMode(const QString& cell, RowContext& c)
{
    const int m = FindItem(ModeItems, cell);
    const std::optional<ModeFields> f = ModeFieldsOf(m);
    if (!f)
        return QStringLiteral("unknown mode \"%1\"").arg(cell);
    c.rec.Dem_DModeEnable = f->Dem_DModeEnable;
    c.rec.DMode = f->DMode;
    c.rec.AMode = f->AMode;
    return std::nullopt;
}

std::optional<QString> ImportIFBW(const QString& cell, RowContext& c)
{
    // The table's labels of the channel's AMode, or the dialog's items of its mode.
    int i = FindItem(IFBWTableLabels(c.rec.AMode), cell);
    if (i < 0)
        i = FindItem(IFBWDialogItems(ModePositionOf(c.rec)), cell);
    if (i < 0 || i > IFBWMaxFor(c.rec.AMode))
        return QStringLiteral("IF bandwidth \"%1\" does not belong to mode %2")
            .arg(cell, Latin(ItemAt(ModeItems, ModePositionOf(c.rec))));
    c.rec.IFBW = static_cast<std::uint8_t>(i);
    return std::nullopt;
}

std::optional<QString> ImportOffset(const QString& cell, RowContext& c)
{
    // "+03", "-3" or the table's "-03(005.00000)"; the frequency in brackets is the offset
    // table's and is not read.
    static const QRegularExpression re(QStringLiteral("^([+-]?)([0-9]{1,2})(\\(.*\\))?$"));
    const QRegularExpressionMatch m = re.match(cell.trimmed());
    if (!m.hasMatch())
        return QStringLiteral("offset \"%1\" is not like +03 or -03(005.00000)").arg(cell);
    const int index = m.captured(2).toInt();
    const int sel = m.captured(1) == QLatin1String("-") ? -index : index;
    if (!kOffsetSelRule.Accepts(sel))
        return QStringLiteral("offset index %1 out of range 0..39").arg(index);
    c.rec.OffsetFreq = static_cast<std::int16_t>(sel);
    return std::nullopt;
}

std::optional<QString> ImportVoiceScr(const QString& cell, RowContext& c)
{
    std::int64_t hz = 0;
    if (auto err = NumberCell(cell, IntRule{0, 7000}, hz))
        return err;
    if (hz % 10 != 0 || !kVoiceScrRule.Accepts(hz / 10))
        return QStringLiteral("V.SCR %1 is not 2000 to 7000 Hz in steps of 10").arg(hz);
    c.rec.VoiceSCR = static_cast<std::uint16_t>(hz / 10);
    return std::nullopt;
}

#define LIST_COLUMN(header, items, what, field)                                                     \
    {                                                                                               \
        header, [](const TMemChElement& r, const TStore&) { return Item(items, r.field); },         \
            [](const QString& cell, RowContext& c) { return ListCell(cell, items, what, c.rec.field); } \
    }
#define FLAG_COLUMN(header, field)                                                                  \
    {                                                                                               \
        header, [](const TMemChElement& r, const TStore&) { return OnOff(r.field); },               \
            [](const QString& cell, RowContext& c) { return FlagCell(cell, c.rec.field); }          \
    }
#define NUMBER_COLUMN(header, field, rule, digits, base)                                            \
    {                                                                                               \
        header, [](const TMemChElement& r, const TStore&) { return Digits(r.field, digits, base); }, \
            [](const QString& cell, RowContext& c) { return NumberCell(cell, rule, c.rec.field, base); } \
    }

// Column 0 and 1 (bank, channel) are read by the row itself; these follow them.
const Column kColumns[] = {
    {"Freq (MHz)", [](const TMemChElement& r, const TStore&) { return FreqCell(r.RxFreq); }, ImportFreq},
    {"Title", [](const TMemChElement& r, const TStore&) { return TitleCell(r); }, ImportTitle},
    FLAG_COLUMN("F-AU", Dem_AutoBand),
    {"MODE", [](const TMemChElement& r, const TStore&) { return Item(ModeItems, ModePositionOf(r)); }, ImportMode},
    {"IFBW", [](const TMemChElement& r, const TStore&) { return Latin(IFBWTableLabel(r.AMode, r.IFBW)).trimmed(); },
     ImportIFBW},
    FLAG_COLUMN("Protect", MemFlag_ProtectFlag),
    FLAG_COLUMN("Pass", MemFlag_Pass),
    LIST_COLUMN("AMP/ATT", ATT_AMPItems, "AMP/ATT setting", RF_ATT),
    {"Offset",
     [](const TMemChElement& r, const TStore& s) { return Latin(TableOffsetStr(r.OffsetFreq, s.OffsetFreqTable)); },
     ImportOffset},
    LIST_COLUMN("SQ Type", SQ_TypeItems, "squelch type", RF_SQ_N_L_Type),
    LIST_COLUMN("NR", NRItems, "noise reduction", Dem_DENOIS),
    LIST_COLUMN("AGC", AGCItems, "AGC setting", RF_AGC),
    LIST_COLUMN("SQL", SQLItems, "squelch", Dem_SQL_Type),
    LIST_COLUMN("CTCSS", CTCSSItems, "CTCSS tone", CTCSS_CODE),
    {"V.SCR", [](const TMemChElement& r, const TStore&) { return QString::number(r.VoiceSCR * 10); }, ImportVoiceScr},
    LIST_COLUMN("DCS", DCSItems, "DCS code", DCS_CODE),
    FLAG_COLUMN("Dig.", Dem_DigiDecode),
    LIST_COLUMN("IF Dir", IFDIRItems, "IF direction", RF_IF_Inv),
    NUMBER_COLUMN("ENC", DCR_CODE, kDcrCodeRule, 5, 10),
    NUMBER_COLUMN("WC", DCR_WHITE, kDcrWhiteRule, 3, 10),
    FLAG_COLUMN("RAN Mute", NXDN_RANCodeMute),
    NUMBER_COLUMN("RAN Code", NXDN_RANCode, kRanCodeRule, 2, 10),
    LIST_COLUMN("DMR Slot", DMR_SlotItems, "DMR slot", Dem_DMR_Slot),
    FLAG_COLUMN("ColorMute", DMR_ColorCodeMute),
    NUMBER_COLUMN("ColorCode", DMR_ColorCode, kColorCodeRule, 2, 10),
    FLAG_COLUMN("NAC Mute", P25_NACCodeMute),
    NUMBER_COLUMN("NAC Code", P25_NACCode, kNacRule, 3, 16),
    LIST_COLUMN("T-TC Slot", T_TC_SlotItems, "T-TC slot", RF_TETRA_Slot),
    NUMBER_COLUMN("Step (Hz)", StepFreq, kStepRule, 1, 10),
    NUMBER_COLUMN("Adj (Hz)", AdjFreq, kStepRule, 1, 10),
};
#undef LIST_COLUMN
#undef FLAG_COLUMN
#undef NUMBER_COLUMN

constexpr int kLeadColumns = 2;  // Bank, Channel
constexpr int kFreqColumn = 0;  // in kColumns
constexpr int kTitleColumn = 1;
constexpr int kIFBWColumn = 4;
constexpr int kAttColumn = 7;
// Columns the table greys until a channel's details were read: AMP/ATT up to T-TC Slot.
constexpr int kFirstDetailColumn = kAttColumn;
constexpr int kLastDetailColumn = 27;

QStringList ChannelRow(const TStore& s, int bank, int ch)
{
    const TMemChElement& r = s.MemChData[bank][ch];
    QStringList row{Digits(bank, 2), Digits(ch, 2)};
    if (!HoldsData(r)) {
        row << QStringLiteral("---");
        for (std::size_t i = 1; i < std::size(kColumns); ++i)
            row << QString();
        return row;
    }
    for (const Column& c : kColumns)
        row << c.exportText(r, s);
    return row;
}

bool SameMode(const TMemChElement& a, const TMemChElement& b)
{
    return a.Dem_DModeEnable == b.Dem_DModeEnable && a.DMode == b.DMode && a.AMode == b.AMode;
}

std::vector<std::int64_t> FieldValues(const TMemChElement& r)
{
    std::vector<std::int64_t> values;
    VisitChannelFields(r, [&values](const char*, const auto& field, const IntRule&) { values.push_back(field); });
    values.insert(values.end(), std::begin(r.Title), std::end(r.Title));
    return values;
}

// Equal in every field (padding bytes are no data).
bool SameRecord(const TMemChElement& a, const TMemChElement& b)
{
    return FieldValues(a) == FieldValues(b);
}

// A cell that shows what the store holds now leaves the field alone. Titles compare
// exactly, since their blanks are part of them.
bool Unchanged(int column, const QString& cell, const QString& now)
{
    return column == kTitleColumn ? cell == now : cell.trimmed() == now.trimmed();
}

}  // namespace

QString CsvImportError::Text() const
{
    QString where = line > 0 ? QStringLiteral("line %1").arg(line) : QStringLiteral("file");
    if (column > 0)
        where += QStringLiteral(", column %1 (%2)").arg(column).arg(columnName);
    return where + QStringLiteral(": ") + message;
}

QStringList ChannelCsvHeader()
{
    QStringList h{QStringLiteral("Bank"), QStringLiteral("Channel")};
    for (const Column& c : kColumns)
        h << QLatin1String(c.header);
    return h;
}

QByteArray ExportChannelsCsv(const TStore& store, int bank)
{
    QString text = CsvLine(ChannelCsvHeader());
    const int first = bank < 0 ? 0 : bank;
    const int last = bank < 0 ? kMemBankCount - 1 : std::min(bank, kMemBankCount - 1);
    for (int b = first; b <= last; ++b)
        for (int ch = 0; ch < kMemChPerBank; ++ch)
            text += CsvLine(ChannelRow(store, b, ch));
    return text.toUtf8();
}

namespace {

class Importer {
public:
    Importer(const TStore& store, CsvImportResult& result) : store_(store), result_(result) {}

    // Maps the header's columns onto ours; false when a column is unknown, doubled or missing.
    bool Header(const CsvRecord& rec)
    {
        const QStringList names = ChannelCsvHeader();
        fileToColumn_.assign(rec.fields.size(), -1);
        std::vector<int> seen(names.size(), 0);
        bool ok = true;
        for (qsizetype f = 0; f < rec.fields.size(); ++f) {
            const QString name = rec.fields[f].trimmed();
            qsizetype i = 0;
            while (i < names.size() && names[i].compare(name, Qt::CaseInsensitive) != 0)
                ++i;
            if (i == names.size()) {
                Add(rec.line, int(f) + 1, name, QStringLiteral("unknown column"));
                ok = false;
            } else if (seen[i]++) {
                Add(rec.line, int(f) + 1, name, QStringLiteral("column given twice"));
                ok = false;
            } else {
                fileToColumn_[f] = int(i);
                columnToFile_[int(i)] = int(f);
            }
        }
        for (qsizetype i = 0; i < names.size(); ++i)
            if (!seen[i]) {
                Add(rec.line, 0, {}, QStringLiteral("column \"%1\" is missing").arg(names[i]));
                ok = false;
            }
        return ok;
    }

    void Row(const CsvRecord& rec)
    {
        ++result_.rows;
        const int before = static_cast<int>(result_.errors.size());
        if (rec.fields.size() != qsizetype(fileToColumn_.size())) {
            Add(rec.line, 0, {},
                QStringLiteral("%1 fields, the header has %2").arg(rec.fields.size()).arg(fileToColumn_.size()));
            return;
        }
        auto cell = [&](int column) { return rec.fields[columnToFile_.at(column)]; };

        std::int64_t bank = 0;
        std::int64_t ch = 0;
        if (auto err = NumberCell(cell(0), IntRule{0, kMemBankCount - 1}, bank))
            AddAt(rec.line, 0, *err);
        if (auto err = NumberCell(cell(1), IntRule{0, kMemChPerBank - 1}, ch))
            AddAt(rec.line, 1, *err);
        if (int(result_.errors.size()) != before)
            return;
        const int key = int(bank) * kMemChPerBank + int(ch);
        if (const auto it = rowOf_.find(key); it != rowOf_.end()) {
            AddAt(rec.line, 1, QStringLiteral("channel %1-%2 was already given on line %3")
                                   .arg(Digits(bank, 2), Digits(ch, 2))
                                   .arg(it->second));
            return;
        }
        rowOf_[key] = rec.line;

        const TMemChElement& stored = store_.MemChData[bank][ch];
        TMemChElement rec2 = stored;
        const QString freq = cell(kLeadColumns + kFreqColumn).trimmed();
        if (freq.isEmpty() || freq == QLatin1String("---")) {
            EmptyRow(rec, cell, stored, rec2);
        } else {
            DataRow(rec, cell, stored, rec2);
        }
        if (int(result_.errors.size()) == before)
            pending_.push_back({int(bank), int(ch), rec2});
    }

    void Apply(TStore& store)
    {
        for (const Pending& p : pending_) {
            TMemChElement& target = store.MemChData[p.bank][p.ch];
            if (!SameRecord(target, p.rec)) {
                target = p.rec;
                ++result_.changedChannels;
            }
        }
    }

    void Add(int line, int column, const QString& name, const QString& message)
    {
        result_.errors.push_back({line, column, name, message});
    }

private:
    struct Pending {
        int bank;
        int ch;
        TMemChElement rec;
    };

    void AddAt(int line, int column, const QString& message)
    {
        Add(line, columnToFile_.at(column) + 1, ChannelCsvHeader()[column], message);
    }

    template <class Cell>
    void EmptyRow(const CsvRecord& rec, Cell cell, const TMemChElement& stored, TMemChElement& out)
    {
        for (int i = 1; i < int(std::size(kColumns)); ++i)
            if (!cell(kLeadColumns + i).trimmed().isEmpty()) {
                AddAt(rec.line, kLeadColumns + i, QStringLiteral("a channel without frequency takes no other values"));
                return;
            }
        if (!HoldsData(stored))
            return;  // already empty: left as it is
        // As the channel dialog's delete leaves it: nothing known, no data.
        out = store_.MemChEmptyData;
        out.ReadState = 0;
    }

    template <class Cell>
    void DataRow(const CsvRecord& rec, Cell cell, const TMemChElement& stored, TMemChElement& out)
    {
        const TStore& s = store_;
        RowContext ctx{s, stored, out};
        const bool had = HoldsData(stored);
        bool mainChanged = false;
        bool detailChanged = false;
        for (int i = 0; i < int(std::size(kColumns)); ++i) {
            const Column& col = kColumns[i];
            const QString text = cell(kLeadColumns + i);
            const QString now = had ? col.exportText(stored, s) : (i == kFreqColumn ? QStringLiteral("---") : QString());
            // The bandwidth's text means another position once the mode changed.
            const bool modeDependent = i == kIFBWColumn && !SameMode(out, stored);
            if (!modeDependent && Unchanged(i, text, now))
                continue;
            const std::vector<std::int64_t> before = FieldValues(out);
            if (auto err = col.import(text, ctx)) {
                AddAt(rec.line, kLeadColumns + i, *err);
            } else if (FieldValues(out) != before) {
                (i >= kFirstDetailColumn && i <= kLastDetailColumn ? detailChanged : mainChanged) = true;
            }
        }
        const bool ampChanged = out.RF_ATT != stored.RF_ATT || out.RxFreq != stored.RxFreq || !had;
        if (ampChanged && out.RF_ATT == 0 && out.RxFreq < kAmpMinFreq)
            AddAt(rec.line, kLeadColumns + kAttColumn, QStringLiteral("AMP cannot set under 18MHz."));
        out.MemFlag_RegistedFlag = 1;
        // As in the dialogs: a changed detail makes the channel fully known, a changed main
        // field (or a channel that starts to hold data) makes it at least partly known.
        if (detailChanged)
            out.ReadState = 2;
        else if ((mainChanged || !had) && out.ReadState == 0)
            out.ReadState = 1;
    }

    const TStore& store_;
    CsvImportResult& result_;
    std::vector<int> fileToColumn_;
    std::map<int, int> columnToFile_;
    std::map<int, int> rowOf_;
    std::vector<Pending> pending_;
};

}  // namespace

CsvImportResult ImportChannelsCsv(const QByteArray& bytes, TStore& store)
{
    CsvImportResult result;
    Importer importer(store, result);
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError()) {
        importer.Add(0, 0, {}, QStringLiteral("the file is not UTF-8 text"));
        return result;
    }
    std::vector<CsvRecord> records;
    CsvSyntaxError syntax;
    if (!ParseCsv(text, records, syntax)) {
        importer.Add(syntax.line, 0, {}, syntax.message);
        return result;
    }
    if (records.empty()) {
        importer.Add(0, 0, {}, QStringLiteral("the file has no header row"));
        return result;
    }
    if (!importer.Header(records.front()))
        return result;
    for (std::size_t i = 1; i < records.size(); ++i)
        importer.Row(records[i]);
    if (result.Ok())
        importer.Apply(store);
    return result;
}

}  // namespace exchange
