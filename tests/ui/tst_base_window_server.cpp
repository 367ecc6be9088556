// The base window on an office's server: a PostgreSQL that the test starts on
// a Unix socket of its own, named in the settings. Saving, browsing, opening,
// printing and deleting; another desk's saves and deletes; the server stopped
// under an open window; a desk's file copied in twice. Without a server the
// run ends as skipped.
#include "../fakes/temppostgres.h"
#include "../fakes/windowtest.h"
#include "base/platform/pgbase.h"
#include "base/ui/baseserverbox.h"
#include "base/ui/serverbasemodel.h"
#include "base/ui/tform4.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "report/ui/tform6.h"
#include "shell/settingsio.h"
#include "shell/ui/tform5.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <functional>

using namespace zel;

class TestBaseWindowServer : public QObject {
    Q_OBJECT
public:
    QString skipped;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void savedBrowsedOpenedPrintedAndDeleted();
    void anotherDesksChangesAreSeen();
    void aStoppedServerLosesNothing();
    void theFileIsCopiedOnce();
    void theSettingsChooseAndTestTheServer();

private:
    void addRound(const QString& d, const QString& count);
    void save(const QString& name);
    // Runs `inside` once the base window that `command` opens has read the server.
    void withBase(const std::function<void()>& command, const std::function<void(TForm4*)>& inside);
    static QStringList names(const TForm4* base);

    TempPostgres m_server;
    ServerPlace m_place;
    int m_case = 0;
    std::unique_ptr<QTemporaryDir> m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
};

void TestBaseWindowServer::initTestCase()
{
    skipped = m_server.startForQt();
    if (!skipped.isEmpty())
        QSKIP(qPrintable(skipped));
}

void TestBaseWindowServer::init()
{
    m_place = {m_server.socketFolder(), QStringLiteral("desk%1").arg(++m_case), QStringLiteral("zelmora")};
    QVERIFY(m_server.createDatabase(m_place.database));
    startWindowTest(m_store, UiLanguage::Ukrainian);
    writeServerPlace(m_store, m_place);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(showMainWindow(m_form, testServices(m_store, m_dir->filePath(u"zelmora"_qs))));
}

void TestBaseWindowServer::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestBaseWindowServer::addRound(const QString& d, const QString& count)
{
    m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(0);
    m_form->findChild<QLineEdit*>(u"Edit1"_qs)->setText(d);
    m_form->findChild<NumberEdit*>(u"CurrencyEdit1"_qs)->setText(u"4,0"_qs);
    m_form->findChild<QLineEdit*>(u"Edit3"_qs)->setText(count);
    QTest::mouseClick(m_form->findChild<QPushButton*>(u"Button1"_qs), Qt::LeftButton);
}

void TestBaseWindowServer::save(const QString& name)
{
    Dialogs::queueInput(name);
    withBase([this] { m_form->N18Click(); }, [](TForm4*) {});
}

void TestBaseWindowServer::withBase(const std::function<void()>& command,
                                    const std::function<void(TForm4*)>& inside)
{
    bool seen = false;
    std::function<void()> check = [&] {
        auto* base = qobject_cast<TForm4*>(QApplication::activeModalWidget());
        if (!base || base->busy()) {
            QTimer::singleShot(5, check);
            return;
        }
        seen = true;
        inside(base);
        if (base->isVisible())
            base->reject();
    };
    QTimer::singleShot(0, check);
    command();
    QVERIFY(seen);
}

QStringList TestBaseWindowServer::names(const TForm4* base)
{
    QStringList out;
    const ServerBaseModel* m = base->serverRecords();
    for (int row = 0; row < m->rowCount(); ++row)
        out << m->recordAt(row)->Name;
    return out;
}

void TestBaseWindowServer::savedBrowsedOpenedPrintedAndDeleted()
{
    addRound(u"44"_qs, u"7"_qs);
    save(u"перший"_qs);
    m_form->findChild<QAction*>(u"N1"_qs)->trigger(); // the list cleared
    addRound(u"20"_qs, u"1"_qs);
    save(u"другий"_qs);
    withBase([this] { m_form->N222click(); }, [this](TForm4* base) {
        const ServerBaseModel* m = base->serverRecords();
        QCOMPARE(names(base), (QStringList{u"другий"_qs, u"перший"_qs})); // newest first
        QCOMPARE(m->columnCount(), 7);
        QCOMPARE(m->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), L(360));
        QCOMPARE(m->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), L(361));
        QCOMPARE(m->index(1, 5).data().toString(), loginName());
        QCOMPARE(m->index(1, 6).data().toString(), computerName());
        QCOMPARE(m->index(1, 3).data().toString(), L(36));
        QCOMPARE(base->selectedIndex(), 0);
        base->selectIndex(1);
        base->N4Click(); // printed, and the window stays
        QVERIFY(base->isVisible());
        QCOMPARE(m_form->findChildren<TForm6*>().size(), 1);
        Dialogs::queueAnswer(Dialogs::Yes);
        base->N2Click();
        QCOMPARE(names(base), QStringList{u"другий"_qs});
        base->DBGrid1DblClick();
        QVERIFY(!base->isVisible());
    });
    QCOMPARE(m_form->roundModel()->size(), 1);
    QCOMPARE(m_form->roundModel()->lines()[0].cells[0], u"20 см."_qs);
    QCOMPARE(PgServerBase(m_place).page(0, 10).size(), size_t(1));
}

void TestBaseWindowServer::anotherDesksChangesAreSeen()
{
    addRound(u"30"_qs, u"2"_qs);
    save(u"тут"_qs);
    PgServerBase other(m_place);
    withBase([this] { m_form->N222click(); }, [&](TForm4* base) {
        const qint64 there = other.add(makeRecord(QDateTime::currentDateTime(), L(36), u"там"_qs, 0.1, {}));
        QTRY_COMPARE_WITH_TIMEOUT(names(base), (QStringList{u"там"_qs, u"тут"_qs}), 2000);
        other.remove(there);
        QTRY_COMPARE_WITH_TIMEOUT(names(base), QStringList{u"тут"_qs}, 2000);
        other.add(makeRecord(QDateTime::currentDateTime(), L(36), u"а"_qs, 0.1, {}));
        other.add(makeRecord(QDateTime::currentDateTime(), L(36), u"б"_qs, 0.1, {}));
        QTRY_COMPARE_WITH_TIMEOUT(names(base), (QStringList{u"б"_qs, u"а"_qs, u"тут"_qs}), 2000);
        // Gone without a word to anybody: opening or printing it says so
        // and changes nothing.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("quiet"));
        db.setConnectOptions(QStringLiteral("host=%1 dbname=%2 user=zelmora")
                                 .arg(m_place.server, m_place.database));
        QVERIFY(db.open());
        m_form->findChild<QAction*>(u"N1"_qs)->trigger();
        addRound(u"50"_qs, u"3"_qs);
        for (const QString& name : {u"б"_qs, u"а"_qs}) {
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("DELETE FROM zelmora_records WHERE name = '%1'").arg(name)));
            base->selectIndex(0);
            if (name == u"б"_qs)
                base->DBGrid1DblClick();
            else
                base->N4Click();
            QVERIFY(base->isVisible());
            QCOMPARE(Dialogs::shown().last(), L(374));
        }
        QCOMPARE(names(base), QStringList{u"тут"_qs});
    });
    QSqlDatabase::removeDatabase(QStringLiteral("quiet"));
    QCOMPARE(m_form->roundModel()->lines()[0].cells[0], u"50 см."_qs);
    QCOMPARE(m_form->findChildren<TForm6*>().size(), 0);
}

void TestBaseWindowServer::aStoppedServerLosesNothing()
{
    addRound(u"24"_qs, u"5"_qs);
    save(u"до"_qs);
    withBase([this] { m_form->N222click(); }, [this](TForm4* base) {
        m_server.stop();
        Dialogs::queueAnswer(Dialogs::Yes);
        base->N2Click(); // the delete cannot be made: told, and the list stays
        QVERIFY(Dialogs::shown().last().startsWith(L(371).left(L(371).indexOf(u"%1"_qs))));
        QCOMPARE(names(base), QStringList{u"до"_qs});
    });
    const int told = Dialogs::shown().size();
    Dialogs::queueInput(u"під час"_qs);
    withBase([this] { m_form->N18Click(); }, [](TForm4* base) { QCOMPARE(base->serverRecords()->rowCount(), 0); });
    QCOMPARE(Dialogs::shown().mid(told), (QStringList{L(52), L(372)})); // the name asked, then told
    QCOMPARE(m_form->roundModel()->size(), 1); // nothing typed is lost
    QString why;
    QVERIFY2(m_server.startAgain(&why), qPrintable(why));
    save(u"після"_qs);
    withBase([this] { m_form->N222click(); }, [this](TForm4* base) {
        QCOMPARE(names(base), (QStringList{u"після"_qs, u"до"_qs}));
        // Restarted while the window only shows: it follows the other desks again.
        m_server.stop();
        QString why;
        QVERIFY2(m_server.startAgain(&why), qPrintable(why));
        PgServerBase(m_place).add(makeRecord(QDateTime::currentDateTime(), L(36), u"знову"_qs, 0.1, {}));
        QTRY_COMPARE_WITH_TIMEOUT(names(base).value(0), u"знову"_qs, 5000);
    });
    QCOMPARE(Dialogs::shown().mid(told + 2), QStringList{L(52)}); // nothing told after the restart
}

void TestBaseWindowServer::theFileIsCopiedOnce()
{
    std::vector<BaseRecord> records;
    for (int i = 1; i <= 2; ++i) {
        BaseRecord r = makeRecord(QDateTime(QDate(2025, 1, i), QTime(9, 0)), L(89), QStringLiteral("файл %1").arg(i),
                                  0.5, {u"10"_qs, u"10"_qs, u"1"_qs, u"1"_qs, u"1"_qs});
        r.No = i;
        records.push_back(r);
    }
    SqliteBaseFile().save(m_dir->filePath(u"base.cds"_qs), records, {});
    withBase([this] { m_form->N222click(); }, [](TForm4* base) {
        QAction* copy = base->findChild<QAction*>(u"N5"_qs);
        QVERIFY(copy);
        QCOMPARE(copy->text(), L(378));
        copy->trigger();
        QCOMPARE(Dialogs::shown().last(), L(379).arg(2));
        copy->trigger();
        QCOMPARE(Dialogs::shown().last(), L(379).arg(0));
        QCOMPARE(names(base), (QStringList{u"файл 2"_qs, u"файл 1"_qs}));
    });
}

void TestBaseWindowServer::theSettingsChooseAndTestTheServer()
{
    TForm5 settings(m_form.get(), m_form->services());
    settings.show();
    auto* open = settings.findChild<BaseServerButton*>();
    QVERIFY(open);
    QCOMPARE(open->toolTip(), L(362));
    open->click();
    auto* box = settings.findChild<BaseServerBox*>();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->title(), L(362));
    auto* server = box->findChild<QLineEdit*>(u"BaseServer"_qs);
    auto* user = box->findChild<QLineEdit*>(u"BaseUser"_qs);
    QVERIFY(box->findChild<QRadioButton*>(u"BaseWhere_1"_qs)->isChecked());
    QCOMPARE(server->text(), m_place.server);
    // A user without rights in a base already made, a folder with no server.
    PgServerBase(m_place).open();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("role"));
        db.setConnectOptions(m_server.conninfo());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(u"CREATE ROLE clerk LOGIN"_qs));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("role"));
    const struct {
        QString server, user, told;
    } cases[] = {
        {m_place.server, u"zelmora"_qs, L(369)},
        {m_place.server, u"clerk"_qs, L(370).arg(u"clerk needs SELECT, INSERT and DELETE on zelmora_records"
                                                 " and SELECT on zelmora_version"_qs)},
        {m_dir->path(), u"zelmora"_qs, L(371)},
    };
    for (const auto& c : cases) {
        server->setText(c.server);
        user->setText(c.user);
        box->findChild<QPushButton*>(u"BaseTest"_qs)->click();
        const QString told = Dialogs::shown().last();
        QVERIFY2(told.startsWith(c.told.left(c.told.indexOf(u"%1"_qs))), qPrintable(told));
        QCOMPARE(readServerPlace(m_store).user, c.user);
    }
    // This computer: the server's name goes, the rest is kept for next time.
    QTest::mouseClick(box->findChild<QRadioButton*>(u"BaseWhere_0"_qs), Qt::LeftButton);
    QVERIFY(!server->isVisible());
    QCOMPARE(readServerPlace(m_store).isServer(), false);
    QCOMPARE(readServerPlace(m_store).database, m_place.database);
    withBase([this] { m_form->N222click(); }, [](TForm4* base) { QVERIFY(!base->serverRecords()); });
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestBaseWindowServer test;
    const int status = QTest::qExec(&test, argc, argv);
    if (!test.skipped.isEmpty()) {
        std::fprintf(stderr, "SKIPPED: %s\n", qPrintable(test.skipped));
        return kSkipped;
    }
    return status;
}

#include "tst_base_window_server.moc"
