// Writes a text document as rich text: a font table (with character sets), a colour
// table, and per stretch of text the font (\f) and colour (\cf) it is shown in.
#pragma once

#include <QByteArray>
#include <QFont>

class QTextDocument;

class RtfWriter {
public:
    // defaultFont names font 0 and gives the text size.
    static QByteArray write(const QTextDocument& doc, const QFont& defaultFont);
};
