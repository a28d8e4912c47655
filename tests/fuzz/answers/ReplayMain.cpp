// Without libFuzzer: runs the entry on every file given, or on every file of every folder
// given, so the seed corpus is replayed by ctest in any build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

static bool RunFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::vector<fs::path> files;
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else {
            files.push_back(arg);
        }
        for (const fs::path& f : files) {
            if (!RunFile(f)) {
                std::fprintf(stderr, "cannot read %s\n", f.c_str());
                return 1;
            }
            ++runs;
        }
    }
    std::printf("replayed %d inputs\n", runs);
    // No input at all would make the replay prove nothing.
    return runs > 0 ? 0 : 1;
}
