#include <QTest>

class BuildTest : public QObject {
    Q_OBJECT
private slots:
    void testHomeIsIsolated() { QVERIFY(!qEnvironmentVariable("HOME").isEmpty()); }
};

QTEST_GUILESS_MAIN(BuildTest)
#include "tst_build.moc"
