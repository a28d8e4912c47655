// Received bytes through the line assembly into the engine's dispatcher, with an operation
// of every family running. Between lines the engine's clock ticks (as many times as the
// line's length modulo 3), so sends, time-outs and the end of operations interleave with
// the answers. After every line the engine must be consistent; at the end every stored
// field must be blank or in its accepted range, and without further answers the queue must
// run dry (only the search link restore may repeat, waiting for its acknowledgement).
#include "AnswerRig.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzrig::ReceiveRig rig;
    rig.StartEveryFamily();
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < size; ++i) {
        ++lineLength;
        if (!rig.PushByte(data[i]))
            continue;
        rig.CheckEngine();
        for (std::size_t t = 0; t < lineLength % 3; ++t) {
            rig.Tick();
            rig.CheckEngine();
        }
        lineLength = 0;
    }

    const std::string bad = fuzzrig::CheckStore(rig.Store());
    if (!bad.empty())
        fuzzrig::Fail(bad);

    CommandEngine& e = rig.Engine();
    // Each command needs one tick to be sent and three to time out.
    const long long budget = 4LL * (e.CommandList().size() + 4) + 64;
    for (long long t = 0; t < budget && e.TimerTag() != kTimerIdle; ++t) {
        rig.Tick();
        rig.CheckEngine();
    }
    if (e.TimerTag() != kTimerIdle && e.SearchBankState != 6)
        fuzzrig::Fail("the queue did not run dry without answers");
    return 0;
}
