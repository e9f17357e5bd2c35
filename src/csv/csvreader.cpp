#include "csv/csvreader.h"

#include <utility>
#include <vector>

namespace {

enum class QuotedSplit { Complete, Open, NotQuoted };

// Splits text as quoted fields allow; Open when a quoted field has not closed by the end of
// the text, NotQuoted when a quote stands where a quoted field cannot have it.
QuotedSplit splitQuoted(const QString& text, CsvRecord* record) {
    const qsizetype size = text.size();
    qsizetype position = 0;
    while (true) {
        if (position < size && text.at(position) == u'"') {
            QString value;
            qsizetype from = position + 1;
            while (true) {
                const qsizetype quote = text.indexOf(u'"', from);
                if (quote < 0)
                    return QuotedSplit::Open;
                value += QStringView(text).sliced(from, quote - from);
                if (quote + 1 < size && text.at(quote + 1) == u'"') {
                    value += u'"';
                    from = quote + 2;
                    continue;
                }
                if (quote + 1 < size && text.at(quote + 1) != u';')
                    return QuotedSplit::NotQuoted;
                record->fields.append(value);
                record->rawFields.append(text.sliced(position, quote + 1 - position));
                position = quote + 1;
                break;
            }
            if (position == size)
                return QuotedSplit::Complete;
            ++position; // the ';'
            continue;
        }
        const qsizetype separator = text.indexOf(u';', position);
        const qsizetype end = separator < 0 ? size : separator;
        QString raw = text.sliced(position, end - position);
        QString value = raw;
        if (value.endsWith(u'"'))
            value.chop(1);
        record->fields.append(value);
        record->rawFields.append(raw);
        if (separator < 0)
            return QuotedSplit::Complete;
        position = separator + 1;
    }
}

// Every ';' separates; one leading and then one trailing '"' are dropped from each field.
void splitPlain(const QString& text, CsvRecord* record) {
    for (const QString& raw : text.split(u';')) {
        QString value = raw;
        if (value.startsWith(u'"'))
            value.remove(0, 1);
        if (value.endsWith(u'"'))
            value.chop(1);
        record->fields.append(value);
        record->rawFields.append(raw);
    }
}

} // namespace

void splitCsvRecord(const QString& text, CsvRecord* record) {
    record->fields.clear();
    record->rawFields.clear();
    if (splitQuoted(text, record) == QuotedSplit::Complete)
        return;
    record->fields.clear();
    record->rawFields.clear();
    splitPlain(text, record);
}

bool CCsvReader::open(const QString& path) {
    m_pending.clear();
    m_nextLineNumber = 1;
    return m_file.open(path, kCsvFileBytes);
}

void CCsvReader::setText(QString text) {
    m_pending.clear();
    m_nextLineNumber = 1;
    m_file.setText(std::move(text));
}

bool CCsvReader::nextLine(Line* line) {
    if (!m_pending.empty()) {
        *line = std::move(m_pending.front());
        m_pending.pop_front();
        return true;
    }
    if (!m_file.readLine(&line->text, kCsvLineCharacters))
        return false;
    line->lineNumber = m_nextLineNumber++;
    const auto hasLineEnd = [](const QString& text) {
        return text.endsWith(u'\n') || text.endsWith(u'\r');
    };
    // The rest of a longer line is dropped, its line end kept.
    QString rest;
    while (!hasLineEnd(line->text) && m_file.readLine(&rest, kCsvLineCharacters)) {
        if (hasLineEnd(rest))
            line->text += rest.sliced(stripLineEnd(rest).size());
    }
    return true;
}

bool CCsvReader::readRecord(CsvRecord* record) {
    Line first;
    if (!nextLine(&first))
        return false;
    record->lineNumber = first.lineNumber;
    record->fields.clear();
    record->rawFields.clear();
    const QString line = stripLineEnd(first.text);
    QuotedSplit split = splitQuoted(line, record);
    if (split == QuotedSplit::Open) {
        // A quoted field that goes on over the line break: join the following lines while
        // the record stays within the line limit.
        QString joined = first.text;
        std::vector<Line> used;
        Line next;
        while (split == QuotedSplit::Open && nextLine(&next)) {
            joined += next.text;
            used.push_back(std::move(next));
            if (joined.size() > kCsvLineCharacters)
                break;
            record->fields.clear();
            record->rawFields.clear();
            split = splitQuoted(stripLineEnd(joined), record);
        }
        if (split != QuotedSplit::Complete) {
            for (auto line = used.rbegin(); line != used.rend(); ++line)
                m_pending.push_front(std::move(*line));
        }
    }
    if (split != QuotedSplit::Complete) {
        record->fields.clear();
        record->rawFields.clear();
        splitPlain(line, record);
    }
    return true;
}
