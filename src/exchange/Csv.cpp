#include "Csv.h"

namespace exchange {

QString CsvField(const QString& value)
{
    const bool quote = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                       value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')) ||
                       value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    if (!quote)
        return value;
    QString out = value;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString CsvLine(const QStringList& fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += CsvField(fields[i]);
    }
    return line + QStringLiteral("\r\n");
}

namespace {

class CsvParser {
public:
    CsvParser(QStringView text, std::vector<CsvRecord>& records) : text_(text), records_(records) {}

    bool Run(CsvSyntaxError& error)
    {
        while (pos_ < text_.size()) {
            if (!Record()) {
                error = error_;
                return false;
            }
        }
        return true;
    }

private:
    bool AtLineEnd() const
    {
        const QChar c = text_[pos_];
        return c == QLatin1Char('\r') || c == QLatin1Char('\n');
    }

    // Consumes CR LF, CR or LF.
    void SkipLineEnd()
    {
        if (text_[pos_] == QLatin1Char('\r') && pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('\n'))
            ++pos_;
        ++pos_;
        ++line_;
    }

    bool Record()
    {
        CsvRecord rec;
        rec.line = line_;
        if (AtLineEnd()) {  // a blank line holds no record
            SkipLineEnd();
            return true;
        }
        for (;;) {
            QString field;
            if (!Field(field))
                return false;
            rec.fields << field;
            if (pos_ >= text_.size())
                break;
            if (text_[pos_] == QLatin1Char(',')) {
                ++pos_;
                if (pos_ >= text_.size()) {  // a trailing comma ends with an empty field
                    rec.fields << QString();
                    break;
                }
                continue;
            }
            SkipLineEnd();
            break;
        }
        records_.push_back(std::move(rec));
        return true;
    }

    bool Field(QString& out)
    {
        if (pos_ < text_.size() && text_[pos_] == QLatin1Char('"'))
            return QuotedField(out);
        const qsizetype start = pos_;
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c == QLatin1Char(',') || AtLineEnd())
                break;
            if (c == QLatin1Char('"'))
                return Error(QStringLiteral("a quote inside an unquoted field"));
            ++pos_;
        }
        out = text_.mid(start, pos_ - start).toString();
        return true;
    }

    bool QuotedField(QString& out)
    {
        const int startLine = line_;
        ++pos_;  // opening quote
        for (;;) {
            if (pos_ >= text_.size()) {
                line_ = startLine;
                return Error(QStringLiteral("a quoted field is not closed"));
            }
            const QChar c = text_[pos_];
            if (c == QLatin1Char('"')) {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('"')) {
                    out += QLatin1Char('"');
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !(pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('\n'))))
                ++line_;
            out += c;
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] != QLatin1Char(',') && !AtLineEnd())
            return Error(QStringLiteral("text after the closing quote of a field"));
        return true;
    }

    bool Error(const QString& message)
    {
        error_ = {line_, message};
        return false;
    }

    QStringView text_;
    std::vector<CsvRecord>& records_;
    qsizetype pos_ = 0;
    int line_ = 1;
    CsvSyntaxError error_;
};

}  // namespace

bool ParseCsv(QStringView text, std::vector<CsvRecord>& records, CsvSyntaxError& error)
{
    records.clear();
    return CsvParser(text, records).Run(error);
}

}  // namespace exchange
