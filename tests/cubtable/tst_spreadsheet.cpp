// Exporting the table: the order of the application's calls, the clean-up
// after failures, a real workbook read back by an independent reader, and
// both workbooks written through the module the program carries.
#include "../fakes/modulefile.h"
#include "cubtable/cubtable.h"
#include "cubtable/platform/xlsxspreadsheet.h"
#include "cubtable/spreadsheet.h"
#include "engine/errors.h"
#include "lists/workbooks.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace zel;

// Every umask() of the process comes here first: the mask is the whole
// process's, and a writer that sets it to read it leaves a moment in which
// another thread's new file takes no mask at all.
namespace {
int g_umaskCalls = 0;
}
extern "C" mode_t umask(mode_t mask)
{
    ++g_umaskCalls;
    return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace {

// Records every call; can be told to fail at one of them.
class Recorder : public ISpreadsheetApp {
public:
    QStringList calls;
    QString failAt;

    void step(const QString& call)
    {
        calls << call;
        if (!failAt.isEmpty() && call.startsWith(failAt))
            throw Error(u"failed: "_qs + call);
    }
    void setVisible(bool v) override { step(u"visible %1"_qs.arg(v)); }
    void workbooksAdd(int k) override { step(u"add %1"_qs.arg(k)); }
    void firstWorksheet() override { step(u"worksheet"_qs); }
    void setWorksheetName(const QString& n) override { step(u"name "_qs + n); }
    void setCell(int r, int c, const QString& t) override { step(u"cell %1 %2 %3"_qs.arg(r).arg(c).arg(t)); }
    void saveAs(const QString& f) override { step(u"saveas "_qs + f); }
    void setDisplayAlerts(bool on) override { step(u"displayalerts %1"_qs.arg(on)); }
    void quit() override { step(u"quit"_qs); }
};

CubTable smallTable()
{
    TableRanges r{1.0, 2.0, 1.0, 20, 21, 1};
    return generateTable(r, CalcMethod::Gost2708, 1, true, QLocale(QLocale::Ukrainian, QLocale::Ukraine));
}

} // namespace

class TestSpreadsheet : public QObject {
    Q_OBJECT
private slots:
    void callsInOrder();
    void errorBeforeTheSaveQuitsAndRaises();
    void failedSaveQuitsAndReturnsFalse();
    void workbookReadsBack();
    void failedSaveLeavesNoFile();
    void carriedModuleWritesBothWorkbooks();
    void carriedModuleFromTheCacheWhereMemoryIsRefused();
    void workbookFileNames_data();
    void workbookFileNames();
};

void TestSpreadsheet::callsInOrder()
{
    Recorder app;
    QVERIFY(exportTable(app, smallTable(), u"/x/ГОСТ 2708-75.xls"_qs));
    const QStringList expected{
        u"visible 0"_qs, u"add -4167"_qs, u"worksheet"_qs, u"name Код 503"_qs,
        u"cell 1 1 "_qs, u"cell 2 1 20"_qs, u"cell 3 1 21"_qs,         // column by column
        u"cell 1 2 1,0"_qs, u"cell 2 2 0,0330"_qs, u"cell 3 2 0,0365"_qs,
        u"cell 1 3 2,0"_qs, u"cell 2 3 0,0690"_qs, u"cell 3 3 0,0765"_qs,
        u"saveas /x/ГОСТ 2708-75.xls"_qs, u"displayalerts 0"_qs, u"quit"_qs,
    };
    QCOMPARE(app.calls, expected);
}

void TestSpreadsheet::errorBeforeTheSaveQuitsAndRaises()
{
    Recorder app;
    app.failAt = u"name"_qs;
    QVERIFY_THROWS_EXCEPTION(Error, exportTable(app, smallTable(), u"f.xls"_qs));
    QCOMPARE(app.calls.mid(app.calls.size() - 2), (QStringList{u"displayalerts 0"_qs, u"quit"_qs}));
    QVERIFY(!app.calls.join(u"|"_qs).contains(u"saveas"_qs));
}

void TestSpreadsheet::failedSaveQuitsAndReturnsFalse()
{
    Recorder app;
    app.failAt = u"saveas"_qs;
    QVERIFY(!exportTable(app, smallTable(), u"f.xls"_qs));
    QCOMPARE(app.calls.mid(app.calls.size() - 2), (QStringList{u"displayalerts 0"_qs, u"quit"_qs}));
}

void TestSpreadsheet::workbookReadsBack()
{
    // A file handle, not a name: the reader would refuse the ".xls" ending
    // although the content is a workbook. Debian's own python3 carries openpyxl; another python3 earlier on the
    // PATH may not.
    const QString python = QFile::exists(u"/usr/bin/python3"_qs) ? u"/usr/bin/python3"_qs
                                                                  : QStandardPaths::findExecutable(u"python3"_qs);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"ГОСТ 2708-75.xls"_qs);
    XlsxSpreadsheet app;
    const mode_t mask = ::umask(022);
    g_umaskCalls = 0;
    QVERIFY(exportTable(app, smallTable(), file));
    QCOMPARE(g_umaskCalls, 0); // the mask was read, never set
    QVERIFY(QFile::exists(file));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    // Readable by others like any new file, not only by its owner.
    QVERIFY(QFile::permissions(file) & QFile::ReadOther);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QVERIFY(exportTable(app, smallTable(), file)); // a file replaced keeps its permissions
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFile::permissions(file) & others, QFile::Permissions(QFile::ReadGroup));
    ::umask(mask);

    QProcess reader;
    reader.start(python, {u"-c"_qs, u"import sys, openpyxl\n"
                                     "wb = openpyxl.load_workbook(open(sys.argv[1], 'rb'))\n"
                                     "ws = wb.worksheets[0]\n"
                                     "print(len(wb.worksheets))\n"
                                     "print(ws.title)\n"
                                     "print(repr(ws['A1'].value))\n"
                                     "print(ws['B1'].value)\n"
                                     "print(ws['A2'].value)\n"
                                     "print(ws['B2'].value, ws['B2'].data_type)\n"_qs,
                                 file});
    QVERIFY(reader.waitForFinished(30000));
    const QString err = QString::fromUtf8(reader.readAllStandardError());
    QVERIFY2(reader.exitCode() == 0, qPrintable(err));
    const QStringList out = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'));
    QCOMPARE(out.value(0), u"1"_qs);
    QCOMPARE(out.value(1), u"Код 503"_qs);
    QCOMPARE(out.value(2), u"None"_qs);
    QCOMPARE(out.value(3), u"1,0"_qs);
    QCOMPARE(out.value(4), u"20"_qs);
    QCOMPARE(out.value(5), u"0,0330 s"_qs); // a text, as the grid shows it
}

void TestSpreadsheet::failedSaveLeavesNoFile()
{
    QTemporaryDir dir;
    // A folder name where the file should go: the rename cannot replace it.
    const QString target = dir.filePath(u"taken.xls"_qs);
    QVERIFY(QDir().mkdir(target));
    QFile(target + u"/inside"_qs).open(QIODevice::WriteOnly);
    XlsxSpreadsheet app;
    QVERIFY(!exportTable(app, smallTable(), target));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());

    XlsxSpreadsheet other;
    QVERIFY(!exportTable(other, smallTable(), dir.filePath(u"missing/folder/t.xls"_qs)));
}

void TestSpreadsheet::carriedModuleWritesBothWorkbooks()
{
    ModuleFromFile file("zelmora-workbook-test", QStringLiteral(ZEL_WORKBOOK_MODULE));
    QVERIFY(file.isRead());
    Facility<IWorkbooks> carried(file.module(), kWorkbookModuleOpen);
    IWorkbooks* books = carried.get();
    QVERIFY2(books, qPrintable(carried.error()));
    QTemporaryDir dir;
    const std::unique_ptr<ISpreadsheetApp> app = books->spreadsheet();
    QVERIFY(exportTable(*app, smallTable(), dir.filePath(u"table.xls"_qs)));
    books->writeListWorkbook(ListSheet{u"Круглий"_qs, {}, {}}, dir.filePath(u"list.xlsx"_qs));
    for (const char* name : {"table.xls", "list.xlsx"}) {
        QFile written(dir.filePath(QLatin1String(name)));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.read(2), QByteArray("PK")); // a zip, as every workbook is
    }
    // Its errors are the program's own types across the module's edge.
    QVERIFY_THROWS_EXCEPTION(InOutError, books->writeListWorkbook(ListSheet{}, dir.filePath(u"missing/list.xlsx"_qs)));
}

void TestSpreadsheet::carriedModuleFromTheCacheWhereMemoryIsRefused()
{
    // The test above, run again where anonymous memory may not be made: the
    // module goes to the user's cache folder once, under its build-id, kept
    // private and read-only, and a copy that is not the carried one is
    // written anew before anything of it runs.
    ModuleFromFile file("zelmora-workbook-test", QStringLiteral(ZEL_WORKBOOK_MODULE));
    QVERIFY(file.isRead());
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.image().constData());
    const QByteArray id = EmbeddedModule::buildId(bytes, bytes + file.image().size());
    QCOMPARE(id.size(), 40);
    QTemporaryDir home;
    const QString folder = home.filePath(u"zelmora/modules"_qs);
    const QString cached = folder + u"/zelmora-workbook-test-"_qs + QString::fromLatin1(id) + u".so"_qs;
    const auto runChild = [&home] {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LD_PRELOAD"_qs, QStringLiteral(ZEL_NOMEMFD));
        env.insert(u"XDG_CACHE_HOME"_qs, home.path());
        env.insert(u"ASAN_OPTIONS"_qs, env.value(u"ASAN_OPTIONS"_qs) + u":verify_asan_link_order=0"_qs);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {u"carriedModuleWritesBothWorkbooks"_qs});
        return child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    };
    QVERIFY(runChild());
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(folder).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, 0700u);
    QCOMPARE(::stat(QFile::encodeName(cached).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, 0400u);
    QFile copy(cached);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), file.image());
    copy.close();

    QVERIFY(copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
    copy.write("#!/bin/sh\n");
    copy.close();
    QVERIFY(runChild());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), file.image());
}

void TestSpreadsheet::workbookFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("saved");
    QTest::newRow("method") << u"ГОСТ 2708-75"_qs << u"ГОСТ 2708-75.xlsx"_qs;
    QTest::newRow("dot in the name") << u"/x/lot 1.5"_qs << u"/x/lot 1.5.xlsx"_qs;
    QTest::newRow("old suffix") << u"t.xls"_qs << u"t.xls.xlsx"_qs;
    QTest::newRow("own suffix") << u"t.xlsx"_qs << u"t.xlsx"_qs;
    QTest::newRow("capitals") << u"T.XLSX"_qs << u"T.XLSX"_qs;
}

void TestSpreadsheet::workbookFileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, saved);
    QCOMPARE(workbookFileName(name), saved);
}

QTEST_GUILESS_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
