// Export, import, copy and paste of the list in front.
#include "lists/ui/listexchange.h"
#include "engine/errors.h"
#include "lists/listwriter.h"
#include "lists/workbooks.h"
#include "shell/savefile.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listssession.h"
#include "lists/ui/listundo.h"
#include "shell/log.h"
#include "shell/ui/appservices.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeView>

namespace zel {

ListExchange::ListExchange(ListsSession& lists, const AppServices& services, QWidget* window,
                           QTreeView* roundView, QTreeView* boardView)
    : QObject(window), m_lists(lists), m_services(services), m_window(window), m_roundView(roundView)
    , m_boardView(boardView)
{
    m_roundView->installEventFilter(this);
    m_boardView->installEventFilter(this);
}

void ListExchange::addMenuItems(QMenu* menu, QAction* before)
{
    m_export = new QAction(menu);
    m_export->setObjectName(QStringLiteral("ExportList"));
    m_import = new QAction(menu);
    m_import->setObjectName(QStringLiteral("ImportList"));
    menu->insertAction(before, m_export);
    menu->insertAction(before, m_import);
    menu->insertSeparator(before);
    connect(m_export, &QAction::triggered, this, &ListExchange::exportList);
    connect(m_import, &QAction::triggered, this, &ListExchange::importList);
}

void ListExchange::relabel()
{
    if (m_export)
        m_export->setText(L(133) + QStringLiteral("\tCtrl+E"));
    if (m_import)
        m_import->setText(L(134) + QStringLiteral("\tCtrl+I"));
}

ListKind ListExchange::kind() const
{
    return m_lists.boardInFront() ? ListKind::Board : ListKind::Round;
}

LinesModel* ListExchange::model() const
{
    return kind() == ListKind::Board ? m_lists.boardModel() : m_lists.roundModel();
}

QTreeView* ListExchange::view() const
{
    return kind() == ListKind::Board ? m_boardView : m_roundView;
}

bool ListExchange::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_roundView || watched == m_boardView)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copyLines();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            pasteLines();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ListExchange::exportList()
{
    m_lists.log().write(QStringLiteral("Export list"));
    QString filter;
    QString name = Dialogs::saveFile(m_window, L(133), L(135) + QStringLiteral(";;") + L(136),
                                     QStringLiteral("list.csv"), &filter, true, &m_services.store);
    if (name.isEmpty())
        return;
    // A name typed without a suffix takes the kind picked in the dialog.
    if (QFileInfo(name).suffix().isEmpty())
        name += filter == L(136) ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    const QString suffix = QFileInfo(name).suffix().toLower();
    const Lines& lines = model()->lines();
    if (suffix == QStringLiteral("xlsx")) {
        try {
            Facility<IWorkbooks>* workbooks = m_services.workbooks;
            IWorkbooks* books = workbooks ? workbooks->get() : nullptr;
            if (!books)
                throw InOutError(workbooks ? workbooks->error() : name);
            books->writeListWorkbook(
                listSheet(lines, kind(), Settings.Method, Settings.Language, QDateTime::currentDateTime()), name);
        } catch (const InOutError& e) {
            Dialogs::error(m_window, L(157).arg(e.message()));
        }
        return;
    }
    // Written beside the target and renamed over it only when every byte is
    // down, so a full disk leaves the old file as it was.
    QString error;
    if (!replaceFile(name, listCsv(lines, kind(), Settings.Language), &error))
        Dialogs::error(m_window, L(157).arg(name + QStringLiteral(": ") + error));
}

void ListExchange::importList()
{
    m_lists.log().write(QStringLiteral("Import list"));
    const QString name = Dialogs::openFile(m_window, L(134), L(137), &m_services.store);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        Dialogs::message(m_window, L(156).arg(name + QStringLiteral(": ") + file.errorString()));
        return;
    }
    if (file.size() > ListParser::kMaxFileSize) {
        Dialogs::message(m_window, L(154));
        return;
    }
    addRows(ListParser(kind()).parseFile(file.readAll()), true);
}

void ListExchange::copyLines()
{
    m_lists.log().write(QStringLiteral("Copy lines"));
    const QModelIndexList selected = view()->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    const Lines& all = model()->lines();
    const Lines lines = row >= 0 && row < all.size() ? Lines{all[row]} : all;
    QGuiApplication::clipboard()->setText(
        listTableText(lines, kind(), Settings.Language, QLatin1Char('\t'), row >= 0 ? row + 1 : 1));
}

void ListExchange::pasteLines()
{
    m_lists.log().write(QStringLiteral("Paste lines"));
    addRows(ListParser(kind()).parseText(QGuiApplication::clipboard()->text()), false);
}

void ListExchange::addRows(const ParsedList& parsed, bool fromFile)
{
    const UiLanguage language = Settings.Language;
    const ListKind k = kind();
    if (parsed.failure != ParsedList::None) {
        Dialogs::message(m_window, !fromFile && parsed.failure == ParsedList::Empty ? L(161)
                                                                                    : describeFailure(parsed, language));
        return;
    }
    if (!parsed.skipped.isEmpty()) {
        // One entry, however many rows: a file of garbage must not flood the log.
        constexpr int kLogged = 1000;
        m_lists.log().write(QStringLiteral("Rows skipped: ")
                      + describeSkipped(parsed.skipped, k, UiLanguage::English, kLogged, QStringLiteral("; ")));
    }
    const QString question = importQuestion(parsed, k, language, rowsAmount(parsed, k, m_lists.context()));
    if (parsed.rows.isEmpty()) {
        Dialogs::message(m_window, question);
        return;
    }
    // A paste of good rows adds them at once, as typing them would; the
    // question comes when something would be left out or miscounted.
    if ((fromFile || !parsed.skipped.isEmpty() || parsed.countMayBeUnread())
        && Dialogs::ask(m_window, question) != Dialogs::Yes)
        return;
    m_lists.undo().record(model(), fromFile ? kTxtStepImport : kTxtStepPaste, [&] {
        Lines lines = model()->lines();
        ListEntries entries(lines, k);
        for (const ParsedRow& row : parsed.rows)
            entries.add(row.values);
        model()->setLines(lines);
        m_lists.refresh(model());
    });
}

} // namespace zel
