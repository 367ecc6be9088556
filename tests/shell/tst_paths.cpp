// Where the program keeps the files it writes: beside itself while the user
// may write there, else in the user's data folder.
#include "shell/paths.h"

#include <QFileInfo>
#include <QtTest>

using namespace zel;

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void filesFolder_data();
    void filesFolder();
};

void TestPaths::filesFolder_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("xdgDataHome");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("folder");
    QTest::newRow("portable") << u"/opt/z/zelmora"_qs << true << u"/d"_qs << u"/h"_qs << u"/opt/z/"_qs;
    QTest::newRow("portable, root folder") << u"/zelmora"_qs << true << QString() << u"/h"_qs << u"/"_qs;
    QTest::newRow("installed, XDG_DATA_HOME") << u"/usr/bin/zelmora"_qs << false << u"/d/"_qs << u"/h"_qs
                                              << u"/d/zelmora/"_qs;
    QTest::newRow("installed, no XDG_DATA_HOME") << u"/usr/bin/zelmora"_qs << false << QString() << u"/h"_qs
                                                 << u"/h/.local/share/zelmora/"_qs;
    QTest::newRow("installed, relative XDG_DATA_HOME") << u"/usr/bin/zelmora"_qs << false << u"data"_qs
                                                       << u"/h/"_qs << u"/h/.local/share/zelmora/"_qs;
}

void TestPaths::filesFolder()
{
    QFETCH(QString, program);
    QFETCH(bool, writable);
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, home);
    QFETCH(QString, folder);
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), home);
    if (!xdgDataHome.isNull())
        env.insert(QStringLiteral("XDG_DATA_HOME"), xdgDataHome);
    QString asked;
    const auto test = [&](const QString& f) {
        asked = f;
        return writable;
    };
    QCOMPARE(filesFolderFor(program, test, env), folder);
    QCOMPARE(asked, QFileInfo(program).path());
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
