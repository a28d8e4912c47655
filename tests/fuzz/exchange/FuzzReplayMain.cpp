// Without libFuzzer (a g++ build) a fuzz entry becomes a program that replays inputs: every
// file named on the command line or lying in a named folder, and with --generated also the
// full-size inputs made from the test stores, each whole and cut at many places.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const QByteArray& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                           static_cast<std::size_t>(input.size()));
}

bool RunFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    Run(f.readAll());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--generated")) {
            const std::vector<QByteArray> seeds =
                QString::fromLocal8Bit(argv[0]).contains(QLatin1String("csv")) ? GeneratedCsvSeeds() : GeneratedImageSeeds();
            for (const QByteArray& seed : seeds) {
                for (int cut = 0; cut <= 16; ++cut, ++runs)
                    Run(seed.left(seed.size() * cut / 16));
            }
            continue;
        }
        const QFileInfo info(arg);
        if (info.isDir()) {
            for (const QFileInfo& f : QDir(arg).entryInfoList(QDir::Files, QDir::Name)) {
                if (!RunFile(f.filePath()))
                    return 1;
                ++runs;
            }
        } else {
            if (!RunFile(arg))
                return 1;
            ++runs;
        }
    }
    if (runs == 0) {
        std::fprintf(stderr, "usage: %s [--generated] FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    std::printf("%d inputs replayed\n", runs);
    return 0;
}
