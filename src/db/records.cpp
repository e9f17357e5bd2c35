#include "db/records.h"

QString fieldFit(const QString& text, qsizetype fieldUnits) {
    qsizetype length = text.indexOf(QChar(u'\0'));
    if (length < 0)
        length = text.size();
    length = std::min(length, fieldUnits - 1);
    if (length > 0 && length < text.size() && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}
