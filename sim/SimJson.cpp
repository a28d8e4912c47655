#include "SimJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <stdexcept>

namespace sim {

namespace {

constexpr int kFormatVersion = 1;

// Reading errors travel as exceptions inside this file only; the public functions turn
// them into a message.
struct BadDocument : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QJsonArray LinkArray(std::uint64_t link) {
    QJsonArray a;
    for (int b = 0; b < 40; ++b)
        if (link & (std::uint64_t{1} << b)) a.append(b);
    return a;
}

void PutParams(QJsonObject& o, const Params& p) {
    o["OffsetFreq"] = p.OffsetFreq;
    o["VoiceSCR"] = p.VoiceSCR;
    o["DCR_CODE"] = p.DCR_CODE;
    o["DCR_WHITE"] = p.DCR_WHITE;
    o["RF_SQ_N_L_Type"] = p.RF_SQ_N_L_Type;
    o["RF_AGC"] = p.RF_AGC;
    o["RF_TETRA_Slot"] = p.RF_TETRA_Slot;
    o["RF_ATT"] = p.RF_ATT;
    o["Dem_DENOIS"] = p.Dem_DENOIS;
    o["Dem_SQL_Type"] = p.Dem_SQL_Type;
    o["Dem_DigiDecode"] = p.Dem_DigiDecode;
    o["Dem_DMR_Slot"] = p.Dem_DMR_Slot;
    o["Dem_AutoBand"] = p.Dem_AutoBand;
    o["P25_NACCode"] = p.P25_NACCode;
    o["P25_NACCodeMute"] = p.P25_NACCodeMute;
    o["IFBW"] = p.IFBW;
    o["CTCSS_CODE"] = p.CTCSS_CODE;
    o["DCS_CODE"] = p.DCS_CODE;
    o["DMR_ColorCode"] = p.DMR_ColorCode;
    o["DMR_ColorCodeMute"] = p.DMR_ColorCodeMute;
    o["NXDN_RANCode"] = p.NXDN_RANCode;
    o["NXDN_RANCodeMute"] = p.NXDN_RANCodeMute;
}

void PutMode(QJsonObject& o, const Mode& m) {
    o["Mode"] = QString::fromLatin1(ModeName(m.Dem_DModeEnable, m.DMode, m.AMode).data());
    o["Dem_DModeEnable"] = m.Dem_DModeEnable;
    o["DMode"] = m.DMode;
    o["AMode"] = m.AMode;
}

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// Reads one integer field within min..max; absent fields keep `fallback`.
std::int64_t Int(const QJsonObject& o, const char* key, std::int64_t min, std::int64_t max,
                 std::int64_t fallback) {
    if (!o.contains(key)) return fallback;
    const QJsonValue v = o.value(key);
    const double d = v.toDouble(-1e300);
    if (!v.isDouble() || d != static_cast<double>(static_cast<std::int64_t>(d)) || d < min || d > max)
        throw BadDocument(std::string("field ") + key + " must be an integer " + std::to_string(min) +
                          ".." + std::to_string(max));
    return static_cast<std::int64_t>(d);
}

template <typename T>
void Read(const QJsonObject& o, const char* key, std::int64_t min, std::int64_t max, T& field) {
    field = static_cast<T>(Int(o, key, min, max, field));
}

std::string Title(const QJsonObject& o, std::size_t width, const std::string& fallback) {
    if (!o.contains("Title")) return fallback;
    if (!o.value("Title").isString()) throw BadDocument("Title must be a string");
    const QString t = o.value("Title").toString();
    for (QChar c : t)
        if (c.unicode() > 0xFF || c.unicode() == '\r' || c.unicode() == '\n')
            throw BadDocument("Title holds a character the receiver cannot show");
    std::string s = t.toLatin1().toStdString();
    s.resize(width, ' ');
    return s.substr(0, width);
}

std::uint64_t Link(const QJsonObject& o, const char* key, std::uint64_t fallback) {
    if (!o.contains(key)) return fallback;
    if (!o.value(key).isArray()) throw BadDocument(std::string(key) + " must be an array");
    std::uint64_t link = 0;
    for (const QJsonValue& v : o.value(key).toArray()) {
        const int b = v.toInt(-1);
        if (!v.isDouble() || b < 0 || b > 39) throw BadDocument(std::string(key) + " holds a bad bank");
        link |= std::uint64_t{1} << b;
    }
    return link;
}

void ReadParams(const QJsonObject& o, Params& p, const Mode& m) {
    Read(o, "OffsetFreq", -39, 39, p.OffsetFreq);
    Read(o, "VoiceSCR", 200, 700, p.VoiceSCR);
    Read(o, "DCR_CODE", 0, 32767, p.DCR_CODE);
    Read(o, "DCR_WHITE", 0, 511, p.DCR_WHITE);
    Read(o, "RF_SQ_N_L_Type", 0, 2, p.RF_SQ_N_L_Type);
    Read(o, "RF_AGC", 0, 3, p.RF_AGC);
    Read(o, "RF_TETRA_Slot", 0, 3, p.RF_TETRA_Slot);
    Read(o, "RF_ATT", 0, 2, p.RF_ATT);
    Read(o, "Dem_DENOIS", 0, 3, p.Dem_DENOIS);
    Read(o, "Dem_SQL_Type", 0, 4, p.Dem_SQL_Type);
    Read(o, "Dem_DigiDecode", 0, 1, p.Dem_DigiDecode);
    Read(o, "Dem_DMR_Slot", 0, 3, p.Dem_DMR_Slot);
    Read(o, "Dem_AutoBand", 0, 1, p.Dem_AutoBand);
    Read(o, "P25_NACCode", 0, 4095, p.P25_NACCode);
    Read(o, "P25_NACCodeMute", 0, 1, p.P25_NACCodeMute);
    p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(m.Dem_DModeEnable, m.AMode));
    Read(o, "IFBW", 0, MaxIfbw(m.AMode), p.IFBW);
    Read(o, "CTCSS_CODE", 0, 53, p.CTCSS_CODE);
    Read(o, "DCS_CODE", 0, kDcsCount + 1, p.DCS_CODE);
    Read(o, "DMR_ColorCode", 0, 16, p.DMR_ColorCode);
    Read(o, "DMR_ColorCodeMute", 0, 1, p.DMR_ColorCodeMute);
    Read(o, "NXDN_RANCode", 0, 64, p.NXDN_RANCode);
    Read(o, "NXDN_RANCodeMute", 0, 1, p.NXDN_RANCodeMute);
}

// "Mode" (a name of the mode list) wins; otherwise the three record fields.
Mode ReadMode(const QJsonObject& o) {
    Mode m;
    if (o.contains("Mode")) {
        if (!ModeFromName(o.value("Mode").toString().toStdString(), m.Dem_DModeEnable, m.DMode, m.AMode))
            throw BadDocument("unknown Mode " + o.value("Mode").toString().toStdString());
        return m;
    }
    Read(o, "Dem_DModeEnable", 0, 1, m.Dem_DModeEnable);
    Read(o, "DMode", 0, 9, m.DMode);
    Read(o, "AMode", 0, 6, m.AMode);
    return m;
}

QJsonArray Array(const QJsonObject& root, const char* key) {
    if (!root.contains(key)) return {};
    if (!root.value(key).isArray()) throw BadDocument(std::string(key) + " must be an array");
    return root.value(key).toArray();
}

QJsonObject Object(const QJsonValue& v, const char* what) {
    if (!v.isObject()) throw BadDocument(std::string(what) + " entries must be objects");
    return v.toObject();
}

void ReadDocument(const QJsonObject& root, Memory& m) {
    if (root.contains("version") && root.value("version").toInt() != kFormatVersion)
        throw BadDocument("unsupported version");
    Read(root, "Region", 0, 2, m.Region);
    if (root.contains("OffsetFreqTable")) {
        const QJsonArray a = Array(root, "OffsetFreqTable");
        if (a.size() != kOffsets) throw BadDocument("OffsetFreqTable must hold 40 entries");
        for (int i = 0; i < kOffsets; ++i) {
            const QJsonValue v = a.at(i);
            const double d = v.toDouble(-1);
            if (!v.isDouble() || d < 0 || d > kMaxOffset || (i == 0 && d != 0))
                throw BadDocument("bad OffsetFreqTable entry " + std::to_string(i));
            m.offsets[i] = static_cast<std::int32_t>(d) / 10 * 10;
        }
    }
    m.searchLink = Link(root, "SearchLink", m.searchLink);

    for (const QJsonValue& v : Array(root, "MemBankData")) {
        const QJsonObject o = Object(v, "MemBankData");
        const int b = static_cast<int>(Int(o, "bank", 0, kBanks - 1, -1));
        if (b < 0) throw BadDocument("MemBankData entry without bank");
        BankHeader& h = m.bankHeaders[b];
        Read(o, "MemBankFlag_ProtectFlag", 0, 1, h.MemBankFlag_ProtectFlag);
        h.Title = Title(o, kBankTitleWidth, h.Title);
    }
    for (const QJsonValue& v : Array(root, "MemChData")) {
        const QJsonObject o = Object(v, "MemChData");
        const int b = static_cast<int>(Int(o, "bank", 0, kBanks - 1, -1));
        const int c = static_cast<int>(Int(o, "channel", 0, kChannels - 1, -1));
        if (b < 0 || c < 0) throw BadDocument("MemChData entry without bank or channel");
        Channel ch;
        ch.used = true;
        ch.RxFreq = Int(o, "RxFreq", kMinFreq, kMaxFreq, -1);
        if (ch.RxFreq < 0) throw BadDocument("MemChData entry without RxFreq");
        ch.RxFreq = ch.RxFreq / 10 * 10;
        Read(o, "StepFreq", 0, kMaxStep, ch.StepFreq);
        Read(o, "AdjFreq", 0, kMaxStep, ch.AdjFreq);
        ch.StepFreq = ch.StepFreq / 10 * 10;
        ch.AdjFreq = ch.AdjFreq / 10 * 10;
        ch.mode = ReadMode(o);
        Read(o, "MemFlag_Pass", 0, 1, ch.MemFlag_Pass);
        Read(o, "MemFlag_ProtectFlag", 0, 1, ch.MemFlag_ProtectFlag);
        ch.Title = Title(o, kTitleWidth, ch.Title);
        ReadParams(o, ch.p, ch.mode);
        m.channels[b][c] = ch;
    }
    for (const QJsonValue& v : Array(root, "SearchBankData")) {
        const QJsonObject o = Object(v, "SearchBankData");
        const int b = static_cast<int>(Int(o, "bank", 0, kSearchBanks - 1, -1));
        if (b < 0) throw BadDocument("SearchBankData entry without bank");
        SearchBank s;
        s.used = true;
        s.LowFreq = Int(o, "LowFreq", kMinFreq, kMaxFreq, -1);
        s.HighFreq = Int(o, "HighFreq", kMinFreq, kMaxFreq, -1);
        if (s.LowFreq < 0 || s.HighFreq < 0) throw BadDocument("SearchBankData entry without LowFreq or HighFreq");
        s.LowFreq = s.LowFreq / 10 * 10;
        s.HighFreq = s.HighFreq / 10 * 10;
        Read(o, "StepFreq", 0, kMaxStep, s.StepFreq);
        Read(o, "AdjFreq", 0, kMaxStep, s.AdjFreq);
        s.StepFreq = s.StepFreq / 10 * 10;
        s.AdjFreq = s.AdjFreq / 10 * 10;
        s.mode = ReadMode(o);
        Read(o, "Flags_ProtectFlag", 0, 1, s.Flags_ProtectFlag);
        s.Title = Title(o, kTitleWidth, s.Title);
        ReadParams(o, s.p, s.mode);
        m.searchBanks[b] = s;
    }
    for (auto [key, groups] : {std::pair{"ScanGrpData", &m.scanGroups}, std::pair{"SearchGrpData", &m.searchGroups}}) {
        for (const QJsonValue& v : Array(root, key)) {
            const QJsonObject o = Object(v, key);
            const int g = static_cast<int>(Int(o, "group", 0, kGroups - 1, -1));
            if (g < 0) throw BadDocument(std::string(key) + " entry without group");
            Group& grp = (*groups)[g];
            Read(o, "Delay", 0, 100, grp.Delay);
            Read(o, "Free", 0, 60, grp.Free);
            Read(o, "GrpFlag_AutoStore", 0, 1, grp.GrpFlag_AutoStore);
            grp.Link = Link(o, "Link", grp.Link);
        }
    }
}

}  // namespace

std::string MemoryToJson(const Memory& m) {
    QJsonObject root;
    root["format"] = "kestrel-receiver-sim memory";
    root["version"] = kFormatVersion;
    root["Region"] = m.Region;
    QJsonArray offsets;
    for (auto o : m.offsets) offsets.append(o);
    root["OffsetFreqTable"] = offsets;
    root["SearchLink"] = LinkArray(m.searchLink);

    QJsonArray headers;
    for (int b = 0; b < kBanks; ++b) {
        QJsonObject o;
        o["bank"] = b;
        o["MemBankFlag_ProtectFlag"] = m.bankHeaders[b].MemBankFlag_ProtectFlag;
        o["Title"] = Latin1(m.bankHeaders[b].Title);
        headers.append(o);
    }
    root["MemBankData"] = headers;

    QJsonArray channels;
    for (int b = 0; b < kBanks; ++b) {
        for (int c = 0; c < kChannels; ++c) {
            const Channel& ch = m.channels[b][c];
            if (!ch.used) continue;
            QJsonObject o;
            o["bank"] = b;
            o["channel"] = c;
            o["RxFreq"] = static_cast<double>(ch.RxFreq);
            o["StepFreq"] = ch.StepFreq;
            o["AdjFreq"] = ch.AdjFreq;
            PutMode(o, ch.mode);
            o["MemFlag_Pass"] = ch.MemFlag_Pass;
            o["MemFlag_ProtectFlag"] = ch.MemFlag_ProtectFlag;
            o["Title"] = Latin1(ch.Title);
            PutParams(o, ch.p);
            channels.append(o);
        }
    }
    root["MemChData"] = channels;

    QJsonArray banks;
    for (int b = 0; b < kSearchBanks; ++b) {
        const SearchBank& s = m.searchBanks[b];
        if (!s.used) continue;
        QJsonObject o;
        o["bank"] = b;
        o["LowFreq"] = static_cast<double>(s.LowFreq);
        o["HighFreq"] = static_cast<double>(s.HighFreq);
        o["StepFreq"] = s.StepFreq;
        o["AdjFreq"] = s.AdjFreq;
        PutMode(o, s.mode);
        o["Flags_ProtectFlag"] = s.Flags_ProtectFlag;
        o["Title"] = Latin1(s.Title);
        PutParams(o, s.p);
        banks.append(o);
    }
    root["SearchBankData"] = banks;

    for (auto [key, groups, search] : {std::tuple{"ScanGrpData", &m.scanGroups, false},
                                       std::tuple{"SearchGrpData", &m.searchGroups, true}}) {
        QJsonArray a;
        for (int g = 0; g < kGroups; ++g) {
            const Group& grp = (*groups)[g];
            QJsonObject o;
            o["group"] = g;
            o["Delay"] = grp.Delay;
            o["Free"] = grp.Free;
            if (search) o["GrpFlag_AutoStore"] = grp.GrpFlag_AutoStore;
            o["Link"] = LinkArray(grp.Link);
            a.append(o);
        }
        root[key] = a;
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

bool MemoryFromJson(const std::string& text, Memory& memory, std::string& error) {
    QJsonParseError perr;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &perr);
    if (doc.isNull() || !doc.isObject()) {
        error = doc.isNull() ? perr.errorString().toStdString() : "the document is not an object";
        return false;
    }
    Memory m = memory;
    try {
        ReadDocument(doc.object(), m);
    } catch (const BadDocument& e) {
        error = e.what();
        return false;
    }
    memory = m;
    return true;
}

bool SaveMemory(const std::string& path, const Memory& memory, std::string& error) {
    // Written to a temporary file and renamed, so a reader never sees half a document.
    QSaveFile f(QString::fromStdString(path));
    const std::string text = MemoryToJson(memory);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !f.commit()) {
        error = f.errorString().toStdString();
        return false;
    }
    return true;
}

bool LoadMemory(const std::string& path, Memory& memory, std::string& error) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        error = f.errorString().toStdString();
        return false;
    }
    return MemoryFromJson(f.readAll().toStdString(), memory, error);
}

}  // namespace sim
