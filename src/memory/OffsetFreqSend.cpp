#include "OffsetFreqSend.h"

#include "FreqText.h"
#include "MemoryRead.h"

int OffsetFreqSetCommand(bool& offsetFreqChanged, const std::int32_t (&offsetFreqTable)[kOffsetCount],
                         TCommandList& out)
{
    if (!offsetFreqChanged)
        return 0;
    offsetFreqChanged = false;
    for (int n = 1; n <= 19; ++n)
        out.push_back({"OL" + TwoDigits(n) + " RF" + cmdfreq::MHzToDotStr(offsetFreqTable[n]), "[1](200)"});
    return 19;
}
