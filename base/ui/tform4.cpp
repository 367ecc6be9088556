// The calculation base window.
#include "base/ui/tform4.h"
#include "base/ui/basemodel.h"
#include "base/ui/serverbasemodel.h"
#include "lists/ui/listssession.h"
#include "shell/log.h"
#include "report/ui/tform6.h"
#include "shell/langtable.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "shell/ui/appevents.h"
#include "shell/ui/dialogs.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace zel {

TForm4::TForm4(QWidget* main, ListsSession& lists, const AppServices& services, const QString& addName)
    : QDialog(main)
    , m_main(main)
    , m_lists(lists)
    , m_services(services)
    , m_addName(addName)
    , m_model(new BaseModel(m_base, this))
{
    setObjectName(QStringLiteral("Form4"));
    if (m_services.events)
        connect(m_services.events, &AppEvents::languageApplied, this, &TForm4::applyTitle);
    setMinimumSize(614, 262);
    resize(614, 295);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const ServerPlace place = readServerPlace(services.store);
    if (place.isServer() && services.serverBases) {
        m_server = services.serverBases->base(place);
        m_serverModel = new ServerBaseModel(*m_server, this);
        // A burst of changes elsewhere is read once.
        m_server->onChanged([this] {
            if (m_refreshDue)
                return;
            m_refreshDue = true;
            QTimer::singleShot(0, this, [this] {
                m_refreshDue = false;
                refreshServer(false);
            });
        });
        DBGrid1->setModel(m_serverModel);
        m_listen = new QTimer(this);
        m_listen->setInterval(1000);
        connect(m_listen, &QTimer::timeout, this, &TForm4::listenAgain);
    } else {
        DBGrid1->setModel(m_model);
    }
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setDefaultSectionSize(20);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Number, date and time, method and volume as wide as their texts and
    // headers; the name takes the rest of the window's width.
    QHeaderView* columns = DBGrid1->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(2, QHeaderView::Stretch);
    layout->addWidget(DBGrid1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QString());
    N1->setObjectName(QStringLiteral("N1"));
    QFont bold = N1->font();
    bold.setBold(true);
    N1->setFont(bold);
    PopupMenu1->setDefaultAction(N1);
    N2 = PopupMenu1->addAction(QString());
    N2->setObjectName(QStringLiteral("N2"));
    PopupMenu1->addSeparator();
    N4 = PopupMenu1->addAction(QString());
    N4->setObjectName(QStringLiteral("N4"));
    if (onServer()) {
        PopupMenu1->addSeparator();
        N5 = PopupMenu1->addAction(QString());
        N5->setObjectName(QStringLiteral("N5"));
        connect(N5, &QAction::triggered, this, &TForm4::copyFileToServer);
    }

    auto* bottom = new QHBoxLayout;
    DBNavigator1 = new QToolBar(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    struct NavButton { const char* name; const char* glyph; const char* tip; };
    const NavButton buttons[] = {
        {"nbFirst", "|\u25C0", "Перший запис"},     {"nbPrior", "\u25C0", "Попердній запис"},
        {"nbNext", "\u25B6", "Наступний запис"},    {"nbLast", "\u25B6|", "Останній запис"},
        {"nbInsert", "+", "Вставити запис"},        {"nbDelete", "\u2212", "Видалити запис"},
        {"nbEdit", "\u25B2", "Редагувати запс"},     {"nbPost", "\u2713", "Зберегти"},
        {"nbCancel", "\u2717", "Відмінити редагування"},
    };
    for (const NavButton& b : buttons) {
        QAction* a = DBNavigator1->addAction(QString::fromUtf8(b.glyph));
        a->setObjectName(QLatin1String(b.name));
        a->setToolTip(QString::fromUtf8(b.tip));
    }
    bottom->addWidget(DBNavigator1);
    bottom->addStretch();
    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    bottom->addWidget(Button2);
    bottom->addWidget(Button1);
    layout->addLayout(bottom);

    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TForm4::DBGrid1DblClick);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos));
    });
    connect(N1, &QAction::triggered, this, &TForm4::DBGrid1DblClick);
    connect(N2, &QAction::triggered, this, &TForm4::N2Click);
    connect(N4, &QAction::triggered, this, &TForm4::N4Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::DBGrid1DblClick);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);

    // The navigator moves the selection; the records themselves are never
    // changed after they are added, so editing has nothing to do.
    auto move = [this](int to) {
        if (shownCount() > 0)
            selectIndex(std::clamp(to, 0, shownCount() - 1));
    };
    connect(DBNavigator1->actions()[0], &QAction::triggered, this, [move] { move(0); });
    connect(DBNavigator1->actions()[1], &QAction::triggered, this, [this, move] { move(selectedIndex() - 1); });
    connect(DBNavigator1->actions()[2], &QAction::triggered, this, [this, move] { move(selectedIndex() + 1); });
    connect(DBNavigator1->actions()[3], &QAction::triggered, this, [this, move] { move(shownCount() - 1); });
    connect(DBNavigator1->actions()[4], &QAction::triggered, this, [this] {
        // An empty record, only its number given.
        if (onServer()) {
            saveToServer(BaseRecord());
            return;
        }
        m_base.add(BaseRecord());
        m_model->appended();
        selectIndex(m_base.size() - 1);
    });
    connect(DBNavigator1->actions()[5], &QAction::triggered, this, &TForm4::N2Click);
}

QString TForm4::basePath() const
{
    return keptFile(m_services.programFile, QStringLiteral("base.cds"));
}

int TForm4::shownCount() const
{
    return onServer() ? m_serverModel->rowCount() : m_base.size();
}

int TForm4::selectedIndex() const
{
    const QModelIndexList rows = DBGrid1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TForm4::selectIndex(int index)
{
    DBGrid1->selectRow(index);
}

void TForm4::applyTitle()
{
    setWindowTitle(L(45));
}

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_openings.opens(event))
        FormShow();
}

void TForm4::hideEvent(QHideEvent* event)
{
    if (m_openings.closes(event)) {
        FormHide();
        handOverPreviews();
    }
    QDialog::hideEvent(event);
}

void TForm4::FormShow()
{
    m_lists.log().write(QStringLiteral("form4 show"));
    if (onServer()) {
        showServer();
        m_listen->start();
        return;
    }
    m_loaded = false;
    m_base.reset({}, 1);
    IBaseFile* file = m_services.baseFile;
    try {
        if (!file)
            throw BaseError(QStringLiteral("No calculation base engine"));
        BaseContents contents = file->load(basePath());
        m_base.reset(std::move(contents.records), contents.nextNo);
        m_loaded = true;
    } catch (const std::exception& e) {
        // Reported, and the window opens empty; the file stays as it is.
        m_services.report(this, e);
    }
    m_model->reload();
    // As in a data grid, the current record is the selected one: Enter,
    // Open, Print and Delete act on it without a click first.
    if (m_base.size() > 0)
        selectIndex(0);

    applyTitle();
    m_model->setTitles({QStringLiteral("№"), L(47), L(48), L(46), L(5)});
    N1->setText(L(50));
    N2->setText(L(19));
    N4->setText(L(24));
    Button2->setText(L(50));
    Button1->setText(L(74));

    if (m_loaded && !m_addName.isEmpty()) {
        try {
            addCurrentCalculation();
        } catch (const std::exception& e) {
            m_services.report(this, e);
        }
    }
}

std::optional<BaseRecord> TForm4::currentCalculation() const
{
    QString category;
    QStringList lines;
    if (m_lists.roundInFront()) {
        category = L(36 + static_cast<int>(Settings.Method));
        lines = m_lists.roundTexts();
    } else if (m_lists.boardInFront()) {
        category = L(89);
        lines = m_lists.boardTexts();
    } else {
        return std::nullopt;
    }
    // The volume first: a total that does not read adds no record at all.
    const double volume = readVolumeText(m_lists.volumeText());
    return makeRecord(QDateTime::currentDateTime(), category, m_addName, volume, lines);
}

void TForm4::addCurrentCalculation()
{
    const std::optional<BaseRecord> record = currentCalculation();
    if (!record)
        return;
    m_base.add(*record);
    m_model->appended();
    selectIndex(m_base.size() - 1);
}

namespace {

// Counts a wait for the server while it lasts.
class Busy {
public:
    explicit Busy(int& count) : m_count(count) { ++m_count; }
    ~Busy() { --m_count; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    int& m_count;
};

} // namespace

void TForm4::showServer()
{
    const Busy busy(m_busy);
    applyTitle();
    m_serverModel->setTitles({QStringLiteral("№"), L(47), L(48), L(46), L(5), L(360), L(361)});
    N1->setText(L(50));
    N2->setText(L(19));
    N4->setText(L(24));
    N5->setText(L(378));
    Button2->setText(L(50));
    Button1->setText(L(74));

    std::optional<BaseRecord> record;
    if (!m_addName.isEmpty()) {
        try {
            record = currentCalculation();
        } catch (const std::exception& e) {
            m_services.report(this, e);
        }
    }
    // A calculation to save is told of a server that does not answer as
    // not saved; browsing only, as not answering.
    if (record)
        saveToServer(*record);
    else
        refreshServer(true);
}

bool TForm4::refreshServer(bool tell)
{
    const Busy busy(m_busy);
    const BaseRecord* selected = m_serverModel->recordAt(selectedIndex());
    const qint64 no = selected ? selected->No : 0;
    const int row = selectedIndex();
    try {
        m_server->open();
        m_serverModel->refresh();
    } catch (const std::exception& e) {
        if (tell)
            tellServerFailure(e, m_serverModel->rowCount() > 0 ? L(373) : L(371));
        return false;
    }
    // The same record, or the one now in its place.
    const int at = m_serverModel->rowOf(no);
    if (at >= 0)
        selectIndex(at);
    else if (shownCount() > 0)
        selectIndex(std::clamp(row, 0, shownCount() - 1));
    return true;
}

void TForm4::listenAgain()
{
    if (m_busy > 0 || m_server->listening())
        return;
    // A server that does not answer holds the window for up to the time-out:
    // it is asked again only after four times as long as it took.
    if (m_sinceListenTry.isValid() && m_sinceListenTry.elapsed() < m_listenPause)
        return;
    m_sinceListenTry.start();
    const bool made = refreshServer(false);
    m_listenPause = made ? 0 : std::max<qint64>(2000, 4 * m_sinceListenTry.elapsed());
}

void TForm4::saveToServer(const BaseRecord& record)
{
    const Busy busy(m_busy);
    qint64 no = 0;
    try {
        no = m_server->add(record);
    } catch (const std::exception& e) {
        tellServerFailure(e, L(372));
        return;
    }
    refreshServer(true);
    const int at = m_serverModel->rowOf(no);
    if (at >= 0)
        selectIndex(at);
}

void TForm4::tellServerFailure(const std::exception& e, const QString& unreachable)
{
    const QString detail = QString::fromUtf8(e.what());
    m_lists.log().write(QStringLiteral("Base server: ") + detail);
    QString text;
    if (const auto* refused = dynamic_cast<const BaseRefused*>(&e))
        text = refused->why == BaseRefused::LaterVersion ? L(375).arg(refused->version) : L(376);
    else if (dynamic_cast<const BaseUnreachable*>(&e))
        text = unreachable.contains(QLatin1String("%1")) ? unreachable.arg(detail) : unreachable;
    else
        text = L(377).arg(detail);
    Dialogs::warning(this, text);
}

void TForm4::copyFileToServer()
{
    const Busy busy(m_busy);
    IBaseFile* file = m_services.baseFile;
    if (!onServer() || !file)
        return;
    try {
        const BaseContents contents = file->load(basePath());
        const int copied = m_server->copyIn(contents.records, m_services.serverBases->computer());
        Dialogs::message(this, L(379).arg(copied));
    } catch (const std::exception& e) {
        tellServerFailure(e, L(371));
        return;
    }
    refreshServer(true);
}

void TForm4::FormHide()
{
    if (m_listen)
        m_listen->stop();
    IBaseFile* file = m_services.baseFile;
    // The server keeps each save and delete as it is made.
    if (!m_loaded || !file)
        return;
    m_loaded = false;
    if (!m_base.changed() && QFile::exists(basePath()))
        return;
    // A base that cannot be written is told once a run while the user only
    // browses; a calculation that could not be kept is told every time.
    static bool toldUnwritable = false;
    try {
        file->save(basePath(), m_base.added(), m_base.deleted());
    } catch (const std::exception& e) {
        if (m_base.changed() || !toldUnwritable)
            Dialogs::warning(this, QString::fromUtf8(e.what()));
        toldUnwritable = true;
    }
}

void TForm4::handOverPreviews()
{
    // Printed from here, a preview is this modal window's own so that it takes
    // input; the report's previews live as long as the main window, so they
    // go over to it when this window closes.
    for (TForm6* preview : findChildren<TForm6*>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool shown = preview->isVisible();
        const QRect place = preview->geometry();
        preview->setParent(m_main, preview->windowFlags());
        preview->setGeometry(place);
        if (shown)
            preview->show();
    }
}

bool TForm4::AddToList()
{
    m_lists.log().write(QStringLiteral("Add to list form4"));
    m_unopened = false;
    const int index = selectedIndex();
    if (index < 0)
        return false;
    std::optional<BaseRecord> fresh;
    if (onServer()) {
        m_unopened = true;
        // What the server holds now: the record may have gone meanwhile.
        try {
            fresh = m_server->record(m_serverModel->recordAt(index)->No);
        } catch (const std::exception& e) {
            tellServerFailure(e, L(371));
            return false;
        }
        if (!fresh) {
            Dialogs::warning(this, L(374));
            refreshServer(false);
            return false;
        }
        m_unopened = false;
    }
    const BaseRecord& r = fresh ? *fresh : m_base.records()[index];
    const SavedKind kind = savedKind(r);
    if (kind == SavedKind::None)
        return false;
    m_lists.openSaved(notesLines(r.Notes), kind == SavedKind::Boards);
    return true;
}

// DBGrid1DblClick: open the selected calculation into its list (double click, OK, Open).
void TForm4::DBGrid1DblClick()
{
    // A record the server no longer holds (or could not give) is told and
    // the window stays, to choose another.
    if (!AddToList() && m_unopened)
        return;
    accept();
}

// N2Click: delete the selected calculation, after asking.
void TForm4::N2Click()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    if (Dialogs::ask(this, L(49), Dialogs::Information) != Dialogs::Yes)
        return;
    if (onServer()) {
        // Gone already elsewhere is as good as deleted here.
        try {
            m_server->remove(m_serverModel->recordAt(index)->No);
        } catch (const std::exception& e) {
            tellServerFailure(e, L(371));
            return;
        }
        if (refreshServer(true) && shownCount() > 0)
            selectIndex(std::min(index, shownCount() - 1));
        return;
    }
    m_model->removeRecord(index);
    // The next record becomes the current one, or the previous when the last went.
    if (m_base.size() > 0)
        selectIndex(std::min(index, m_base.size() - 1));
}

// N4Click: print the selected calculation; the window stays open.
void TForm4::N4Click()
{
    if (AddToList())
        m_lists.requestReport(this);
}

// Button1Click: Close (Esc).
void TForm4::Button1Click()
{
    reject();
}

} // namespace zel
