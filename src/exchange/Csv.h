// Comma-separated values as RFC 4180 writes them: fields separated by commas, records by
// CR LF; a field holding a comma, a quote or a line break is quoted, a quote inside doubled.
// The reader also takes LF or a lone CR as the end of a record, and skips blank lines.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace exchange {

struct CsvRecord {
    int line = 0;  // line of the file (from 1) where the record starts
    QStringList fields;
};

struct CsvSyntaxError {
    int line = 0;
    QString message;
};

// The field as it goes into a file (quoted when needed).
QString CsvField(const QString& value);
// One record with its closing CR LF.
QString CsvLine(const QStringList& fields);

// Splits text into records. Returns false at the first syntax error (a quote inside an
// unquoted field, text after a closing quote, a quote left open at the end).
bool ParseCsv(QStringView text, std::vector<CsvRecord>& records, CsvSyntaxError& error);

}  // namespace exchange
