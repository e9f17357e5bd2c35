#pragma once

// The CRC-32 of zlib and PNG (ISO-HDLC), which checks the file's own sections.

#include <QByteArrayView>

quint32 crc32(QByteArrayView bytes);
