#include "ChoiceLists.h"

#include "FreqText.h"

#include <algorithm>
#include <cstdlib>

namespace {

inline constexpr std::array<std::string_view, 5> kWideBW{"200k", "100k", " 30k", " 15k", "  6k"};
inline constexpr std::array<std::string_view, 4> kAMBW{"15k", " 8k", " 5.5k", " 3.8k"};
inline constexpr std::array<std::string_view, 2> kSyncAMBW{"5.5k", "3.8k"};
inline constexpr std::array<std::string_view, 2> kSSBBW{"2.6k", "1.8k"};
inline constexpr std::array<std::string_view, 2> kCWBW{"500Hz", "200Hz"};

// The table labels differ from the dialog items in a few texts.
inline constexpr std::array<std::string_view, 4> kAMLabels{"15k", " 8k", "5.5k", "3.8k"};
inline constexpr std::array<std::string_view, 2> kCWLabels{"500", "200"};

constexpr bool InList(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

std::string TwoDigits(int n)
{
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string_view ItemAt(ItemList items, int index)
{
    return InList(index, items.size()) ? items[static_cast<std::size_t>(index)] : std::string_view{};
}

int CTCSSAnswerToIndex(int answer)
{
    if (answer == 0)
        return 0;
    if (answer == 99)
        return 1;
    if (answer >= 1 && answer <= 52)
        return answer + 1;
    return -1;
}

int CTCSSIndexToAnswer(int index)
{
    if (index == 0)
        return 0;
    if (index == 1)
        return 99;
    return InList(index, CTCSSItems.size()) ? index - 1 : -1;
}

int DCSCodeToIndex(int code)
{
    if (code == 0)
        return 0;
    if (code == 999)
        return 1;
    for (std::size_t i = 2; i < DCSItems.size(); ++i)
        if (std::atoi(std::string(DCSItems[i]).c_str()) == code)
            return static_cast<int>(i);
    return -1;
}

int DCSIndexToCode(int index)
{
    if (index == 0)
        return 0;
    if (index == 1)
        return 999;
    if (!InList(index, DCSItems.size()))
        return -1;
    return std::atoi(std::string(DCSItems[static_cast<std::size_t>(index)]).c_str());
}

std::optional<ModeFields> ModeFieldsOf(int position)
{
    if (!InList(position, kModeCount))
        return std::nullopt;
    if (position < kFirstAnalogMode)
        return ModeFields{1, static_cast<std::uint8_t>(position), 0};
    return ModeFields{0, 0, static_cast<std::uint8_t>(position - kFirstAnalogMode)};
}

ItemList IFBWDialogItems(int mode)
{
    switch (mode) {
    case 11:
        return kAMBW;
    case 12:
    case 13:
        return kSyncAMBW;
    case 14:
    case 15:
        return kSSBBW;
    case 16:
        return kCWBW;
    default:
        return mode <= 10 ? ItemList{kWideBW} : ItemList{};
    }
}

int IFBWDefaultPosition(int mode)
{
    if (mode > 16)
        return -1;
    if (mode >= 12)
        return 0;
    if (mode == 11)
        return 1;
    if (mode == 10 || mode == 5 || mode == 6 || mode == 9)
        return 3;
    return 4;
}

int DigitalModeIFBW(int mode)
{
    // DSTR YAES DMR D-CR dPMR P-25 ALIN T-DM T-TC D-AU
    static constexpr std::array<int, 10> kForced{3, 4, 4, 4, 4, 3, 3, 2, 2, 3};
    return InList(mode, kForced.size()) ? kForced[static_cast<std::size_t>(mode)] : -1;
}

std::optional<IFBWChoice> IFBWItemSet(int mode, int wanted)
{
    if (mode > 16)
        return std::nullopt;
    const ItemList items = IFBWDialogItems(mode);
    const int selected = InList(wanted, items.size()) ? wanted : IFBWDefaultPosition(mode);
    return IFBWChoice{items, selected, mode >= kFirstAnalogMode};
}

ItemList IFBWTableLabels(std::uint8_t aMode)
{
    switch (aMode) {
    case 0:
        return kWideBW;
    case 1:
        return kAMLabels;
    case 2:
    case 3:
        return kSyncAMBW;
    case 4:
    case 5:
        return kSSBBW;
    case 6:
        return kCWLabels;
    default:
        return {};
    }
}

std::string_view IFBWTableLabel(std::uint8_t aMode, int ifbw)
{
    return ItemAt(IFBWTableLabels(aMode), ifbw);
}

std::int32_t StepItemIndexToStepFreq(int index)
{
    return InList(index, StepFreqTable.size()) ? StepFreqTable[static_cast<std::size_t>(index)] : 0;
}

int StepFreqToComboBoxIndex(std::int32_t stepfreq)
{
    if (stepfreq == 8330)
        return 9;
    for (std::size_t i = 0; i < StepFreqTable.size(); ++i)
        if (StepFreqTable[i] == stepfreq)
            return static_cast<int>(i);
    return 10;
}

std::int32_t AdjItemIndexToAdjFreq(int index)
{
    return InList(index, AdjFreqTable.size()) ? AdjFreqTable[static_cast<std::size_t>(index)] : 0;
}

int AdjFreqToComboBoxIndex(std::int32_t adjfreq)
{
    if (adjfreq == 0)
        return 0;
    if (adjfreq == 3120)
        return 7;
    if (adjfreq == 4160 || adjfreq == 4170)
        return 9;
    for (std::size_t i = 2; i < AdjFreqTable.size(); ++i)
        if (AdjFreqTable[i] == adjfreq)
            return static_cast<int>(i);
    return -1;
}

ItemList AdjStepItems(int stepIndex)
{
    if (stepIndex < 0)
        return {};
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(stepIndex) + 1, AdjFreqLabels.size());
    return ItemList{AdjFreqLabels}.first(count);
}

std::string OffsetItemText(int n, std::int32_t entry)
{
    return TwoDigits(n) + " (" + dlgfreq::MHzToDotStr(entry) + "MHz)";
}

std::vector<std::string> OffsetItems(std::span<const std::int32_t> offsetTable)
{
    std::vector<std::string> items;
    items.reserve(kOffsetItemCount);
    for (int n = 0; n < kOffsetItemCount; ++n)
        items.push_back(OffsetItemText(n, InList(n, offsetTable.size()) ? offsetTable[static_cast<std::size_t>(n)] : 0));
    return items;
}

int OffsetPosition(std::int16_t offsetFreq)
{
    return std::abs(static_cast<int>(offsetFreq));
}

bool OffsetMinus(std::int16_t offsetFreq)
{
    return offsetFreq < 0;
}

std::int16_t OffsetFreqFromChoice(int position, bool minus)
{
    if (!InList(position, kOffsetItemCount))
        return 0;
    return static_cast<std::int16_t>(minus ? -position : position);
}

std::string DelayItemText(int index)
{
    if (index == 0)
        return "OFF";
    if (index == kDelayItemCount - 1)
        return "HOLD";
    if (!InList(index, kDelayItemCount))
        return {};
    return std::to_string(index / 10) + "." + std::to_string(index % 10);
}

std::string FreeItemText(int index)
{
    if (index == 0)
        return "OFF";
    return InList(index, kFreeItemCount) ? TwoDigits(index) : std::string{};
}

std::vector<std::string> DelayItems()
{
    std::vector<std::string> items;
    for (int i = 0; i < kDelayItemCount; ++i)
        items.push_back(DelayItemText(i));
    return items;
}

std::vector<std::string> FreeItems()
{
    std::vector<std::string> items;
    for (int i = 0; i < kFreeItemCount; ++i)
        items.push_back(FreeItemText(i));
    return items;
}
