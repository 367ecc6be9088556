// Printing and the cubature table through the real windows.
#include "../fakes/memorystore.h"
#include "../fakes/testservices.h"
#include "../fakes/windowtest.h"
#include "cubtable/ui/tform3.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "shell/codepage.h"
#include "shell/log.h"
#include "report/ui/printedreport.h"
#include "report/ui/tform6.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QPdfWriter>
#include <QSet>
#include <QtTest>

#include <memory>

using namespace zel;

namespace {

class RecordingSheet : public ISpreadsheetApp {
public:
    explicit RecordingSheet(QStringList& calls) : m_calls(calls) {}
    void setVisible(bool) override { m_calls << u"visible"_qs; }
    void workbooksAdd(int) override { m_calls << u"add"_qs; }
    void firstWorksheet() override {}
    void setWorksheetName(const QString& n) override { m_calls << n; }
    void setCell(int, int, const QString&) override {}
    void saveAs(const QString& f) override
    {
        m_calls << u"saveas "_qs + f;
        if (f.contains(u"fail"_qs))
            throw Error(u"cannot save"_qs);
    }
    void setDisplayAlerts(bool) override {}
    void quit() override { m_calls << u"quit"_qs; }

private:
    QStringList& m_calls;
};

} // namespace

class TestReportWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void printRoundListInEnglish();
    void printBoardListCollapsedAndExpanded();
    void printNothingForAnEmptyListOrAnotherTab();
    void twoReportsTwoPreviews();
    void unwritableReportFileIsReported();
    void printedPagesCanBeRead_data();
    void printedPagesCanBeRead();
    void previewCentredAndEnterPrints();
    void tableWindowDefaultsAndMethods();
    void tableWindowWarnings();
    void tableWindowEnterRefreshesOnce();
    void tableWindowFieldsKeepWhatWasTyped();
    void tableWindowRestoresTheMethod();
    void tableWindowPrintAndSave();
    void tableKeyAndMenus();

private:
    template <typename T> T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    void addRound(const QString& d, const QString& count);
    QString reportText();
    QList<TForm6*> previews(QWidget* owner);

    std::unique_ptr<QTemporaryDir> m_dir;
    MemoryStore m_store;
    QStringList m_sheetCalls;
    std::unique_ptr<TForm1> m_form;
};

void TestReportWindow::init()
{
    startWindowTest(m_store, UiLanguage::English);
    m_sheetCalls.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    AppServices services = testServices(m_store, m_dir->filePath(u"zelmora"_qs), [this] {
        return std::make_unique<RecordingSheet>(m_sheetCalls);
    });
    QVERIFY(showMainWindow(m_form, services));
}

void TestReportWindow::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestReportWindow::addRound(const QString& d, const QString& count)
{
    child<QTabWidget>(m_form.get(), "PageControl1")->setCurrentIndex(0);
    child<QLineEdit>(m_form.get(), "Edit1")->setText(d);
    child<QLineEdit>(m_form.get(), "Edit3")->setText(count);
    QTest::mouseClick(child<QPushButton>(m_form.get(), "Button1"), Qt::LeftButton);
}

QString TestReportWindow::reportText()
{
    QFile f(m_dir->filePath(u"HTML.html"_qs));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return fromWindows1251(f.readAll());
}

QList<TForm6*> TestReportWindow::previews(QWidget* owner)
{
    return owner->findChildren<TForm6*>(QString(), Qt::FindDirectChildrenOnly);
}

void TestReportWindow::printRoundListInEnglish()
{
    addRound(u"20"_qs, u"3"_qs);
    addRound(u"30"_qs, u"2"_qs);
    m_form->PrintCub();
    const QStringList lines = reportText().split(u"\r\n"_qs);
    QCOMPARE(lines[2], u"<TITLE>GOST 2708-75</TITLE>"_qs);
    QCOMPARE(lines[5], u"<H3><CENTER>Calculation of cubic meters of round timber in GOST 2708-75 </CENTER></H3>"_qs);
    QCOMPARE(lines[10], u"<th width=22%>Diameter</th>"_qs);
    QVERIFY(lines.contains(u"<td>2</td>"_qs));
    QVERIFY(lines.contains(u"<td>0,6600 m3.</td>"_qs));
    QVERIFY(lines.contains(u"<td colspan=\"3\" rowspan=\"2\">&nbsp;</td>"_qs));
    QVERIFY(lines.contains(u"<td><strong>1,1010 m3.</strong></td>"_qs));
    QVERIFY(lines.contains(u"<td><strong>793 kg.</strong></td>"_qs));
    QCOMPARE(previews(m_form.get()).size(), 1);
    TForm6* preview = previews(m_form.get()).first();
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->windowTitle(), u"Print"_qs);
    QVERIFY(preview->documentText().contains(u"Calculation of cubic meters of round timber in GOST 2708-75"_qs));
    // The round list never gets the area row, whatever the height.
    m_form->StartMore();
    for (int i = 0; i < 20; ++i)
        QMetaObject::invokeMethod(m_form.get(), "Timer1Timer");
    m_form->PrintCub();
    QVERIFY(reportText().contains(u"rowspan=\"2\""_qs));
    const QStringList log = m_form->activityLog().entries();
    QVERIFY(log.last().endsWith(u"_Print_form_create"_qs));
}

void TestReportWindow::printBoardListCollapsedAndExpanded()
{
    auto* tabs = child<QTabWidget>(m_form.get(), "PageControl1");
    tabs->setCurrentIndex(1);
    child<QLineEdit>(m_form.get(), "Edit5")->setText(u"15"_qs);
    child<QLineEdit>(m_form.get(), "Edit7")->setText(u"5"_qs);
    child<NumberEdit>(m_form.get(), "CurrencyEdit2")->setText(u"6,0"_qs);
    child<QLineEdit>(m_form.get(), "Edit6")->setText(u"10"_qs);
    QTest::mouseClick(child<QPushButton>(m_form.get(), "Button3"), Qt::LeftButton);
    m_form->PrintCub();
    QString text = reportText();
    QVERIFY(text.contains(u"<H3><CENTER>Calculation of cubic meters of board </CENTER></H3>"_qs));
    QVERIFY(text.contains(u"<TITLE>GOST 2708-75</TITLE>"_qs));
    QVERIFY(text.contains(u"<td colspan=\"4\" rowspan=\"2\">&nbsp;</td>"_qs));
    QVERIFY(!text.contains(u"Area"_qs));
    m_form->StartMore();
    for (int i = 0; i < 20; ++i)
        QMetaObject::invokeMethod(m_form.get(), "Timer1Timer");
    m_form->PrintCub();
    text = reportText();
    QVERIFY(text.contains(u"<td colspan=\"4\" rowspan=\"3\">&nbsp;</td>"_qs));
    QVERIFY(text.contains(u"<td><strong>Area</strong></td>\r\n<td><strong>9,0000 m2.</strong></td>"_qs));
}

void TestReportWindow::printNothingForAnEmptyListOrAnotherTab()
{
    m_form->PrintCub();
    QVERIFY(!QFile::exists(m_dir->filePath(u"HTML.html"_qs)));
    QVERIFY(previews(m_form.get()).isEmpty());
    addRound(u"20"_qs, u"3"_qs);
    auto* tabs = child<QTabWidget>(m_form.get(), "PageControl1");
    tabs->setTabVisible(2, true);
    tabs->setCurrentIndex(2); // the Log tab
    m_form->PrintCub();
    QVERIFY(!QFile::exists(m_dir->filePath(u"HTML.html"_qs)));
    QVERIFY(m_form->activityLog().entries().last().endsWith(u"_Print_table"_qs));
}

void TestReportWindow::twoReportsTwoPreviews()
{
    addRound(u"20"_qs, u"3"_qs);
    m_form->PrintCub();
    addRound(u"44"_qs, u"1"_qs);
    m_form->PrintCub();
    const QList<TForm6*> shown = previews(m_form.get());
    QCOMPARE(shown.size(), 2);
    QVERIFY(!shown[0]->documentText().contains(u"44 sm."_qs));
    QVERIFY(shown[1]->documentText().contains(u"44 sm."_qs));
    // Closing hides; the next report opens a new window.
    shown[0]->close();
    QVERIFY(!shown[0]->isVisible());
    m_form->PrintCub();
    QCOMPARE(previews(m_form.get()).size(), 3);
}

void TestReportWindow::unwritableReportFileIsReported()
{
    addRound(u"20"_qs, u"3"_qs);
    // The report's place taken by a folder: it cannot be written.
    QVERIFY(QDir().mkdir(m_dir->filePath(u"HTML.html"_qs)));
    QFile(m_dir->filePath(u"HTML.html/x"_qs)).open(QIODevice::WriteOnly);
    bool ran = false;
    QTimer::singleShot(0, m_form.get(), [&] { ran = true; m_form->PrintCub(); });
    QTRY_VERIFY(ran);
    QTRY_VERIFY(!Dialogs::shown().isEmpty());
    QVERIFY(Dialogs::shown().last().startsWith(u"Cannot create file"_qs));
    QVERIFY(previews(m_form.get()).isEmpty());
    QVERIFY(m_form->isVisible());
}

void TestReportWindow::printedPagesCanBeRead_data()
{
    QTest::addColumn<QString>("what");
    for (const char* what : {"round report", "board report", "GOST table", "ISO table", "ISO finest"})
        QTest::newRow(what) << QString::fromLatin1(what);
}

// On a PDF page of A4 portrait, the print dialog's default: no text is
// broken or wider than its cell, every page begins with the header row and
// every row has its first column, the type is 8 points at least, a report's
// table is as wide as it asks, and the preview shows the same pages.
void TestReportWindow::printedPagesCanBeRead()
{
    QFETCH(QString, what);
    QWidget* owner = m_form.get();
    if (what == u"round report"_qs) {
        addRound(u"20"_qs, u"3"_qs);
    } else if (what == u"board report"_qs) {
        child<QTabWidget>(owner, "PageControl1")->setCurrentIndex(1);
        child<QLineEdit>(owner, "Edit5")->setText(u"150"_qs);
        child<QLineEdit>(owner, "Edit7")->setText(u"50"_qs);
        child<QLineEdit>(owner, "Edit6")->setText(u"2552"_qs);
        QTest::mouseClick(child<QPushButton>(owner, "Button3"), Qt::LeftButton);
    } else {
        owner = new TForm3(m_form.get(), m_form->services());
        owner->show();
        if (what != u"GOST table"_qs)
            child<QRadioButton>(owner, "RadioGroup1_1")->click();
        if (what == u"ISO finest"_qs) {
            child<NumberEdit>(owner, "CurrencyEdit1")->setValue(0.1);
            QTest::mouseClick(child<QPushButton>(owner, "Button1"), Qt::LeftButton);
        }
    }
    if (owner == m_form.get())
        m_form->PrintCub();
    else
        QTest::mouseClick(child<QPushButton>(owner, "Button3"), Qt::LeftButton);
    TForm6* preview = previews(owner).last();
    QPdfWriter pdf(m_dir->filePath(u"p.pdf"_qs));
    const ReportPages printed = preview->printTo(pdf);
    QFile file(m_dir->filePath(u"p.pdf"_qs));
    QVERIFY(file.open(QIODevice::ReadOnly) && file.read(4) == "%PDF");

    const auto pageTexts = [](const ReportPages& pages) {
        QStringList out;
        for (int i = 0; i < pages.pages.size(); ++i)
            for (const PrintedText& t : pages.pages[i])
                out << u"%1 %2 %3 %4"_qs.arg(i).arg(t.row).arg(t.column).arg(t.text);
        return out;
    };
    QCOMPARE(pageTexts(preview->shownPages()), pageTexts(printed));
    QVERIFY(printed.pointSize >= 8.0);
    const double pixelsPerPoint = pdf.logicalDpiX() / 72.0;
    const QRectF area(QPointF(), printed.area);
    for (const QVector<PrintedText>& page : printed.pages) {
        double top = area.bottom();
        for (const PrintedText& t : page)
            if (t.row >= 0)
                top = std::min(top, t.rect.top());
        QSet<int> firstRows;
        QVector<QRectF> firstColumn;
        for (const PrintedText& t : page)
            if (t.column == 0)
                firstColumn << t.rect;
        for (const PrintedText& t : page) {
            if (t.row < 0)
                continue;
            const QFontMetricsF fm(printedFont(t, pixelsPerPoint, pdf.logicalDpiY()), &pdf);
            QVERIFY2(fm.horizontalAdvance(t.text) / pixelsPerPoint <= t.rect.width() - 2 * printed.padding,
                     qPrintable(t.text));
            QVERIFY(area.contains(t.rect));
            if (t.rect.top() == top)
                firstRows << t.row;
            // Its row has its first column (a diameter) on the page.
            QVERIFY(std::any_of(firstColumn.begin(), firstColumn.end(), [&](const QRectF& r) {
                return r.top() <= t.rect.top() && t.rect.top() < r.bottom();
            }));
        }
        QCOMPARE(firstRows, QSet<int>{0});
    }
    if (owner == m_form.get()) {
        double width = 0.0;
        for (const PrintedText& t : printed.pages.value(0))
            width += t.row == 0 ? t.rect.width() : 0.0;
        QVERIFY(width >= 0.8 * area.width() - 0.01);
    }
}

void TestReportWindow::previewCentredAndEnterPrints()
{
    addRound(u"20"_qs, u"3"_qs);
    m_form->PrintCub();
    TForm6* preview = previews(m_form.get()).first();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    // Centred on the screen, give or take the frame; a screen narrower than
    // the window keeps its left edge on it.
    const QRect area = preview->screen()->availableGeometry();
    const QPoint centre = preview->geometry().center();
    QVERIFY(qAbs(centre.y() - area.center().y()) <= 4);
    if (preview->width() <= area.width())
        QVERIFY(qAbs(centre.x() - area.center().x()) <= 4);
    else
        QCOMPARE(preview->frameGeometry().left(), area.left());

    QApplication::setActiveWindow(preview);
    QVERIFY(QTest::qWaitForWindowActive(preview));
    QTest::keyClick(preview, Qt::Key_Return);
    QTest::keyClick(preview, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(Dialogs::shown(), (QStringList{u"print"_qs, u"print"_qs}));
}

void TestReportWindow::tableWindowDefaultsAndMethods()
{
    TForm3 table(m_form.get(), m_form->services());
    table.show();
    QCOMPARE(table.windowTitle(), Lang(22, UiLanguage::English));
    QCOMPARE(table.table().columns, 19);
    QCOMPARE(table.table().rows, 119);
    QCOMPARE(child<QTableView>(&table, "StringGrid1")->model()->columnCount(), 18);
    QVERIFY(!child<QComboBox>(&table, "ComboBox4")->isEnabled());

    child<QRadioButton>(&table, "RadioGroup1_1")->click(); // ISO
    QCOMPARE(Settings.Method, CalcMethod::Iso4480);
    QCOMPARE(table.table().columns, 31);
    QCOMPARE(table.table().rows, 77);
    child<QRadioButton>(&table, "RadioGroup1_3")->click(); // machine rounded keeps the ISO ranges
    QCOMPARE(table.table().columns, 31);
    QCOMPARE(table.table().rows, 77);
    child<QRadioButton>(&table, "RadioGroup1_2")->click(); // formula: the taper counts
    QVERIFY(child<QComboBox>(&table, "ComboBox4")->isEnabled());
    const QString before = table.table().cell(7, 18);
    auto* taper = child<QComboBox>(&table, "ComboBox4");
    taper->setCurrentIndex(7);
    emit taper->activated(7);
    QVERIFY(table.table().cell(7, 18) != before);

    // A step of 0,1 from 1,0 to 9,5: 86 columns ending at 9,5.
    child<NumberEdit>(&table, "CurrencyEdit1")->setText(u"0,1"_qs);
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QCOMPARE(table.table().columns, 87);
    QCOMPARE(table.table().cell(86, 0), QLocale().toString(9.5, 'f', 1));
    // A diameter step of 2,5 is used as 2, a minimum of 3,5 as 4.
    child<NumberEdit>(&table, "CurrencyEdit2")->setText(u"2,5"_qs);
    child<NumberEdit>(&table, "CurrencyEdit4")->setText(u"3,5"_qs);
    QTest::keyClick(child<NumberEdit>(&table, "CurrencyEdit4"), Qt::Key_Return);
    QCOMPARE(table.table().cell(0, 1), u"4"_qs);
    QCOMPARE(table.table().cell(0, 2), u"6"_qs);

    // Align off: the table value in its shortest form.
    child<QRadioButton>(&table, "RadioGroup1_0")->click();
    child<QCheckBox>(&table, "CheckBox1")->click();
    QVERIFY(!table.table().cell(7, 18).endsWith(u"0"_qs));
}

void TestReportWindow::tableWindowWarnings()
{
    TForm3 table(m_form.get(), m_form->services());
    table.show();
    const CubTable before = table.table();
    auto* minLength = child<NumberEdit>(&table, "CurrencyEdit3");
    minLength->setText(u"0,3"_qs);
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QCOMPARE(Dialogs::shown().last(), u"The minimum length value: [ 0,0 ]"_qs);
    QCOMPARE(table.table().texts, before.texts);
    minLength->clear(); // an emptied field reads 0
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QCOMPARE(Dialogs::shown().size(), 2);
    minLength->setText(u"abc"_qs); // no number: its lower bound, 9.5
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QCOMPARE(table.table().cell(1, 0), QLocale().toString(9.5, 'f', 1));
    // The other fields hold their ranges: 30 reads 15,0.
    minLength->setText(u"1,0"_qs);
    child<NumberEdit>(&table, "CurrencyEdit5")->setText(u"30"_qs);
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QCOMPARE(table.table().cell(table.table().columns - 1, 0), QLocale().toString(15.0, 'f', 1));
    // An emptied step reads its lower bound, never 0: the table still ends.
    child<NumberEdit>(&table, "CurrencyEdit1")->clear();
    child<NumberEdit>(&table, "CurrencyEdit2")->clear();
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QCOMPARE(table.table().columns, 142); // 1,0 to 15,0 by 0,1, and the header column
}

void TestReportWindow::tableWindowEnterRefreshesOnce()
{
    TForm3 table(m_form.get(), m_form->services());
    table.show();
    auto reloads = [this] {
        return m_form->activityLog().entries().filter(u"_Reload_cub_table"_qs).size();
    };
    const qsizetype before = reloads();
    auto* step = child<NumberEdit>(&table, "CurrencyEdit1");
    step->setText(u"1,0"_qs);
    QTest::keyClick(step, Qt::Key_Return);
    QCOMPARE(reloads(), before + 1);
    QCOMPARE(table.table().columns, 10); // 1,0 to 9,0 by 1,0
    auto* minLength = child<NumberEdit>(&table, "CurrencyEdit3");
    minLength->setText(u"0,3"_qs);
    QTest::keyClick(minLength, Qt::Key_Enter);
    QCOMPARE(reloads(), before + 2);
    QCOMPARE(Dialogs::shown().size(), 1); // one warning
}

void TestReportWindow::tableWindowFieldsKeepWhatWasTyped()
{
    TForm3 table(m_form.get(), m_form->services());
    table.show();
    QApplication::setActiveWindow(&table);
    QVERIFY(QTest::qWaitForWindowActive(&table));
    // Leaving a diameter field by Tab or by a click on Refresh keeps the
    // half; the table rounds it, halves to even.
    auto* step = child<NumberEdit>(&table, "CurrencyEdit2");
    step->setFocus();
    step->setText(u"2,5"_qs);
    QTest::keyClick(step, Qt::Key_Tab);
    QVERIFY(!step->hasFocus());
    QCOMPARE(step->text(), QLocale().toString(2.5, 'f', 1));
    auto* minimum = child<NumberEdit>(&table, "CurrencyEdit4");
    minimum->setFocus();
    minimum->setText(u"4,5"_qs);
    QTest::mouseClick(child<QPushButton>(&table, "Button1"), Qt::LeftButton);
    QVERIFY(!minimum->hasFocus());
    QCOMPARE(minimum->text(), QLocale().toString(4.5, 'f', 1));
    QCOMPARE(table.table().cell(0, 1), u"4"_qs);
    QCOMPARE(table.table().cell(0, 2), u"6"_qs);
    // A value out of range is still brought to its bound, shown as the field shows it.
    minimum->setFocus();
    minimum->setText(u"130,5"_qs);
    QTest::keyClick(minimum, Qt::Key_Tab);
    QCOMPARE(minimum->text(), u"120"_qs);
}

void TestReportWindow::tableWindowRestoresTheMethod()
{
    applySettings(*m_form, [](SettingsRecord& s) { s.Method = CalcMethod::Formula; });
    {
        TForm3 table(m_form.get(), m_form->services());
        table.show();
        // It starts at the method in force.
        QVERIFY(child<QRadioButton>(&table, "RadioGroup1_2")->isChecked());
        QVERIFY(child<QComboBox>(&table, "ComboBox4")->isEnabled());
        child<QRadioButton>(&table, "RadioGroup1_1")->click();
        QCOMPARE(Settings.Method, CalcMethod::Iso4480);
        // Minimised and restored: still the same opening.
        table.setWindowState(Qt::WindowMinimized);
        table.setWindowState(Qt::WindowNoState);
        QVERIFY(child<QRadioButton>(&table, "RadioGroup1_1")->isChecked());
        QTest::keyClick(&table, Qt::Key_Escape);
        QVERIFY(!table.isVisible());
    }
    QCOMPARE(Settings.Method, CalcMethod::Formula);
}

void TestReportWindow::tableWindowPrintAndSave()
{
    auto* table = new TForm3(m_form.get(), m_form->services());
    table->show();
    child<QRadioButton>(table, "RadioGroup1_1")->click();
    QTest::mouseClick(child<QPushButton>(table, "Button3"), Qt::LeftButton);
    const QString text = reportText();
    QVERIFY(text.contains(u"<H2><CENTER>"_qs + Lang(22, UiLanguage::English) + u" ISO 4480-83</CENTER></H2>"_qs));
    QCOMPARE(text.count(u"<tr align=\"center\">"_qs), 77);
    QCOMPARE(previews(table).size(), 1);
    QVERIFY(previews(m_form.get()).isEmpty());

    // Cancelled: no application is started.
    QTest::mouseClick(child<QPushButton>(table, "Button2"), Qt::LeftButton);
    QVERIFY(m_sheetCalls.isEmpty());
    // A name typed without the workbook's suffix gets it.
    Dialogs::queueInput(m_dir->filePath(u"t"_qs));
    QTest::mouseClick(child<QPushButton>(table, "Button2"), Qt::LeftButton);
    QCOMPARE(m_sheetCalls, (QStringList{u"visible"_qs, u"add"_qs, u"Код 503"_qs,
                                        u"saveas "_qs + m_dir->filePath(u"t.xlsx"_qs), u"quit"_qs}));
    const int boxes = Dialogs::shown().size();
    Dialogs::queueInput(m_dir->filePath(u"fail.xls"_qs));
    QTest::mouseClick(child<QPushButton>(table, "Button2"), Qt::LeftButton);
    QCOMPARE(Dialogs::shown().size(), boxes + 2); // the dialog, then the error
    QCOMPARE(Dialogs::shown().last(), Lang(61, UiLanguage::English));
    QCOMPARE(Dialogs::signs().last(), Dialogs::Error);

    // The previews go with the table window.
    QPointer<TForm6> preview = previews(table).first();
    delete table;
    QVERIFY(preview.isNull());
}

void TestReportWindow::tableKeyAndMenus()
{
    // Ctrl+T opens the table modally, from any field; closing it returns.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* t = qobject_cast<TForm3*>(QApplication::activeModalWidget());
        opened = t != nullptr;
        if (t)
            t->reject();
    });
    QTest::keyClick(child<QLineEdit>(m_form.get(), "Edit1"), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(opened);
    QVERIFY(m_form->activityLog().entries().join(u" "_qs).contains(u"_Cub_table_window"_qs));
    // Ctrl+P prints whatever the menu says.
    addRound(u"20"_qs, u"3"_qs);
    QTest::keyClick(child<QLineEdit>(m_form.get(), "Edit1"), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(previews(m_form.get()).size(), 1);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestReportWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_report_window.moc"
