#include "RtfWriter.h"

#include "TrafficLog.h"

#include <QList>
#include <QPair>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>
#include <cstdint>

namespace {

struct FontKey {
    QString family;
    int charset = 0;
    bool operator==(const FontKey&) const = default;
};

class Tables {
public:
    explicit Tables(const QFont& def) { fonts_.append(FontKey{def.family(), 0}); }

    int fontIndex(const FontKey& k)
    {
        const qsizetype i = fonts_.indexOf(k);
        if (i >= 0)
            return int(i);
        fonts_.append(k);
        return int(fonts_.size() - 1);
    }

    // Colour 0 is the reader's automatic colour; ours start at 1.
    int colourIndex(const QColor& c)
    {
        const QRgb rgb = c.rgb();
        const qsizetype i = colours_.indexOf(rgb);
        if (i >= 0)
            return int(i) + 1;
        colours_.append(rgb);
        return int(colours_.size());
    }

    QByteArray header() const
    {
        QByteArray out = "{\\fonttbl";
        for (int i = 0; i < fonts_.size(); ++i)
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" +
                   QByteArray::number(fonts_[i].charset) + ' ' + escapeName(fonts_[i].family) +
                   ";}";
        out += "}\r\n{\\colortbl ;";
        for (QRgb rgb : colours_)
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
                   QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) +
                   ';';
        out += "}\r\n";
        return out;
    }

private:
    static QByteArray escapeName(const QString& s)
    {
        QByteArray out;
        for (QChar c : s)
            if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u';' && c != u'{' &&
                c != u'}' && c != u'\\')
                out += char(c.unicode());
        return out;
    }

    QList<FontKey> fonts_;
    QList<QRgb> colours_;
};

void appendText(QByteArray& out, const QString& text)
{
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x7f) {
            out += char(c);
        } else if (c >= 0xa0 && c <= 0xff) {
            out += "\\'" + QByteArray::number(int(c), 16).rightJustified(2, '0');
        } else {
            // Signed 16-bit code, then one replacement character for older readers.
            out += "\\u" + QByteArray::number(int(std::int16_t(c))) + '?';
        }
    }
}

int halfPoints(const QFont& f)
{
    const double pt = f.pointSizeF() > 0 ? f.pointSizeF() : 9.0;
    return int(std::lround(pt * 2));
}

}  // namespace

QByteArray RtfWriter::write(const QTextDocument& doc, const QFont& defaultFont)
{
    Tables tables(defaultFont);
    QByteArray body;
    int font = 0;
    int colour = 0;
    bool firstBlock = true;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (!firstBlock)
            body += "\\par\r\n";
        firstBlock = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid())
                continue;
            const QTextCharFormat f = frag.charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            const FontKey key{families.isEmpty() ? defaultFont.family() : families.first(),
                              TrafficLog::charsetOf(f)};
            const int fi = tables.fontIndex(key);
            const int ci =
                f.hasProperty(QTextFormat::ForegroundBrush) ? tables.colourIndex(f.foreground().color()) : 0;
            QByteArray words;
            if (fi != font)
                words += "\\f" + QByteArray::number(fi);
            if (ci != colour)
                words += "\\cf" + QByteArray::number(ci);
            if (!words.isEmpty())
                body += words + ' ';
            font = fi;
            colour = ci;
            appendText(body, frag.text());
        }
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n";
    out += tables.header();
    out += "\\pard\\f0\\fs" + QByteArray::number(halfPoints(defaultFont)) + ' ';
    out += body;
    out += "}\r\n";
    return out;
}
