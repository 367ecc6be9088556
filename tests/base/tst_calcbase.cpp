// Records of the calculation base and the SQLite base file.
#include "base/calcbase.h"
#include "base/platform/sqlitebase.h"
#include "shell/langtable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zel;

namespace {

QByteArray checksum(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList roundLines(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << QStringLiteral("%1 см.").arg(20 + i) << u"4,00 м."_qs << u"1 шт."_qs << u"0,1470 м3."_qs;
    return lines;
}

} // namespace

class TestCalcBase : public QObject {
    Q_OBJECT
private slots:
    void recordsCutTheirTexts();
    void volumeTexts_data();
    void volumeTexts();
    void notesRoundTrip();
    void kindOfASavedCalculation();
    void numbersAreNeverGivenTwice();
    void fileRoundTrip();
    void missingFileIsAnEmptyBase();
    void fileThatIsNoBaseIsLeftAlone_data();
    void fileThatIsNoBaseIsLeftAlone();
    void unwritableFolder();
    void fieldNamesWithoutCase();

private:
    QTemporaryDir m_dir;
};

void TestCalcBase::recordsCutTheirTexts()
{
    const BaseRecord r = makeRecord(QDateTime::currentDateTime(), u"Оцилиндрованное бревно"_qs,
                                    QString(40, QLatin1Char('n')), 1.5, roundLines(1));
    QCOMPARE(r.Category, u"Оцилиндрованное брев"_qs);
    QCOMPARE(r.Category.size(), 20);
    QCOMPARE(r.Name.size(), 30);
    QCOMPARE(r.Notes, u"20 см.\r\n4,00 м.\r\n1 шт.\r\n0,1470 м3."_qs);
}

void TestCalcBase::volumeTexts_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("m3");
    QTest::newRow("small") << "0,4410" << 0.441;
    QTest::newRow("thousands") << u"1\u00A0470,0000"_qs << 1470.0;
    QTest::newRow("exponent") << "1,235E04" << 12350.0;
    QTest::newRow("zero") << "0,0000" << 0.0;
}

void TestCalcBase::volumeTexts()
{
    QFETCH(QString, shown);
    QFETCH(double, m3);
    QCOMPARE(readVolumeText(shown), m3);
}

void TestCalcBase::notesRoundTrip()
{
    QCOMPARE(notesLines(notesText(roundLines(3))), roundLines(3));
    QCOMPARE(notesLines(u"a\nb\r\nc\r\n"_qs), (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    QCOMPARE(notesLines(QString()), QStringList());
}

void TestCalcBase::kindOfASavedCalculation()
{
    BaseRecord r;
    r.Notes = notesText(roundLines(3));
    QCOMPARE(savedKind(r), SavedKind::Round);
    r.Notes = notesText(QStringList(15, u"x"_qs));
    QCOMPARE(savedKind(r), SavedKind::Boards);
    r.Notes = notesText(QStringList(7, u"x"_qs));
    QCOMPARE(savedKind(r), SavedKind::None);
    r.Notes.clear();
    QCOMPARE(savedKind(r), SavedKind::None);
    // Twenty lines fit both: the category tells.
    r.Notes = notesText(QStringList(20, u"x"_qs));
    r.Category = u"ГОСТ 2708-75"_qs;
    QCOMPARE(savedKind(r), SavedKind::Round);
    for (UiLanguage l : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English}) {
        r.Category = Lang(89, l);
        QCOMPARE(savedKind(r), SavedKind::Boards);
    }
}

void TestCalcBase::numbersAreNeverGivenTwice()
{
    CalcBase base;
    base.reset({}, 1);
    base.add(BaseRecord());
    base.add(BaseRecord());
    base.add(BaseRecord());
    QCOMPARE(base.records()[2].No, 3);
    base.remove(2);
    QCOMPARE(base.add(BaseRecord()), 2);
    QCOMPARE(base.records()[2].No, 4);
    // A record added and removed again in one showing leaves nothing to write.
    base.reset({}, 1);
    base.remove(base.add(BaseRecord()));
    QVERIFY(!base.changed());
}

void TestCalcBase::fileRoundTrip()
{
    const QString path = m_dir.filePath(u"roundtrip.cds"_qs);
    SqliteBaseFile file;
    QVERIFY(file.available());
    CalcBase base;
    base.reset({}, 1);
    const QDateTime when(QDate(2026, 12, 9), QTime(14, 3, 22));
    base.add(makeRecord(when, u"ГОСТ 2708-75"_qs, u"Склад 1"_qs, 1470.5, roundLines(3)));
    base.add(makeRecord(when, u"Доска-брус"_qs, u"b"_qs, 0.45, QStringList(5, u"y"_qs)));
    base.add(makeRecord(when, u"x"_qs, u"c"_qs, 2, {}));
    file.save(path, base.added(), base.deleted());

    BaseContents again = file.load(path);
    QCOMPARE(int(again.records.size()), 3);
    QCOMPARE(again.records[0].Name, u"Склад 1"_qs);
    QCOMPARE(again.records[0].volume, 1470.5);
    QCOMPARE(again.records[0].DateTime, when);
    QCOMPARE(notesLines(again.records[0].Notes), roundLines(3));
    QCOMPARE(again.records[1].Category, u"Доска-брус"_qs);

    // Delete the middle one: the others keep their numbers; the next is 4.
    base.reset(again.records, again.nextNo);
    base.remove(1);
    base.add(makeRecord(when, u"x"_qs, u"d"_qs, 3, {}));
    file.save(path, base.added(), base.deleted());
    again = file.load(path);
    QCOMPARE(int(again.records.size()), 3);
    QCOMPARE(again.records[0].No, 1);
    QCOMPARE(again.records[1].No, 3);
    QCOMPARE(again.records[2].No, 4);
    // Deleting the last record does not give its number out again.
    base.reset(again.records, again.nextNo);
    base.remove(2);
    file.save(path, base.added(), base.deleted());
    QCOMPARE(file.load(path).nextNo, 5);
}

void TestCalcBase::missingFileIsAnEmptyBase()
{
    SqliteBaseFile file;
    const QString path = m_dir.filePath(u"none.cds"_qs);
    QVERIFY(file.load(path).records.empty());
    QVERIFY(!QFile::exists(path)); // reading creates nothing
    file.save(path, {}, {});
    QVERIFY(QFile::exists(path));
    QVERIFY(file.load(path).records.empty());
}

void TestCalcBase::fileThatIsNoBaseIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("this is no database\n");
    QTest::newRow("empty SQLite file header") << QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\0');
    QByteArray truncated;
    {
        const QString good = m_dir.filePath(u"good.cds"_qs);
        SqliteBaseFile file;
        CalcBase base;
        base.reset({}, 1);
        for (int i = 0; i < 200; ++i)
            base.add(makeRecord(QDateTime::currentDateTime(), u"c"_qs, u"n"_qs, i, roundLines(5)));
        file.save(good, base.added(), base.deleted());
        QFile f(good);
        f.open(QIODevice::ReadOnly);
        truncated = f.readAll();
        truncated.truncate(truncated.size() / 2);
        for (int i = 4096; i < truncated.size(); i += 97)
            truncated[i] = char(0x5A);
    }
    QTest::newRow("damaged") << truncated;
}

void TestCalcBase::fileThatIsNoBaseIsLeftAlone()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(u"broken.cds"_qs);
    QFile::remove(path);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QByteArray before = checksum(path);
    SqliteBaseFile file;
    QVERIFY_THROWS_EXCEPTION(BaseError, file.load(path));
    QCOMPARE(checksum(path), before);
    QCOMPARE(QDir(m_dir.path()).entryList({u"broken.cds*"_qs}), QStringList{u"broken.cds"_qs});
}

void TestCalcBase::unwritableFolder()
{
    QFile blocker(m_dir.filePath(u"blocker"_qs));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SqliteBaseFile file;
    CalcBase base;
    base.reset({}, 1);
    base.add(BaseRecord());
    QVERIFY_THROWS_EXCEPTION(BaseError, file.save(m_dir.filePath(u"blocker/base.cds"_qs), base.added(), {}));
}

void TestCalcBase::fieldNamesWithoutCase()
{
    // A base whose table names its fields in another case still reads.
    const QString path = m_dir.filePath(u"case.cds"_qs);
    SqliteBaseFile file;
    file.save(path, {}, {});
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"case"_qs);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(u"DROP TABLE records"_qs));
        QVERIFY(q.exec(u"CREATE TABLE RECORDS (NO INTEGER PRIMARY KEY, DATETIME TEXT, CATEGORY TEXT,"
                       " NAME TEXT, VOLUME DOUBLE, NOTES TEXT)"_qs));
        QVERIFY(q.exec(u"INSERT INTO RECORDS VALUES (7, '2026-12-09T10:00:00', 'c', 'n', 2.5, 'a')"_qs));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"case"_qs);
    const BaseContents c = file.load(path);
    QCOMPARE(int(c.records.size()), 1);
    QCOMPARE(c.records[0].No, 7);
    QCOMPARE(c.records[0].volume, 2.5);
}

QTEST_GUILESS_MAIN(TestCalcBase)
#include "tst_calcbase.moc"
