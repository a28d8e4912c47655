// The typed-input and answer frequency readers. Arbitrary text must give the failure mark
// or a value in the reader's range; and a frequency taken from the input bytes must come
// back from each text form it is shown or sent in (to the 10 Hz the answer forms carry).
#include "AnswerRig.h"

#include "FreqText.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void Expect(bool ok, const std::string& what)
{
    if (!ok)
        fuzzrig::Fail(what);
}

void ReadersOnText(std::string_view s)
{
    const std::int64_t mhz = DotStrToMHz(s);
    Expect(mhz == kBadMHz || (mhz >= 0 && mhz < kBadMHz && mhz % 10 == 0), "DotStrToMHz out of range");
    // Up to 999 kHz and 999 units of 10 Hz: the largest reading lies above the failure mark,
    // which the callers' test (below 1000000) rejects just the same.
    const std::int32_t khz = DotStrTokHz(s);
    Expect(khz == kBadkHz || (khz >= 0 && khz <= 999 * 1000 + 999 * 10 && khz % 10 == 0), "DotStrTokHz out of range");
    const std::int64_t typed = InputStrToMHz(s);
    if (s.find('.') != std::string_view::npos)
        Expect(typed == kBadMHz || (typed >= 0 && typed <= 3000999999LL), "InputStrToMHz out of range");
    else
        Expect(typed == kBadMHz || typed % 1000000 == 0, "InputStrToMHz without a point not whole MHz");
}

void RoundTrips(std::uint64_t raw)
{
    const std::int64_t hz = static_cast<std::int64_t>(raw % 3000000001ULL);
    const std::int64_t cut = hz - hz % 10;
    Expect(InputStrToMHz(cmdfreq::MHzToDotStr(hz)) == hz, "typed command form of " + std::to_string(hz));
    Expect(InputStrToMHz(dlgfreq::MHzToDotStr(hz)) == cut, "typed dialog form of " + std::to_string(hz));
    Expect(DotStrToMHz(dlgfreq::MHzToDotStr(hz)) == cut, "answer form of " + std::to_string(hz));
    Expect(DotStrToMHz(TableMHzStr(hz)) == cut, "table form of " + std::to_string(hz));
    const std::int32_t khz = static_cast<std::int32_t>(raw % 1000000ULL);
    Expect(DotStrTokHz(TablekHzStr(khz)) == khz - khz % 10, "table kHz form of " + std::to_string(khz));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadersOnText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (size >= sizeof(std::uint64_t)) {
        std::uint64_t raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        RoundTrips(raw);
    }
    return 0;
}
