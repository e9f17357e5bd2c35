#include "localisation/textfile.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <utility>

namespace {

struct ByteOrderMark {
    QByteArray bytes;
    QStringConverter::Encoding encoding;
};

} // namespace

QString decodeTextFile(const QByteArray& bytes) {
    const ByteOrderMark marks[] = {
        {QByteArrayLiteral("\xEF\xBB\xBF"), QStringConverter::Utf8},
        {QByteArrayLiteral("\xFF\xFE"), QStringConverter::Utf16LE},
        {QByteArrayLiteral("\xFE\xFF"), QStringConverter::Utf16BE},
    };
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    QByteArrayView content = bytes;
    for (const ByteOrderMark& mark : marks) {
        if (bytes.startsWith(mark.bytes)) {
            encoding = mark.encoding;
            content = content.sliced(mark.bytes.size());
            break;
        }
    }
    // Stateless: an incomplete sequence at the end (an odd byte of UTF-16, a cut UTF-8
    // sequence) becomes U+FFFD instead of being dropped silently.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(content);
}

QString stripLineEnd(QString line) {
    for (int i = 0; i < 2; ++i) {
        if (line.endsWith(u'\r') || line.endsWith(u'\n'))
            line.chop(1);
    }
    return line;
}

bool CTextFileReader::open(const QString& path) {
    setText({});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    setText(decodeTextFile(bytes));
    return true;
}

void CTextFileReader::setText(QString text) {
    m_text = std::move(text);
    m_position = 0;
}

bool CTextFileReader::readLine(QString* line, qsizetype maxCharacters) {
    if (atEnd() || maxCharacters < 1) {
        line->clear();
        return false;
    }
    const qsizetype limit = std::min(m_text.size() - m_position, maxCharacters);
    const qsizetype lineFeed = QStringView(m_text).sliced(m_position, limit).indexOf(u'\n');
    const qsizetype length = lineFeed < 0 ? limit : lineFeed + 1;
    *line = m_text.sliced(m_position, length);
    m_position += length;
    return true;
}
