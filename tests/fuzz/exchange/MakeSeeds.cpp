// Writes the full-size inputs of both fuzz entries into two folders, to start a long
// libFuzzer run from: exchange_fuzz_make_seeds IMAGE-FOLDER CSV-FOLDER
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool WriteAll(const QString& dir, const std::vector<QByteArray>& seeds)
{
    QDir().mkpath(dir);
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        QFile f(QDir(dir).filePath(QStringLiteral("generated-%1").arg(i)));
        if (!f.open(QIODevice::WriteOnly) || f.write(seeds[i]) != seeds[i].size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IMAGE-FOLDER CSV-FOLDER\n", argv[0]);
        return 2;
    }
    return WriteAll(QString::fromLocal8Bit(argv[1]), GeneratedImageSeeds()) &&
                   WriteAll(QString::fromLocal8Bit(argv[2]), GeneratedCsvSeeds())
               ? 0
               : 1;
}
