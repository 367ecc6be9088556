// A full disk at every write the program makes. The process's file size
// limit stands in for the disk: a write past it fails with EFBIG (the signal
// it would raise is ignored), as a write to a full disk fails with ENOSPC.
// Each time the old file stays byte for byte, the user is told, and the
// window goes on.
#include "../fakes/httpservice.h"
#include "../fakes/memorystore.h"
#include "../fakes/testservices.h"
#include "common.h"
#include "base/platform/sqlitebase.h"
#include "base/ui/tform4.h"
#include "cubtable/platform/xlsxspreadsheet.h"
#include "engine/errors.h"
#include "lists/liststore.h"
#include "lists/ui/linesmodel.h"
#include "shell/commatext.h"
#include "shell/log.h"
#include "online/platform/qthttpclient.h"
#include "shell/langtable.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include <memory>

using namespace zel;

namespace {

// No file of this process may grow past `bytes` while it lives.
class DiskFull {
public:
    explicit DiskFull(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit l = m_old;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~DiskFull() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

// The round list's texts for `n` lines, as they are stored.
QStringList roundTexts(int n)
{
    QStringList texts;
    for (int i = 0; i < n; ++i)
        texts << QString::number(20 + i % 30) << u"4"_qs << u"3"_qs << u"0"_qs;
    return texts;
}

} // namespace

class TestFullDisk : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }
    void init();
    void cleanup();
    void savingTheBase();
    void printingTheReport();
    void savingTheLog();
    void savingTheSettingsAtClose();
    void exportingTheTable();
    void downloadingAnUpdate();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void startWindow(int roundLines);

    std::unique_ptr<QTemporaryDir> m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
};

void TestFullDisk::init()
{
    Dialogs::setScripted(true);
    Dialogs::clear();
    m_dir = std::make_unique<QTemporaryDir>();
    Settings.Method = CalcMethod::Gost2708;
    Settings.TypeWood = 4;
    Settings.WetWood = 8;
}

void TestFullDisk::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestFullDisk::startWindow(int roundLines)
{
    m_store.values.clear();
    m_store.values[kLanguageValue] = u"EN"_qs;
    m_store.values[kRoundListValue] = CommaText(roundTexts(roundLines));
    m_form = std::make_unique<TForm1>(testServices(m_store, path(u"zelmora"_qs)));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_COMPARE(m_form->roundModel()->size(), roundLines);
}

void TestFullDisk::savingTheBase()
{
    startWindow(400);
    const QString base = path(u"base.cds"_qs);
    BaseRecord old = makeRecord(QDateTime::currentDateTime(), u"GOST"_qs, u"old"_qs, 1.0, {u"x"_qs});
    old.No = 1;
    SqliteBaseFile().save(base, {old}, {});
    const QByteArray before = bytesOf(base);
    {
        // The new record's Notes alone are larger than the whole file may grow.
        DiskFull full(before.size());
        Dialogs::queueInput(u"big"_qs);
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (auto* w = qobject_cast<TForm4*>(QApplication::activeModalWidget())) {
                shown = w->base().size() == 2;
                w->reject();
            }
        });
        m_form->N18Click();
        QVERIFY(shown);
    }
    QCOMPARE(bytesOf(base), before);
    QVERIFY(!QFile::exists(base + u"-journal"_qs));
    QCOMPARE(Dialogs::shown().size(), 2); // the name, then what went wrong
    QVERIFY2(Dialogs::shown().last().contains(base), qPrintable(Dialogs::shown().last()));
    const BaseContents kept = SqliteBaseFile().load(base);
    QCOMPARE(int(kept.records.size()), 1);
    QCOMPARE(kept.records[0].Name, u"old"_qs);
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->roundModel()->size(), 400);
}

// The report cannot be written, and neither can the log that the error
// report saves: the user hears of both, and is not told the log was saved.
void TestFullDisk::printingTheReport()
{
    startWindow(50);
    const QString report = path(u"HTML.html"_qs);
    const QString log = path(u"zelmora.log"_qs);
    writeBytes(report, "<HTML>old</HTML>\r\n");
    writeBytes(log, "old log\r\n");
    {
        DiskFull full(64);
        fromEventLoop([this] { m_form->PrintCub(); });
        QTRY_COMPARE(Dialogs::shown().size(), 1);
    }
    QCOMPARE(bytesOf(report), QByteArray("<HTML>old</HTML>\r\n"));
    QCOMPARE(bytesOf(log), QByteArray("old log\r\n"));
    const QString told = Dialogs::shown().first();
    QVERIFY2(told.contains(report), qPrintable(told));
    QVERIFY2(!told.contains(u"Saved to file"_qs), qPrintable(told));
    QVERIFY2(told.contains(Lang(240, UiLanguage::English) + log), qPrintable(told));
    QVERIFY(m_form->isVisible());
    // Once there is room again, printing works.
    m_form->PrintCub();
    QVERIFY(bytesOf(report).contains("</HTML>"));
}

void TestFullDisk::savingTheLog()
{
    const QString file = path(u"zelmora.log"_qs);
    writeBytes(file, "old\r\n");
    Log log(file);
    for (int i = 0; i < 200; ++i)
        log.write(u"entry"_qs);
    {
        DiskFull full(512);
        QVERIFY(!log.save());
    }
    QCOMPARE(bytesOf(file), QByteArray("old\r\n"));
    QVERIFY(log.save());
}

void TestFullDisk::savingTheSettingsAtClose()
{
    const QString file = path(u"Zelmora.conf"_qs);
    QSettingsStore store(file);
    SettingsRecord settings;
    settings.Language = UiLanguage::English;
    QVERIFY(writeParams(store, settings));
    QVERIFY(saveListTexts(store, roundTexts(2), {}));
    const QByteArray before = bytesOf(file);
    m_form = std::make_unique<TForm1>(testServices(store, path(u"zelmora"_qs)));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_COMPARE(m_form->roundModel()->size(), 2);
    m_form->roundModel()->setLines(linesFromTexts(roundTexts(20), kRoundColumns));
    {
        DiskFull full(before.size());
        m_form->close();
    }
    QCOMPARE(bytesOf(file), before);
    QCOMPARE(Dialogs::shown(), QStringList{Lang(241, UiLanguage::English) + file});
    const QStringList dirFiles = QDir(m_dir->path()).entryList(QDir::Files);
    QCOMPARE(dirFiles, QStringList{u"Zelmora.conf"_qs});
}

void TestFullDisk::exportingTheTable()
{
    const QString file = path(u"table.xlsx"_qs);
    writeBytes(file, "old workbook");
    XlsxSpreadsheet xlsx;
    xlsx.workbooksAdd(-4167);
    xlsx.firstWorksheet();
    for (int r = 1; r <= 200; ++r)
        for (int c = 1; c <= 20; ++c)
            xlsx.setCell(r, c, QString::number(r * c));
    {
        DiskFull full(1024);
        QVERIFY_THROWS_EXCEPTION(InOutError, xlsx.saveAs(file));
    }
    QCOMPARE(bytesOf(file), QByteArray("old workbook"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"table.xlsx"_qs});
}

void TestFullDisk::downloadingAnUpdate()
{
    TestService service;
    QVERIFY(service.start());
    service.answer("/zelmora", TestAnswer{200, QByteArray(200000, 'z'), "application/octet-stream"});
    const QString file = path(u"zelmora.new"_qs);
    writeBytes(file, "old download");
    QtHttpClient http;
    {
        DiskFull full(4096);
        QVERIFY(!http.download(u"http://"_qs + service.host() + u"/zelmora"_qs, file));
    }
    QCOMPARE(bytesOf(file), QByteArray("old download"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"zelmora.new"_qs});
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestFullDisk t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_fulldisk.moc"
