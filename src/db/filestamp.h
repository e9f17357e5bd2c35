#pragma once

// What tells one version of a file from another without reading it: a program that replaces
// the file (a sync tool writes a new file and renames it over) changes the inode, and one that
// writes into it changes the inode's change time, which no program can set back (the
// modification time can be: rsync --inplace -t restores it).

#include <QString>
#include <QtGlobal>

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, nanoseconds since 1970 (milliseconds off Unix)
    quint64 inode = 0;     // 0 where the system has none
    qint64 changedNs = 0;  // the inode's change time (st_ctime); 0 where the system has none
    bool exists = false;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of what is at path (a symbolic link is followed); all zero when nothing is there.
FileStamp fileStamp(const QString& path);

#ifdef Q_OS_UNIX
// The stamp of an open file by its descriptor: what fileStamp of its path gives.
FileStamp descriptorStamp(int descriptor);
#endif
