#pragma once

// Opening a file for reading only when it is a regular file: a named pipe, a device or a folder
// at the path is refused at once, without waiting for a writer or reading endless bytes.

#include <QFile>
#include <QString>

// Opens *file (unbuffered, read-only) on path; false, with *file closed, when the path names no
// regular file or the file cannot be opened.
bool openRegularFile(QFile* file, const QString& path);
