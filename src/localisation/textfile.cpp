#include "localisation/textfile.h"

#include "db/regularfile.h"

#include <QStringDecoder>
#include <algorithm>
#include <utility>

namespace {

struct ByteOrderMark {
    QByteArrayView bytes;
    QStringConverter::Encoding encoding;
};

// The encoding that the start of a file gives, and the length of its byte-order mark.
ByteOrderMark byteOrderMark(QByteArrayView start) {
    const ByteOrderMark marks[] = {
        {"\xEF\xBB\xBF", QStringConverter::Utf8},
        {"\xFF\xFE", QStringConverter::Utf16LE},
        {"\xFE\xFF", QStringConverter::Utf16BE},
    };
    for (const ByteOrderMark& mark : marks) {
        if (start.startsWith(mark.bytes))
            return mark;
    }
    return {{}, QStringConverter::Utf8};
}

QString decodeWhole(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    // Stateless: an incomplete sequence at the end (an odd byte of UTF-16, a cut UTF-8
    // sequence) becomes U+FFFD instead of being dropped silently.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// How many of the bytes decode alone as they do within the file: all but the start of a
// character that the following bytes may complete.
qsizetype completeLength(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    const qsizetype size = bytes.size();
    if (encoding == QStringConverter::Utf8) {
        for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
            const uchar c = uchar(bytes.at(size - back));
            if (c < 0xC0)
                continue;
            const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            return length > back ? size - back : size;
        }
        return size;
    }
    // An odd byte stays with the code unit before it: decoded alone, it would give no U+FFFD.
    qsizetype even = size % 2 == 0 ? size : std::max<qsizetype>(size - 3, 0);
    if (even >= 2) {
        const uchar first = uchar(bytes.at(even - 2));
        const uchar second = uchar(bytes.at(even - 1));
        const uchar high = encoding == QStringConverter::Utf16LE ? second : first;
        if (high >= 0xD8 && high <= 0xDB)
            even -= 2; // a high surrogate waits for its low one
    }
    return even;
}

} // namespace

QString decodeTextFile(const QByteArray& bytes) {
    const ByteOrderMark mark = byteOrderMark(bytes);
    return decodeWhole(QByteArrayView(bytes).sliced(mark.bytes.size()), mark.encoding);
}

bool readTextFile(const QString& path, qint64 maxBytes, QString* text) {
    QFile file;
    if (!openRegularFile(&file, path) || file.size() > maxBytes)
        return false;
    // One byte more than allowed tells a file that grew since its size was taken.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes)
        return false;
    *text = decodeTextFile(bytes);
    return true;
}

QString stripLineEnd(QString line) {
    for (int i = 0; i < 2; ++i) {
        if (line.endsWith(u'\r') || line.endsWith(u'\n'))
            line.chop(1);
    }
    return line;
}

bool CTextFileReader::open(const QString& path, qint64 maxBytes) {
    setText({});
    if (!openRegularFile(&m_file, path))
        return false;
    if (m_file.size() > maxBytes) {
        m_file.close();
        return false;
    }
    m_bytesLeft = maxBytes;
    const QByteArray start = m_file.read(3);
    if (m_file.error() != QFileDevice::NoError) {
        m_file.close();
        return false;
    }
    const ByteOrderMark mark = byteOrderMark(start);
    m_encoding = mark.encoding;
    m_bytesLeft -= start.size();
    m_heldBytes = start.sliced(mark.bytes.size());
    m_reading = true;
    return true;
}

void CTextFileReader::setText(QString text) {
    m_file.close();
    m_reading = false;
    m_heldBytes.clear();
    m_text = std::move(text);
    m_position = 0;
    m_error = false;
}

// Each chunk is decoded on its own, but for the start of a character cut by its end, which goes
// with the next chunk: QStringDecoder's own state loses characters after a cut sequence.
void CTextFileReader::decodeChunk() {
    const QByteArray bytes = m_file.read(std::min(kTextFileChunkBytes, m_bytesLeft + 1));
    m_bytesLeft -= bytes.size();
    m_error = m_file.error() != QFileDevice::NoError || m_bytesLeft < 0;
    if (m_error) {
        m_reading = false;
        m_file.close();
        return;
    }
    m_heldBytes += bytes;
    const qsizetype complete =
        bytes.isEmpty() ? m_heldBytes.size() : completeLength(m_heldBytes, m_encoding);
    m_text += decodeWhole(QByteArrayView(m_heldBytes).first(complete), m_encoding);
    m_heldBytes.remove(0, complete);
    if (bytes.isEmpty()) {
        m_reading = false;
        m_file.close();
    }
}

bool CTextFileReader::fill(qsizetype characters) {
    if (m_reading && m_text.size() - m_position < characters) {
        m_text.remove(0, m_position);
        m_position = 0;
        while (m_reading && m_text.size() < characters)
            decodeChunk();
    }
    return m_position < m_text.size();
}

bool CTextFileReader::atEnd() {
    return !fill(1);
}

bool CTextFileReader::readLine(QString* line, qsizetype maxCharacters) {
    line->clear();
    // One character more than the piece, to see whether a CR at its end starts a CR LF.
    if (maxCharacters < 1 || !fill(maxCharacters + 1))
        return false;
    const QStringView rest = QStringView(m_text).sliced(m_position);
    const qsizetype limit = std::min(rest.size(), maxCharacters);
    qsizetype length = limit;
    const bool crEnds = m_lineEnds == LineEnds::Any;
    for (qsizetype i = 0; i < limit; ++i) {
        const QChar c = rest.at(i);
        if (c != u'\n' && !(crEnds && c == u'\r'))
            continue;
        const bool crLf = c == u'\r' && i + 1 < rest.size() && rest.at(i + 1) == u'\n';
        if (crLf && i + 1 == limit)
            length = i > 0 ? i : 1; // the CR LF starts the next piece, unless pieces are of one
        else
            length = i + 1 + (crLf ? 1 : 0);
        break;
    }
    *line = rest.first(length).toString();
    m_position += length;
    return true;
}
