// The persisted settings and lists, in memory and in the real store file.
#include "../fakes/memorystore.h"
#include "../fakes/storefile.h"
#include "lists/liststore.h"
#include "shell/platform/inivariants.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/settingsio.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace zel;

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void firstRunWritesDefaults();
    void languageCodesAreExact();
    void storedValuesAreRead();
    void keyThatCannotBeOpened();
    void wrongTypeIsAStoreError();
    void writeParamsOrderAndCodes();
    void listsRoundTrip();
    void listsFromOddTexts();
    void realFileAtTheUserPath();
    void realFileSurvivesQuotesAndCommas();
    void realFileIdThatIsNoNumber();
    void realFileListsTypedByHand();
    void unwritableFolderReadsAndWritesNothing();
    void garbageFileIsNoFailure();
    void serialisedValuesBecomeTexts();

private:
    QTemporaryDir m_dir;
};

void TestSettingsStore::firstRunWritesDefaults()
{
    MemoryStore store;
    SettingsRecord s;
    readParams(store, s);
    QCOMPARE(store.values.value(kLanguageValue), QVariant(u"RU"_qs));
    QCOMPARE(store.values.value(kAutoUpdateValue), QVariant(1));
    QCOMPARE(store.values.value(kIdValue), QVariant(0));
    QCOMPARE(s.Language, UiLanguage::Russian);
    QVERIFY(s.AutoUpdate);
    QCOMPARE(int(s.ID), 0);
}

void TestSettingsStore::languageCodesAreExact()
{
    MemoryStore store;
    store.values[kLanguageValue] = u"ru"_qs;
    SettingsRecord s;
    readParams(store, s);
    QCOMPARE(s.Language, UiLanguage::Ukrainian); // unchanged from 0
    writeParams(store, s);
    QCOMPARE(store.values.value(kLanguageValue), QVariant(u"UA"_qs));
    QCOMPARE(languageFromCode(u"EN"_qs), std::optional<UiLanguage>(UiLanguage::English));
    QCOMPARE(languageFromCode(u"En"_qs), std::nullopt);
}

void TestSettingsStore::storedValuesAreRead()
{
    MemoryStore store;
    store.values[kLanguageValue] = u"EN"_qs;
    store.values[kAutoUpdateValue] = 7; // any non-zero is true
    store.values[kIdValue] = 12345;
    SettingsRecord s;
    readParams(store, s);
    QCOMPARE(s.Language, UiLanguage::English);
    QVERIFY(s.AutoUpdate);
    QCOMPARE(int(s.ID), 12345);
    store.values[kAutoUpdateValue] = 0;
    readParams(store, s);
    QVERIFY(!s.AutoUpdate);
}

void TestSettingsStore::keyThatCannotBeOpened()
{
    MemoryStore store;
    store.openable = false;
    SettingsRecord s;
    s.ID = 9;
    readParams(store, s);
    QCOMPARE(s.Language, UiLanguage::Ukrainian);
    QVERIFY(!s.AutoUpdate);
    QCOMPARE(int(s.ID), 9);
    writeParams(store, s);
    saveListTexts(store, {u"a"_qs}, {u"b"_qs});
    QVERIFY(store.values.isEmpty());
    QCOMPARE(loadListTexts(store, kRoundListValue, {u"kept"_qs}), QStringList{u"kept"_qs});
}

void TestSettingsStore::wrongTypeIsAStoreError()
{
    MemoryStore store;
    store.values[kIdValue] = u"abc"_qs;
    SettingsRecord s;
    QVERIFY_THROWS_EXCEPTION(StoreError, readParams(store, s));
    store.values[kIdValue] = 0;
    store.values[kRoundListValue] = 5;
    QVERIFY_THROWS_EXCEPTION(StoreError, loadListTexts(store, kRoundListValue, {}));
}

void TestSettingsStore::writeParamsOrderAndCodes()
{
    MemoryStore store;
    SettingsRecord s;
    s.Language = UiLanguage::English;
    s.AutoUpdate = false;
    s.ID = 77;
    writeParams(store, s);
    QCOMPARE(store.values.value(kLanguageValue), QVariant(u"EN"_qs));
    QCOMPARE(store.values.value(kAutoUpdateValue), QVariant(0));
    QCOMPARE(store.values.value(kIdValue), QVariant(77));
    QCOMPARE(store.opened, 1); // one access, opened and closed once
}

void TestSettingsStore::listsRoundTrip()
{
    MemoryStore store;
    const QStringList round{u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs, u"0,4410 м3."_qs};
    saveListTexts(store, round, {});
    QCOMPARE(store.values.value(kRoundListValue).toString(),
             u"\"20 см.\",\"4,00 м.\",\"3 шт.\",\"0,4410 м3.\""_qs);
    QCOMPARE(store.values.value(kBoardListValue).toString(), QString());
    QCOMPARE(loadListTexts(store, kRoundListValue, {}), round);
    QCOMPARE(loadListTexts(store, kBoardListValue, {u"x"_qs}), QStringList());
    QCOMPARE(loadListTexts(store, u"absent"_qs, {u"x"_qs}), QStringList());
}

void TestSettingsStore::listsFromOddTexts()
{
    const QStringList nine{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs, u"7"_qs, u"8"_qs, u"9"_qs};
    const Lines two = linesFromTexts(nine, kRoundColumns);
    QCOMPARE(two.size(), 2);
    QCOMPARE(two[1].cells, (QVector<QString>{u"5"_qs, u"6"_qs, u"7"_qs, u"8"_qs}));
    QCOMPARE(linesFromTexts(nine, kBoardColumns).size(), 1);

    MemoryStore store;
    store.values[kRoundListValue] = u"20,4,5,2,0"_qs;
    const Lines one = linesFromTexts(loadListTexts(store, kRoundListValue, {}), kRoundColumns);
    QCOMPARE(one.size(), 1);
    QCOMPARE(one[0].cells, (QVector<QString>{u"20"_qs, u"4"_qs, u"5"_qs, u"2"_qs}));
}

void TestSettingsStore::realFileAtTheUserPath()
{
    // main() pointed XDG_CONFIG_HOME into the temporary folder.
    const QString expected = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Halvane/Zelmora.conf"_qs;
    QFile::remove(expected);
    QSettingsStore store;
    QCOMPARE(store.location(), expected);
    SettingsRecord s;
    readParams(store, s);
    QCOMPARE(s.Language, UiLanguage::Russian);
    QFile f(expected);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    QVERIFY2(content.contains("LANGUAGE=RU"), content.constData());
    QVERIFY(content.contains("AutoUpdate=1"));
    QVERIFY(content.contains("ID=0"));
}

void TestSettingsStore::realFileSurvivesQuotesAndCommas()
{
    QSettingsStore store(m_dir.filePath(u"quotes.conf"_qs));
    const QStringList texts{u"say \"hi\", then go"_qs, u"20 см."_qs, QString(), u"a;b=c"_qs};
    saveListTexts(store, texts, texts.mid(1));
    QSettingsStore again(m_dir.filePath(u"quotes.conf"_qs));
    QCOMPARE(loadListTexts(again, kRoundListValue, {}), texts);
    QCOMPARE(loadListTexts(again, kBoardListValue, {}), texts.mid(1));
}

void TestSettingsStore::realFileIdThatIsNoNumber()
{
    const QString path = m_dir.filePath(u"badid.conf"_qs);
    QVERIFY(writeStoreFile(path, "[General]\nLANGUAGE=EN\nID=abc\n"));
    QSettingsStore store(path);
    SettingsRecord s;
    QVERIFY_THROWS_EXCEPTION(StoreError, readParams(store, s));
    // A hand-edited flag that is no number costs neither the ID nor the
    // language, which would otherwise be written back over at close.
    QFile g(m_dir.filePath(u"badflag.conf"_qs));
    QVERIFY(g.open(QIODevice::WriteOnly));
    g.write("[General]\nLANGUAGE=EN\nAutoUpdate=yes\nID=4711\n");
    g.close();
    QSettingsStore flagStore(g.fileName());
    SettingsRecord t;
    QVERIFY_THROWS_EXCEPTION(StoreError, readParams(flagStore, t));
    QCOMPARE(t.ID.load(), 4711);
    QCOMPARE(t.Language, UiLanguage::English);
}

void TestSettingsStore::realFileListsTypedByHand()
{
    // QSettings reads an unquoted comma text as a list of texts.
    const QString path = m_dir.filePath(u"typed.conf"_qs);
    QVERIFY(writeStoreFile(path, "[General]\n.zm0=20,4,5,2,0\n.zm1=\"15 \xd1\x81\xd0\xbc.\", 5, 6\n"
                                 ".zm2=@Rect(1 2 3 4)\n.zm2.unread=older\n"));
    QSettingsStore store(path);
    QCOMPARE(loadListTexts(store, kRoundListValue, {}), (QStringList{u"20"_qs, u"4"_qs, u"5"_qs, u"2"_qs, u"0"_qs}));
    QCOMPARE(loadListTexts(store, kBoardListValue, {}), (QStringList{u"15 см."_qs, u"5"_qs, u"6"_qs}));
    // No text at all: kept, beside an older kept value, before anyone writes the list.
    try {
        loadListTexts(store, u".zm2"_qs, {});
        QFAIL("no error");
    } catch (const UnreadListError& e) {
        QCOMPARE(e.keptAs, u".zm2.unread2"_qs);
    }
    const QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.value(u".zm2.unread2"_qs), QVariant(QRect(1, 2, 3, 4)));
    QCOMPARE(back.value(u".zm2.unread"_qs), QVariant(u"older"_qs));
}

void TestSettingsStore::unwritableFolderReadsAndWritesNothing()
{
    // A folder below a plain file can never be made, not even by root.
    QFile blocker(m_dir.filePath(u"blocker"_qs));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettingsStore store(m_dir.filePath(u"blocker/Halvane/Zelmora.conf"_qs));
    QVERIFY(store.open() == nullptr);
    SettingsRecord s;
    readParams(store, s);
    QCOMPARE(s.Language, UiLanguage::Ukrainian);
    QVERIFY(!s.AutoUpdate);
    writeParams(store, s);
    saveListTexts(store, {u"x"_qs}, {});
    QCOMPARE(loadListTexts(store, kRoundListValue, {}), QStringList());
}

void TestSettingsStore::garbageFileIsNoFailure()
{
    const QString path = m_dir.filePath(u"garbage.conf"_qs);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\x01\x02\xff garbage [[[ = = \n\n=\n[\n");
    f.close();
    QSettingsStore store(path);
    SettingsRecord s;
    readParams(store, s); // must not throw
    writeParams(store, s);
    saveListTexts(store, {u"20 см."_qs}, {});
    QCOMPARE(loadListTexts(store, kRoundListValue, {}), QStringList{u"20 см."_qs});
}

void TestSettingsStore::serialisedValuesBecomeTexts()
{
    // Each line as written, and as mended: only what QSettings would read
    // through QDataStream gets its '@' doubled.
    const std::pair<QByteArray, QByteArray> lines[] = {
        {"a=@Variant(\\0\\0\\0\\x9\\x7f\\xff\\xff\\xff)", "a=@@Variant(\\0\\0\\0\\x9\\x7f\\xff\\xff\\xff)"},
        {"b=20, @DateTime(x) , 5", "b=20, @@DateTime(x) , 5"},
        {"c=  \\x40Variant(x)", "c=  @\\x40Variant(x)"},
        {"d=\"@Variant(x)\"", "d=\"@@Variant(x)\""},
        {"e=@Variant(x) \t", "e=@@Variant(x) \t"},
        {"f=@Variant(x)\\x", "f=@@Variant(x)\\x"}, // the value ends in an escape
        {"g=@Variant(x", "g=@Variant(x"},
        {"h=@@Variant(x)", "h=@@Variant(x)"},
        {"i=@Variant(x)\\t", "i=@Variant(x)\\t"}, // an escaped blank is kept
        {"k=@Rect(1 2 3 4)", "k=@Rect(1 2 3 4)"},
        {";j=@Variant(x)", ";j=@Variant(x)"},
        {"[@Variant(x)]", "[@Variant(x)]"},
    };
    const QByteArray serialised = "@Variant(\\0\\0\\0\\x9\\x7f\\xff\\xff\\xff)";
    QByteArray ini = "[General]\nLANGUAGE=EN\nID=" + serialised + '\n';
    QByteArray mended = "[General]\nLANGUAGE=EN\nID=@" + serialised + '\n';
    for (const auto& [line, plain] : lines) {
        ini += line + '\n';
        mended += plain + '\n';
    }
    QByteArray plain = ini;
    QCOMPARE(plainSerialisedValues(plain), 7);
    QCOMPARE(plain, mended);
    QCOMPARE(plainSerialisedValues(plain), 0);

    // Through the store, before QSettings reads a value.
    const QString path = m_dir.filePath(u"serialised.conf"_qs);
    QVERIFY(writeStoreFile(path, ini));
    QSettingsStore store(path);
    SettingsRecord s;
    QVERIFY_THROWS_EXCEPTION(StoreError, readParams(store, s)); // the ID is no number
    QCOMPARE(s.Language, UiLanguage::English);
    const QSettings back(path, QSettings::IniFormat);
    const std::pair<QString, QVariant> values[] = {
        {u"b"_qs, QStringList{u"20"_qs, u"@DateTime(x)"_qs, u"5"_qs}},
        {u"c"_qs, u"@Variant(x)"_qs},
        {u"f"_qs, u"@Variant(x)"_qs},
        {u"g"_qs, u"@Variant(x"_qs},
        {u"h"_qs, u"@Variant(x)"_qs},
        {u"i"_qs, u"@Variant(x)\t"_qs},
        {u"k"_qs, QRect(1, 2, 3, 4)},
    };
    for (const auto& [key, value] : values)
        QCOMPARE(back.value(key), value);
}

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    TestSettingsStore t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_settingsstore.moc"
