// Texts of the memory table: headings, width samples and the cell of every column.
// No widgets here, so the texts are checked without a window.
#pragma once

#include "Store.h"

#include <QString>

inline constexpr int kMemTableColumns = 30;
inline constexpr int kMemTableFixedColumns = 3;  // bank-channel, frequency, title
inline constexpr int kMemTableRowHeight = 24;

// Heading of a column (empty for 0 and 8).
QString MemTableHeading(int col);
// The text whose width, in the grid's font, is the column's width.
QString MemTableWidthSample(int col);

// Cell text of a channel. Column 0 is always "bb-cc"; an empty channel shows "---" in
// column 1 and nothing further right. A stored index without an entry in its list shows
// an empty cell.
QString MemTableCellText(const TStore& store, int bank, int ch, int col);

// Whether a cell outside column 0 is drawn greyed: the channel was never read, or only its
// main answer was read and the column shows a detail (above 8).
bool MemTableCellGreyed(std::uint8_t readState, int col);
