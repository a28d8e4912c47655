#include "ParamAnswers.h"

#include "ChoiceLists.h"
#include "DModeCode.h"
#include "FreqText.h"

#include <cstdio>
#include <limits>

namespace memparam {

std::optional<std::size_t> FindKeyAt(std::string_view line, std::string_view key)
{
    const std::size_t at = line.find(key);
    if (at == 0 || at == 2)
        return at;
    return std::nullopt;
}

int AppendOffsetQueries(std::int32_t& cmdOLReceivedFlag, TCommandList& out)
{
    if (cmdOLReceivedFlag != 0)
        return 0;
    cmdOLReceivedFlag = 1;
    char cmd[8];
    for (int n = 1; n <= 39; ++n) {
        std::snprintf(cmd, sizeof cmd, "OL%02d", n);
        out.push_back({cmd, "[1](200)"});
    }
    return 39;
}

std::optional<TModeCode> ParseModeCode(std::string_view field)
{
    auto at = [&](std::size_t i) { return i < field.size() ? field.substr(i, 1) : std::string_view{}; };
    TModeCode mode;
    if (at(1) == "F") {
        mode.Dem_DModeEnable = 0;
        mode.DMode = 0;
    } else {
        const std::int64_t digit = ReadInt(at(1), 10);
        if (!InRange(digit, 0, 9))
            return std::nullopt;
        mode.Dem_DModeEnable = 1;
        mode.DMode = static_cast<std::uint8_t>(DModeFromCodeDigit(static_cast<int>(digit)));
    }
    const std::int64_t amode = ReadInt(at(2), 10);
    if (!InRange(amode, 0, 9))
        return std::nullopt;
    mode.AMode = static_cast<std::uint8_t>(amode);
    return mode;
}

std::optional<std::size_t> FindOptionalAU(std::string_view line, std::size_t md, std::size_t pt)
{
    const std::size_t au = line.find("AU", md + 2);
    if (au == std::string_view::npos || au >= pt)
        return std::nullopt;
    return au;
}

std::u16string Latin1ToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf16ToLatin1(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

std::uint8_t SquelchTypeFromResults(const TSquelchResults& r)
{
    if (r.CmdCI_Res == 1)
        return 1;  // CTC
    if (r.CmdCI_Res == 2)
        return 4;  // RTN
    if (r.CmdDI_Res == 1)
        return 2;  // DCS
    if (r.CmdSI_Res == 1)
        return 3;  // SCR
    return 0;      // OFF
}

std::optional<std::uint8_t> CtcssCodeFromAnswer(std::int64_t v)
{
    if (!InRange(v, 0, 99))
        return std::nullopt;
    const int index = CTCSSAnswerToIndex(static_cast<int>(v));
    return index < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(index));
}

std::optional<std::uint8_t> DcsCodeFromAnswer(std::int64_t v)
{
    if (!InRange(v, 0, 777) && v != 999)
        return std::nullopt;
    const int index = DCSCodeToIndex(static_cast<int>(v));
    return index < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(index));
}

bool ParamRes_OL(std::string_view cut, TParamContext& ctx)
{
    const std::int64_t index = ReadInt(cut.size() > 2 ? cut.substr(2, 2) : std::string_view{}, 40);
    const std::size_t rf = cut.find("RF");
    if (rf == std::string_view::npos || !InRange(index, 1, 39))
        return false;
    const std::int64_t hz = DotStrToMHz(cut.substr(rf + 2, 10));
    // A frequency the conversion rejects (or one that does not fit the 32-bit entry)
    // leaves the entry as it was, like every other rejected frequency answer.
    if (!InRange(hz, 0, std::numeric_limits<std::int32_t>::max()))
        return false;
    ctx.OffsetFreqTable[index] = static_cast<std::int32_t>(hz);
    if (index == 39 && ctx.OffsetListComplete)
        ctx.OffsetListComplete();
    return true;
}

bool ParamRes_AZ(std::string_view cut, TParamContext& ctx)
{
    const std::int64_t v = FieldInt(cut, 1, 10);
    if (!InRange(v, 0, 2))
        return false;
    ctx.Region = static_cast<std::int32_t>(v);
    if (ctx.RegionChanged)
        ctx.RegionChanged(static_cast<int>(v));
    return true;
}

bool IsRecordKey(std::string_view key)
{
    return key != "OL" && key != "AZ";
}

namespace {

std::size_t SharedKeyIndex(std::string_view key)
{
    for (std::size_t i = 0; i < kSharedKeys.size(); ++i)
        if (kSharedKeys[i] == key)
            return i;
    return kSharedKeys.size();
}

}  // namespace

void TDetailChainGuard::RecallSent(int target)
{
    recalled_ = target;
    armed_ = false;
}

void TDetailChainGuard::FocusAnswered(int target, bool auQueried)
{
    armed_ = recalled_ != kNoTarget && target == recalled_;
    auQueried_ = auQueried;
    taken_.fill(false);
}

void TDetailChainGuard::Disarm()
{
    recalled_ = kNoTarget;
    armed_ = false;
}

bool TDetailChainGuard::MayStore(std::string_view key) const
{
    if (!armed_)
        return false;
    if (key == "DI")
        return taken_[SharedKeyIndex("CI")] && taken_[SharedKeyIndex("SI")];
    return true;
}

void TDetailChainGuard::Taken(std::string_view key)
{
    const std::size_t i = SharedKeyIndex(key);
    if (i < taken_.size())
        taken_[i] = true;
}

bool TDetailChainGuard::Complete() const
{
    for (std::size_t i = 0; i < kSharedKeys.size(); ++i) {
        const std::string_view key = kSharedKeys[i];
        if (!IsRecordKey(key) || key == "TS" || (key == "AU" && !auQueried_))
            continue;
        if (!taken_[i])
            return false;
    }
    return true;
}

}  // namespace memparam
