#include "OffsetFreqSend.h"

#include "CommandEngine.h"
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

int OffsetFreqSetCommand(bool& offsetFreqChanged, const std::int32_t (&offsetFreqTable)[kOffsetCount],
                         CommandEngine& engine)
{
    TCommandList commands;
    const int n = OffsetFreqSetCommand(offsetFreqChanged, offsetFreqTable, commands);
    for (const TQueuedCommand& c : commands)
        engine.AppendCommand(QString::fromLatin1(c.Command.data(), static_cast<qsizetype>(c.Command.size())),
                             QString::fromLatin1(c.Option.data(), static_cast<qsizetype>(c.Option.size())));
    return n;
}
