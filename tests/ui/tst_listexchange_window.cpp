// The main window's export, import, copy and paste, and the same list through
// the window and through zelmora-calc.
#include "../fakes/memorystore.h"
#include "../fakes/testservices.h"
#include "../fakes/windowtest.h"
#include "lists/ui/linesmodel.h"
#include "shell/log.h"
#include "lists/ui/numberedit.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QClipboard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <memory>

using namespace zel;

class TestListExchangeWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void csvRoundTripInEachLanguage();
    void importAsksFirst();
    void dialogsOpenInTheFolderLastUsed();
    void badFilesChangeNothing();
    void copyAndPaste();
    void windowAndProgramAgree();
    void workbookReadsBack();

private:
    template <typename T> T* child(const char* name)
    {
        T* w = m_form->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    void showTab(int tab) { child<QTabWidget>("PageControl1")->setCurrentIndex(tab); }
    void addRound(int d, const QString& len, int count);
    void key(const char* view, int k);
    void writeFile(const QString& name, const QByteArray& bytes);
    QByteArray exportTo(const QString& name);
    void importFrom(const QString& name, Dialogs::Answer answer);
    void selectRow(const char* view, int row);

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
};

void TestListExchangeWindow::init()
{
    startWindowTest(m_store, UiLanguage::Ukrainian);
    QVERIFY(showMainWindow(m_form, testServices(m_store, m_dir.filePath(u"zelmora"_qs))));
}

void TestListExchangeWindow::cleanup()
{
    m_form.reset();
}

void TestListExchangeWindow::addRound(int d, const QString& len, int count)
{
    child<QLineEdit>("Edit1")->setText(QString::number(d));
    child<NumberEdit>("CurrencyEdit1")->setText(len);
    child<QLineEdit>("Edit3")->setText(QString::number(count));
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
}

void TestListExchangeWindow::key(const char* view, int k)
{
    QTreeView* v = child<QTreeView>(view);
    v->setFocus();
    QTest::keyClick(v, static_cast<Qt::Key>(k), Qt::ControlModifier);
}

void TestListExchangeWindow::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(m_dir.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TestListExchangeWindow::exportTo(const QString& name)
{
    Dialogs::queueInput(m_dir.filePath(name));
    QTest::keyClick(m_form.get(), Qt::Key_E, Qt::ControlModifier);
    QFile f(m_dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestListExchangeWindow::importFrom(const QString& name, Dialogs::Answer answer)
{
    Dialogs::queueInput(m_dir.filePath(name));
    Dialogs::queueAnswer(answer);
    QTest::keyClick(m_form.get(), Qt::Key_I, Qt::ControlModifier);
}

void TestListExchangeWindow::selectRow(const char* view, int row)
{
    QTreeView* v = child<QTreeView>(view);
    v->setCurrentIndex(v->model()->index(row, 0));
}

void TestListExchangeWindow::csvRoundTripInEachLanguage()
{
    addRound(20, u"4,0"_qs, 3);
    addRound(20, u"12,0"_qs, 1);
    addRound(100, u"6,5"_qs, 7);
    showTab(1);
    m_form->boardModel()->setLines({newBoardLine(u"15"_qs, u"5"_qs, 6.0, u"10"_qs),
                                    newBoardLine(u"2000"_qs, u"100"_qs, 15.0, u"3"_qs)});
    for (UiLanguage lang : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English}) {
        applySettings(*m_form, [lang](SettingsRecord& s) { s.Language = lang; });
        for (int tab : {0, 1}) {
            showTab(tab);
            m_form->refreshActiveList();
            const QStringList before = tab == 0 ? m_form->Memo1() : m_form->Memo2();
            const QByteArray csv = exportTo(u"list.csv"_qs);
            QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
            QCOMPARE(csv.count("\r\n"), before.size() / (tab == 0 ? 4 : 5) + 1);
            QMetaObject::invokeMethod(m_form.get(), "N1Click");
            QVERIFY(tab == 0 ? m_form->Memo1().isEmpty() : m_form->Memo2().isEmpty());
            importFrom(u"list.csv"_qs, Dialogs::Yes);
            QCOMPARE(tab == 0 ? m_form->Memo1() : m_form->Memo2(), before);
        }
    }
}

void TestListExchangeWindow::importAsksFirst()
{
    addRound(20, u"4,0"_qs, 3);
    writeFile(u"in.csv"_qs, "Diameter;Length;Count\n20;4;2\n21;4;3\n130;4;1\n22;4;1\n23;4;1\n24;4;1\n25;4;1\n26;4;1\n21;4;\n");
    importFrom(u"in.csv"_qs, Dialogs::No);
    QVERIFY2(Dialogs::shown().last().startsWith(
                 u"Буде додано рядків: 7; пропущено: 2: рядок 4 (діаметр 130 поза межами 3..120), рядок 10 (немає: "
                 "кількість)\nКолод: 10, об'єм "_qs),
             qPrintable(Dialogs::shown().last()));
    QVERIFY(Dialogs::shown().last().endsWith(u"\nПрочитано стовпці: діаметр зі стовпця \"Diameter\", довжина зі "
                                              "стовпця \"Length\", кількість зі стовпця \"Count\"."_qs));
    QCOMPARE(m_form->roundModel()->size(), 1); // No changes nothing
    importFrom(u"in.csv"_qs, Dialogs::Yes);
    QCOMPARE(m_form->roundModel()->size(), 7);
    QCOMPARE(m_form->Memo1().mid(0, 4), (QStringList{u"20 см."_qs, u"4,00 м."_qs, u"5 шт."_qs, u"0,7350 м3."_qs}));
    QVERIFY(m_form->activityLog().entries(0).join(u'\n').contains(u"Rows_skipped:_row_4_(diameter_130_out_of_3..120);_row_10_(no_count)"_qs));

    // A tally whose count column is headed as clerks head it keeps its counts.
    QMetaObject::invokeMethod(m_form.get(), "N1Click");
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::English; });
    writeFile(u"qty.csv"_qs, "Diameter,Length,Qty\n20,4.0,7\n30,4.0,3\n");
    importFrom(u"qty.csv"_qs, Dialogs::Yes);
    QCOMPARE(m_form->Memo1().value(2), u"7 pcs."_qs);
    // One it cannot place is told before anything is added, for a paste too.
    QGuiApplication::clipboard()->setText(u"Diameter\tLength\tLogs\n20\t4\t5\n"_qs);
    Dialogs::clear();
    Dialogs::queueAnswer(Dialogs::No);
    key("ListView1", Qt::Key_V);
    QCOMPARE(Dialogs::shown().size(), 1);
    QVERIFY(Dialogs::shown()[0].endsWith(u"Columns not read: \"Logs\". No column holds the count, so every row "
                                         "counts as one log."_qs));
    QCOMPARE(m_form->roundModel()->size(), 2);
}

void TestListExchangeWindow::dialogsOpenInTheFolderLastUsed()
{
    addRound(20, u"4,0"_qs, 3);
    QVERIFY(QDir(m_dir.path()).mkdir(u"lots"_qs));
    exportTo(u"lots/march.csv"_qs);
    QCOMPARE(m_store.values.value(u"LastFolder"_qs).toString(), m_dir.filePath(u"lots"_qs));
    Dialogs::clear();
    exportTo(u"list.csv"_qs);
    importFrom(u"list.csv"_qs, Dialogs::No);
    QCOMPARE(Dialogs::proposedNames(), QStringList{m_dir.filePath(u"lots/list.csv"_qs)});
    QCOMPARE(m_store.values.value(u"LastFolder"_qs).toString(), m_dir.path());
}

void TestListExchangeWindow::badFilesChangeNothing()
{
    addRound(20, u"4,0"_qs, 3);
    const QStringList before = m_form->Memo1();
    writeFile(u"empty.csv"_qs, QByteArray());
    writeFile(u"picture.csv"_qs, QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
    writeFile(u"boards.csv"_qs, "Width;Hight;Length\n15;5;6\n");
    writeFile(u"bad.csv"_qs, "1;4;1\n");
    const QList<std::pair<QString, QString>> cases{
        {u"empty.csv"_qs, u"Файл порожній."_qs},
        {u"picture.csv"_qs, u"Файл не є текстовим."_qs},
        {u"boards.csv"_qs, u"У рядку заголовків немає стовпця: діаметр"_qs},
        {u"bad.csv"_qs, u"Немає рядків для додавання; пропущено: 1: рядок 1 (діаметр 1 поза межами 3..120)"_qs},
        {u"missing.csv"_qs, u"Не вдалося прочитати файл: "_qs},
    };
    for (const auto& [file, message] : cases) {
        importFrom(file, Dialogs::Yes);
        QVERIFY2(Dialogs::shown().last().startsWith(message), qPrintable(Dialogs::shown().last()));
        QCOMPARE(m_form->Memo1(), before);
    }
    // An export into a folder that is not there tells so and leaves nothing.
    QCOMPARE(exportTo(u"no/list.csv"_qs), QByteArray());
    QVERIFY(Dialogs::shown().last().startsWith(u"Не вдалося записати файл: "_qs));
}

void TestListExchangeWindow::copyAndPaste()
{
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::English; });
    addRound(20, u"4,0"_qs, 3);
    addRound(24, u"5,5"_qs, 2);
    selectRow("ListView1", 1);
    key("ListView1", Qt::Key_C);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             u"No\tDiameter (cm)\tLength (m.)\tNumber (pcs.)\tVolume (m3.)\tOut of table\r\n2\t24\t5.50\t2\t0.6000\t0\r\n"_qs);
    child<QTreeView>("ListView1")->clearSelection();
    key("ListView1", Qt::Key_C);
    QCOMPARE(QGuiApplication::clipboard()->text().count(u"\r\n"_qs), 3);

    // Good rows as copied from a spreadsheet go in at once, merging.
    QGuiApplication::clipboard()->setText(u"20\t4\t1\n30\t4\t1\n"_qs);
    key("ListView1", Qt::Key_V);
    QCOMPARE(m_form->roundModel()->size(), 3);
    QCOMPARE(m_form->roundModel()->lines()[0].cells[2], u"4 pcs."_qs);
    // With a row left out the question comes first.
    QGuiApplication::clipboard()->setText(u"40\t4\t1\n400\t4\t1\n"_qs);
    Dialogs::queueAnswer(Dialogs::No);
    key("ListView1", Qt::Key_V);
    QVERIFY(Dialogs::shown().last().startsWith(u"1 lines will be added; 1 rows skipped: row 2 (diameter 400 out of 3..120)\n"_qs));
    QCOMPARE(m_form->roundModel()->size(), 3);
    QGuiApplication::clipboard()->clear();
    key("ListView1", Qt::Key_V);
    QCOMPARE(Dialogs::shown().last(), u"The clipboard holds no rows."_qs);
    // Into the board list, the board's columns.
    showTab(1);
    QGuiApplication::clipboard()->setText(u"15\t5\t6\t10\n"_qs);
    key("ListView2", Qt::Key_V);
    QCOMPARE(m_form->Memo2(), (QStringList{u"15 sm."_qs, u"5 sm."_qs, u"6,00 m."_qs, u"10 pcs."_qs, u"0,4500 m3."_qs}));
}

void TestListExchangeWindow::windowAndProgramAgree()
{
    // A few hundred lines, in and out of the tables (diameters 3..120,
    // lengths 1.0..15.0), typed into the entry row, against zelmora-calc on
    // the same rows, for every method.
    QRandomGenerator rng(2024);
    QByteArray rows;
    QList<std::tuple<int, QString, int>> typed;
    for (int i = 0; i < 250; ++i) {
        const int d = rng.bounded(3, 121);
        const int tenths = i % 5 == 0 ? 40 : rng.bounded(10, 151); // some repeat and merge
        const QString len = QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
        const int count = rng.bounded(1, 50);
        typed.append({d, len, count});
        rows += QStringLiteral("%1;%2;%3\n").arg(d).arg(len).arg(count).toUtf8();
    }
    const char* words[] = {"gost", "iso", "formula", "cylinder"};
    for (int m = 0; m < 4; ++m) {
        applySettings(*m_form, [m](SettingsRecord& s) {
            s.Method = static_cast<CalcMethod>(m);
            s.DownGradeWood = static_cast<TaperStep>(m + 1);
        });
        QMetaObject::invokeMethod(m_form.get(), "N1Click");
        for (const auto& [d, len, count] : std::as_const(typed))
            addRound(d, len, count);
        const QByteArray windowCsv = exportTo(u"window.csv"_qs);
        const QString taper = QString::number((m + 2) * 0.5);
        const QStringList common{u"--method"_qs, QString::fromLatin1(words[m]), u"--taper"_qs, taper,
                                 u"--language"_qs, u"uk"_qs};
        QProcess calc;
        calc.start(QStringLiteral(ZELMORA_CALC), common + QStringList{u"--format=csv"_qs});
        calc.write(rows);
        calc.closeWriteChannel();
        QVERIFY(calc.waitForFinished(30000));
        QCOMPARE(calc.exitCode(), 0);
        const QByteArray programCsv = calc.readAllStandardOutput();
        QVERIFY(programCsv.count("\r\n") > 150);
        QCOMPARE(programCsv, windowCsv);
        // Some lines out of the tables; the formula and the cylinder have none.
        QVERIFY(programCsv.contains(";1\r\n") || m >= 2);

        calc.start(QStringLiteral(ZELMORA_CALC), common + QStringList{u"--format=json"_qs});
        calc.write(rows);
        calc.closeWriteChannel();
        QVERIFY(calc.waitForFinished(30000));
        const QJsonObject totals = QJsonDocument::fromJson(calc.readAllStandardOutput()).object()[u"totals"_qs].toObject();
        // The program's volume is the sum of the exported lines; the window's
        // fields keep their four figures, which the program's totals round to.
        long long exported = 0;
        for (const QByteArray& line : windowCsv.split('\n').mid(1)) {
            if (!line.trimmed().isEmpty())
                exported += qRound64(line.split(';').value(4).replace(',', '.').toDouble() * 10000.0);
        }
        QCOMPARE(qRound64(totals[u"volume"_qs].toDouble() * 10000.0), exported);
        const auto agrees = [this, &totals](const QString& key, const char* edit) {
            const double field = child<QLineEdit>(edit)->text().remove(QChar(0x00A0)).replace(u',', u'.').toDouble();
            const double program = totals[key].toDouble();
            return qAbs(program - field) <= 1e-3 * qMax(1.0, qAbs(field));
        };
        QVERIFY(agrees(u"volume"_qs, "Edit2"));
        QVERIFY(agrees(u"weight"_qs, "Edit4"));
        QVERIFY(agrees(u"runningLength"_qs, "Edit9"));
        QVERIFY(agrees(u"mean"_qs, "Edit10"));
    }
}

void TestListExchangeWindow::workbookReadsBack()
{
    addRound(20, u"4,0"_qs, 3);
    addRound(20, u"12,0"_qs, 1);
    exportTo(u"list.xlsx"_qs);
    QVERIFY(QFile::exists(m_dir.filePath(u"list.xlsx"_qs)));
    QCOMPARE(QDir(m_dir.path()).entryList({u"list.xlsx.*"_qs}, QDir::Files), QStringList()); // no part left
    const QString script = uR"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
cells = lambda row: [ws.cell(row=row, column=c).value for c in range(1, 7)]
print(ws.title, ws["A1"].value, ws["A2"].value, sep="|")
print(*cells(4), sep="|")
for row in (5, 6, 7):
    print(*[repr(v) for v in cells(row)], sep="|")
print(ws["E5"].number_format, ws.column_dimensions["B"].width > 5)
# Printed one page wide (a width left out is 1) with the captions on every
# page; the date a date.
print(ws.sheet_properties.pageSetUpPr.fitToPage, ws.page_setup.fitToWidth or 1, ws.page_setup.fitToHeight,
      ws.print_title_rows, type(ws["B2"].value).__name__, ws["B2"].number_format)
)"_qs;
    QProcess py;
    // The system's Python, which the setup gives openpyxl (a Python of the
    // user's own may come first on the path).
    const QString python = QFile::exists(u"/usr/bin/python3"_qs) ? u"/usr/bin/python3"_qs : u"python3"_qs;
    py.start(python, {u"-c"_qs, script, m_dir.filePath(u"list.xlsx"_qs)});
    QVERIFY(py.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(py.readAllStandardError()), QString());
    QCOMPARE(QString::fromUtf8(py.readAllStandardOutput()),
             u"Круглий ліс|ГОСТ 2708-75|Дата\n"
             "№|Діаметер (см.)|Довжина (м.)|Кількість (шт.)|Об`єм (м3.)|Поза таблицею\n"
             "1|20|4|3|0.441|0\n"
             "2|20|12|1|0.6371|1\n"
             "'Разом'|None|None|'=SUM(D5:D6)'|'=SUM(E5:E6)'|None\n"
             "0.0000 True\n"
             "True 1 0 $4:$4 datetime dd.mm.yyyy hh:mm\n"_qs);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestListExchangeWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_listexchange_window.moc"
