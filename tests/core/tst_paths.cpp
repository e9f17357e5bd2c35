#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PathsTest : public QObject {
    Q_OBJECT
private slots:
    void languageBaseFolder_data();
    void languageBaseFolder();
};

// The program's folder and data folder as the package installs them; the language files are
// found beside the executable first (the build tree), then in the installed data folder.
void PathsTest::languageBaseFolder_data() {
    QTest::addColumn<QString>("besideProgram");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("build tree") << "folder" << false << "usr/libexec/tankometer";
    QTest::newRow("installed") << "" << true << "usr/share/tankometer";
    QTest::newRow("beside the program first") << "folder" << true << "usr/libexec/tankometer";
    QTest::newRow("a file named lang is no folder") << "file" << true << "usr/share/tankometer";
    QTest::newRow("none") << "" << false << "usr/libexec/tankometer";
}

void PathsTest::languageBaseFolder() {
    QFETCH(QString, besideProgram);
    QFETCH(bool, installed);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("usr/libexec/tankometer")));
    if (besideProgram == QStringLiteral("folder"))
        QVERIFY(dir.mkpath(QStringLiteral("usr/libexec/tankometer/lang")));
    if (besideProgram == QStringLiteral("file")) {
        QFile file(dir.filePath(QStringLiteral("usr/libexec/tankometer/lang")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (installed)
        QVERIFY(dir.mkpath(QStringLiteral("usr/share/tankometer/lang")));

    setProgramFolderOverride(dir.filePath(QStringLiteral("usr/libexec/tankometer")));
    const QString found = ::languageBaseFolder();
    setProgramFolderOverride(std::nullopt);
    QCOMPARE(QDir::cleanPath(found), dir.filePath(expected));
}

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
