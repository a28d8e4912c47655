// Whole-file reads and atomic writes for the exchange formats.
#pragma once

#include <QByteArray>
#include <QString>

namespace exchange {

// Larger files are refused before they are read: a full image is a few megabytes.
inline constexpr qint64 kMaxExchangeFileSize = 64 * 1024 * 1024;

// Writes through a temporary file that replaces `path` only once it is complete, so a crash
// or a full disk leaves the old file (or none) instead of a half-written one.
bool SaveFileAtomically(const QString& path, const QByteArray& data, QString& error);

// The whole file, or false with the reason.
bool ReadWholeFile(const QString& path, QByteArray& data, QString& error);

}  // namespace exchange
