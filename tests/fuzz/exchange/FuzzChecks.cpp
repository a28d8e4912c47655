#include "FuzzChecks.h"

#include "ChannelCsv.h"
#include "ImageFile.h"
#include "StoreSamples.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "exchange fuzz: %s\n", what);
    std::abort();
}

const TStore& Base()
{
    static const std::unique_ptr<TStore> base = samples::Realistic();
    return *base;
}

std::unique_ptr<TStore> CopyOf(const TStore& s)
{
    auto copy = samples::Zeroed();
    std::memcpy(static_cast<void*>(copy.get()), &s, sizeof(TStore));
    return copy;
}

}  // namespace

void FuzzImageOnce(const std::uint8_t* data, std::size_t size)
{
    auto store = CopyOf(Base());
    QString error;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!exchange::ReadImage(bytes, *store, error)) {
        if (error.isEmpty())
            Broken("image refused without a message");
        if (!samples::SameBytes(*store, Base()))
            Broken("a refused image changed the store");
        return;
    }
    auto again = CopyOf(Base());
    if (!exchange::ReadImage(exchange::WriteImage(*store), *again, error))
        Broken("an accepted image does not read back after saving");
    if (!samples::SameBytes(*store, *again))
        Broken("an accepted image changes over save and open");
}

void FuzzCsvOnce(const std::uint8_t* data, std::size_t size)
{
    auto store = CopyOf(Base());
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto result = exchange::ImportChannelsCsv(bytes, *store);
    if (!result.Ok()) {
        if (result.changedChannels != 0 || !samples::SameBytes(*store, Base()))
            Broken("a refused CSV changed the store");
        return;
    }
    auto again = CopyOf(*store);
    const auto second = exchange::ImportChannelsCsv(exchange::ExportChannelsCsv(*store), *again);
    if (!second.Ok() || second.changedChannels != 0 || !samples::SameBytes(*store, *again))
        Broken("an imported store does not survive its own export and import");
}

std::vector<QByteArray> GeneratedImageSeeds()
{
    return {exchange::WriteImage(*samples::Realistic()), exchange::WriteImage(*samples::Edges())};
}

std::vector<QByteArray> GeneratedCsvSeeds()
{
    return {exchange::ExportChannelsCsv(*samples::Realistic(), 0), exchange::ExportChannelsCsv(*samples::Edges(), 1)};
}
