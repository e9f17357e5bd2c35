#include "db/crc32.h"

#include <array>

namespace {

constexpr std::array<quint32, 256> makeCrcTable() {
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

} // namespace

quint32 crc32(QByteArrayView bytes) {
    static constexpr std::array<quint32, 256> table = makeCrcTable();
    quint32 c = 0xffffffffu;
    for (const char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xffu] ^ (c >> 8);
    return c ^ 0xffffffffu;
}
