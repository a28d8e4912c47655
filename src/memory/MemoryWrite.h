// Writing memory channels: the mode code, the main and detail commands of a channel, the
// command lists of the three write buttons and the write answer check. Toolkit-free.
#pragma once

#include "QueuedCommand.h"
#include "Records.h"
#include "Store.h"

#include <string>
#include <string_view>

// The three-character mode code of the "MD" parameter. A digital mode without a code digit
// (the band plan's automatic digital 128, or a damaged record) is sent as "D-AU", the mode
// the band plan's rule stores for those bands.
std::string Make_MD_Param(const TMemChElement& MemCh);

// "OF" parameter text: "+" only for positive offsets, "0", or "-" and the magnitude.
std::string OffsetParam(std::int16_t offsetFreq);

// A channel holds data when it is registered and has a frequency; others are deleted.
bool ChannelHoldsData(const TMemChElement& MemCh);

// "MX ..." for a channel that holds data, else "MQ" bb cc.
TQueuedCommand MainWriteCommand(int bank, int ch, const TMemChElement& MemCh);
// "MR" bb cc, "RX" and the set commands of a channel that holds data.
TCommandList DetailWriteCommands(int bank, int ch, const TMemChElement& MemCh);

// The channel commands of each write (without the opening "AZ", "IX1", the offset list
// and the closing "IX0").
TCommandList ChannelWriteCommands_1Ch(const TStore& store, int bank, int ch);
TCommandList ChannelWriteCommands_1Bank(const TStore& store, int bank);
TCommandList ChannelWriteCommands_AllBanks(const TStore& store);

// The opening commands, the offset commands (when the list changed) and the closing "IX0"
// around a write's channel commands; clears offsetFreqChanged when it queues the list.
TCommandList WrapWriteCommands(TCommandList channels, bool& offsetFreqChanged,
                               const std::int32_t (&offsetFreqTable)[kOffsetCount]);

// The write family's answer check: acknowledgements, the receiver's error answers and
// receive-state lines.
bool MemoryWriteRes_1Line(std::string_view RxString);
