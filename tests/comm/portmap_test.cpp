// The port map with a temporary runtime directory of virtual ports.
#include "PortMap.h"
#include "SerialFixture.h"

#include <cstdlib>
#include <filesystem>

using namespace commtest;

namespace {

std::optional<PortEntry> Find(const std::vector<PortEntry>& list, int number)
{
    for (const auto& p : list)
        if (p.number == number) return p;
    return std::nullopt;
}

TEST(PortMap, VirtualLinksAreListedInNumberOrderAndResolved)
{
    PortDir dir;
    Pty a, b;
    EXPECT_EQ(VirtualPortDir(), dir.root() + "/kestrel-ports");
    dir.link(907, a.slave());
    dir.link(5, b.slave());
    // Names that are not COM<n>, and links that point nowhere, are not ports.
    dir.link(0, a.slave());
    std::filesystem::create_symlink(a.slave(), dir.dir() + "/COM05");
    std::filesystem::create_symlink(a.slave(), dir.dir() + "/serial");
    dir.link(6, dir.root() + "/gone");

    const auto list = ListPorts();
    for (std::size_t i = 1; i < list.size(); ++i) EXPECT_LT(list[i - 1].number, list[i].number);
    const auto five = Find(list, 5);
    ASSERT_TRUE(five.has_value());
    EXPECT_EQ(five->device, b.slave());
    ASSERT_TRUE(Find(list, 907).has_value());
    EXPECT_EQ(Find(list, 907)->device, a.slave());
    EXPECT_FALSE(Find(list, 6).has_value());
    EXPECT_FALSE(Find(list, 0).has_value());

    EXPECT_EQ(ResolvePort(5), b.slave());
    EXPECT_EQ(ResolvePort(6), std::nullopt);
    EXPECT_EQ(ResolvePort(31999), std::nullopt);

    dir.unlink(5);  // the port goes with its link
    EXPECT_EQ(ResolvePort(5), std::nullopt);
}

TEST(PortMap, VirtualPortWinsOverKernelPortOfTheSameNumber)
{
    PortDir dir;
    Pty pty;
    // Take a number the kernel list uses when there is one; COM1 otherwise.
    const auto kernel = ListPorts();
    const int number = kernel.empty() ? 1 : kernel.front().number;
    dir.link(number, pty.slave());
    EXPECT_EQ(ResolvePort(number), pty.slave());
    const auto entry = Find(ListPorts(), number);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->device, pty.slave());
    EXPECT_EQ(ListPorts().size(), kernel.size() + (Find(kernel, number) ? 0 : 1));
}

TEST(PortMap, DirectoryWithoutRuntimeDirIsPerUserInTmp)
{
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(VirtualPortDir(), "/tmp/kestrel-ports-" + std::to_string(::getuid()));
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(VirtualPortDir(), "/tmp/kestrel-ports-" + std::to_string(::getuid()));
    if (old) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
