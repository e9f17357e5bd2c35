#include "localisation/textfile.h"

#include "db/regularfile.h"

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

} // namespace

// A stateful decoder that tells whether it holds the start of a sequence still to be completed.
class CTextFileReader::Decoder : public QStringDecoder {
public:
    explicit Decoder(Encoding encoding) : QStringDecoder(encoding) {}
    bool holdsPartialSequence() const { return state.remainingChars != 0; }
};

QString decodeTextFile(const QByteArray& bytes) {
    const ByteOrderMark mark = byteOrderMark(bytes);
    // Stateless: an incomplete sequence at the end (an odd byte of UTF-16, a cut UTF-8
    // sequence) becomes U+FFFD instead of being dropped silently.
    QStringDecoder decoder(mark.encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes).sliced(mark.bytes.size()));
}

QString stripLineEnd(QString line) {
    for (int i = 0; i < 2; ++i) {
        if (line.endsWith(u'\r') || line.endsWith(u'\n'))
            line.chop(1);
    }
    return line;
}

CTextFileReader::CTextFileReader() = default;
CTextFileReader::~CTextFileReader() = default;

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
    m_decoder = std::make_unique<Decoder>(mark.encoding);
    m_bytesLeft -= start.size();
    m_text = m_decoder->decode(QByteArrayView(start).sliced(mark.bytes.size()));
    return true;
}

void CTextFileReader::setText(QString text) {
    m_file.close();
    m_decoder.reset();
    m_text = std::move(text);
    m_position = 0;
    m_error = false;
}

void CTextFileReader::decodeChunk() {
    const QByteArray bytes = m_file.read(std::min(kTextFileChunkBytes, m_bytesLeft + 1));
    m_bytesLeft -= bytes.size();
    m_error = m_file.error() != QFileDevice::NoError || m_bytesLeft < 0;
    if (!m_error)
        m_text += m_decoder->decode(bytes);
    if (m_error || bytes.isEmpty()) {
        // As the whole file's decoding does: a sequence cut by the end is one U+FFFD.
        if (!m_error && m_decoder->holdsPartialSequence())
            m_text += QChar(QChar::ReplacementCharacter);
        m_decoder.reset();
        m_file.close();
    }
}

bool CTextFileReader::fill(qsizetype characters) {
    if (m_decoder && m_text.size() - m_position < characters) {
        m_text.remove(0, m_position);
        m_position = 0;
        while (m_decoder && m_text.size() < characters)
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
    for (qsizetype i = 0; i < limit; ++i) {
        const QChar c = rest.at(i);
        if (c != u'\n' && c != u'\r')
            continue;
        const bool crLf = c == u'\r' && i + 1 < rest.size() && rest.at(i + 1) == u'\n';
        if (crLf && i + 1 == limit && i > 0)
            length = i; // the CR LF starts the next piece
        else
            length = i + 1 + (crLf ? 1 : 0);
        break;
    }
    *line = rest.first(length).toString();
    m_position += length;
    return true;
}
