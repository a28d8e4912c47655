// Stores for the exchange tests, each allocated with every byte zeroed first so that two
// stores built alike compare equal with memcmp, padding included.
#pragma once

#include "Store.h"

#include <cstring>
#include <memory>
#include <vector>

namespace samples {

std::unique_ptr<TStore> Zeroed();
// As the program holds it before any read: templates filled, offset table at its defaults.
std::unique_ptr<TStore> Empty();
// A store after reads and edits: several banks of channels in all kinds of modes, bank
// headers, search banks, linked groups, region EURO.
std::unique_ptr<TStore> Realistic();
// Every field at the lower or the upper edge of what the program accepts; titles of 14
// characters beyond Latin-1, a NUL inside a title, frequencies with single hertz.
std::unique_ptr<TStore> Edges();

// Every field of a channel, title included, in record order (no padding bytes).
std::vector<std::int64_t> ChannelValues(const TMemChElement& r);

inline bool SameBytes(const TStore& a, const TStore& b)
{
    return std::memcmp(&a, &b, sizeof(TStore)) == 0;
}

}  // namespace samples
