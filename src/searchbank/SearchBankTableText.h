// Texts of the search bank table: headings, width samples and the cell of every column.
// No widgets here, so the texts are checked without a window.
#pragma once

#include "Store.h"

#include <QString>

#include <cstdint>

namespace sbank {

inline constexpr int kSearchTableColumns = 32;
inline constexpr int kSearchTableFixedColumns = 4;  // bank, lower and upper edge, title
inline constexpr int kSearchTableRows = 41;         // heading row and one row per bank
inline constexpr int kSearchTableRowHeight = 24;

// Heading of a column (empty for 0 and 9).
QString SearchTableHeading(int col);
// The text whose width, in the grid's font, is the column's width.
QString SearchTableWidthSample(int col);

// Cell text of a bank. Column 0 is always the bank number; a bank that is not registered
// shows "---" in column 1 and nothing further right. A stored index without an entry in
// its list shows an empty cell.
QString SearchTableCellText(const TStore& store, int bank, int col);

// Whether a cell outside column 0 is drawn greyed: the bank was never read, or only its
// summary was read and the column shows a parameter (above 9).
bool SearchTableCellGreyed(std::uint8_t readState, int col);

// "Bank Copy" labels: compact MHz edges and the title in brackets.
QString CopyFreqLabelText(const TSearchBankElement& rec);
QString CopyTitleLabelText(const TSearchBankElement& rec);

}  // namespace sbank
