// Memory channels as CSV: one row per channel under a header row, the texts of the memory
// table for selections, UTF-8. docs/exchange-formats.md lists the columns.
//
// Import reads the whole file first and checks every row; only a file without any error
// changes the store. A cell equal to what the export writes for the channel now in the
// store leaves that field as stored, so export then import changes nothing; every other
// cell is read and checked with the channel dialog's and the answer parsers' rules.
#pragma once

#include "Store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace exchange {

// The header row's column names, in file order.
QStringList ChannelCsvHeader();

// All banks (bank < 0) or one bank 0..39.
QByteArray ExportChannelsCsv(const TStore& store, int bank = -1);

struct CsvImportError {
    int line = 0;    // line of the file, from 1; 0 for the file as a whole
    int column = 0;  // column, from 1; 0 for the row as a whole
    QString columnName;
    QString message;

    QString Text() const;  // "line 5, column 6 (MODE): unknown mode "XYZ""
};

struct CsvImportResult {
    std::vector<CsvImportError> errors;
    int rows = 0;             // channel rows read
    int changedChannels = 0;  // channels whose record changed (0 when there are errors)

    bool Ok() const { return errors.empty(); }
};

// Checks every row and, when none has an error, writes the rows into `store`.
CsvImportResult ImportChannelsCsv(const QByteArray& bytes, TStore& store);

}  // namespace exchange
