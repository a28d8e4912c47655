// The image file: every field of every record of the store as versioned, indented JSON.
//
// Reading checks the whole file against the values the program accepts before anything
// reaches the store, so a broken file leaves the store exactly as it was. The blank
// templates are no receiver data (the program fills them itself) and are not part of the
// image; loading keeps the target's templates. docs/exchange-formats.md describes the format.
#pragma once

#include "Store.h"

#include <QByteArray>
#include <QString>

namespace exchange {

inline constexpr int kImageVersion = 1;
inline constexpr char kImageFormatName[] = "Kestrel DataUtility image";

// The file contents for a store. The same store always gives the same bytes.
QByteArray WriteImage(const TStore& store);

// Replaces every image field of `store` with the file's values. On any error (syntax, an
// unknown version, a missing, unknown or out-of-range value) returns false, sets `error` to
// a message that names the place, and leaves `store` untouched, padding bytes included.
bool ReadImage(const QByteArray& bytes, TStore& store, QString& error);

}  // namespace exchange
