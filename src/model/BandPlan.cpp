#include "BandPlan.h"

#include <span>

namespace {

// Row modes: the analog modes by AMode, any digital mode, and "D-CR".
enum Mode : std::uint8_t { FM, AM, SAH, SAL, USB, LSB, CW, DIG, DCR };

constexpr std::uint8_t kDCR = 3;  // DMode of "D-CR"

constexpr TAutoBandRow Row(std::int64_t edge, std::int32_t step, std::int32_t adj, Mode mode,
                           std::uint8_t ifbw, std::int8_t offset)
{
    const bool digital = mode == DIG || mode == DCR;
    return TAutoBandRow{edge,
                        step,
                        adj,
                        static_cast<std::uint8_t>(digital ? 1 : 0),
                        static_cast<std::uint8_t>(digital ? 0 : mode),
                        static_cast<std::uint8_t>(mode == DIG ? kAutoDigitalMode : mode == DCR ? kDCR : 0),
                        ifbw,
                        offset};
}

// Band rows per region: columns are lower edge (Hz), step (Hz), step adjust (Hz), mode,
// IF bandwidth position and offset selection (only the fixed entries 20..39 are used).
constexpr std::array kUsaBands{
    /*   0 */ Row(100000, 50, 0, CW, 0, 0),  // LF beacons
    /*   1 */ Row(530000, 10000, 0, AM, 0, 0),  // AM broadcast
    /*   2 */ Row(1800000, 50, 0, CW, 0, 0),  // 160 m CW
    /*   3 */ Row(1840000, 50, 0, LSB, 0, 0),  // 160 m phone
    /*   4 */ Row(2000000, 1000, 0, USB, 0, 0),  // MF maritime
    /*   5 */ Row(2300000, 5000, 0, AM, 1, 0),  // 120 m broadcast
    /*   6 */ Row(2505000, 1000, 0, USB, 0, 0),  // HF maritime, aero
    /*   7 */ Row(3200000, 5000, 0, AM, 1, 0),  // 90 m broadcast
    /*   8 */ Row(3400000, 1000, 0, USB, 0, 0),  // HF aero
    /*   9 */ Row(3500000, 50, 0, CW, 0, 0),  // 80 m CW
    /*  10 */ Row(3600000, 50, 0, LSB, 0, 0),  // 75 m phone
    /*  11 */ Row(4000000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  12 */ Row(4750000, 5000, 0, AM, 1, 0),  // 60 m broadcast
    /*  13 */ Row(5060000, 1000, 0, USB, 0, 0),  // fixed, 60 m channels
    /*  14 */ Row(5900000, 5000, 0, AM, 1, 0),  // 49 m broadcast
    /*  15 */ Row(6200000, 1000, 0, USB, 0, 0),  // HF maritime, aero
    /*  16 */ Row(7000000, 50, 0, CW, 0, 0),  // 40 m CW
    /*  17 */ Row(7125000, 50, 0, LSB, 0, 0),  // 40 m phone
    /*  18 */ Row(7300000, 5000, 0, AM, 1, 0),  // 41 m broadcast
    /*  19 */ Row(7450000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  20 */ Row(9400000, 5000, 0, AM, 1, 0),  // 31 m broadcast
    /*  21 */ Row(9900000, 1000, 0, USB, 0, 0),  // HF fixed, aero
    /*  22 */ Row(10100000, 50, 0, CW, 0, 0),  // 30 m
    /*  23 */ Row(10150000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  24 */ Row(11600000, 5000, 0, AM, 1, 0),  // 25 m broadcast
    /*  25 */ Row(12100000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  26 */ Row(13570000, 5000, 0, AM, 1, 0),  // 22 m broadcast
    /*  27 */ Row(13870000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  28 */ Row(14000000, 50, 0, CW, 0, 0),  // 20 m CW
    /*  29 */ Row(14150000, 50, 0, USB, 0, 0),  // 20 m phone
    /*  30 */ Row(14350000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  31 */ Row(15100000, 5000, 0, AM, 1, 0),  // 19 m broadcast
    /*  32 */ Row(15800000, 1000, 0, USB, 0, 0),  // HF fixed, maritime
    /*  33 */ Row(17480000, 5000, 0, AM, 1, 0),  // 16 m broadcast
    /*  34 */ Row(17900000, 1000, 0, USB, 0, 0),  // HF aero
    /*  35 */ Row(18068000, 50, 0, USB, 0, 0),  // 17 m
    /*  36 */ Row(18168000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  37 */ Row(18900000, 5000, 0, AM, 1, 0),  // 15 m broadcast
    /*  38 */ Row(19020000, 1000, 0, USB, 0, 0),  // HF fixed, maritime
    /*  39 */ Row(21000000, 50, 0, CW, 0, 0),  // 15 m CW
    /*  40 */ Row(21200000, 50, 0, USB, 0, 0),  // 15 m phone
    /*  41 */ Row(21450000, 5000, 0, AM, 1, 0),  // 13 m broadcast
    /*  42 */ Row(21850000, 1000, 0, USB, 0, 0),  // HF aero, fixed, maritime
    /*  43 */ Row(24890000, 50, 0, USB, 0, 0),  // 12 m
    /*  44 */ Row(24990000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  45 */ Row(25670000, 5000, 0, AM, 1, 0),  // 11 m broadcast
    /*  46 */ Row(26515000, 1000, 0, AM, 1, 0),  // CB
    /*  47 */ Row(27410000, 5000, 0, FM, 3, 0),  // HF land mobile
    /*  48 */ Row(28000000, 50, 0, CW, 0, 0),  // 10 m CW
    /*  49 */ Row(28300000, 50, 0, USB, 0, 0),  // 10 m phone
    /*  50 */ Row(29000000, 1000, 0, AM, 1, 0),  // 10 m AM
    /*  51 */ Row(29200000, 10000, 0, FM, 3, -20),  // 10 m FM repeaters
    /*  52 */ Row(29700000, 5000, 0, FM, 3, 0),  // VHF low band
    /*  53 */ Row(50000000, 50, 0, CW, 0, 0),  // 6 m CW
    /*  54 */ Row(50100000, 50, 0, USB, 0, 0),  // 6 m SSB
    /*  55 */ Row(51000000, 10000, 0, FM, 3, 0),  // 6 m FM
    /*  56 */ Row(54000000, 50000, 0, FM, 2, 0),  // TV 2-4
    /*  57 */ Row(72000000, 5000, 0, FM, 3, 0),  // fixed, paging
    /*  58 */ Row(74600000, 50000, 0, AM, 2, 0),  // aero marker
    /*  59 */ Row(75400000, 5000, 0, FM, 3, 0),  // fixed
    /*  60 */ Row(76000000, 50000, 0, FM, 2, 0),  // TV 5
    /*  61 */ Row(82000000, 100000, 0, FM, 1, 0),  // TV 6, FM broadcast
    /*  62 */ Row(108000000, 50000, 0, AM, 2, 0),  // aero navigation
    /*  63 */ Row(118000000, 25000, 0, AM, 1, 0),  // aero voice
    /*  64 */ Row(137000000, 5000, 0, FM, 2, 0),  // weather satellites
    /*  65 */ Row(138000000, 12500, 0, FM, 3, 0),  // government land mobile
    /*  66 */ Row(144000000, 50, 0, CW, 0, 0),  // 2 m CW
    /*  67 */ Row(144100000, 50, 0, USB, 0, 0),  // 2 m SSB
    /*  68 */ Row(144600000, 5000, 0, DIG, 3, 20),  // 2 m repeater inputs
    /*  69 */ Row(145800000, 50, 0, USB, 0, 0),  // 2 m satellites
    /*  70 */ Row(146000000, 12500, 0, FM, 3, -20),  // 2 m FM
    /*  71 */ Row(148000000, 12500, 0, FM, 3, 0),  // government land mobile
    /*  72 */ Row(150800000, 7500, 0, FM, 3, 0),  // VHF high band
    /*  73 */ Row(156000000, 25000, 0, FM, 3, 0),  // marine
    /*  74 */ Row(157450000, 7500, 0, FM, 3, 0),  // land mobile, railroad
    /*  75 */ Row(161575000, 25000, 0, FM, 3, -22),  // marine shore duplex
    /*  76 */ Row(162400000, 25000, 0, FM, 3, 0),  // weather broadcast
    /*  77 */ Row(162550000, 12500, 0, FM, 3, 0),  // government land mobile
    /*  78 */ Row(174000000, 50000, 0, FM, 2, 0),  // TV 7-13
    /*  79 */ Row(216000000, 12500, 0, FM, 3, 0),  // fixed, AMTS
    /*  80 */ Row(220000000, 20000, 0, FM, 3, 0),  // 1.25 m
    /*  81 */ Row(225000000, 25000, 0, AM, 1, 0),  // military aero
    /*  82 */ Row(380000000, 12500, 0, FM, 3, 0),  // military land mobile
    /*  83 */ Row(406000000, 12500, 0, FM, 3, 0),  // government land mobile
    /*  84 */ Row(420000000, 25000, 0, FM, 3, 0),  // 70 cm ATV
    /*  85 */ Row(432000000, 50, 0, USB, 0, 0),  // 70 cm weak signal
    /*  86 */ Row(433000000, 25000, 0, FM, 3, 0),  // 70 cm
    /*  87 */ Row(442000000, 25000, 0, FM, 3, 23),  // 70 cm repeaters
    /*  88 */ Row(445000000, 25000, 0, FM, 3, 0),  // 70 cm simplex
    /*  89 */ Row(447000000, 25000, 0, FM, 3, -23),  // 70 cm repeaters
    /*  90 */ Row(450000000, 6250, 0, FM, 3, 0),  // UHF land mobile
    /*  91 */ Row(470000000, 6250, 0, FM, 3, 0),  // T band
    /*  92 */ Row(512000000, 50000, 0, FM, 2, 0),  // UHF TV
    /*  93 */ Row(608000000, 12500, 0, FM, 3, 0),  // radio astronomy, telemetry
    /*  94 */ Row(614000000, 50000, 0, FM, 2, 0),  // 600 MHz
    /*  95 */ Row(698000000, 12500, 0, FM, 3, 0),  // 700 MHz public safety
    /*  96 */ Row(806000000, 12500, 0, FM, 3, 0),  // 800 MHz trunking
    /*  97 */ Row(824000000, 30000, 0, FM, 3, 0),  // cellular
    /*  98 */ Row(849000000, 12500, 0, FM, 3, 0),  // 800 MHz public safety
    /*  99 */ Row(869000000, 30000, 0, FM, 3, 0),  // cellular
    /* 100 */ Row(894000000, 12500, 0, FM, 3, 0),  // 900 MHz SMR, paging
    /* 101 */ Row(902000000, 25000, 0, FM, 3, 0),  // 33 cm
    /* 102 */ Row(928000000, 12500, 0, FM, 3, 0),  // 900 MHz paging, fixed
    /* 103 */ Row(960000000, 100000, 0, FM, 1, 0),  // aero navigation
    /* 104 */ Row(1215000000, 100000, 0, FM, 1, 0),  // satellite navigation, radar
    /* 105 */ Row(1240000000, 25000, 0, FM, 3, 0),  // 23 cm
    /* 106 */ Row(1300000000, 100000, 0, FM, 1, 0),  // radar
    /* 107 */ Row(1390000000, 12500, 0, FM, 3, 0),  // fixed, telemetry
    /* 108 */ Row(1427000000, 12500, 0, FM, 3, 0),  // L band and above
};

constexpr std::array kJapanBands{
    /*   0 */ Row(100000, 50, 0, CW, 0, 0),  // LF
    /*   1 */ Row(135700, 10, 0, CW, 0, 0),  // 136 kHz
    /*   2 */ Row(137800, 1000, 0, AM, 1, 0),  // aero beacons
    /*   3 */ Row(522000, 9000, 0, AM, 0, 0),  // AM broadcast
    /*   4 */ Row(1606500, 1000, 0, AM, 1, 0),  // MF maritime
    /*   5 */ Row(1810000, 50, 0, CW, 0, 0),  // 160 m CW
    /*   6 */ Row(1907500, 50, 0, LSB, 0, 0),  // 160 m
    /*   7 */ Row(1912500, 1000, 0, USB, 0, 0),  // MF maritime
    /*   8 */ Row(2300000, 5000, 0, AM, 1, 0),  // 120 m broadcast
    /*   9 */ Row(2495000, 1000, 0, USB, 0, 0),  // HF maritime, aero
    /*  10 */ Row(3200000, 5000, 0, AM, 1, 0),  // 90 m broadcast
    /*  11 */ Row(3400000, 1000, 0, USB, 0, 0),  // HF aero
    /*  12 */ Row(3500000, 50, 0, CW, 0, 0),  // 80 m CW
    /*  13 */ Row(3575000, 50, 0, LSB, 0, 0),  // 80 m phone
    /*  14 */ Row(3900000, 5000, 0, AM, 1, 0),  // 75 m broadcast
    /*  15 */ Row(4000000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  16 */ Row(4750000, 5000, 0, AM, 1, 0),  // 60 m broadcast
    /*  17 */ Row(5060000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  18 */ Row(5900000, 5000, 0, AM, 1, 0),  // 49 m broadcast
    /*  19 */ Row(6200000, 1000, 0, USB, 0, 0),  // HF maritime, aero
    /*  20 */ Row(7000000, 50, 0, CW, 0, 0),  // 40 m CW
    /*  21 */ Row(7030000, 50, 0, LSB, 0, 0),  // 40 m phone
    /*  22 */ Row(7200000, 5000, 0, AM, 1, 0),  // 41 m broadcast
    /*  23 */ Row(7450000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  24 */ Row(9400000, 5000, 0, AM, 1, 0),  // 31 m broadcast
    /*  25 */ Row(9900000, 1000, 0, USB, 0, 0),  // HF fixed, aero
    /*  26 */ Row(10100000, 50, 0, CW, 0, 0),  // 30 m
    /*  27 */ Row(10150000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  28 */ Row(11600000, 5000, 0, AM, 1, 0),  // 25 m broadcast
    /*  29 */ Row(12100000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  30 */ Row(13570000, 5000, 0, AM, 1, 0),  // 22 m broadcast
    /*  31 */ Row(13870000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  32 */ Row(14000000, 50, 0, CW, 0, 0),  // 20 m CW
    /*  33 */ Row(14100000, 50, 0, USB, 0, 0),  // 20 m phone
    /*  34 */ Row(14350000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  35 */ Row(15100000, 5000, 0, AM, 1, 0),  // 19 m broadcast
    /*  36 */ Row(15800000, 1000, 0, USB, 0, 0),  // HF fixed, maritime
    /*  37 */ Row(17480000, 5000, 0, AM, 1, 0),  // 16 m broadcast
    /*  38 */ Row(17900000, 1000, 0, USB, 0, 0),  // HF aero
    /*  39 */ Row(18068000, 50, 0, USB, 0, 0),  // 17 m
    /*  40 */ Row(18168000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  41 */ Row(18900000, 5000, 0, AM, 1, 0),  // 15 m broadcast
    /*  42 */ Row(19020000, 1000, 0, USB, 0, 0),  // HF fixed, maritime
    /*  43 */ Row(21000000, 50, 0, CW, 0, 0),  // 15 m CW
    /*  44 */ Row(21150000, 50, 0, USB, 0, 0),  // 15 m phone
    /*  45 */ Row(21450000, 5000, 0, AM, 1, 0),  // 13 m broadcast
    /*  46 */ Row(21850000, 1000, 0, USB, 0, 0),  // HF aero, fixed, maritime
    /*  47 */ Row(24890000, 50, 0, USB, 0, 0),  // 12 m
    /*  48 */ Row(25670000, 5000, 0, AM, 1, 0),  // 11 m broadcast
    /*  49 */ Row(26100000, 1000, 0, AM, 1, 0),  // HF fixed, citizen band
    /*  50 */ Row(27000000, 4000, 2500, AM, 2, 0),  // 27 MHz marine
    /*  51 */ Row(28000000, 50, 0, CW, 0, 0),  // 10 m CW
    /*  52 */ Row(28070000, 50, 0, USB, 0, 0),  // 10 m phone
    /*  53 */ Row(29000000, 1000, 0, AM, 1, 0),  // 10 m AM
    /*  54 */ Row(29300000, 10000, 0, FM, 3, 0),  // 10 m FM
    /*  55 */ Row(29700000, 20000, 0, FM, 3, 0),  // VHF low land mobile
    /*  56 */ Row(40000000, 20000, 10000, FM, 3, 0),  // 40 MHz land mobile
    /*  57 */ Row(47000000, 10000, 0, FM, 3, 0),  // land mobile
    /*  58 */ Row(50000000, 50, 0, CW, 0, 0),  // 6 m CW
    /*  59 */ Row(50100000, 50, 0, USB, 0, 0),  // 6 m SSB
    /*  60 */ Row(51000000, 20000, 0, FM, 3, 0),  // 6 m FM
    /*  61 */ Row(54000000, 20000, 0, FM, 3, 0),  // land mobile, fire
    /*  62 */ Row(60000000, 20000, 0, FM, 3, 0),  // municipal disaster radio
    /*  63 */ Row(70000000, 20000, 0, FM, 3, 0),  // land mobile
    /*  64 */ Row(72130000, 20000, 10000, FM, 3, 0),  // radio control, telemetry
    /*  65 */ Row(73000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  66 */ Row(74800000, 50000, 0, AM, 2, 0),  // aero marker
    /*  67 */ Row(75200000, 12500, 0, FM, 3, 0),  // land mobile
    /*  68 */ Row(76000000, 100000, 0, FM, 1, 0),  // FM broadcast
    /*  69 */ Row(108000000, 50000, 0, AM, 2, 0),  // aero navigation
    /*  70 */ Row(118000000, 25000, 0, AM, 1, 0),  // aero voice
    /*  71 */ Row(137000000, 10000, 0, FM, 3, 0),  // satellites, land mobile
    /*  72 */ Row(142000000, 12500, 0, FM, 3, 0),  // government land mobile
    /*  73 */ Row(142930000, 6250, 0, DIG, 4, 0),  // digital community radio
    /*  74 */ Row(144000000, 50, 0, CW, 0, 0),  // 2 m CW
    /*  75 */ Row(144100000, 50, 0, USB, 0, 0),  // 2 m SSB
    /*  76 */ Row(144500000, 20000, 0, FM, 3, 0),  // 2 m FM
    /*  77 */ Row(145800000, 50, 0, USB, 0, 0),  // 2 m satellites
    /*  78 */ Row(146000000, 12500, 6250, FM, 3, 0),  // VHF land mobile
    /*  79 */ Row(154443750, 6250, 0, DIG, 3, 0),  // VHF digital simple radio
    /*  80 */ Row(154618750, 12500, 0, FM, 3, 0),  // VHF land mobile
    /*  81 */ Row(155000000, 12500, 0, FM, 3, 0),  // VHF land mobile
    /*  82 */ Row(156000000, 25000, 0, FM, 3, 0),  // marine
    /*  83 */ Row(157450000, 12500, 0, FM, 3, 0),  // VHF land mobile
    /*  84 */ Row(158000000, 12500, 0, FM, 3, 0),  // railway, land mobile
    /*  85 */ Row(160600000, 25000, 0, FM, 3, -22),  // marine shore duplex
    /*  86 */ Row(162050000, 12500, 0, FM, 3, 0),  // VHF land mobile
    /*  87 */ Row(163000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  88 */ Row(166000000, 12500, 0, FM, 3, 0),  // fire, government
    /*  89 */ Row(169000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  90 */ Row(170000000, 50000, 0, FM, 2, 0),  // V-High multimedia
    /*  91 */ Row(187500000, 50000, 0, FM, 2, 0),  // VHF wide band
    /*  92 */ Row(202500000, 12500, 0, FM, 3, 0),  // public broadband
    /*  93 */ Row(205000000, 50000, 0, FM, 2, 0),  // VHF wide band
    /*  94 */ Row(222000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  95 */ Row(225000000, 25000, 0, AM, 1, 0),  // military aero
    /*  96 */ Row(230000000, 25000, 0, AM, 1, 0),  // military aero
    /*  97 */ Row(243000000, 25000, 0, AM, 0, 0),  // military aero guard
    /*  98 */ Row(244000000, 25000, 0, AM, 1, 0),  // military aero
    /*  99 */ Row(260000000, 6250, 0, DIG, 4, 0),  // fire digital
    /* 100 */ Row(270000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 101 */ Row(273000000, 25000, 0, AM, 1, 0),  // military aero
    /* 102 */ Row(300000000, 12500, 0, FM, 3, 0),  // fixed, land mobile
    /* 103 */ Row(312000000, 25000, 0, AM, 1, 0),  // military aero
    /* 104 */ Row(322000000, 12500, 0, FM, 3, 0),  // radio astronomy, fixed
    /* 105 */ Row(328600000, 50000, 0, AM, 2, 0),  // glide path
    /* 106 */ Row(335400000, 12500, 6250, FM, 3, 0),  // 335 MHz land mobile
    /* 107 */ Row(340000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 108 */ Row(345000000, 6250, 0, DIG, 4, 0),  // digital land mobile
    /* 109 */ Row(348000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 110 */ Row(350000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 111 */ Row(351175000, 6250, 0, DCR, 4, 0),  // UHF digital simple radio
    /* 112 */ Row(351381250, 12500, 0, FM, 3, 0),  // land mobile
    /* 113 */ Row(352000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 114 */ Row(356000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 115 */ Row(360000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 116 */ Row(365000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 117 */ Row(370000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 118 */ Row(375000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 119 */ Row(380000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 120 */ Row(385000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 121 */ Row(390000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 122 */ Row(395000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 123 */ Row(399900000, 12500, 0, FM, 3, 0),  // satellite, land mobile
    /* 124 */ Row(400150000, 10000, 0, FM, 3, 0),  // radiosondes
    /* 125 */ Row(406000000, 12500, 0, FM, 3, 0),  // distress beacons
    /* 126 */ Row(406100000, 12500, 0, FM, 3, 0),  // land mobile
    /* 127 */ Row(410000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 128 */ Row(413000000, 12500, 6250, FM, 3, 0),  // 413 MHz land mobile
    /* 129 */ Row(415000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 130 */ Row(420000000, 12500, 0, FM, 3, 0),  // low power telemetry
    /* 131 */ Row(421800000, 12500, 0, FM, 3, 0),  // low power relay inputs
    /* 132 */ Row(422050000, 12500, 0, FM, 3, 0),  // low power radio
    /* 133 */ Row(422300000, 12500, 0, FM, 3, 0),  // land mobile
    /* 134 */ Row(426000000, 12500, 0, FM, 3, 0),  // low power radio
    /* 135 */ Row(429000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 136 */ Row(430000000, 20000, 0, FM, 3, 0),  // 70 cm FM
    /* 137 */ Row(431000000, 20000, 0, FM, 3, 0),  // 70 cm FM
    /* 138 */ Row(431900000, 50, 0, CW, 0, 0),  // 70 cm CW
    /* 139 */ Row(432100000, 50, 0, USB, 0, 0),  // 70 cm SSB
    /* 140 */ Row(433000000, 20000, 0, FM, 3, 0),  // 70 cm FM
    /* 141 */ Row(434000000, 20000, 0, DIG, 3, 23),  // 70 cm digital
    /* 142 */ Row(435000000, 50, 0, USB, 0, 0),  // 70 cm satellites
    /* 143 */ Row(438000000, 20000, 0, FM, 3, 0),  // 70 cm FM
    /* 144 */ Row(439000000, 20000, 0, FM, 3, -23),  // 70 cm repeaters
    /* 145 */ Row(440000000, 12500, 0, FM, 3, -31),  // low power relay
    /* 146 */ Row(440250000, 12500, 0, FM, 3, 0),  // land mobile
    /* 147 */ Row(442000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 148 */ Row(450000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 149 */ Row(454000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 150 */ Row(458000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 151 */ Row(461000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 152 */ Row(462480000, 240000, 80000, FM, 1, -26),  // 462 MHz wide channels
    /* 153 */ Row(465000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 154 */ Row(467000000, 6250, 0, DIG, 4, 0),  // UHF digital simple radio
    /* 155 */ Row(467400000, 12500, 0, FM, 3, 0),  // land mobile
    /* 156 */ Row(470000000, 50000, 0, FM, 2, 0),  // UHF TV
    /* 157 */ Row(710000000, 50000, 0, FM, 2, 0),  // 700 MHz mobile
    /* 158 */ Row(770000000, 12500, 0, FM, 3, 0),  // broadcast links
    /* 159 */ Row(806000000, 12500, 0, FM, 3, 0),  // wireless microphones
    /* 160 */ Row(810000000, 12500, 0, FM, 3, 0),  // land mobile
    /* 161 */ Row(850000000, 12500, 6250, FM, 3, 37),  // MCA base
    /* 162 */ Row(860000000, 25000, 0, FM, 3, 0),  // cellular
    /* 163 */ Row(903000000, 12500, 6250, FM, 3, 0),  // 903 MHz land mobile
    /* 164 */ Row(905000000, 12500, 0, FM, 3, -37),  // MCA mobile
    /* 165 */ Row(915000000, 25000, 0, FM, 3, 0),  // RFID, telemetry
    /* 166 */ Row(930000000, 25000, 0, FM, 3, 0),  // cellular
    /* 167 */ Row(960000000, 100000, 0, FM, 1, 0),  // aero navigation
    /* 168 */ Row(1215000000, 100000, 0, FM, 1, 0),  // satellite navigation
    /* 169 */ Row(1240000000, 20000, 0, FM, 3, 0),  // 23 cm
    /* 170 */ Row(1260000000, 20000, 10000, FM, 3, 0),  // 23 cm
    /* 171 */ Row(1270000000, 20000, 0, DIG, 3, 0),  // 23 cm digital
    /* 172 */ Row(1290000000, 20000, 0, FM, 3, -32),  // 23 cm repeaters
    /* 173 */ Row(1294000000, 20000, 0, FM, 3, 0),  // 23 cm FM
    /* 174 */ Row(1300000000, 100000, 0, FM, 1, 0),  // radar
    /* 175 */ Row(1427000000, 25000, 0, FM, 3, 0),  // L band mobile
    /* 176 */ Row(1462000000, 25000, 0, FM, 3, 0),  // L band mobile
    /* 177 */ Row(1525000000, 25000, 0, FM, 3, 0),  // mobile satellite
    /* 178 */ Row(1559000000, 100000, 0, FM, 1, 0),  // satellite navigation
    /* 179 */ Row(1610000000, 25000, 0, FM, 3, 0),  // mobile satellite
    /* 180 */ Row(1660000000, 100000, 0, FM, 1, 0),  // meteorological aids
    /* 181 */ Row(1710000000, 100000, 0, FM, 1, 0),  // mobile
    /* 182 */ Row(1785000000, 100000, 0, FM, 1, 0),  // mobile
    /* 183 */ Row(1880000000, 100000, 0, FM, 1, 0),  // digital cordless phones
    /* 184 */ Row(1920000000, 500000, 0, FM, 1, 0),  // microwave
};

constexpr std::array kEuroBands{
    /*   0 */ Row(100000, 50, 0, CW, 0, 0),  // LF
    /*   1 */ Row(153000, 9000, 0, AM, 2, 0),  // long wave broadcast
    /*   2 */ Row(283500, 500, 0, AM, 1, 0),  // aero beacons
    /*   3 */ Row(526500, 9000, 0, AM, 0, 0),  // medium wave broadcast
    /*   4 */ Row(1606500, 1000, 0, USB, 0, 0),  // MF maritime
    /*   5 */ Row(1810000, 50, 0, CW, 0, 0),  // 160 m CW
    /*   6 */ Row(1838000, 50, 0, LSB, 0, 0),  // 160 m phone
    /*   7 */ Row(2000000, 1000, 0, USB, 0, 0),  // MF maritime
    /*   8 */ Row(2300000, 5000, 0, AM, 1, 0),  // 120 m broadcast
    /*   9 */ Row(2495000, 1000, 0, USB, 0, 0),  // HF maritime, aero
    /*  10 */ Row(3200000, 5000, 0, AM, 1, 0),  // 90 m broadcast
    /*  11 */ Row(3400000, 1000, 0, USB, 0, 0),  // HF aero
    /*  12 */ Row(3500000, 50, 0, CW, 0, 0),  // 80 m CW
    /*  13 */ Row(3570000, 50, 0, LSB, 0, 0),  // 80 m phone
    /*  14 */ Row(3800000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  15 */ Row(3900000, 5000, 0, AM, 1, 0),  // 75 m broadcast
    /*  16 */ Row(4000000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  17 */ Row(4750000, 5000, 0, AM, 1, 0),  // 60 m broadcast
    /*  18 */ Row(5060000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  19 */ Row(5351500, 500, 0, USB, 0, 0),  // 60 m
    /*  20 */ Row(5366500, 1000, 0, USB, 0, 0),  // HF fixed
    /*  21 */ Row(5900000, 5000, 0, AM, 1, 0),  // 49 m broadcast
    /*  22 */ Row(6200000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  23 */ Row(6525000, 1000, 0, USB, 0, 0),  // HF aero
    /*  24 */ Row(7000000, 50, 0, CW, 0, 0),  // 40 m CW
    /*  25 */ Row(7040000, 50, 0, LSB, 0, 0),  // 40 m phone
    /*  26 */ Row(7200000, 5000, 0, AM, 1, 0),  // 41 m broadcast
    /*  27 */ Row(7450000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  28 */ Row(9400000, 5000, 0, AM, 1, 0),  // 31 m broadcast
    /*  29 */ Row(9900000, 1000, 0, USB, 0, 0),  // HF fixed, aero
    /*  30 */ Row(10100000, 50, 0, CW, 0, 0),  // 30 m
    /*  31 */ Row(10150000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  32 */ Row(11600000, 5000, 0, AM, 1, 0),  // 25 m broadcast
    /*  33 */ Row(12100000, 1000, 0, USB, 0, 0),  // HF maritime
    /*  34 */ Row(13570000, 5000, 0, AM, 1, 0),  // 22 m broadcast
    /*  35 */ Row(13870000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  36 */ Row(14000000, 50, 0, CW, 0, 0),  // 20 m CW
    /*  37 */ Row(14070000, 50, 0, USB, 0, 0),  // 20 m data, phone
    /*  38 */ Row(14350000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  39 */ Row(15100000, 5000, 0, AM, 1, 0),  // 19 m broadcast
    /*  40 */ Row(15800000, 1000, 0, USB, 0, 0),  // HF fixed, maritime
    /*  41 */ Row(17480000, 5000, 0, AM, 1, 0),  // 16 m broadcast
    /*  42 */ Row(17900000, 1000, 0, USB, 0, 0),  // HF aero
    /*  43 */ Row(18068000, 50, 0, USB, 0, 0),  // 17 m
    /*  44 */ Row(18168000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  45 */ Row(18900000, 5000, 0, AM, 1, 0),  // 15 m broadcast
    /*  46 */ Row(19020000, 1000, 0, USB, 0, 0),  // HF fixed, maritime
    /*  47 */ Row(21000000, 50, 0, CW, 0, 0),  // 15 m CW
    /*  48 */ Row(21150000, 50, 0, USB, 0, 0),  // 15 m phone
    /*  49 */ Row(21450000, 5000, 0, AM, 1, 0),  // 13 m broadcast
    /*  50 */ Row(21850000, 1000, 0, USB, 0, 0),  // HF aero, fixed, maritime
    /*  51 */ Row(24890000, 50, 0, USB, 0, 0),  // 12 m
    /*  52 */ Row(24990000, 1000, 0, USB, 0, 0),  // HF fixed
    /*  53 */ Row(25670000, 5000, 0, AM, 1, 0),  // 11 m broadcast
    /*  54 */ Row(26100000, 1000, 0, AM, 1, 0),  // HF fixed
    /*  55 */ Row(26965000, 10000, 0, FM, 3, 0),  // CB
    /*  56 */ Row(27405000, 5000, 0, FM, 3, 0),  // HF land mobile
    /*  57 */ Row(28000000, 50, 0, CW, 0, 0),  // 10 m CW
    /*  58 */ Row(28225000, 50, 0, USB, 0, 0),  // 10 m phone
    /*  59 */ Row(29000000, 1000, 0, AM, 1, 0),  // 10 m AM
    /*  60 */ Row(29200000, 10000, 0, FM, 3, -20),  // 10 m FM repeaters
    /*  61 */ Row(29700000, 12500, 0, FM, 3, 0),  // VHF low land mobile
    /*  62 */ Row(47000000, 50000, 0, FM, 2, 0),  // former TV band I
    /*  63 */ Row(50000000, 50, 0, CW, 0, 0),  // 6 m CW
    /*  64 */ Row(50100000, 50, 0, USB, 0, 0),  // 6 m SSB
    /*  65 */ Row(51000000, 10000, 0, FM, 3, 0),  // 6 m FM
    /*  66 */ Row(52000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  67 */ Row(70000000, 12500, 0, FM, 3, 0),  // 4 m
    /*  68 */ Row(70500000, 12500, 0, FM, 3, 0),  // VHF mid land mobile
    /*  69 */ Row(88000000, 100000, 0, FM, 1, 0),  // FM broadcast
    /*  70 */ Row(108000000, 50000, 0, AM, 2, 0),  // aero navigation
    /*  71 */ Row(118000000, 8333, 0, AM, 1, 0),  // aero voice
    /*  72 */ Row(137000000, 5000, 0, FM, 2, 0),  // weather satellites
    /*  73 */ Row(138000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  74 */ Row(144000000, 50, 0, CW, 0, 0),  // 2 m CW
    /*  75 */ Row(144150000, 50, 0, USB, 0, 0),  // 2 m SSB
    /*  76 */ Row(144400000, 50, 0, CW, 0, 0),  // 2 m beacons
    /*  77 */ Row(144500000, 12500, 0, FM, 3, 0),  // 2 m all modes
    /*  78 */ Row(145000000, 12500, 0, DIG, 3, -20),  // 2 m repeaters, digital voice
    /*  79 */ Row(145800000, 50, 0, USB, 0, 0),  // 2 m satellites
    /*  80 */ Row(146000000, 12500, 0, FM, 3, 0),  // VHF land mobile
    /*  81 */ Row(156000000, 25000, 0, FM, 3, 0),  // marine
    /*  82 */ Row(160600000, 25000, 0, FM, 3, -22),  // marine shore duplex
    /*  83 */ Row(162050000, 12500, 0, FM, 3, 0),  // land mobile
    /*  84 */ Row(174000000, 50000, 0, FM, 2, 0),  // band III broadcast
    /*  85 */ Row(230000000, 25000, 0, AM, 1, 0),  // military aero
    /*  86 */ Row(380000000, 12500, 0, DIG, 3, 0),  // TETRA emergency mobile
    /*  87 */ Row(385000000, 12500, 0, FM, 3, 0),  // military land mobile
    /*  88 */ Row(390000000, 12500, 0, DIG, 3, -26),  // TETRA emergency base
    /*  89 */ Row(395000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  90 */ Row(400150000, 10000, 0, FM, 3, 0),  // radiosondes
    /*  91 */ Row(406100000, 12500, 0, FM, 3, 0),  // land mobile
    /*  92 */ Row(410000000, 12500, 0, DIG, 3, 0),  // TETRA civil
    /*  93 */ Row(430000000, 25000, 0, FM, 3, 0),  // 70 cm
    /*  94 */ Row(432000000, 50, 0, USB, 0, 0),  // 70 cm SSB
    /*  95 */ Row(433050000, 25000, 0, FM, 3, 0),  // ISM, 70 cm
    /*  96 */ Row(434790000, 25000, 0, FM, 3, 0),  // 70 cm
    /*  97 */ Row(438000000, 12500, 0, DIG, 3, 0),  // 70 cm digital
    /*  98 */ Row(440000000, 12500, 0, FM, 3, 0),  // land mobile
    /*  99 */ Row(446000000, 12500, 0, FM, 3, 0),  // PMR446
    /* 100 */ Row(446100000, 6250, 0, DIG, 4, 0),  // digital PMR446
    /* 101 */ Row(446200000, 12500, 0, FM, 3, 0),  // land mobile
    /* 102 */ Row(470000000, 50000, 0, FM, 2, 0),  // UHF TV
    /* 103 */ Row(790000000, 100000, 0, FM, 1, 0),  // 800 MHz mobile
    /* 104 */ Row(862000000, 25000, 0, FM, 3, 0),  // short range devices
    /* 105 */ Row(872000000, 25000, 12500, FM, 3, 0),  // short range devices, telemetry
    /* 106 */ Row(876000000, 25000, 0, FM, 3, 0),  // railway
    /* 107 */ Row(880000000, 200000, 0, FM, 0, 0),  // 900 MHz mobile uplink
    /* 108 */ Row(915000000, 25000, 0, FM, 3, 0),  // short range devices, RFID
    /* 109 */ Row(921000000, 200000, 0, FM, 0, 0),  // 900 MHz mobile downlink
    /* 110 */ Row(960000000, 100000, 0, FM, 1, 0),  // aero navigation
    /* 111 */ Row(1215000000, 100000, 0, FM, 1, 0),  // satellite navigation, radar
    /* 112 */ Row(1240000000, 25000, 0, FM, 3, 0),  // 23 cm
    /* 113 */ Row(1296000000, 50, 0, USB, 0, 0),  // 23 cm narrow band
    /* 114 */ Row(1298000000, 25000, 0, FM, 3, 0),  // 23 cm FM
    /* 115 */ Row(1300000000, 100000, 0, FM, 1, 0),  // radar
    /* 116 */ Row(1350000000, 25000, 0, FM, 3, 0),  // fixed, mobile
    /* 117 */ Row(1400000000, 100000, 0, FM, 1, 0),  // radio astronomy
    /* 118 */ Row(1429000000, 12500, 0, FM, 3, 0),  // L band and above
};

// A plan: the bands, then closing rows up to the end. At most 194 bands fit, since only
// rows 0..193 can be selected.
constexpr TAutoBandPlan MakePlan(std::span<const TAutoBandRow> bands)
{
    TAutoBandPlan plan{};
    std::size_t i = 0;
    for (; i < bands.size(); ++i)
        plan[i] = bands[i];
    for (; i < plan.size(); ++i)
        plan[i] = TAutoBandRow{kAutoBandClosingEdge, 1000, 0, 0, 0, 0, 3, 0};
    return plan;
}

static_assert(kUsaBands.size() == 109 && kJapanBands.size() == 185 && kEuroBands.size() == 119);

template <class Record>
bool ApplyRow(Record& r, std::int64_t f, int region)
{
    if (r.Dem_AutoBand == 0 || f == 0)
        return false;
    const int i = AutoBandRowIndex(f, region);
    if (i < 0)
        return false;
    const TAutoBandRow& row = AutoBandTable[static_cast<std::size_t>(region)][static_cast<std::size_t>(i)];
    r.StepFreq = row.StepFreq;
    r.AdjFreq = row.AdjFreq;
    r.Dem_DModeEnable = row.Dem_DModeEnable;
    r.AMode = row.AMode;
    r.DMode = row.DMode == kAutoDigitalMode ? kAutoDigitalSelects : row.DMode;
    r.IFBW = row.IFBW;
    r.OffsetFreq = row.OffsetFreq;
    return true;
}

}  // namespace

const std::array<TAutoBandPlan, kRegionCount> AutoBandTable{
    MakePlan(kUsaBands), MakePlan(kJapanBands), MakePlan(kEuroBands)};

int AutoBandRowIndex(std::int64_t f, int region)
{
    if (region < 0 || region >= kRegionCount)
        return -1;
    const TAutoBandPlan& plan = AutoBandTable[static_cast<std::size_t>(region)];
    constexpr int kLastCompared = kAutoBandRows - 2;  // row 194
    for (int i = 0; i <= kLastCompared; ++i) {
        if (f <= plan[static_cast<std::size_t>(i) + 1].LowerEdge)
            return i == kLastCompared ? -1 : i;
    }
    return -1;
}

bool MemCh_F_AU_Apply(TMemChElement& memch, int region)
{
    return ApplyRow(memch, memch.RxFreq, region);
}

bool SearchBank_F_AU_Apply(TSearchBankElement& SB, int region)
{
    return ApplyRow(SB, SB.LowFreq, region);
}
