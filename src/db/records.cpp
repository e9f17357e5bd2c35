#include "db/records.h"

int compareFileTime(const FileTime& a, const FileTime& b) {
    const quint64 x = a.value();
    const quint64 y = b.value();
    return x < y ? -1 : (x > y ? 1 : 0);
}
