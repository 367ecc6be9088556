// The update's logic: the description file, the version comparison, the
// download's checks, the swap of the program files, the day of the automatic
// check and the statistics requests.
#include "../fakes/fakehttp.h"
#include "../fakes/memorystore.h"
#include "../fakes/onlinefakes.h"
#include "engine/errors.h"
#include "online/platform/deferredrestart.h"
#include "shell/singleinstance.h"
#include "online/servicehost.h"
#include "online/updater.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "online/updatesignature.h"

#include <sodium.h>
#include "shell/settingsio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <elf.h>

using namespace zel;

namespace {

const QString kIni = u"http://h/updates/updates.ini"_qs;
const QString kExe = u"http://h/zelmora.bin"_qs;

QByteArray ownHead()
{
    QFile self(QCoreApplication::applicationFilePath());
    self.open(QIODevice::ReadOnly);
    return self.read(4096);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void iniLookup();
    void tempName();
    void versions_data();
    void versions();
    void sectionInAnotherCase();
    void missingSectionOrFileOrDescription();
    void versionThatIsNoNumber();
    void updateFileAcceptsOnlyAProgram();
    void signatureDecidesWhenTheProgramHasAKey();
    void executableImages();
    void wholePrograms();
    void swapPutsTheNewFileInPlace();
    void swapRemovesAStaleOld();
    void failedSecondRenameIsRolledBack();
    void failedFirstRenameTouchesNothing();
    void dailyCheck();
    void statistics();
    void restartAfterTheMessageLoop();

private:
    TInetUpdater updater(FakeDownloader& d)
    {
        TInetUpdater u(d, m_clock, m_dir.path(), u"updates.halvane.example"_qs);
        u.UpdateInfoFileURL = kIni;
        u.ProductName = u"Zelmora"_qs;
        u.ProductVersion = u"105"_qs;
        return u;
    }
    // A program file and a downloaded ".new" beside it.
    QString swapFiles()
    {
        const QString program = m_dir.filePath(u"calc"_qs);
        writeFile(program, "old program");
        writeFile(program + u".new"_qs, "new program");
        return program;
    }
    QStringList leftovers() const { return QDir(m_dir.path()).entryList({u"*.ini"_qs}, QDir::Files); }

    QTemporaryDir m_dir;
    FakeClock m_clock;
};

void TestUpdater::cleanup()
{
    for (const QString& ext : {u".old"_qs, u".new"_qs, QString()})
        QFile::remove(m_dir.filePath(u"calc"_qs) + ext);
}

void TestUpdater::iniLookup()
{
    const IniFile ini("; comment\r\n[Other]\r\nVersion=1\r\n [ zelmora ] \r\n version = 106 \r\n"
                      "FILE=\"http://h/a b.bin\"\r\nVersion=107\r\n");
    QVERIFY(ini.sectionExists(u"Zelmora"_qs));
    QVERIFY(ini.sectionExists(u"other"_qs));
    QVERIFY(!ini.sectionExists(u"Nothing"_qs));
    QCOMPARE(ini.readString(u"ZELMORA"_qs, u"Version"_qs, u"d"_qs), u"106"_qs);
    QCOMPARE(ini.readString(u"Zelmora"_qs, u"File"_qs, u"d"_qs), u"http://h/a b.bin"_qs);
    QCOMPARE(ini.readString(u"Zelmora"_qs, u"Missing"_qs, u"d"_qs), u"d"_qs);
    QCOMPARE(ini.readString(u"Other"_qs, u"version"_qs, u"d"_qs), u"1"_qs);
}

void TestUpdater::tempName()
{
    QCOMPARE(MakeTempName(QDateTime(QDate(2026, 3, 4), QTime(7, 8, 9))), u"04032026070809.tmp"_qs);
    QCOMPARE(MakeTempName(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))), u"31122026235958.tmp"_qs);
}

void TestUpdater::versions_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("found");
    QTest::newRow("105") << QByteArray("105") << false;
    QTest::newRow("106") << QByteArray("106") << true;
    QTest::newRow("0105") << QByteArray("0105") << false;
    QTest::newRow(" 106 ") << QByteArray("  106\t") << true;
    QTest::newRow("104") << QByteArray("104") << false;
}

void TestUpdater::versions()
{
    QFETCH(QByteArray, version);
    QFETCH(bool, found);
    FakeDownloader d;
    d.files[kIni] = "[Zelmora]\r\nVersion=" + version + "\r\nFile=" + kExe.toLatin1() + "\r\n";
    TInetUpdater u = updater(d);
    QString url = u"given"_qs;
    QCOMPARE(u.CheckUpdate(url), found);
    QCOMPARE(u.NewProductVersion, QString::fromLatin1(version).trimmed());
    QCOMPARE(url, found ? kExe : u"given"_qs);
    QVERIFY(leftovers().isEmpty());
    QCOMPARE(d.asked, QStringList{kIni});
}

void TestUpdater::sectionInAnotherCase()
{
    FakeDownloader d;
    d.files[kIni] = "[ZELMORA]\nversion=106\nfile=" + kExe.toLatin1() + "\n";
    TInetUpdater u = updater(d);
    QString url;
    QVERIFY(u.CheckUpdate(url));
    QCOMPARE(url, kExe);
}

void TestUpdater::missingSectionOrFileOrDescription()
{
    FakeDownloader d;
    TInetUpdater u = updater(d);
    QString url;
    QVERIFY(!u.CheckUpdate(url)); // no description at all
    d.files[kIni] = "[Other]\nVersion=200\n";
    QVERIFY(!u.CheckUpdate(url));
    d.files[kIni] = "[Zelmora]\nFile=x\n"; // no Version: ours is taken
    QVERIFY(!u.CheckUpdate(url));
    QCOMPARE(u.NewProductVersion, u"105"_qs);
    d.files[kIni] = "[Zelmora]\nVersion=106\n"; // no File: the address stays
    url = u"kept"_qs;
    QVERIFY(u.CheckUpdate(url));
    QCOMPARE(url, u"kept"_qs);
    // Nothing to download then.
    u.UpdateResultFile = m_dir.filePath(u"zelmora.new"_qs);
    QVERIFY(!u.UpdateFile());
    u.UpdateInfoFileURL = u"  "_qs;
    QVERIFY(!u.CheckUpdate(url));
    QVERIFY(leftovers().isEmpty());
}

void TestUpdater::versionThatIsNoNumber()
{
    FakeDownloader d;
    d.files[kIni] = "[Zelmora]\nVersion=1.0.6\n";
    TInetUpdater u = updater(d);
    QString url;
    try {
        u.CheckUpdate(url);
        QFAIL("no conversion error");
    } catch (const ConvertError& e) {
        QCOMPARE(e.message(), u"\"1.0.6\" is not a valid integer value"_qs);
    }
    // The temporary copy stays behind, named by the clock.
    QCOMPARE(leftovers(), QStringList{u"14032026092653.ini"_qs});
    QFile::remove(m_dir.filePath(leftovers().value(0)));
}

void TestUpdater::updateFileAcceptsOnlyAProgram()
{
    FakeDownloader d;
    d.files[kIni] = "[Zelmora]\nVersion=106\nFile=" + kExe.toLatin1() + "\n";
    TInetUpdater u = updater(d);
    const QString target = m_dir.filePath(u"zelmora.new"_qs);
    u.UpdateResultFile = target;
    // A download that fails leaves nothing.
    d.files.remove(kExe);
    QVERIFY(!u.UpdateFile());
    QVERIFY(!QFile::exists(target));
    d.files[kExe] = wholeProgram();
    QVERIFY(u.UpdateFile());
    QCOMPARE(readFile(target), wholeProgram());
    // The description was fetched anew for the download.
    QCOMPARE(d.asked.count(kIni), 2);
    u.UpdateResultFile = u" "_qs;
    QVERIFY(!u.UpdateFile());
    QFile::remove(target);
}

void TestUpdater::signatureDecidesWhenTheProgramHasAKey()
{
    QVERIFY(sodium_init() >= 0);
    unsigned char pk[crypto_sign_PUBLICKEYBYTES], sk[crypto_sign_SECRETKEYBYTES], sig[crypto_sign_BYTES];
    crypto_sign_keypair(pk, sk);
    const QByteArray program = wholeProgram();
    const QByteArray signedData = signedUpdateData(u"106"_qs, program);
    crypto_sign_detached(sig, nullptr, reinterpret_cast<const unsigned char*>(signedData.constData()),
                         signedData.size(), sk);
    const QByteArray signature = QByteArray(reinterpret_cast<const char*>(sig), sizeof sig).toBase64();
    const QString key = QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(pk), sizeof pk).toBase64());

    FakeDownloader d;
    d.files[kExe] = program;
    TInetUpdater u = updater(d);
    // Built without a key, by default: every complete download is taken.
    QCOMPARE(u.PublicKey, UpdateKey);
    u.PublicKey.clear();
    u.UpdateResultFile = m_dir.filePath(u"zelmora.new"_qs);
    d.files[kIni] = "[Zelmora]\nVersion=106\nFile=" + kExe.toLatin1() + "\n";
    QVERIFY(u.UpdateFile());
    QVERIFY(u.SignatureAccepted());
    // With a key: the signature of the description that announced the file.
    u.PublicKey = key;
    QVERIFY(u.UpdateFile());
    QVERIFY(!u.SignatureAccepted());
    d.files[kIni] = "[Zelmora]\nVersion=106\nFile=" + kExe.toLatin1() + "\nSignature=" + signature + "\n";
    QVERIFY(u.UpdateFile());
    QVERIFY(u.SignatureAccepted());
    // The same signed file announced as a later version: refused.
    d.files[kIni] = "[Zelmora]\nVersion=107\nFile=" + kExe.toLatin1() + "\nSignature=" + signature + "\n";
    QVERIFY(u.UpdateFile());
    QVERIFY(!u.SignatureAccepted());
    d.files[kIni] = "[Zelmora]\nVersion=106\nFile=" + kExe.toLatin1() + "\nSignature=" + signature + "\n";
    // One byte changed on the way: refused, and left for the clean-up.
    const qsizetype middle = program.size() / 2;
    d.files[kExe][middle] = char(d.files[kExe][middle] ^ 1);
    QVERIFY(u.UpdateFile());
    QVERIFY(!u.SignatureAccepted());
    QVERIFY(QFile::exists(u.UpdateResultFile));
    QFile::remove(u.UpdateResultFile);
}

void TestUpdater::executableImages()
{
    const QByteArray head = ownHead();
    QVERIFY(isExecutableImage(head));
    QVERIFY(!isExecutableImage(QByteArray()));
    QVERIFY(!isExecutableImage("<!DOCTYPE html>"));
    QVERIFY(!isExecutableImage(head.left(10)));
    QByteArray otherMachine = head;
    otherMachine[18] = char(40); // ARM
    otherMachine[19] = 0;
    QVERIFY(!isExecutableImage(otherMachine));
    QByteArray relocatable = head;
    relocatable[16] = 1; // an object file, not a program
    relocatable[17] = 0;
    QVERIFY(!isExecutableImage(relocatable));
    QByteArray otherClass = head;
    otherClass[4] = char(sizeof(void*) == 8 ? 1 : 2);
    QVERIFY(!isExecutableImage(otherClass));
}

void TestUpdater::wholePrograms()
{
    if (sizeof(void*) != 8)
        QSKIP("the edits below are of a 64-bit program");
    const QByteArray whole = wholeProgram();
    QVERIFY(isWholeProgram(whole));
    for (const qsizetype cut : {qsizetype(64), whole.size() / 10, whole.size() / 2, whole.size() - 1})
        QVERIFY2(!isWholeProgram(whole.left(cut)), qPrintable(QString::number(cut)));
    // Headers that name ranges past the end, with every table still inside.
    const auto grown = [&whole](auto edit) {
        QByteArray b = whole;
        edit(reinterpret_cast<Elf64_Ehdr*>(b.data()), b.data());
        return b;
    };
    QVERIFY(!isWholeProgram(grown([](Elf64_Ehdr* eh, char* at) {
        reinterpret_cast<Elf64_Phdr*>(at + eh->e_phoff)[eh->e_phnum - 1].p_filesz += 1u << 30;
    })));
    QVERIFY(!isWholeProgram(grown([](Elf64_Ehdr* eh, char* at) {
        auto* sh = reinterpret_cast<Elf64_Shdr*>(at + eh->e_shoff);
        for (int i = 0; i < eh->e_shnum; ++i)
            if (sh[i].sh_type == SHT_PROGBITS)
                sh[i].sh_size += 1u << 30;
    })));
    QVERIFY(!isWholeProgram(grown([](Elf64_Ehdr* eh, char*) { eh->e_shnum += 1000; })));
    QVERIFY(!isWholeProgram(grown([](Elf64_Ehdr* eh, char*) { eh->e_phnum = 0; })));
    // A .bss takes no room in the file, however large.
    QVERIFY(isWholeProgram(grown([](Elf64_Ehdr* eh, char* at) {
        auto* sh = reinterpret_cast<Elf64_Shdr*>(at + eh->e_shoff);
        for (int i = 0; i < eh->e_shnum; ++i)
            if (sh[i].sh_type == SHT_NOBITS)
                sh[i].sh_size += 1u << 30;
    })));
}

void TestUpdater::swapPutsTheNewFileInPlace()
{
    const QString program = swapFiles();
    FakeFiles files;
    const SwapResult r = swapProgramFile(files, program);
    QVERIFY2(r.ok, qPrintable(r.failure));
    QCOMPARE(readFile(program), QByteArray("new program"));
    QCOMPARE(readFile(program + u".old"_qs), QByteArray("old program"));
    QVERIFY(!QFile::exists(program + u".new"_qs));
    QVERIFY(QFile::permissions(program) & QFile::ExeOwner);
}

void TestUpdater::swapRemovesAStaleOld()
{
    const QString program = swapFiles();
    writeFile(program + u".old"_qs, "older program");
    FakeFiles files;
    QVERIFY(swapProgramFile(files, program).ok);
    QCOMPARE(files.done.value(0), u"remove "_qs + program + u".old"_qs);
    QCOMPARE(readFile(program + u".old"_qs), QByteArray("old program"));
    // A stale one that cannot go stops the swap before anything moved.
    writeFile(program + u".new"_qs, "newer program");
    files.failRemove << program + u".old"_qs;
    const SwapResult r = swapProgramFile(files, program);
    QVERIFY(!r.ok);
    QCOMPARE(r.failure, L(111).arg(program + u".old"_qs));
    QCOMPARE(readFile(program), QByteArray("new program"));
    QCOMPARE(readFile(program + u".new"_qs), QByteArray("newer program"));
}

void TestUpdater::failedSecondRenameIsRolledBack()
{
    const QString program = swapFiles();
    FakeFiles files;
    files.failRenameTo << program; // .new -> program fails; so would .old -> program...
    SwapResult r = swapProgramFile(files, program);
    QVERIFY(!r.ok);
    // ... so the old file is now under ".old", and the user is told where,
    // in the language of the moment.
    QCOMPARE(r.failure, Lang(113, UiLanguage::Ukrainian).arg(program + u".new"_qs, program) + u' '
                        + Lang(114, UiLanguage::Ukrainian).arg(program + u".old"_qs));
    QFile::rename(program + u".old"_qs, program);

    // Only the new file's rename fails: the old one goes back in place.
    struct OnceFiles : FakeFiles {
        int renames = 0;
        bool rename(const QString& from, const QString& to) override
        {
            if (++renames == 2)
                return false;
            return FakeFiles::rename(from, to);
        }
    } once;
    Settings.Language = UiLanguage::Russian;
    r = swapProgramFile(once, program);
    Settings.Language = UiLanguage::Ukrainian;
    QVERIFY(!r.ok);
    QCOMPARE(r.failure, Lang(113, UiLanguage::Russian).arg(program + u".new"_qs, program));
    QCOMPARE(readFile(program), QByteArray("old program"));
    QVERIFY(!QFile::exists(program + u".old"_qs));
    // The download stays for the next start's clean-up.
    QCOMPARE(readFile(program + u".new"_qs), QByteArray("new program"));
}

void TestUpdater::failedFirstRenameTouchesNothing()
{
    const QString program = swapFiles();
    FakeFiles files;
    files.failRenameTo << program + u".old"_qs;
    QVERIFY(!swapProgramFile(files, program).ok);
    QCOMPARE(readFile(program), QByteArray("old program"));
    QCOMPARE(readFile(program + u".new"_qs), QByteArray("new program"));
    // Without a downloaded file there is nothing to swap.
    QFile::remove(program + u".new"_qs);
    QVERIFY(!swapProgramFile(files, program).ok);
    QCOMPARE(readFile(program), QByteArray("old program"));
}

void TestUpdater::dailyCheck()
{
    MemoryStore store;
    QVERIFY(!claimDailyCheck(store, u"14.03.2026"_qs, false));
    QVERIFY(!store.values.contains(kDateCheckValue));
    QVERIFY(claimDailyCheck(store, u"14.03.2026"_qs, true));
    QCOMPARE(store.values.value(kDateCheckValue), QVariant(u"14.03.2026"_qs));
    QVERIFY(!claimDailyCheck(store, u"14.03.2026"_qs, true));
    QVERIFY(claimDailyCheck(store, u"15.03.2026"_qs, true));
    store.openable = false;
    QVERIFY(!claimDailyCheck(store, u"16.03.2026"_qs, true));
    // A stored value of another type is a store error.
    store.openable = true;
    store.values[kDateCheckValue] = 5;
    QVERIFY_THROWS_EXCEPTION(StoreError, claimDailyCheck(store, u"16.03.2026"_qs, true));
}

void TestUpdater::statistics()
{
    ServiceHosts hosts;
    hosts.service = u"h"_qs;
    hosts.excluded = u"10.1.2.3"_qs;
    QStringList told;
    const auto tell = [&told](const QString& t) { told << t; };
    {
        FakeHttpClient http;
        http.answer(u"/ip.html"_qs, u"10.1.2.4"_qs);
        http.answer(u"/send.php?file=check.log"_qs, QString());
        sendStatistics(http, hosts, u"check.log"_qs, u"check error"_qs, tell);
        QCOMPARE(http.urls(), (QStringList{u"http://h/ip.html"_qs, u"http://h/send.php?file=check.log"_qs}));
        QVERIFY(told.isEmpty());
    }
    {
        FakeHttpClient http; // the excluded address: no statistics
        http.answer(u"/ip.html"_qs, u"10.1.2.3"_qs);
        sendStatistics(http, hosts, u"down.log"_qs, u"Down error"_qs, tell);
        QCOMPARE(http.urls(), QStringList{u"http://h/ip.html"_qs});
        QVERIFY(told.isEmpty());
    }
    {
        FakeHttpClient http; // nothing answers: both failures are told
        sendStatistics(http, hosts, u"down.log"_qs, u"Down error"_qs, tell);
        QCOMPARE(http.urls().size(), 2);
        QCOMPARE(told, (QStringList{u"IP error"_qs, u"Down error"_qs}));
    }
}

void TestUpdater::restartAfterTheMessageLoop()
{
    struct Instance : ISingleInstance {
        bool held = true;
        bool tryAcquire() override { return held = true; }
        void release() override { held = false; }
    } instance;
    DeferredRestart restart;
    QVERIFY(!restart.runIfRequested(instance)); // nothing asked
    QVERIFY(instance.held);
    const QString marker = m_dir.filePath(u"started"_qs);
    const QString program = m_dir.filePath(u"newprogram"_qs);
    writeFile(program, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    restart.restartAfterExit(program);
    QVERIFY(!QFile::exists(marker)); // not before the loop has ended
    QVERIFY(restart.runIfRequested(instance));
    QVERIFY(!instance.held); // the new copy may claim the single instance
    QTRY_VERIFY(QFile::exists(marker));
}

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
