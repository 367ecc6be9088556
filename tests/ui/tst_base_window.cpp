// The calculation base through the main window: saving, browsing, opening,
// printing and deleting calculations, and a damaged base file.
#include "../fakes/windowtest.h"
#include "../fakes/memorystore.h"
#include "../fakes/testservices.h"
#include "base/platform/sqlitebase.h"
#include "base/ui/tform4.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "shell/codepage.h"
#include "shell/log.h"
#include "report/ui/tform6.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace zel;

class TestBaseWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savingAnEmptyListOnlyBrowses();
    void emptyNameAddsNothing();
    void cancelledNameOpensNothing();
    void russianCylinderedCategory();
    void roundCalculationStoresAndReopens();
    void minimisingNeitherClosesNorReopens();
    void boardCalculationStoresAndReopens();
    void twentyLineBoardRecordReopensAsBoards();
    void largeTotalIsStoredAsItsNumber();
    void deleteAsksAndKeepsTheOtherNumbers();
    void aRecordIsAlwaysSelected();
    void printingFromTheBase();
    void damagedBaseIsReportedAndLeftAlone();
    void unwritableFolderIsToldOnce();

private:
    void addRound(const QString& d, const QString& count, const QString& len = u"4,0"_qs);
    void addBoard(const QString& w, const QString& h, const QString& count);
    // Runs `inside` while the base window that `command` opens is shown, then closes it.
    void withBase(const std::function<void()>& command, const std::function<void(TForm4*)>& inside);
    BaseContents stored() { return SqliteBaseFile().load(m_dir->filePath(u"base.cds"_qs)); }
    QStringList firstColumn(LinesModel* model);

    std::unique_ptr<QTemporaryDir> m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
};

void TestBaseWindow::init()
{
    Dialogs::setScripted(true);
    Dialogs::clear();
    m_dir = std::make_unique<QTemporaryDir>();
    m_store.values.clear();
    m_store.values[kLanguageValue] = u"UA"_qs;
    Settings.Method = CalcMethod::Gost2708;
    Settings.TypeWood = 4;
    Settings.WetWood = 8;
    Settings.DownGradeWood = 1;
    m_form = std::make_unique<TForm1>(testServices(m_store, m_dir->filePath(u"zelmora"_qs)));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestBaseWindow::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestBaseWindow::addRound(const QString& d, const QString& count, const QString& len)
{
    m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(0);
    m_form->findChild<QLineEdit*>(u"Edit1"_qs)->setText(d);
    m_form->findChild<NumberEdit*>(u"CurrencyEdit1"_qs)->setText(len);
    m_form->findChild<QLineEdit*>(u"Edit3"_qs)->setText(count);
    QTest::mouseClick(m_form->findChild<QPushButton*>(u"Button1"_qs), Qt::LeftButton);
}

void TestBaseWindow::addBoard(const QString& w, const QString& h, const QString& count)
{
    m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(1);
    m_form->findChild<QLineEdit*>(u"Edit5"_qs)->setText(w);
    m_form->findChild<QLineEdit*>(u"Edit7"_qs)->setText(h);
    m_form->findChild<QLineEdit*>(u"Edit6"_qs)->setText(count);
    QTest::mouseClick(m_form->findChild<QPushButton*>(u"Button3"_qs), Qt::LeftButton);
}

void TestBaseWindow::withBase(const std::function<void()>& command,
                              const std::function<void(TForm4*)>& inside)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* base = qobject_cast<TForm4*>(QApplication::activeModalWidget());
        if (!base)
            return;
        seen = true;
        inside(base);
        if (base->isVisible())
            base->reject();
    });
    command();
    QVERIFY(seen);
}

QStringList TestBaseWindow::firstColumn(LinesModel* model)
{
    QStringList out;
    for (const ListLine& l : model->lines())
        out << l.cells[0];
    return out;
}

void TestBaseWindow::savingAnEmptyListOnlyBrowses()
{
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->base().size(), 0); });
    QVERIFY(!Dialogs::shown().contains(Lang(52, UiLanguage::Ukrainian))); // no name asked
    // Closing the first browse writes the empty base.
    QVERIFY(QFile::exists(m_dir->filePath(u"base.cds"_qs)));
    QVERIFY(stored().records.empty());
}

void TestBaseWindow::emptyNameAddsNothing()
{
    addRound(u"20"_qs, u"3"_qs);
    Dialogs::queueInput(QString());
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->base().size(), 0); });
    QVERIFY(Dialogs::shown().contains(Lang(52, UiLanguage::Ukrainian)));
    QVERIFY(stored().records.empty());
}

void TestBaseWindow::cancelledNameOpensNothing()
{
    addRound(u"20"_qs, u"3"_qs);
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = QApplication::activeModalWidget() != nullptr; });
    m_form->N18Click(); // no answer queued: cancelled
    QCoreApplication::processEvents();
    QVERIFY(!opened);
    QVERIFY(!QFile::exists(m_dir->filePath(u"base.cds"_qs)));
}

void TestBaseWindow::russianCylinderedCategory()
{
    applySettings(*m_form, [](SettingsRecord& s) {
        s.Language = UiLanguage::Russian;
        s.Method = CalcMethod::Cylindered;
    });
    addRound(u"20"_qs, u"3"_qs);
    Dialogs::queueInput(u"Бревна"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->base().size(), 1); });
    const BaseContents c = stored();
    QCOMPARE(int(c.records.size()), 1);
    QCOMPARE(c.records[0].Category, u"Оцилиндрованное бревно"_qs.left(20));
    QCOMPARE(c.records[0].Name, u"Бревна"_qs);
}

void TestBaseWindow::roundCalculationStoresAndReopens()
{
    addRound(u"20"_qs, u"3"_qs);
    addRound(u"30"_qs, u"2"_qs);
    addRound(u"40"_qs, u"1"_qs);
    Dialogs::queueInput(u"Ліс"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->selectedIndex(), 0); });
    BaseContents c = stored();
    QCOMPARE(notesLines(c.records[0].Notes).size(), 12);
    QCOMPARE(c.records[0].volume, 0.441 + 0.66 + 0.58);
    QCOMPARE(c.records[0].Category, u"ГОСТ 2708-75"_qs);

    // Another calculation in front, another language: opening brings the
    // saved lines back in the current language's units.
    m_form->findChild<QAction*>(u"N1"_qs)->trigger(); // clear the round list
    addBoard(u"15"_qs, u"5"_qs, u"10"_qs);
    applySettings(*m_form, [](SettingsRecord& s) { s.Language = UiLanguage::English; });
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        base->selectIndex(0);
        QTest::mouseClick(base->findChild<QPushButton*>(u"Button2"_qs), Qt::LeftButton); // OK
    });
    QVERIFY(m_form->roundTabActive());
    QCOMPARE(firstColumn(m_form->roundModel()), (QStringList{u"20 sm."_qs, u"30 sm."_qs, u"40 sm."_qs}));
    QCOMPARE(m_form->boardModel()->size(), 1); // the other list is left as it was
}

void TestBaseWindow::minimisingNeitherClosesNorReopens()
{
    addRound(u"20"_qs, u"3"_qs);
    Dialogs::queueInput(u"Ліс"_qs);
    withBase([this] { m_form->N18Click(); }, [this](TForm4* base) {
        base->setWindowState(Qt::WindowMinimized);
        QVERIFY(!QFile::exists(m_dir->filePath(u"base.cds"_qs))); // not saved yet
        base->setWindowState(Qt::WindowNoState);
        QCOMPARE(base->base().size(), 1);
    });
    QCOMPARE(int(stored().records.size()), 1);
    QCOMPARE(m_form->activityLog().entries().filter(u"form4_show"_qs).size(), 1);
}

void TestBaseWindow::boardCalculationStoresAndReopens()
{
    addBoard(u"15"_qs, u"5"_qs, u"10"_qs);
    addBoard(u"20"_qs, u"5"_qs, u"10"_qs);
    addBoard(u"25"_qs, u"5"_qs, u"10"_qs);
    Dialogs::queueInput(u"Дошка"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4*) {});
    BaseContents c = stored();
    QCOMPARE(notesLines(c.records[0].Notes).size(), 15);
    QCOMPARE(c.records[0].Category, u"Дошка-брус"_qs);
    m_form->findChild<QAction*>(u"N1"_qs)->trigger();
    m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(0);
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        base->selectIndex(0);
        base->DBGrid1DblClick();
    });
    QVERIFY(m_form->boardTabActive());
    QCOMPARE(m_form->boardModel()->size(), 3);
}

void TestBaseWindow::twentyLineBoardRecordReopensAsBoards()
{
    for (const char* w : {"10", "11", "12", "13"})
        addBoard(QLatin1String(w), u"5"_qs, u"1"_qs);
    Dialogs::queueInput(u"20"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4*) {});
    QCOMPARE(notesLines(stored().records[0].Notes).size(), 20);
    m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(0);
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        base->selectIndex(0);
        base->DBGrid1DblClick();
    });
    QVERIFY(m_form->boardTabActive());
    QCOMPARE(m_form->boardModel()->size(), 4);
    QCOMPARE(m_form->roundModel()->size(), 0);
}

void TestBaseWindow::largeTotalIsStoredAsItsNumber()
{
    addRound(u"120"_qs, u"100"_qs, u"9,5"_qs); // 1,367 m3: shown with a thousands separator
    QVERIFY(m_form->volumeText().contains(QChar(0x00A0)));
    Dialogs::queueInput(u"Big"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->base().size(), 1); });
    const BaseContents c = stored();
    QCOMPARE(int(c.records.size()), 1);
    QCOMPARE(c.records[0].volume, 1367.0);
    QCOMPARE(notesLines(c.records[0].Notes).size(), 4);
}

void TestBaseWindow::deleteAsksAndKeepsTheOtherNumbers()
{
    addRound(u"20"_qs, u"3"_qs);
    for (const char* name : {"a", "b", "c"}) {
        Dialogs::queueInput(QLatin1String(name));
        withBase([this] { m_form->N18Click(); }, [](TForm4*) {});
    }
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        base->selectIndex(1);
        base->N2Click(); // answered No
        QCOMPARE(base->base().size(), 3);
        Dialogs::queueAnswer(Dialogs::Yes);
        base->N2Click();
        QCOMPARE(base->base().size(), 2);
    });
    QVERIFY(Dialogs::shown().contains(Lang(49, UiLanguage::Ukrainian)));
    QCOMPARE(Dialogs::signs().at(Dialogs::shown().indexOf(Lang(49, UiLanguage::Ukrainian))),
             Dialogs::Information);
    const BaseContents c = stored();
    QCOMPARE(int(c.records.size()), 2);
    QCOMPARE(c.records[0].Name, u"a"_qs);
    QCOMPARE(c.records[0].No, 1);
    QCOMPARE(c.records[1].Name, u"c"_qs);
    QCOMPARE(c.records[1].No, 3);
}

void TestBaseWindow::aRecordIsAlwaysSelected()
{
    addRound(u"20"_qs, u"3"_qs);
    for (const char* name : {"a", "b", "c"}) {
        Dialogs::queueInput(QLatin1String(name));
        withBase([this] { m_form->N18Click(); }, [](TForm4* base) {
            QCOMPARE(base->selectedIndex(), base->base().size() - 1); // the new one
        });
    }
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        QCOMPARE(base->selectedIndex(), 0);
        base->selectIndex(1);
        Dialogs::queueAnswer(Dialogs::Yes);
        base->N2Click();
        QCOMPARE(base->selectedIndex(), 1); // the next one, "c"
        Dialogs::queueAnswer(Dialogs::Yes);
        base->N2Click();
        QCOMPARE(base->selectedIndex(), 0); // the last went: the one before
    });
    // Enter opens the first record without a click on it.
    m_form->findChild<QAction*>(u"N1"_qs)->trigger(); // clear the round list
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        QTest::keyClick(base, Qt::Key_Return);
        QVERIFY(!base->isVisible());
    });
    QCOMPARE(m_form->roundModel()->size(), 1);
}

void TestBaseWindow::printingFromTheBase()
{
    addRound(u"44"_qs, u"7"_qs);
    Dialogs::queueInput(u"Друк"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4*) {});
    m_form->findChild<QAction*>(u"N1"_qs)->trigger();
    addRound(u"20"_qs, u"1"_qs);
    withBase([this] { m_form->N222click(); }, [this](TForm4* base) {
        base->selectIndex(0);
        base->N4Click();
        QVERIFY(base->isVisible()); // the window stays open
        // The preview takes input while the modal base window is open: a click
        // through the window system on its Close button closes it.
        base->N4Click();
        const QList<TForm6*> shown = m_form->findChildren<TForm6*>();
        QCOMPARE(shown.size(), 2);
        auto* close = shown[0]->findChild<QPushButton*>(u"Button1"_qs);
        QVERIFY(QTest::qWaitForWindowExposed(shown[0]));
        QTest::mouseClick(shown[0]->windowHandle(), Qt::LeftButton, {},
                          close->mapTo(shown[0], close->rect().center()));
        QVERIFY(!shown[0]->isVisible());
        QVERIFY(shown[1]->isVisible());
    });
    QFile html(m_dir->filePath(u"HTML.html"_qs));
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QString text = fromWindows1251(html.readAll());
    QVERIFY(text.contains(u"<td>44 см.</td>"_qs));
    QVERIFY(!text.contains(u"<td>20 см.</td>"_qs));
    // The previews outlive the base window, as the main window's own.
    const QList<TForm6*> previews = m_form->findChildren<TForm6*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(previews.size(), 2);
    QVERIFY(!previews[0]->isVisible());
    QVERIFY(previews[1]->isVisible());
}

void TestBaseWindow::damagedBaseIsReportedAndLeftAlone()
{
    const QString path = m_dir->filePath(u"base.cds"_qs);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(3000, '\x7f'));
    }
    auto sum = [&path] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = sum();
    addRound(u"20"_qs, u"3"_qs);
    Dialogs::queueInput(u"x"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->base().size(), 0); });
    QVERIFY(Dialogs::shown().join(u" "_qs).contains(u"not a calculation base"_qs));
    QCOMPARE(sum(), before);
    QVERIFY(QFile::exists(path));
}

void TestBaseWindow::unwritableFolderIsToldOnce()
{
    // The program's folder and the user's data folder below a plain file:
    // nothing can be written in either.
    QFile blocker(m_dir->filePath(u"blocker"_qs));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker.fileName()));
    const auto restore = qScopeGuard([&] {
        if (dataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", dataHome);
    });
    m_form.reset();
    m_form = std::make_unique<TForm1>(testServices(m_store, m_dir->filePath(u"blocker/zelmora"_qs)));
    m_form->show();
    Dialogs::clear();
    withBase([this] { m_form->N222click(); }, [](TForm4*) {});
    withBase([this] { m_form->N222click(); }, [](TForm4*) {});
    QCOMPARE(Dialogs::shown().size(), 1);
    // A calculation that could not be kept is told again; the window goes on.
    addRound(u"20"_qs, u"3"_qs);
    Dialogs::queueInput(u"lost"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->base().size(), 1); });
    QCOMPARE(Dialogs::shown().size(), 3); // the name prompt, then the warning
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->roundModel()->size(), 1);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestBaseWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_base_window.moc"
