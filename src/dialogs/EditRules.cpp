#include "EditRules.h"

#include "FreqText.h"
#include "IntText.h"

namespace editrules {

namespace {
constexpr std::int64_t kNotANumber = -1;
}

std::int64_t FreqFromInput(const QString& text)
{
    const std::int64_t f = InputStrToMHz(text.toStdString());
    if (f < kMinFreq || f > kMaxFreq)
        return -1;
    return f;
}

QString FreqBoxText(std::int64_t hz)
{
    return QString::fromStdString(dlgfreq::MHzToDotStr(hz));
}

QString TitleBoxText(const QString& typed)
{
    QString t = (typed + QString(kTitleChars, u' ')).left(kTitleChars);
    if (t.at(kTitleChars - 1).isHighSurrogate())
        t[kTitleChars - 1] = u' ';
    return t;
}

void StoreTitle(char16_t (&title)[kTitleLen], const QString& boxText)
{
    const QString t = boxText.left(kTitleChars);
    SetTitleText(title, std::u16string_view(reinterpret_cast<const char16_t*>(t.utf16()),
                                            static_cast<std::size_t>(t.size())));
}

VoiceScrInput VoiceScrFromInput(const QString& text)
{
    std::int64_t v = ReadInt(text.toStdString(), 0);
    v -= v % 10;
    if (v < 2000 || v > 7000)
        return {200, true};
    return {static_cast<std::uint16_t>(v / 10), false};
}

std::uint16_t NumberFromInput(const QString& text, std::uint16_t max)
{
    const std::int64_t v = ReadInt(text.toStdString(), kNotANumber);
    return (v >= 0 && v <= max) ? static_cast<std::uint16_t>(v) : 0;
}

std::uint16_t NacFromInput(const QString& text)
{
    const std::int64_t v = ReadHex(text.toStdString(), kNotANumber);
    return (v >= 0 && v <= 0xFFF) ? static_cast<std::uint16_t>(v) : 0;
}

QString NacText(std::uint16_t nac)
{
    return QString::number(nac, 16).toUpper().rightJustified(3, u'0');
}

bool AmpRefused(std::int64_t freq)
{
    return freq > 0 && freq < kAmpMinFreq;
}

}  // namespace editrules
