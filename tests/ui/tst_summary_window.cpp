// The lot summary window through the main window: its key, prices and
// costs, refusals, the stored values, an empty list and the PDF; and the
// chart through the module the program carries.
#include "../fakes/memorystore.h"
#include "../fakes/modulefile.h"
#include "../fakes/testservices.h"
#include "../fakes/windowtest.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "shell/log.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"
#include "summary/summarydoc.h"
#include "summary/ui/summarycharts.h"
#include "summary/ui/lotsummarywindow.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QAction>
#include <QChartView>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

#include <memory>

using namespace zel;

class TestSummaryWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keyOpensItAndPricesMakeCosts();
    void badInputIsRefusedWithABeep();
    void storedValuesThatDoNotReadFallBack();
    void emptyListEmptySummary();
    void pdfHoldsTheSummaryAsText();
    void chartFromTheCarriedModule();
    void chartFollowsTheList();

private:
    template <typename T> T* child(QWidget* w, const QString& name)
    {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    void makeWindow();
    void addRound(const QString& d, const QString& count);
    LotSummaryWindow* openByKey();
    QString cell(int row, int column);
    void typeInto(QLineEdit* e, const QString& text);
    void typePrice(int row, const QString& text);

    std::unique_ptr<QTemporaryDir> m_dir;
    MemoryStore m_store;
    int m_beeps = 0;
    std::unique_ptr<TForm1> m_form;
};

void TestSummaryWindow::init()
{
    startWindowTest(m_store, UiLanguage::English);
    m_beeps = 0;
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestSummaryWindow::makeWindow()
{
    AppServices services = testServices(m_store, m_dir->filePath(u"zelmora"_qs));
    services.beep = [this] { ++m_beeps; };
    QVERIFY(showMainWindow(m_form, services));
}

void TestSummaryWindow::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestSummaryWindow::addRound(const QString& d, const QString& count)
{
    child<QLineEdit>(m_form.get(), u"Edit1"_qs)->setText(d);
    child<QLineEdit>(m_form.get(), u"Edit3"_qs)->setText(count);
    QTest::mouseClick(child<QPushButton>(m_form.get(), u"Button1"_qs), Qt::LeftButton);
}

LotSummaryWindow* TestSummaryWindow::openByKey()
{
    QTest::keyClick(child<QLineEdit>(m_form.get(), u"Edit1"_qs), Qt::Key_L, Qt::ControlModifier);
    LotSummaryWindow* w = m_form->summaryWindow();
    if (w)
        QCoreApplication::processEvents();
    return w;
}

QString TestSummaryWindow::cell(int row, int column)
{
    QCoreApplication::processEvents(); // the summary follows the list after the event
    auto* t = child<QTableWidget>(m_form->summaryWindow(), u"ClassTable"_qs);
    return t->item(row, column) ? t->item(row, column)->text() : u"(none)"_qs;
}

void TestSummaryWindow::typeInto(QLineEdit* e, const QString& text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}

// Through the table's own editor, as the user types it.
void TestSummaryWindow::typePrice(int row, const QString& text)
{
    auto* t = child<QTableWidget>(m_form->summaryWindow(), u"ClassTable"_qs);
    t->setCurrentCell(row, kColPrice);
    t->editItem(t->item(row, kColPrice));
    auto* editor = t->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits on its next event and lets the editor go after it.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestSummaryWindow::keyOpensItAndPricesMakeCosts()
{
    makeWindow();
    const QString nb(QChar(0x00A0));
    auto* menu = child<QMenu>(m_form.get(), u"PopupMenu3"_qs);
    const QList<QAction*> actions = menu->actions();
    const int report = actions.indexOf(child<QAction>(m_form.get(), u"N25"_qs));
    QCOMPARE(actions.value(report + 1)->text(), u"Lot summary\tCtrl+L"_qs);

    addRound(u"20"_qs, u"3"_qs);
    LotSummaryWindow* w = openByKey();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), u"Lot summary"_qs);
    QCOMPARE(cell(2, kColName), u"Medium, 14–25 cm"_qs);
    QCOMPARE(cell(2, kColCount), u"3"_qs);
    QCOMPARE(cell(2, kColVolume), u"0,4410"_qs);

    typePrice(2, u"1200"_qs);
    QCOMPARE(cell(2, kColPrice), u"1"_qs + nb + u"200,00"_qs);
    QCOMPARE(cell(2, kColCost), u"529,20"_qs);
    QCOMPARE(cell(4, kColCost), u"529,20"_qs);
    QCOMPARE(m_store.values[kPricesValue].toString(), u"\"0,00\",\"0,00\",\"1200,00\",\"0,00\""_qs);
    typeInto(child<QLineEdit>(w, u"Currency"_qs), u"UAH"_qs);
    QCOMPARE(cell(2, kColCost), u"529,20 UAH"_qs);
    QCOMPARE(m_store.values[kCurrencyValue].toString(), u"UAH"_qs);

    // It follows the list: three more logs merge into the line.
    addRound(u"20"_qs, u"3"_qs);
    QCOMPARE(cell(2, kColCount), u"6"_qs);
    QCOMPARE(cell(2, kColCost), u"1"_qs + nb + u"058,40 UAH"_qs);
    // ... and the settings: the cylinder rule in force.
    applySettings(*m_form, [](SettingsRecord& s) { s.Method = CalcMethod::Cylindered; });
    QCOMPARE(cell(2, kColVolume), u"0,7540"_qs);
    auto* methods = child<QTableWidget>(w, u"MethodTable"_qs);
    QCOMPARE(methods->item(3, kColMethod)->text(), u"Machine rounded (in force)"_qs);
    QCOMPARE(methods->item(0, kColDiffM3)->text(), u"0,1280"_qs);
    // Beside them the buyers' rules, by the same six logs of 20 cm x 4 m (8 inches x 13 feet).
    QCOMPARE(child<QLabel>(w, u"RuleCaption"_qs)->text(), u"Other trades' rules"_qs);
    auto* rules = child<QTableWidget>(w, u"RuleTable"_qs);
    QCOMPARE(rules->item(0, kColRuleTotal)->text(), u"0,960"_qs);
    QCOMPARE(rules->item(2, kColRuleTotal)->text(), u"78"_qs);
    QCOMPARE(rules->item(3, kColRuleTotal)->text(), u"180"_qs);
    applySettings(*m_form, [](SettingsRecord& s) { s.Method = CalcMethod::Gost2708; });

    // The board tab in front: sections instead of classes.
    child<QTabWidget>(m_form.get(), u"PageControl1"_qs)->setCurrentIndex(1);
    child<QLineEdit>(m_form.get(), u"Edit5"_qs)->setText(u"15"_qs);
    child<QLineEdit>(m_form.get(), u"Edit7"_qs)->setText(u"5"_qs);
    child<NumberEdit>(m_form.get(), u"CurrencyEdit2"_qs)->setText(u"6,0"_qs);
    child<QLineEdit>(m_form.get(), u"Edit6"_qs)->setText(u"10"_qs);
    QTest::mouseClick(child<QPushButton>(m_form.get(), u"Button3"_qs), Qt::LeftButton);
    QCOMPARE(cell(0, kColName), u"15×5"_qs);
    QCOMPARE(cell(0, kColVolume), u"0,4500"_qs);
    typePrice(0, u"2000"_qs);
    QCOMPARE(cell(0, kColCost), u"900,00 UAH"_qs);
    QVERIFY(m_store.values[kPricesValue].toString().endsWith(u",\"15×5=2000,00\""_qs));
    QVERIFY(!methods->isVisible() && !rules->isVisible());
    QCOMPARE(m_beeps, 0);
}

void TestSummaryWindow::badInputIsRefusedWithABeep()
{
    makeWindow();
    addRound(u"20"_qs, u"3"_qs);
    LotSummaryWindow* w = openByKey();
    QVERIFY(w);
    typePrice(2, u"1000"_qs);
    const QVariant stored = m_store.values[kPricesValue];

    typePrice(2, u"-5"_qs);
    QCOMPARE(m_beeps, 1);
    QCOMPARE(cell(2, kColPrice), u"1"_qs + QChar(0x00A0) + u"000,00"_qs);
    QCOMPARE(cell(2, kColCost), u"441,00"_qs);
    QCOMPARE(m_store.values[kPricesValue], stored);

    auto* bound2 = child<QLineEdit>(w, u"Bound2"_qs);
    typeInto(bound2, u"5"_qs); // below the first bound
    QCOMPARE(m_beeps, 2);
    QCOMPARE(bound2->text(), u"14"_qs);
    auto* factor = child<QLineEdit>(w, u"StackFactor"_qs);
    for (const QString& bad : {u"0"_qs, u"abc"_qs, u"1,5"_qs})
        typeInto(factor, bad);
    QCOMPARE(m_beeps, 5);
    QCOMPARE(factor->text(), u"0,70"_qs);
    QVERIFY(!m_store.values.contains(kClassBoundsValue));
    QVERIFY(!m_store.values.contains(kStackFactorValue));
    QVERIFY(Dialogs::shown().isEmpty());

    // Good values take effect and are kept.
    typeInto(bound2, u"21"_qs);
    QCOMPARE(cell(1, kColCount), u"3"_qs); // 20 cm is thin below 21
    QCOMPARE(m_store.values[kClassBoundsValue].toString(), u"6,21,26"_qs);
    typeInto(factor, u"0,5"_qs);
    QCOMPARE(child<QLabel>(w, u"Stacked"_qs)->text(), u"Stacked volume: 0,8820 stacked m3"_qs);
    QCOMPARE(m_store.values[kStackFactorValue].toString(), u"0,50"_qs);
    // An emptied price is 0.
    typePrice(1, QString());
    QCOMPARE(cell(1, kColCost), u"0,00"_qs);
    QCOMPARE(m_beeps, 5);
}

void TestSummaryWindow::storedValuesThatDoNotReadFallBack()
{
    m_store.values[kPricesValue] = u"\"0,00\",\"5,00\",\"100,00\",\"0,00\""_qs;
    m_store.values[kClassBoundsValue] = u"6,x,26"_qs;
    m_store.values[kStackFactorValue] = 3; // no text
    makeWindow();
    // Read and logged at start, after the start's own entries.
    const QString startLog = m_form->activityLog().entries().join(u'\n');
    QVERIFY(startLog.indexOf(u"_Summary_value_unread_StackFactor"_qs) > startLog.indexOf(u"_Get_Version"_qs));
    QVERIFY(startLog.indexOf(u"_Get_Version"_qs) > startLog.indexOf(u"_Read_params_REG"_qs));
    addRound(u"20"_qs, u"3"_qs);
    LotSummaryWindow* w = openByKey();
    QVERIFY(w);
    QCOMPARE(w->params().classPrices[2], 100.0);
    QCOMPARE(w->params().bounds, (ClassBounds{6, 14, 26}));
    QCOMPARE(w->params().stackFactor, 0.70);
    QCOMPARE(cell(2, kColCost), u"44,10"_qs);
    const QString log = m_form->activityLog().entries().join(u'\n');
    QVERIFY(log.contains(u"_Summary_value_unread_StackFactor"_qs));
    QVERIFY(log.contains(u"_Summary_value_unread_ClassBounds"_qs));
    QVERIFY(!log.contains(u"unread_Prices"_qs));
}

void TestSummaryWindow::emptyListEmptySummary()
{
    makeWindow();
    LotSummaryWindow* w = openByKey();
    QVERIFY(w);
    QCOMPARE(child<QTableWidget>(w, u"ClassTable"_qs)->rowCount(), 5);
    QCOMPARE(cell(4, kColCount), u"0"_qs);
    QCOMPARE(cell(4, kColVolume), u"0,0000"_qs);
    QCOMPARE(cell(4, kColCost), u"0,00"_qs);
    QChart* chart = child<QChartView>(w, u"Chart"_qs)->chart();
    const auto* bars = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    QVERIFY(bars);
    for (const QBarSet* set : bars->barSets())
        QCOMPARE(set->count(), 0);
    QVERIFY(Dialogs::shown().isEmpty());

    // With lines, one bar per diameter in its class's set.
    addRound(u"20"_qs, u"3"_qs);
    addRound(u"30"_qs, u"2"_qs);
    QCoreApplication::processEvents();
    const auto* filled = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    QCOMPARE(filled->barSets().size(), 4);
    QCOMPARE(filled->barSets()[2]->at(0), 0.441);
    QCOMPARE(filled->barSets()[3]->at(1), 0.66);
    QCOMPARE(filled->barSets()[3]->at(0), 0.0);
    QCOMPARE(filled->barSets()[0]->label(), u"Small, &lt; 6 cm"_qs); // the legend's rich text

    // Opening it again and again changes the chart's data, not its drawn items.
    QGraphicsScene* scene = child<QChartView>(w, u"Chart"_qs)->scene();
    const qsizetype items = scene->items().size();
    for (int i = 0; i < 3; ++i) {
        w->hide();
        m_form->LotSummaryClick();
        QCoreApplication::processEvents();
    }
    QCOMPARE(scene->items().size(), items);
}

// The texts the chart draws, as the user sees them.
static QStringList chartTexts(QChartView* view)
{
    QCoreApplication::processEvents();
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items()) {
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item); t && item->isVisible())
            texts << t->toPlainText();
    }
    return texts;
}

void TestSummaryWindow::chartFollowsTheList()
{
    makeWindow();
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::Russian; });
    addRound(u"20"_qs, u"3"_qs);
    addRound(u"30"_qs, u"7"_qs);
    LotSummaryWindow* w = openByKey();
    QVERIFY(w);
    auto* view = child<QChartView>(w, u"Chart"_qs);
    auto* counts = static_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical, view->chart()->series().at(1)).at(0));
    // Counts tick at whole, round steps from 0; volumes take the decimal comma.
    const auto countLabels = [&] {
        QStringList whole;
        for (QString t : chartTexts(view)) {
            t.remove(QChar(0x00A0)).remove(u' ');
            if (!t.isEmpty() && t.toLongLong() >= 0 && QString::number(t.toLongLong()) == t)
                whole << t;
        }
        whole.sort();
        return whole;
    };
    QStringList texts = chartTexts(view);
    QVERIFY2(texts.contains(u"0,00"_qs) && texts.filter(QRegularExpression(u"^\\d+\\.\\d+$"_qs)).isEmpty(),
             qPrintable(texts.join(u' ')));
    // The count axis and the diameters under the bars.
    QStringList expected{u"0"_qs, u"2"_qs, u"20"_qs, u"30"_qs, u"4"_qs, u"6"_qs, u"8"_qs};
    QCOMPARE(countLabels(), expected);
    QCOMPARE(counts->max(), 8.0);

    // A line of many logs: the chart follows at once, with a few ticks.
    QElapsedTimer timer;
    timer.start();
    addRound(u"20"_qs, u"10000"_qs);
    QCoreApplication::processEvents();
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    expected = QStringList{u"0"_qs, u"10000"_qs, u"15000"_qs, u"20"_qs, u"30"_qs, u"5000"_qs};
    QCOMPARE(countLabels(), expected);

    // Cleared: no diameter of the old list is left on the axis.
    QMetaObject::invokeMethod(m_form.get(), "N1Click");
    QCOMPARE(countLabels(), (QStringList{u"0"_qs, u"1"_qs}));
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::English; });
}

void TestSummaryWindow::chartFromTheCarriedModule()
{
    ModuleFromFile file("zelmora-charts-test", QStringLiteral(ZEL_CHARTS_MODULE));
    QVERIFY(file.isRead());
    Facility<ISummaryCharts> carried(file.module(), kSummaryChartsOpen);
    ISummaryCharts* charts = carried.get();
    QVERIFY(charts);
    QWidget parent;
    auto* view = qobject_cast<QChartView*>(charts->makeView(&parent));
    QVERIFY(view);
    QCOMPARE(view->objectName(), u"Chart"_qs);
    LotSummary summary;
    summary.bars = {ChartBar{u"20"_qs, 1, 0.441, 3}};
    charts->fill(view, summary, SummaryParams(), UiLanguage::English);
    QCOMPARE(view->chart()->title(), u"Volume by diameter"_qs);
    QCOMPARE(charts->image(summary, SummaryParams(), UiLanguage::English, QSize(120, 70), 2.0).size(), QSize(240, 140));
}

// What a poppler tool prints of a PDF, with the lists' no-break blanks as blanks.
static QString poppler(const QString& tool, const QStringList& arguments)
{
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return tool + u" (poppler-utils) did not run"_qs;
    return QString::fromUtf8(p.readAllStandardOutput()).replace(QChar(0x00A0), u' ');
}

void TestSummaryWindow::pdfHoldsTheSummaryAsText()
{
    makeWindow();
    addRound(u"20"_qs, u"3"_qs);
    child<NumberEdit>(m_form.get(), u"CurrencyEdit1"_qs)->setText(u"12,0"_qs); // beyond the GOST table
    addRound(u"20"_qs, u"1"_qs);
    LotSummaryWindow* w = openByKey();
    QVERIFY(w);
    typePrice(2, u"1000"_qs);
    // The header's fields, the last one still being typed when the file is saved.
    typeInto(child<QLineEdit>(w, u"LotNumber"_qs), u"17/2025"_qs);
    typeInto(child<QLineEdit>(w, u"Seller"_qs), u"Oak & Co"_qs);
    typeInto(child<QLineEdit>(w, u"Buyer"_qs), u"Birch Ltd"_qs);
    child<QLineEdit>(w, u"Place"_qs)->setText(u"Lviv"_qs);
    QCOMPARE(m_store.values.value(kSellerValue).toString(), u"Oak & Co"_qs);
    QVERIFY(!m_store.values.contains(kPlaceValue));
    // Letter where the system's country prints on it.
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString file = m_dir->filePath(u"lot.pdf"_qs);
    Dialogs::queueInput(file);
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QLocale::setDefault(locale);
    QCOMPARE(Dialogs::shown(), QStringList{u"Save PDF…"_qs});
    QCOMPARE(m_store.values.value(kPlaceValue).toString(), u"Lviv"_qs);
    QVERIFY(QFileInfo(file).size() > 0);

    const QString text = poppler(u"pdftotext"_qs, {u"-layout"_qs, u"-enc"_qs, u"UTF-8"_qs, file, u"-"_qs});
    for (const QString& expected : {u"Timber acceptance certificate"_qs, u"Lot No.: 17/2025"_qs,
                                    u"Seller: Oak & Co"_qs, u"Buyer: Birch Ltd"_qs, u"Place: Lviv"_qs,
                                    u"hinning on the meter: 1,0 cm"_qs, u"Lot summary"_qs, u"Medium, 14–25 cm"_qs, u"1 078,10"_qs,
                                    u"(in force)"_qs, u"Date: "_qs, u"Stacking factor: 0,70"_qs,
                                    u"Stacked volume: 1,5401 stacked m3"_qs, u"Other trades' rules"_qs,
                                    u"International 1/4-inch"_qs, u"1,171"_qs, u"0,5922"_qs, u"(signature)"_qs,
                                    u"Lines of the list"_qs})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" not in:\n"_qs + text));
    // Every line as the list shows it, and the totals: the sums of those lines.
    long long volume = 0, count = 0;
    const Lines& lines = m_form->roundModel()->lines();
    QCOMPARE(lines.size(), 2);
    for (int i = 0; i < lines.size(); ++i) {
        QStringList cells{QString::number(i + 1)};
        for (const QString& c : lines[i].cells)
            cells << c.left(c.indexOf(u' '));
        volume += QString(cells[4]).remove(u',').toLongLong();
        count += cells[3].toLongLong();
        if (lines[i].icon == kIconFallback)
            cells << u"yes"_qs;
        for (QString& c : cells)
            c = QRegularExpression::escape(c);
        const QRegularExpression row(u"\n\\s*"_qs + cells.join(u"\\s+"_qs) + u"\\s*\n"_qs);
        QVERIFY2(text.contains(row), qPrintable(row.pattern()));
    }
    const QString sum = u"%1,%2"_qs.arg(volume / 10000).arg(volume % 10000, 4, 10, QLatin1Char('0'));
    QVERIFY2(text.contains(QRegularExpression(u"\\n\\s*Total\\s+%1\\s+%2\\s+1\\s*\\n"_qs.arg(count).arg(sum))),
             qPrintable(sum + u" not the total in:\n"_qs + text));
    // Numbered pages, "1 / M" to "M / M".
    QVERIFY2(text.contains(QRegularExpression(u"\\n\\s*1 ?/ ?(\\d+)(\\s*\\n.*\\n\\s*\\1 ?/ ?\\1)?\\s*$"_qs,
                                              QRegularExpression::DotMatchesEverythingOption)),
             "the pages are not numbered");
    QVERIFY2(poppler(u"pdfinfo"_qs, {file}).contains(u"612 x 792 pts (letter)"_qs), "not on Letter");
    // The chart, its whole width within the page's text: 8.5 inches less
    // the margins of 15 mm.
    const QStringList images = poppler(u"pdfimages"_qs, {u"-list"_qs, file}).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(images.size(), 3); // two lines of heading and the chart's
    const QStringList chart = images[2].split(u' ', Qt::SkipEmptyParts);
    const double points = chart[3].toDouble() / chart[12].toDouble() * 72.0;
    QVERIFY2(points > 400.0 && points <= 612.0 - 2 * 15 / 25.4 * 72 + 0.5, qPrintable(images[2]));

    // A file that cannot be written is told, with its name and the system's reason.
    Dialogs::clear();
    const QString nowhere = m_dir->filePath(u"no/such/folder/lot.pdf"_qs);
    Dialogs::queueInput(nowhere);
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Dialogs::shown().size(), 2);
    QVERIFY2(Dialogs::shown()[1].startsWith(u"The PDF file could not be written.\n"_qs + nowhere + u": "_qs)
                 && Dialogs::shown()[1].size() > nowhere.size() + 40,
             qPrintable(Dialogs::shown()[1]));

    // Without a folder last used and a documents folder, the home folder is
    // offered, as a whole path.
    m_store.values.remove(kLastFolderValue);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_dir->path()));
    Dialogs::clear();
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Dialogs::proposedNames(), QStringList{m_dir->filePath(u"summary.pdf"_qs)});
    QVERIFY(QDir().mkdir(m_dir->filePath(u"Documents"_qs)));
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    qputenv("HOME", home);
    QCOMPARE(Dialogs::proposedNames().value(1), m_dir->filePath(u"Documents/summary.pdf"_qs));

    // The header's fields come back at the next start.
    m_form.reset();
    makeWindow();
    w = openByKey();
    QVERIFY(w);
    QCOMPARE(child<QLineEdit>(w, u"LotNumber"_qs)->text(), u"17/2025"_qs);
    QCOMPARE(child<QLineEdit>(w, u"Buyer"_qs)->text(), u"Birch Ltd"_qs);
    QCOMPARE(child<QLineEdit>(w, u"Place"_qs)->text(), u"Lviv"_qs);
}

QTEST_MAIN(TestSummaryWindow)
#include "tst_summary_window.moc"
