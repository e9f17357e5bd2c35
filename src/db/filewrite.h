#pragma once

// Writing a file so that a failure is never taken for success, and a crash or a power cut
// leaves the old file or the new one, whole.

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <span>

class QSaveFile;

// Writes bytes into file (open, nothing written yet), then commits it: only when the write, the
// flush of the buffer Qt keeps and the file's error state all succeeded, and beforeCommit (when
// given) returned true. Otherwise the new file is dropped and the file at the name stays as it
// was. A file that did not exist before is readable and writable by its owner only; one that
// existed keeps its permissions. After the rename the folder is flushed, so that the new name
// itself reaches the disk.
bool commitSaveFile(QSaveFile& file, const QByteArray& bytes,
                    const std::function<bool()>& beforeCommit = {});
// The same with the bytes given as pieces, written one after the other.
bool commitSaveFile(QSaveFile& file, std::span<const QByteArrayView> pieces,
                    const std::function<bool()>& beforeCommit = {});

#ifdef Q_OS_UNIX
// fsync; true also where the file system cannot flush at all.
bool flushDescriptor(int descriptor);
// Opens path with flags, flushes it and closes it.
bool flushPath(const QByteArray& path, int flags);
// A rename reaches the disk with the folder that holds the name, not with the file: until the
// folder is flushed, a power cut may bring back the old name, or no file at all.
bool flushFolder(const QByteArray& folder);
#endif
