// Sending the offset frequency list: entries 1..19, once after each change and once after
// program start. Every write operation calls this right after its opening commands.
#pragma once

#include "QueuedCommand.h"
#include "Store.h"

#include <cstdint>

class CommandEngine;

// When offsetFreqChanged is set: clears it and appends "OL" nn " RF" compact MHz for
// nn = 01..19. Entries 0 and 20..39 are the receiver's own and are never sent.
// Returns the number of commands appended.
int OffsetFreqSetCommand(bool& offsetFreqChanged, const std::int32_t (&offsetFreqTable)[kOffsetCount],
                         TCommandList& out);

// The same, appended to the engine's queue (which raises the progress maximum); for the
// write operations of every tab.
int OffsetFreqSetCommand(bool& offsetFreqChanged, const std::int32_t (&offsetFreqTable)[kOffsetCount],
                         CommandEngine& engine);
