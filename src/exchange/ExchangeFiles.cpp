#include "ExchangeFiles.h"

#include <QFile>
#include <QSaveFile>

namespace exchange {

bool SaveFileAtomically(const QString& path, const QByteArray& data, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(data) != data.size()) {
        error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool ReadWholeFile(const QString& path, QByteArray& data, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxExchangeFileSize) {
        error = QStringLiteral("Cannot open %1: the file is larger than %2 bytes")
                    .arg(path)
                    .arg(kMaxExchangeFileSize);
        return false;
    }
    data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace exchange
