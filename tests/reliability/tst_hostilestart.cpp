// Hostile stored state at start-up: settings whose every value is random
// bytes, a calculation base that is random bytes, a cut SQLite file, the right
// table with values of the wrong types, and a report path that is a folder.
// The main window starts and goes on, what could not be read is reported,
// and nothing is written over it.
#include "../fakes/testservices.h"
#include "common.h"
#include "base/platform/sqlitebase.h"
#include "base/ui/tform4.h"
#include "lists/liststore.h"
#include "lists/ui/linesmodel.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/settings.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace zel;

namespace {

QByteArray randomBytes(QRandomGenerator& random, int size, bool lineBreaks)
{
    QByteArray b(size, '\0');
    for (char& c : b) {
        c = static_cast<char>(random.bounded(256));
        if (!lineBreaks && (c == '\n' || c == '\r'))
            c = 'x';
    }
    return b;
}

} // namespace

class TestHostileStart : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void settingsOfRandomBytes();
    void baseThatCannotBeRead_data();
    void baseThatCannotBeRead();
    void reportPathIsAFolder();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void start(ISettingsStore& store);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TForm1> m_form;
};

void TestHostileStart::init()
{
    Dialogs::setScripted(true);
    Dialogs::clear();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestHostileStart::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestHostileStart::start(ISettingsStore& store)
{
    m_form = std::make_unique<TForm1>(testServices(store, path(u"zelmora"_qs)));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestHostileStart::settingsOfRandomBytes()
{
    QRandomGenerator random(20261209);
    for (int round = 0; round < 8; ++round) {
        Dialogs::clear();
        const QString file = path(QStringLiteral("Zelmora%1.conf").arg(round));
        QByteArray conf = "[General]\n";
        for (const char* name : {"LANGUAGE", "AutoUpdate", "ID", ".zm0", ".zm1", "DateCheckUpDates"})
            conf += QByteArray(name) + '=' + randomBytes(random, 1 + random.bounded(60), false) + '\n';
        writeBytes(file, conf);
        QSettingsStore store(file);
        start(store);
        const int language = static_cast<int>(Settings.Language);
        QVERIFY(language >= 0 && language <= 2);
        // Something may not read (a number that is none); whatever the lists
        // got is shown in full, and the window works.
        QTRY_VERIFY(m_form->roundModel()->size() * 4 <= m_form->Memo1().size() + 3);
        QCOMPARE(m_form->roundModel()->size(), m_form->Memo1().size() / 4);
        // AutoUpdate and ID are no whole numbers (or LANGUAGE holds a comma
        // and reads as a list): the user hears of it.
        QVERIFY(!Dialogs::shown().isEmpty());
        QVERIFY(m_form->isVisible());
        m_form->close();
        m_form.reset();
    }
}

void TestHostileStart::baseThatCannotBeRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("random bytes") << u"random"_qs;
    QTest::newRow("cut SQLite file") << u"cut"_qs;
    QTest::newRow("wrong column types") << u"types"_qs;
}

void TestHostileStart::baseThatCannotBeRead()
{
    QFETCH(QString, kind);
    const QString base = path(u"base.cds"_qs);
    QRandomGenerator random(7);
    bool readable = false;
    if (kind == u"random"_qs) {
        writeBytes(base, randomBytes(random, 20000, true));
    } else if (kind == u"cut"_qs) {
        std::vector<BaseRecord> records;
        for (int i = 1; i <= 300; ++i) {
            records.push_back(makeRecord(QDateTime::currentDateTime(), u"GOST"_qs, QString::number(i), 1.0,
                                         {u"20"_qs, u"4"_qs, u"3"_qs, u"0,1"_qs}));
            records.back().No = i;
        }
        SqliteBaseFile().save(base, records, {});
        const QByteArray whole = bytesOf(base);
        writeBytes(base, whole.left(whole.size() / 2 + 100));
    } else {
        // Every field of another type than the program writes, as another
        // program might have left them.
        readable = true;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"types"_qs);
            db.setDatabaseName(base);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(u"CREATE TABLE records (No TEXT, DateTime BLOB, Category INTEGER, Name REAL,"
                           " volume TEXT, Notes BLOB)"_qs));
            QVERIFY(q.exec(u"INSERT INTO records VALUES ('seven', x'00ff', 12, 3.5, 'much', x'0a0d0a')"_qs));
            QVERIFY(q.exec(u"INSERT INTO records VALUES (NULL, NULL, NULL, NULL, NULL, NULL)"_qs));
            QVERIFY(q.exec(u"INSERT INTO records VALUES (9e999, -1, 'x', 'y', '1e400', 20)"_qs));
            db.close();
        }
        QSqlDatabase::removeDatabase(u"types"_qs);
    }
    const QByteArray before = bytesOf(base);
    QSettingsStore store(path(u"Zelmora.conf"_qs));
    start(store);
    int shown = -1;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<TForm4*>(QApplication::activeModalWidget())) {
            shown = w->base().size();
            w->reject();
        }
    });
    m_form->N222click();
    if (readable) {
        QCOMPARE(shown, 3);
        QCOMPARE(bytesOf(base), before);
    } else {
        QCOMPARE(shown, 0);
        QVERIFY(Dialogs::shown().join(u" "_qs).contains(base));
        QCOMPARE(bytesOf(base), before);
    }
    QVERIFY(m_form->isVisible());
    m_form->close();
    QCOMPARE(bytesOf(base), before);
}

void TestHostileStart::reportPathIsAFolder()
{
    const QString report = path(u"HTML.html"_qs);
    QVERIFY(QDir().mkdir(report));
    writeBytes(report + u"/inside"_qs, "kept");
    QSettingsStore store(path(u"Zelmora.conf"_qs));
    QVERIFY(saveListTexts(store, {u"20"_qs, u"4"_qs, u"3"_qs, u"0"_qs}, {}));
    start(store);
    QTRY_COMPARE(m_form->roundModel()->size(), 1);
    fromEventLoop([this] { m_form->PrintCub(); });
    QTRY_COMPARE(Dialogs::shown().size(), 1);
    QVERIFY2(Dialogs::shown().first().contains(report), qPrintable(Dialogs::shown().first()));
    QVERIFY(QFileInfo(report).isDir());
    QCOMPARE(bytesOf(report + u"/inside"_qs), QByteArray("kept"));
    QVERIFY(m_form->isVisible());
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestHostileStart t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_hostilestart.moc"
