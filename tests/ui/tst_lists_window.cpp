// The main window's two lists, driven through their controls.
#include "../fakes/memorystore.h"
#include "../fakes/testservices.h"
#include "../fakes/windowtest.h"
#include "engine/errors.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "shell/log.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QCollator>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

using namespace zel;

namespace {

QString uk(int entry) { return Lang(entry, UiLanguage::Ukrainian); }

} // namespace

class TestListsWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enterAddsALine();
    void equalLinesMerge();
    void fallbackLineIsRedWithNotice();
    void emptyListTotals();
    void weightedMeans();
    void editingACell();
    void cancelledEditStillRecomputes();
    void sortingOnAndOff();
    void sortedListPlacesOnlyChangedLines();
    void mergeIntoLine280Of300();
    void boardExample();
    void boardDefaultsAndEmptyCount();
    void outOfRangeMessages();
    void conversionErrorsAreReported();
    void badLineDoesNotLockTheList_data();
    void badLineDoesNotLockTheList();
    void randomDiameterForAnEmptyField();
    void listMenuEnabling();
    void englishUnits();
    void doubleClickOpensTheEditMenu();
    void everyChangeIsUndone_data();
    void everyChangeIsUndone();

private:
    template <typename T> T* child(const char* name)
    {
        T* w = m_form->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString text(const char* name) { return child<QLineEdit>(name)->text(); }
    void addRound(const QString& d, const QString& len, const QString& count);
    void addBoard(const QString& w, const QString& h, const QString& len, const QString& count);
    // Runs `f` from the event loop, as a menu or key would, so that what it
    // throws takes the application's error route.
    void fromEventLoop(const std::function<void()>& f);
    void call(const char* slot) { fromEventLoop([this, slot] { QMetaObject::invokeMethod(m_form.get(), slot); }); }
    void selectRow(int row, bool board = false);
    ListLine roundLine(int row) { return m_form->roundModel()->lines().at(row); }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
};

void TestListsWindow::init()
{
    startWindowTest(m_store, UiLanguage::Ukrainian);
    QVERIFY(showMainWindow(m_form, testServices(m_store, m_dir.filePath(u"zelmora"_qs))));
}

void TestListsWindow::cleanup()
{
    m_form.reset();
}

void TestListsWindow::addRound(const QString& d, const QString& len, const QString& count)
{
    // As a click on the tab: a list that does not read is reported, not thrown here.
    fromEventLoop([this] { child<QTabWidget>("PageControl1")->setCurrentIndex(0); });
    child<QLineEdit>("Edit1")->setText(d);
    child<NumberEdit>("CurrencyEdit1")->setText(len);
    child<QLineEdit>("Edit3")->setText(count);
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
}

void TestListsWindow::addBoard(const QString& w, const QString& h, const QString& len,
                               const QString& count)
{
    fromEventLoop([this] { child<QTabWidget>("PageControl1")->setCurrentIndex(1); });
    child<QLineEdit>("Edit5")->setText(w);
    child<QLineEdit>("Edit7")->setText(h);
    child<NumberEdit>("CurrencyEdit2")->setText(len);
    child<QLineEdit>("Edit6")->setText(count);
    QTest::mouseClick(child<QPushButton>("Button3"), Qt::LeftButton);
}

void TestListsWindow::fromEventLoop(const std::function<void()>& f)
{
    bool ran = false;
    QTimer::singleShot(0, m_form.get(), [&] {
        ran = true;
        f();
    });
    QTRY_VERIFY(ran);
    QCoreApplication::processEvents();
}

void TestListsWindow::selectRow(int row, bool board)
{
    auto* view = child<QAbstractItemView>(board ? "ListView2" : "ListView1");
    view->setCurrentIndex(view->model()->index(row, 0));
}

void TestListsWindow::enterAddsALine()
{
    QLineEdit* d = child<QLineEdit>("Edit1");
    d->setFocus();
    QTest::keyClicks(d, QStringLiteral("20"));
    child<QLineEdit>("Edit3")->setText(QStringLiteral("3"));
    QTest::keyClick(d, Qt::Key_Return);

    QCOMPARE(m_form->roundModel()->size(), 1);
    QCOMPARE(roundLine(0).cells, (QVector<QString>{u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs, u"0,4410 м3."_qs}));
    QCOMPARE(m_form->Memo1(), (QStringList{u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs, u"0,4410 м3."_qs}));
    QCOMPARE(text("Edit2"), u"0,4410"_qs);
    QCOMPARE(text("Edit4"), u"318"_qs);
    QCOMPARE(text("Edit9"), u"12,00"_qs);
    QCOMPARE(text("Edit10"), u"20,00"_qs);
    QCOMPARE(m_form->total, 3 * 0.147);
    QCOMPARE(d->selectedText(), u"20"_qs);

    // Enter in the count field adds too, and the next number typed is the
    // next diameter, not more digits of the count.
    QApplication::setActiveWindow(m_form.get());
    child<QLineEdit>("Edit1")->setText(u"30"_qs);
    child<QLineEdit>("Edit3")->setFocus();
    QTest::keyClick(child<QLineEdit>("Edit3"), Qt::Key_Return);
    QCOMPARE(m_form->roundModel()->size(), 2);
    QTest::keyClicks(QApplication::focusWidget(), u"22"_qs);
    QCOMPARE(text("Edit1"), u"22"_qs);
    QCOMPARE(text("Edit3"), u"3"_qs);
    // The boards' row likewise, from their count field to the width.
    fromEventLoop([this] { child<QTabWidget>("PageControl1")->setCurrentIndex(1); });
    child<QLineEdit>("Edit5")->setText(u"15"_qs);
    child<QLineEdit>("Edit6")->setFocus();
    QTest::keyClick(child<QLineEdit>("Edit6"), Qt::Key_Return);
    QCOMPARE(m_form->boardModel()->size(), 1);
    QTest::keyClicks(QApplication::focusWidget(), u"18"_qs);
    QCOMPARE(text("Edit5"), u"18"_qs);
    QCOMPARE(text("Edit6"), u"1"_qs);
}

void TestListsWindow::equalLinesMerge()
{
    addRound(u"20"_qs, u"4,0"_qs, u"3"_qs);
    addRound(u"20"_qs, u"4,0"_qs, u"3"_qs);
    QCOMPARE(m_form->roundModel()->size(), 1);
    QCOMPARE(roundLine(0).cells[2], u"6 шт."_qs);
    addRound(u"20"_qs, u"4,5"_qs, u"3"_qs);
    QCOMPARE(m_form->roundModel()->size(), 2);
}

void TestListsWindow::fallbackLineIsRedWithNotice()
{
    addRound(u"30"_qs, u"4,0"_qs, u"1"_qs);
    addRound(u"20"_qs, u"12,0"_qs, u"1"_qs);
    const ListLine red = roundLine(1);
    QCOMPARE(red.icon, kIconFallback);
    QCOMPARE(red.cells[3], u"0,6371 м3."_qs);
    QCOMPARE(m_form->roundModel()->data(m_form->roundModel()->index(1, 0), Qt::ForegroundRole)
                 .value<QColor>(), QColor(Qt::red));
    QVERIFY(m_form->roundModel()->data(m_form->roundModel()->index(0, 0), Qt::ForegroundRole)
                .value<QColor>() != QColor(Qt::red));
    QCOMPARE(m_form->statusText(0), uk(80));
    QCOMPARE(text("Edit2"), u"0,9671"_qs); // 0.33 + 0.6371: the red line counts

    selectRow(1);
    call("N3Click");
    QCOMPARE(m_form->roundModel()->size(), 1);
    QCOMPARE(m_form->statusText(0), QString());
}

void TestListsWindow::emptyListTotals()
{
    QCOMPARE(text("Edit2"), u"0,0000"_qs);
    QCOMPARE(text("Edit4"), u"0"_qs);
    QCOMPARE(text("Edit9"), u"0,00"_qs);
    QCOMPARE(text("Edit10"), u"0.00"_qs);
    QCOMPARE(m_form->statusText(0), QString());
    // Deleting the only line brings them back.
    addRound(u"20"_qs, u"4,0"_qs, u"3"_qs);
    selectRow(0);
    call("N3Click");
    QCOMPARE(text("Edit2"), u"0,0000"_qs);
    QCOMPARE(text("Edit10"), u"0.00"_qs);
    QVERIFY(m_form->Memo1().isEmpty());
}

void TestListsWindow::weightedMeans()
{
    addRound(u"20"_qs, u"4,0"_qs, u"10"_qs);
    addRound(u"40"_qs, u"5,0"_qs, u"30"_qs);
    QCOMPARE(text("Edit10"), u"35,00"_qs);
    QCOMPARE(text("Edit9"), u"190,00"_qs);
}

void TestListsWindow::editingACell()
{
    addRound(u"20"_qs, u"4,0"_qs, u"1"_qs);
    selectRow(0);
    Dialogs::queueInput(u"4.5"_qs);
    fromEventLoop([this] { child<QAction>("N9")->trigger(); });
    QCOMPARE(roundLine(0).cells[1], u"45,00 м."_qs); // the dot is dropped
    QCOMPARE(roundLine(0).icon, kIconFallback);
    QCOMPARE(Dialogs::shown().last(), QStringLiteral("\" ") + uk(4) + QStringLiteral(" \""));

    Dialogs::queueInput(u"4,5"_qs);
    fromEventLoop([this] { child<QAction>("N9")->trigger(); });
    QCOMPARE(roundLine(0).cells[1], u"4,50 м."_qs);
    QCOMPARE(roundLine(0).icon, kIconNormal);

    // Edited past every entry limit: used as it is.
    Dialogs::queueInput(u"150"_qs);
    fromEventLoop([this] { child<QAction>("N4")->trigger(); });
    QCOMPARE(roundLine(0).cells[0], u"150 см."_qs);
    QCOMPARE(roundLine(0).icon, kIconFallback);

    Dialogs::queueInput(u"0"_qs);
    fromEventLoop([this] { child<QAction>("N10")->trigger(); });
    QCOMPARE(roundLine(0).cells[3], u"0,0000 м3."_qs);
    QCOMPARE(roundLine(0).icon, kIconFallback);
}

void TestListsWindow::cancelledEditStillRecomputes()
{
    addRound(u"20"_qs, u"4,0"_qs, u"1"_qs);
    selectRow(0);
    // A volume text only a recomputation puts right.
    const auto stale = [this] { m_form->roundModel()->lines()[0].cells[3] = u"?"_qs; };
    stale();
    fromEventLoop([this] { child<QAction>("N8")->trigger(); }); // no answer queued: cancelled
    QCOMPARE(roundLine(0).cells[0], u"20 см."_qs);
    QCOMPARE(roundLine(0).cells[3], u"0,1470 м3."_qs);

    // Without a selected line nothing is asked, and the list is recomputed all the same.
    child<QAbstractItemView>("ListView1")->clearSelection();
    stale();
    const int boxes = Dialogs::shown().size();
    fromEventLoop([this] { child<QAction>("N8")->trigger(); });
    QCOMPARE(Dialogs::shown().size(), boxes);
    QCOMPARE(roundLine(0).cells[3], u"0,1470 м3."_qs);
}

void TestListsWindow::sortingOnAndOff()
{
    addRound(u"5"_qs, u"4,0"_qs, u"1"_qs);
    addRound(u"20"_qs, u"4,0"_qs, u"1"_qs);
    addRound(u"100"_qs, u"4,0"_qs, u"1"_qs);
    m_form->setSortMode(true);
    auto firstColumn = [this] {
        QStringList out;
        for (const ListLine& l : m_form->roundModel()->lines())
            out << l.cells[0];
        return out;
    };
    QCOMPARE(firstColumn(), (QStringList{u"100 см."_qs, u"20 см."_qs, u"5 см."_qs}));
    QCOMPARE(m_form->Memo1().first(), u"100 см."_qs);
    addRound(u"9"_qs, u"4,0"_qs, u"1"_qs);
    addRound(u"10"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(firstColumn(), (QStringList{u"10 см."_qs, u"100 см."_qs, u"20 см."_qs, u"5 см."_qs, u"9 см."_qs}));
    QCOMPARE(m_form->Memo1().mid(16, 4).first(), u"9 см."_qs);

    m_form->setSortMode(false);
    addRound(u"7"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(firstColumn().last(), u"7 см."_qs);
}

// A list kept sorted places only its changed and new lines again; after a
// long random run of adds, edits and deletes (equal texts common, some that
// do not read) it is line for line the list sorted whole after every step.
void TestListsWindow::sortedListPlacesOnlyChangedLines()
{
    LinesModel* model = m_form->roundModel();
    m_form->setSortMode(true);
    QRandomGenerator rng(1604);
    const QStringList firstTexts{u"5"_qs, u"12"_qs, u"12 см."_qs, u"40"_qs, u"100"_qs, u"abc"_qs, u"7,5"_qs};
    Lines reference;
    for (int step = 0; step < 600; ++step) {
        const int op = static_cast<int>(rng.bounded(10));
        ListLine line = newRoundLine(QString::number(5 + rng.bounded(4) * 20), 4.0,
                                     QString::number(1 + rng.bounded(9)));
        const int row = model->size() > 0 ? static_cast<int>(rng.bounded(model->size())) : -1;
        if (op < 5 || row < 0) {
            model->append(line);
            reference.append(line);
        } else if (op < 8) {
            const QString text = firstTexts[rng.bounded(firstTexts.size())];
            model->lines()[row].cells[0] = text;
            reference[row].cells[0] = text;
        } else {
            model->removeLine(row);
            reference.removeAt(row);
        }
        try {
            m_form->ReFreshList();
        } catch (const ConvertError&) {
            // A line that does not read: the list is still settled.
        }
        ReFreshRoundLines(reference, m_form->listContext());
        sortLines(reference, QCollator());
        QCOMPARE(lineTexts(model->lines()), lineTexts(reference));
    }
}

void TestListsWindow::mergeIntoLine280Of300()
{
    LinesModel* model = m_form->roundModel();
    Lines lines;
    for (int i = 0; i < 300; ++i)
        lines.append(newRoundLine(QString::number(3 + i % 118), 1.0 + i / 118, u"1"_qs));
    model->setLines(lines);
    m_form->ReFreshList();
    // The views are told of the one line written anew, never of all of them.
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);
    const auto onlyRow = [&](int row) {
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), row);
        QCOMPARE(changed[0][1].toModelIndex().row(), row);
        changed.clear();
    };
    const int d = 3 + 280 % 118;
    addRound(QString::number(d), u"3,0"_qs, u"4"_qs);
    QCOMPARE(model->size(), 300);
    QCOMPARE(model->lines().at(280).cells[2], u"5 шт."_qs);
    QCOMPARE(m_form->Memo1().size(), 1200);
    onlyRow(280);
    addRound(u"25"_qs, u"12,5"_qs, u"2"_qs);
    QCOMPARE(model->size(), 301);
    onlyRow(300);
    QCOMPARE(reset.size(), 0);

    // The totals shown are those of the same lines computed from their texts alone.
    Lines full;
    for (const ListLine& line : model->lines())
        full.append(ListLine(line.cells, line.icon));
    const ListTotals t = ReFreshRoundLines(full, m_form->listContext());
    QCOMPARE(text("Edit2"), t.volume);
    QCOMPARE(text("Edit9"), t.runningLength);
    QCOMPARE(text("Edit10"), t.mean);
    QCOMPARE(m_form->Memo1(), lineTexts(full));
}

void TestListsWindow::boardExample()
{
    addBoard(u"15"_qs, u"5"_qs, u"6,0"_qs, u"10"_qs);
    QCOMPARE(m_form->boardModel()->size(), 1);
    QCOMPARE(m_form->boardModel()->lines().at(0).cells,
             (QVector<QString>{u"15 см."_qs, u"5 см."_qs, u"6,00 м."_qs, u"10 шт."_qs, u"0,4500 м3."_qs}));
    QCOMPARE(text("Edit2"), u"0,4500"_qs);
    QCOMPARE(text("Edit8"), u"9,0000"_qs);
    QCOMPARE(text("Edit9"), u"60,00"_qs);
    QCOMPARE(text("Edit10"), u"15,00"_qs);
    QCOMPARE(m_form->Memo2().size(), 5);
    QVERIFY(child<QLineEdit>("Edit8")->isEnabled());

    addBoard(u"15"_qs, u"5"_qs, u"6,0"_qs, u"10"_qs);
    QCOMPARE(m_form->boardModel()->lines().at(0).cells[3], u"20 шт."_qs);
    addBoard(u"15"_qs, u"6"_qs, u"6,0"_qs, u"10"_qs);
    QCOMPARE(m_form->boardModel()->size(), 2);

    // Back on the round tab the area box is emptied and disabled.
    child<QTabWidget>("PageControl1")->setCurrentIndex(0);
    QCOMPARE(text("Edit8"), QString());
    QVERIFY(!child<QLineEdit>("Edit8")->isEnabled());
}

void TestListsWindow::boardDefaultsAndEmptyCount()
{
    addBoard(QString(), QString(), u"6,0"_qs, u"1"_qs);
    QCOMPARE(m_form->boardModel()->size(), 1);
    const int w = text("Edit5").toInt();
    const int h = text("Edit7").toInt();
    QVERIFY(w >= 10 && w <= 19);
    QVERIFY(h >= 5 && h <= 9);
    QCOMPARE(m_form->boardModel()->lines().at(0).cells[0], QStringLiteral("%1 см.").arg(w));

    // Width and height are drawn independently: of the 50 pairs, 300 clicks
    // meet nearly all, where a height that follows the width gives about 10.
    QSet<QPair<int, int>> pairs;
    for (int i = 0; i < 300; ++i) {
        child<QLineEdit>("Edit5")->clear();
        child<QLineEdit>("Edit7")->clear();
        QTest::mouseClick(child<QPushButton>("Button3"), Qt::LeftButton);
        pairs.insert({text("Edit5").toInt(), text("Edit7").toInt()});
    }
    QVERIFY2(pairs.size() >= 30, QByteArray::number(pairs.size()));
    QCOMPARE(m_form->boardModel()->size(), pairs.size() + (pairs.contains({w, h}) ? 0 : 1));

    addBoard(u"20"_qs, u"5"_qs, u"6,0"_qs, QString());
    QCOMPARE(Dialogs::shown().last().section(QLatin1Char('\r'), 0, 0), u"\"\" is not a valid integer value"_qs);
}

void TestListsWindow::outOfRangeMessages()
{
    const QString diameter = uk(59) + u" 120, "_qs + uk(60) + u" 3"_qs;
    const QString count = uk(59) + u" 10000, "_qs + uk(60) + u" 1"_qs;
    QCOMPARE(diameter, u"Максимально:  120, Мінімально:  3"_qs);
    addRound(u"2"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(Dialogs::shown().last(), diameter);
    addRound(u"121"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(Dialogs::shown().last(), diameter);
    addRound(u"65539"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(Dialogs::shown().last(), diameter);
    addRound(u"20"_qs, u"4,0"_qs, u"0"_qs);
    QCOMPARE(Dialogs::shown().last(), count);
    addRound(u"20"_qs, u"4,0"_qs, u"10001"_qs);
    QCOMPARE(Dialogs::shown().last(), count);
    QCOMPARE(m_form->roundModel()->size(), 0);
    QCOMPARE(child<QLineEdit>("Edit1")->selectedText(), u"20"_qs);
}

void TestListsWindow::conversionErrorsAreReported()
{
    addRound(u"99999999999"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(Dialogs::shown().last().section(QLatin1Char('\r'), 0, 0), u"\"99999999999\" is not a valid integer value"_qs);
    QCOMPARE(m_form->roundModel()->size(), 0);
    // The window goes on working.
    addRound(u"20"_qs, u"4,0"_qs, u"1"_qs);
    QCOMPARE(m_form->roundModel()->size(), 1);
}

void TestListsWindow::badLineDoesNotLockTheList_data()
{
    QTest::addColumn<QString>("value");  // the stored list
    QTest::addColumn<QString>("texts");  // its line texts, the second line not reading
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("column");     // the length, edited through `action`
    QTest::addColumn<QString>("action");
    QTest::newRow("round") << u".zm0"_qs << u"20,\"4,0\",1,0,30,abc,1,0"_qs << 0 << 1 << u"N9"_qs;
    QTest::newRow("board") << u".zm1"_qs << u"10,5,\"4,0\",1,0,20,5,abc,2,0"_qs << 1 << 2 << u"N10"_qs;
}

void TestListsWindow::badLineDoesNotLockTheList()
{
    QFETCH(QString, value);
    QFETCH(QString, texts);
    QFETCH(int, tab);
    QFETCH(int, column);
    QFETCH(QString, action);
    m_form.reset();
    Dialogs::clear();
    m_store.values[value] = texts;
    m_form = std::make_unique<TForm1>(testServices(m_store, m_dir.filePath(u"zelmora"_qs)));
    QVERIFY(Dialogs::shown().isEmpty()); // nothing ahead of the window
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto* tabs = child<QTabWidget>("PageControl1");
    LinesModel* model = tab == 0 ? m_form->roundModel() : m_form->boardModel();
    const QStringList memo = tab == 0 ? m_form->Memo1() : m_form->Memo2();
    QVERIFY(memo.contains(u"abc"_qs)); // every line kept

    // Reported once, the list staying in front; every other switch only logs it.
    const auto reports = [&] { return Dialogs::signs().count(Dialogs::Question); };
    for (int round = 0; round < 3; ++round) {
        fromEventLoop([&] { tabs->setCurrentIndex(1 - tab); });
        fromEventLoop([&] { tabs->setCurrentIndex(tab); });
        QCOMPARE(reports(), 1);
        QCOMPARE(tabs->currentIndex(), tab);
    }
    QVERIFY(m_form->activityLog().text().count(u"exception_"_qs) > 3);

    // Red, as typed, and mended through the edit menu, which takes only a number.
    const QColor red = LinesModel::ListView1CustomDrawItem(kIconFallback);
    QCOMPARE(model->index(1, column).data().toString(), u"abc"_qs);
    QCOMPARE(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), red);
    selectRow(1, tab == 1);
    for (const QString& typed : {u"x"_qs, u"4,5,1"_qs, u"4,5"_qs}) {
        Dialogs::queueInput(typed);
        fromEventLoop([&] { child<QAction>(action.toLatin1().constData())->trigger(); });
    }
    QCOMPARE(Dialogs::shown().count(Lang(260, UiLanguage::Ukrainian)), 2);
    QCOMPARE(model->index(1, column).data().toString(), u"4,50 м."_qs);
    QVERIFY(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>() != red);
    QCOMPARE(reports(), 1);
}

void TestListsWindow::randomDiameterForAnEmptyField()
{
    addRound(QString(), u"4,0"_qs, QString());
    QCOMPARE(m_form->roundModel()->size(), 1);
    const int d = text("Edit1").toInt();
    QVERIFY(d >= 10 && d <= 59);
    QCOMPARE(roundLine(0).cells[0], QStringLiteral("%1 см.").arg(d));
    QCOMPARE(roundLine(0).cells[2], u"1 шт."_qs);
    QCOMPARE(text("Edit3"), u"1"_qs);
}

void TestListsWindow::listMenuEnabling()
{
    call("PopupMenu1Popup");
    for (const char* name : {"N1", "N7", "N3", "N17", "N12"})
        QVERIFY2(!child<QAction>(name)->isEnabled(), name);
    QVERIFY(child<QAction>("N14")->isEnabled());
    QVERIFY(!child<QAction>("res1")->isVisible());
    QCOMPARE(child<QAction>("N8")->text(), uk(3));

    addBoard(u"15"_qs, u"5"_qs, u"6,0"_qs, u"10"_qs);
    call("PopupMenu1Popup");
    QVERIFY(child<QAction>("N1")->isEnabled());
    QVERIFY(child<QAction>("res1")->isVisible());
    QCOMPARE(child<QAction>("N8")->text(), uk(43));
    QCOMPARE(child<QAction>("N9")->text(), uk(42));
    QCOMPARE(child<QAction>("res1")->text(), uk(5));
    call("PopupMenu2Popup");
    QVERIFY(child<QAction>("res2")->isVisible());

    // The fourth entry edits the board count.
    selectRow(0, true);
    Dialogs::queueInput(u"12"_qs);
    fromEventLoop([this] { child<QAction>("res2")->trigger(); });
    QCOMPARE(m_form->boardModel()->lines().at(0).cells[3], u"12 шт."_qs);

    // Clearing empties only the list in front.
    addRound(u"20"_qs, u"4,0"_qs, u"1"_qs);
    child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    call("N1Click");
    QCOMPARE(m_form->boardModel()->size(), 0);
    QCOMPARE(m_form->roundModel()->size(), 1);
}

void TestListsWindow::englishUnits()
{
    addRound(u"20"_qs, u"4,0"_qs, u"3"_qs);
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::English; });
    QCOMPARE(roundLine(0).cells, (QVector<QString>{u"20 sm."_qs, u"4,00 m."_qs, u"3 pcs."_qs, u"0,4410 m3."_qs}));
    QCOMPARE(m_form->roundModel()->header(0), u"Diameter"_qs);
    QCOMPARE(child<QPushButton>("Button1")->text(), u"Add"_qs);
    QCOMPARE(child<QTabWidget>("PageControl1")->tabText(0), u"Round timber"_qs);
}

void TestListsWindow::doubleClickOpensTheEditMenu()
{
    auto* view = child<QAbstractItemView>("ListView1");
    auto* menu = child<QMenu>("PopupMenu2");
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QVERIFY(!menu->isVisible()); // no line to edit
    addRound(u"20"_qs, u"4,0"_qs, u"1"_qs);
    const QRect row = view->visualRect(view->model()->index(0, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(child<QAction>("N4")->text(), uk(3));
    menu->hide();
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestListsWindow t;
    return QTest::qExec(&t, argc, argv);
}
void TestListsWindow::everyChangeIsUndone_data()
{
    QTest::addColumn<QString>("step");
    for (const char* step : {"add", "merge", "edit", "delete key", "clear", "sort", "paste", "open"})
        QTest::newRow(step) << QString::fromLatin1(step);
}

// Each change of the list, taken back with Ctrl+Z and made again with
// Ctrl+Y and Ctrl+Shift+Z: the lines, their order, icons and the totals
// exactly as they were.
void TestListsWindow::everyChangeIsUndone()
{
    QFETCH(QString, step);
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::English; });
    addRound(u"30"_qs, u"6,0"_qs, u"2"_qs);
    addRound(u"20"_qs, u"12,0"_qs, u"1"_qs); // red: past the table
    addRound(u"25"_qs, u"4,0"_qs, u"3"_qs);
    struct State {
        QStringList memo;
        QList<int> icons;
        QStringList totals;
        double total;
        bool operator==(const State& o) const
        {
            return memo == o.memo && icons == o.icons && totals == o.totals
                   && std::memcmp(&total, &o.total, sizeof total) == 0;
        }
    };
    const auto state = [this] {
        State s{m_form->Memo1(), {}, {}, m_form->total};
        for (const ListLine& line : m_form->roundModel()->lines())
            s.icons << line.icon;
        for (const char* edit : {"Edit2", "Edit4", "Edit9", "Edit10"})
            s.totals << text(edit);
        return s;
    };
    const State before = state();
    QTreeView* view = child<QTreeView>("ListView1");
    if (step == u"add")
        addRound(u"40"_qs, u"5,0"_qs, u"4"_qs);
    else if (step == u"merge")
        addRound(u"20"_qs, u"12,0"_qs, u"5"_qs);
    else if (step == u"edit") {
        selectRow(1);
        Dialogs::queueInput(u"22 sm."_qs);
        QMetaObject::invokeMethod(m_form.get(), "res1Click", Q_ARG(int, 0));
    } else if (step == u"delete key") {
        selectRow(0);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Delete);
    } else if (step == u"clear")
        call("N1Click");
    else if (step == u"sort")
        m_form->setSortMode(true);
    else if (step == u"paste") {
        QGuiApplication::clipboard()->setText(u"20\t12\t1\n50\t4\t2\n"_qs);
        QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    } else if (step == u"open")
        m_form->openSavedLines({u"10"_qs, u"3"_qs, u"2"_qs, u"0"_qs}, false);
    const State after = state();
    QVERIFY(!(after == before));
    QVERIFY2(child<QAction>("UndoAction")->text().startsWith(u"Undo "_qs), qPrintable(child<QAction>("UndoAction")->text()));
    if (step == u"clear")
        QCOMPARE(child<QAction>("UndoAction")->text(), u"Undo clear list"_qs);

    QApplication::setActiveWindow(m_form.get());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(state() == before);
    QCOMPARE(m_form->sortMode(), false);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(state() == after);
    QCOMPARE(m_form->sortMode(), step == u"sort");
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(state() == after);
    m_form->setSortMode(false);
}

#include "tst_lists_window.moc"
