// The fixed choice lists behind every selection field, in one place for both edit dialogs
// and both tables. A list position is the value stored in the record, and the item at that
// position is also the label the tables show for the value.
//
// Every lookup is safe for any index: an index outside a list gives an empty text, a step
// or adjust of 0, or position -1 ("no selection") as documented at each function.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using ItemList = std::span<const std::string_view>;

// Item at a position; empty text outside the list.
std::string_view ItemAt(ItemList items, int index);

// A list with the item selected when its dialog starts.
struct FixedChoiceList {
    ItemList Items;
    int Initial;
};

// ---- Fixed lists (position = stored value) ----

inline constexpr std::array<std::string_view, 5> SQLItems{"OFF", "CTC", "DCS", "SCR", "RTN"};
inline constexpr std::array<std::string_view, 3> SQ_TypeItems{"AUTO", "NSQ", "LSQ"};
inline constexpr std::array<std::string_view, 4> NRItems{"OFF", "LOW", "MID", "HIGH"};
inline constexpr std::array<std::string_view, 4> AGCItems{"AGCF", "AGCM", "AGCS", "RF-G"};
// "AMP" is position 0 and "OFF" position 1.
inline constexpr std::array<std::string_view, 3> ATT_AMPItems{"AMP", "OFF", "ATT"};
inline constexpr std::array<std::string_view, 4> DMR_SlotItems{"1+2", "2+1", "1", "2"};
inline constexpr std::array<std::string_view, 5> T_TC_SlotItems{"AUT", "1", "2", "3", "4"};
inline constexpr std::array<std::string_view, 2> IFDIRItems{"NOR", "INV"};

inline constexpr std::array<std::string_view, 54> CTCSSItems{
    "OFF",     "SRCH",    "060.0Hz", "067.0Hz", "069.3Hz", "071.9Hz", "074.4Hz", "077.0Hz",
    "079.7Hz", "082.5Hz", "085.4Hz", "088.5Hz", "091.5Hz", "094.8Hz", "097.4Hz", "100.0Hz",
    "103.5Hz", "107.2Hz", "110.9Hz", "114.8Hz", "118.8Hz", "120.0Hz", "123.0Hz", "127.3Hz",
    "131.8Hz", "136.5Hz", "141.3Hz", "146.2Hz", "151.4Hz", "156.7Hz", "159.8Hz", "162.2Hz",
    "165.5Hz", "167.9Hz", "171.3Hz", "173.8Hz", "177.3Hz", "179.9Hz", "183.5Hz", "186.2Hz",
    "189.9Hz", "192.8Hz", "196.6Hz", "199.5Hz", "203.5Hz", "206.5Hz", "210.7Hz", "218.1Hz",
    "225.7Hz", "229.1Hz", "233.6Hz", "241.8Hz", "250.3Hz", "254.1Hz"};

// Codes below 100 carry one leading space.
inline constexpr std::array<std::string_view, 108> DCSItems{
    "OFF", "SRCH", " 17", " 23", " 25", " 26", " 31", " 32", " 36", " 43", " 47", " 50",
    " 51", " 53",  " 54", " 65", " 71", " 72", " 73", " 74", "114", "115", "116", "122",
    "125", "131",  "132", "134", "143", "145", "152", "155", "156", "162", "165", "172",
    "174", "205",  "212", "223", "225", "226", "243", "244", "245", "246", "251", "252",
    "255", "261",  "263", "265", "266", "271", "274", "306", "311", "315", "325", "331",
    "332", "343",  "346", "351", "356", "364", "365", "371", "411", "412", "413", "423",
    "431", "432",  "445", "446", "452", "454", "455", "462", "464", "465", "466", "503",
    "506", "516",  "523", "526", "532", "546", "565", "606", "612", "624", "627", "631",
    "632", "654",  "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

inline constexpr FixedChoiceList SQLList{SQLItems, 0};
inline constexpr FixedChoiceList SQ_TypeList{SQ_TypeItems, 0};
inline constexpr FixedChoiceList NRList{NRItems, 3};
inline constexpr FixedChoiceList AGCList{AGCItems, 0};
inline constexpr FixedChoiceList ATT_AMPList{ATT_AMPItems, 1};
inline constexpr FixedChoiceList DMR_SlotList{DMR_SlotItems, 0};
inline constexpr FixedChoiceList T_TC_SlotList{T_TC_SlotItems, 0};
inline constexpr FixedChoiceList IFDIRList{IFDIRItems, 0};
inline constexpr FixedChoiceList CTCSSList{CTCSSItems, 0};
inline constexpr FixedChoiceList DCSList{DCSItems, 0};

// Receiver's CTCSS answer number (0 off, 1..52 tone, 99 search) -> list position; -1 otherwise.
int CTCSSAnswerToIndex(int answer);
// List position -> the receiver's CTCSS answer number; -1 outside the list.
int CTCSSIndexToAnswer(int index);
// Receiver's DCS code (0 off, 999 search, else the code's digits read as decimal, 17 for
// " 17") -> list position; -1 when the list has no such code.
int DCSCodeToIndex(int code);
// List position -> the receiver's DCS code; -1 outside the list.
int DCSIndexToCode(int index);

// ---- Mode list ----

inline constexpr int kModeCount = 17;
inline constexpr int kFirstAnalogMode = 10;  // positions 0..9 are digital, 10..16 analog

inline constexpr std::array<std::string_view, kModeCount> ModeItems{
    "DSTR", "YAES", "DMR", "D-CR", "dPMR", "P-25", "ALIN", "T-DM", "T-TC", "D-AU",
    "FM",   "AM",   "SAH", "SAL",  "USB",  "LSB",  "CW"};

struct ModeFields {
    std::uint8_t Dem_DModeEnable;
    std::uint8_t DMode;
    std::uint8_t AMode;
};

// Record fields of a mode position 0..16; nothing for any other position.
std::optional<ModeFields> ModeFieldsOf(int position);

// Mode position of a record: DMode when the digital flag is exactly 1, else AMode + 10.
// The result may lie outside the list for damaged records; ItemAt then gives "".
constexpr int ModePosition(std::uint8_t dModeEnable, std::uint8_t dMode, std::uint8_t aMode)
{
    return dModeEnable == 1 ? dMode : aMode + kFirstAnalogMode;
}

template <class Record>
constexpr int ModePositionOf(const Record& r)
{
    return ModePosition(r.Dem_DModeEnable, r.DMode, r.AMode);
}

// ---- IF bandwidth ----

// Dialog items for a mode position; digital positions and "no mode" (-1 or any value
// below 10) share the FM items. Empty above 16.
ItemList IFBWDialogItems(int mode);
// Position selected when the wanted one does not exist: 3 for "P-25", "ALIN", "D-AU" and
// "FM", 4 for the other digital modes and "no mode", 1 for "AM", 0 otherwise; -1 above 16.
int IFBWDefaultPosition(int mode);
// Bandwidth forced when the user picks a digital mode; -1 for analog or invalid positions.
int DigitalModeIFBW(int mode);

// What the dialog bandwidth list shows after a rebuild for a mode and wanted position.
struct IFBWChoice {
    ItemList Items;
    int Selected;
    bool Enabled;
};
// Nothing for a mode above 16: the list stays as it was.
std::optional<IFBWChoice> IFBWItemSet(int mode, int wanted);

// Labels the tables show, by AMode (every digital record has AMode 0); empty from 7 on.
ItemList IFBWTableLabels(std::uint8_t aMode);
std::string_view IFBWTableLabel(std::uint8_t aMode, int ifbw);

// The mode rule run when the user picks mode position m in a dialog: sets the mode fields,
// forces or keeps the bandwidth, switches F-AU off and raises ReadState from 0 to 1.
// Returns false, the record unchanged, when m is no list position.
template <class Record>
bool ApplyModePick(Record& r, int m)
{
    const std::optional<ModeFields> fields = ModeFieldsOf(m);
    if (!fields)
        return false;
    const int wanted = m < kFirstAnalogMode ? DigitalModeIFBW(m) : r.IFBW;
    r.Dem_DModeEnable = fields->Dem_DModeEnable;
    r.DMode = fields->DMode;
    r.AMode = fields->AMode;
    r.IFBW = static_cast<std::uint8_t>(IFBWItemSet(m, wanted)->Selected);
    r.Dem_AutoBand = 0;
    if (r.ReadState == 0)
        r.ReadState = 1;
    return true;
}

// ---- Step and step adjust ----

inline constexpr int kStepCount = 20;
inline constexpr std::array<std::int32_t, kStepCount> StepFreqTable{
    10,   50,   100,  500,   1000,  2000,  5000,  6250,  7500,   8333,
    9000, 10000, 12500, 15000, 20000, 25000, 30000, 50000, 100000, 500000};
inline constexpr std::array<std::string_view, kStepCount> StepFreqItems{
    "0.01k", "0.05k", "0.1k", "0.5k", "1k",  "2k",  "5k",  "6.25k", "7.5k", "8.333k",
    "9k",    "10k",   "12.5k", "15k", "20k", "25k", "30k", "50k",   "100k", "500k"};
inline constexpr FixedChoiceList StepFreqList{StepFreqItems, 11};  // "10k"

// Positions 0 and 1 both mean no adjust; from 2 on each adjust is half the step there.
inline constexpr std::array<std::int32_t, kStepCount> AdjFreqTable{
    0,    0,    50,   250,  500,  1000,  2500,  3125,  3750,  4166,
    4500, 5000, 6250, 7500, 10000, 12500, 15000, 25000, 50000, 250000};
inline constexpr std::array<std::string_view, kStepCount> AdjFreqLabels{
    "0 ",   "0 ",  "0.05k", "0.25k", "0.5k",  "1k",    "2.5k", "3.125k", "3.75k", "4.166k",
    "4.5k", "5k",  "6.25k", "7.5k",  "10k",   "12.5k", "15k",  "25k",    "50k",   "250k"};

// StepFreqTable at a position; 0 (no step) outside the list.
std::int32_t StepItemIndexToStepFreq(int index);
// Position of a step; 8330 (the receiver's 10 Hz reading of 8333) gives "8.333k";
// every other value without a position, 0 included, gives 10 ("9k").
int StepFreqToComboBoxIndex(std::int32_t stepfreq);
// AdjFreqTable at a position; 0 (no adjust) outside the list.
std::int32_t AdjItemIndexToAdjFreq(int index);
// Position of an adjust: 0 for 0, the exact positions 2..19, 3120 -> 7, 4160 and 4170 -> 9.
// Any other value has no position and gives -1, so the list shows no selection rather
// than claiming "no adjust" for a record that holds one. Position 1 is never returned.
int AdjFreqToComboBoxIndex(std::int32_t adjfreq);
// Adjust labels offered for a step position i: positions 0..i; none below 0, all above 19.
ItemList AdjStepItems(int stepIndex);

// ---- Offset selection ----

inline constexpr int kOffsetItemCount = 40;

// Item n of the offset list: 2 digits of n, " (", fixed MHz of the entry, "MHz)".
std::string OffsetItemText(int n, std::int32_t entry);
// The 40 items from an offset table; entries the table lacks count as 0.
std::vector<std::string> OffsetItems(std::span<const std::int32_t> offsetTable);
// List position shown for a record's OffsetFreq (its magnitude) and its direction.
int OffsetPosition(std::int16_t offsetFreq);
bool OffsetMinus(std::int16_t offsetFreq);
// OffsetFreq from a list position and the "Minus" box; 0 for a position outside 0..39.
std::int16_t OffsetFreqFromChoice(int position, bool minus);

// ---- Group lists ----

inline constexpr int kDelayItemCount = 101;  // "OFF", "0.1" .. "9.9", "HOLD"
inline constexpr int kFreeItemCount = 61;    // "OFF", "01" .. "60"

// Item text; empty outside the list.
std::string DelayItemText(int index);
std::string FreeItemText(int index);
std::vector<std::string> DelayItems();
std::vector<std::string> FreeItems();
