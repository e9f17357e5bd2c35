#pragma once

// A file's bytes, read and written whole, for tests that look at or damage files.

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

// Empty for what is no regular file (opening a named pipe would wait for a writer).
inline QByteArray readAll(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}
