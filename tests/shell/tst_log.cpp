// The activity log: entry format, saving, code page, threads.
#include "shell/codepage.h"
#include "shell/log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

using namespace zel;

class TestLog : public QObject {
    Q_OBJECT
private slots:
    void entryFormat_data();
    void entryFormat();
    void labelsThatMakeNoEntry();
    void timeFormatLosesOnlyTheZone_data();
    void timeFormatLosesOnlyTheZone();
    void filePath();
    void saveWritesWindows1251WithCrLf();
    void saveReplacesTheWholeFile();
    void unwritableFileIsNoFailure();
    void codePage();
    void threadsKeepEntriesWhole();
    void viewFetchesNewEntries();

private:
    static Log* makeLog(const QString& path, const QLocale& locale, QTime at);
};

Log* TestLog::makeLog(const QString& path, const QLocale& locale, QTime at)
{
    auto* log = new Log(path);
    log->setLocale(locale);
    log->setClock([at] { return at; });
    return log;
}

void TestLog::entryFormat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("entry");
    QTest::newRow("two-digit hour") << "uk_UA" << "Add round" << "09:05:07_Add_round";
    QTest::newRow("one-digit hour, AM/PM") << "en_US" << "Add round" << "9:05:07 AM_Add_round";
    QTest::newRow("double and trailing blanks") << "ru_RU" << "a  b " << "09:05:07_a__b_";
    QTest::newRow("other white space kept") << "ru_RU" << "a\tb" << "09:05:07_a\tb";
    QTest::newRow("capital Save is a label") << "ru_RU" << "Save" << "09:05:07_Save";
    QTest::newRow("Cyrillic label") << "ru_RU" << "Ошибка чтения" << "09:05:07_Ошибка_чтения";
}

void TestLog::entryFormat()
{
    QFETCH(QString, locale);
    QFETCH(QString, label);
    QFETCH(QString, entry);
    QScopedPointer<Log> log(makeLog(QString(), QLocale(locale), QTime(9, 5, 7)));
    log->write(label);
    QCOMPARE(log->entries(), QStringList{entry});
}

void TestLog::labelsThatMakeNoEntry()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zelmora.log"));
    QScopedPointer<Log> log(makeLog(path, QLocale(QStringLiteral("ru_RU")), QTime(14, 3, 22)));
    log->write(QString());
    QCOMPARE(log->size(), 0);
    log->write(QStringLiteral("Add round"));
    log->write(QStringLiteral("save"));
    QCOMPARE(log->size(), 1);
    QVERIFY(QFile::exists(path));
}

void TestLog::timeFormatLosesOnlyTheZone_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* name : {"C", "en_US", "uk_UA", "ru_RU", "de_DE", "ko_KR", "zh_CN"})
        QTest::newRow(name) << name;
}

void TestLog::timeFormatLosesOnlyTheZone()
{
    QFETCH(QString, locale);
    const QLocale loc(locale);
    const QString format = Log::timeFormatOf(loc);
    QVERIFY(!format.contains(QLatin1Char('t')));
    QVERIFY(format.contains(QLatin1Char('s')) && format.contains(QLatin1Char('m')));
    const QString shown = loc.toString(QTime(15, 4, 5), format);
    QVERIFY2(shown.contains(QLatin1Char('5')) && shown == shown.simplified(), qPrintable(shown));
}

void TestLog::filePath()
{
    // A folder the user may write: the portable layout, the log beside the program.
    QTemporaryDir dir;
    const QString z = dir.filePath(QStringLiteral("z.d"));
    QVERIFY(QDir().mkpath(z));
    QCOMPARE(Log::filePathFor(z + QStringLiteral("/zelmora")), z + QStringLiteral("/zelmora.log"));
    QCOMPARE(Log::filePathFor(z + QStringLiteral("/calc.exe")), z + QStringLiteral("/calc.log"));
    QCOMPARE(Log::filePathFor(z + QStringLiteral("/a.b.exe")), z + QStringLiteral("/a.b.log"));
}

void TestLog::saveWritesWindows1251WithCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zelmora.log"));
    QScopedPointer<Log> log(makeLog(path, QLocale(QStringLiteral("ru_RU")), QTime(14, 3, 22)));
    log->write(QStringLiteral("Create form"));
    log->write(QStringLiteral("Ошибка Її €"));
    log->write(QStringLiteral("漢字 ok"));
    QVERIFY(log->save());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QByteArray expected("14:03:22_Create_form\r\n14:03:22_");
    expected += QByteArray("\xCE\xF8\xE8\xE1\xEA\xE0_\xAF\xBF_\x88\r\n", 13);
    expected += "14:03:22_??_ok\r\n";
    QCOMPARE(bytes, expected);
}

void TestLog::saveReplacesTheWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zelmora.log"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(10000, 'x'));
    }
    QScopedPointer<Log> log(makeLog(path, QLocale(QStringLiteral("ru_RU")), QTime(1, 2, 3)));
    log->write(QStringLiteral("one"));
    log->write(QStringLiteral("save"));
    log->write(QStringLiteral("two"));
    log->write(QStringLiteral("save"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("01:02:03_one\r\n01:02:03_two\r\n"));
}

void TestLog::unwritableFileIsNoFailure()
{
    QScopedPointer<Log> log(makeLog(QStringLiteral("/nonexistent-folder/x/zelmora.log"),
                                    QLocale(QStringLiteral("ru_RU")), QTime(1, 2, 3)));
    log->write(QStringLiteral("one"));
    QVERIFY(!log->save());
    log->write(QStringLiteral("save"));
    QCOMPARE(log->size(), 1);
}

void TestLog::codePage()
{
    const QString all = QStringLiteral("Ёё АБВ абв Ґґ Єє Іі Її Ўў №");
    QCOMPARE(fromWindows1251(toWindows1251(all)), all);
    QCOMPARE(toWindows1251(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
    QCOMPARE(fromWindows1251(QByteArray("\xC0\xE1\xE2", 3)), QStringLiteral("Абв"));
    QCOMPARE(toWindows1251(QString()), QByteArray());

    // A text the code page holds whole is written by table, one that it does
    // not by the converter: character by character both give the same bytes.
    QString every;
    QByteArray each;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString one(QChar(static_cast<char16_t>(c)));
        every += one;
        each += toWindows1251(one);
    }
    QCOMPARE(toWindows1251(every), each);
}

void TestLog::threadsKeepEntriesWhole()
{
    // Each thread's entries keep their own order and none is torn.
    QScopedPointer<Log> log(makeLog(QString(), QLocale(QStringLiteral("ru_RU")), QTime(1, 2, 3)));
    constexpr int kPerThread = 5000;
    auto worker = [&log](char tag) {
        for (int i = 0; i < kPerThread; ++i)
            log->write(QStringLiteral("%1 %2").arg(QLatin1Char(tag)).arg(i));
    };
    std::thread a(worker, 'a');
    std::thread b(worker, 'b');
    a.join();
    b.join();
    const QStringList entries = log->entries();
    QCOMPARE(entries.size(), 2 * kPerThread);
    int nextA = 0, nextB = 0;
    for (const QString& e : entries) {
        const QStringList parts = e.split(QLatin1Char('_'));
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QStringLiteral("01:02:03"));
        int& next = parts[1] == QLatin1String("a") ? nextA : nextB;
        QCOMPARE(parts[2].toInt(), next);
        ++next;
    }
}

void TestLog::viewFetchesNewEntries()
{
    QScopedPointer<Log> log(makeLog(QString(), QLocale(QStringLiteral("ru_RU")), QTime(1, 2, 3)));
    QStringList view;
    connect(log.data(), &Log::appended, [&] { view += log->entries(view.size()); });
    log->write(QStringLiteral("one"));
    log->write(QString());
    log->write(QStringLiteral("two"));
    QCOMPARE(view, log->entries());
    QCOMPARE(log->text(), QStringLiteral("01:02:03_one\r\n01:02:03_two"));
}

QTEST_GUILESS_MAIN(TestLog)
#include "tst_log.moc"
