// The main window's online side.
#include "online/ui/onlinecontroller.h"
#include "online/clock.h"
#include "shell/commatext.h"
#include "online/connectivity.h"
#include "online/httpaccess.h"
#include "online/idleclock.h"
#include "shell/log.h"
#include "online/messages.h"
#include "online/restart.h"
#include "online/servicehost.h"
#include "online/ui/memolines.h"
#include "online/ui/tform10.h"
#include "online/ui/tform8.h"
#include "online/updater.h"
#include "online/webtext.h"
#include "shell/langtable.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/ui/appservices.h"
#include "shell/ui/dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace zel {
namespace {

const IClock& clockOf(const AppServices& services)
{
    static const SystemClock system;
    if (services.clock)
        return *services.clock;
    return system;
}

} // namespace

OnlineController::OnlineController(const AppServices& services, Log& log, QWidget* window,
                                   std::function<QStringList()> logLines)
    : QObject(window)
    , m_services(services)
    , m_log(log)
    , m_window(window)
    , m_logLines(std::move(logLines))
{
    setObjectName(QStringLiteral("OnlineController"));
    MessageWorkerContext context;
    context.http = m_services.http;
    context.host = m_services.hosts.service;
    context.id = &Settings.ID;
    context.log = [log = &m_log](const QString& label) { log->write(label); };
    // The store and the settings record belong to the UI thread: the worker
    // has the settings written there.
    context.writeParams = [this] {
        QMetaObject::invokeMethod(this, [this] { emit settingsToWrite(); }, Qt::QueuedConnection);
    };
    m_poller = std::make_unique<MessagePoller>(std::move(context));
    Settings.ID = 0;
}

OnlineController::~OnlineController()
{
    shutDown();
}

void OnlineController::attach(QPushButton* sendLog, QPushButton* replyButton, QLineEdit* replyField,
                              QPlainTextEdit* conversation)
{
    Button4 = sendLog;
    Button5 = replyButton;
    Edit11 = replyField;
    Memo4 = conversation;
    connect(Button4, &QPushButton::clicked, this, &OnlineController::sendLog);
    connect(Button5, &QPushButton::clicked, this, &OnlineController::reply);
    connect(Edit11, &QLineEdit::returnPressed, this, &OnlineController::reply);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &OnlineController::pollMessages);
}

void OnlineController::start()
{
    Timer2->start();
}

void OnlineController::stop()
{
    m_closing = true;
    if (Timer2)
        Timer2->stop();
    if (m_services.http)
        m_services.http->shutDown();
}

void OnlineController::shutDown()
{
    // A worker may be waiting on the network: its request fails at once, and
    // the lock and everything else it uses stay until it has ended.
    if (Timer2)
        Timer2->stop();
    if (m_services.http)
        m_services.http->shutDown();
    m_poller.reset();
}

void OnlineController::showMessagesTab()
{
    m_messagesShown = true;
    emit messagesTabWanted();
}

bool OnlineController::IsConnectedToInternet()
{
    m_log.write(QStringLiteral("IsConnectedToInternet"));
    return m_services.connectivity && m_services.connectivity->isOnline();
}

// --- The update -----------------------------------------------------------

void OnlineController::GIFStart(const QString& text)
{
    m_log.write(QStringLiteral("Show load form"));
    ProgressText = text;
    auto* progress = new TForm8(m_window);
    progress->show();
    QCoreApplication::processEvents();
}

void OnlineController::GIFStop()
{
    m_log.write(QStringLiteral("Close load form"));
    ProgressText = QStringLiteral("exit");
    QCoreApplication::processEvents();
}

void OnlineController::autoCheckUpdate()
{
    if (!m_services.selfUpdate || !m_services.idle)
        return;
    if (m_services.idle->idleMilliseconds() / 1000 != 30)
        return;
    m_log.write(QStringLiteral("auto checkupdate"));
    const QString today = shortDateText(clockOf(m_services).now().date());
    if (!claimDailyCheck(m_services.store, today, Settings.AutoUpdate))
        return;
    UpDate(false, false);
}

void OnlineController::UpDate(bool mess, bool rebot)
{
    // One check at a time: a second one would swap the same files.
    if (m_updating)
        return;
    if (!m_services.selfUpdate) {
        m_log.write(QStringLiteral("Updates by the package manager"));
        if (mess)
            Dialogs::message(m_window, L(350));
        return;
    }
    m_updating = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_updating};

    GIFStart(L(82));
    m_log.write(QStringLiteral("UpDate"));
    emit status(L(82));
    if (!IsConnectedToInternet() || !m_services.http || !m_services.downloader) {
        GIFStop();
        if (mess)
            Dialogs::message(m_window, L(83));
        return;
    }
    const QString program = m_services.programFile;
    TInetUpdater updater(*m_services.downloader, clockOf(m_services), QFileInfo(program).path(),
                         m_services.hosts.update);
    updater.UpdateInfoFileURL = updatesIniUrl(m_services.hosts.service);
    updater.UpdateResultFile = ChangeFileExt(program, QStringLiteral(".new"));
    updater.ProductName = QStringLiteral("Zelmora");
    updater.ProductVersion = ProductVersionNumber;
    QString DownloadURL;
    // Every request below may be the one waiting when the window closes; the
    // procedure then ends where it stands.
    const auto tell = [this](const QString& text) {
        if (!m_closing)
            Dialogs::message(m_window, text);
    };

    sendStatistics(*m_services.http, m_services.hosts, QStringLiteral("check.log"),
                   QStringLiteral("check error"), tell);
    if (m_closing)
        return;
    m_log.write(QStringLiteral("CheckUpdate"));
    const bool found = updater.CheckUpdate(DownloadURL);
    if (m_closing)
        return;
    if (found) {
        GIFStop();
        const QString question = L(84) + QLatin1Char(' ') + updater.NewProductVersion + QLatin1Char(' ')
                               + DownloadURL + QLatin1Char(' ') + L(85);
        if (!AskYesNo(m_window, question, mess)) {
            emit status(QString());
        } else {
            GIFStart(L(86));
            sendStatistics(*m_services.http, m_services.hosts, QStringLiteral("down.log"),
                           QStringLiteral("Down error"), tell);
            if (m_closing)
                return;
            m_log.write(QStringLiteral("UpdateFile"));
            // A file the maker did not sign counts as a failed download.
            const bool downloaded = updater.UpdateFile() && updater.SignatureAccepted();
            if (m_closing)
                return;
            if (downloaded) {
                const SwapResult swap = m_services.files ? swapProgramFile(*m_services.files, program)
                                                         : SwapResult{false, program + QStringLiteral(": no file access")};
                if (!swap.ok) {
                    // The text says what failed and where the program file
                    // is; the download waits for the next start's clean-up.
                    GIFStop();
                    Dialogs::warning(m_window, swap.failure);
                } else {
                    emit status(L(87));
                    GIFStop();
                    if (AskYesNo(m_window, L(88), mess) && rebot) {
                        m_log.write(QStringLiteral("Restart File"));
                        m_window->close();
                        if (m_services.restart)
                            m_services.restart->restartAfterExit(program);
                        return;
                    }
                }
            } else if (mess && !updater.PublicKey.isEmpty()) {
                // A program that checks signatures says why nothing was
                // installed, so a refused file never passes for no news.
                GIFStop();
                Dialogs::warning(m_window, L(220));
            }
        }
    } else if (mess) {
        emit status(L(103));
        GIFStop();
        Dialogs::message(m_window, L(103));
    }
    GIFStop();
}

// --- Messages with the maker ----------------------------------------------

void OnlineController::pollMessages()
{
    Timer2->setInterval(m_messagesShown ? 4000 : 30000);
    if (IsConnectedToInternet() && m_services.http && m_poller)
        m_poller->startWorker();
}

void OnlineController::checkMessage()
{
    if (!m_poller)
        return;
    const std::optional<QString> message = m_poller->take();
    if (!message)
        return;
    showMessagesTab();
    const QString text = conversationText(displayedLines(Memo4),
                                          dateTimeText(clockOf(m_services).now()), *message);
    Memo4->setPlainText(SetCommaText(text).join(QLatin1Char('\n')));
    m_services.playBeep();
}

void OnlineController::reply()
{
    const QString reply = Edit11->text();
    if (asciiUpper(reply) == QLatin1String("/MYID")) {
        Memo4->appendPlainText(QStringLiteral("YOU ID = ") + QString::number(Settings.ID.load()));
        Edit11->clear();
        return;
    }
    if (reply.isEmpty())
        return;
    QStringList added;
    if (!Memo4->document()->isEmpty())
        added << QStringLiteral(" ");
    added << QStringLiteral("User: ") + dateTimeText(clockOf(m_services).now()) << reply;
    // The service takes an address of 8 KB at most: a long conversation goes
    // with its newest lines, as the log upload does, and the user is told.
    const QStringList conversation = displayedLines(Memo4) + added;
    bool cut = false;
    const QStringList sent = newestLinesThatFit(
        conversation,
        [this](const QStringList& lines) {
            return sendMessageAddress(QString(), QStringLiteral("@"), CommaText(lines));
        },
        kMaxAddress, &cut);
    if (!SendMess(QString(), QStringLiteral("@"), CommaText(sent))) {
        // Nothing is lost: the reply stays typed, to be sent again.
        Dialogs::message(m_window, L(222));
        return;
    }
    for (const QString& line : added)
        Memo4->appendPlainText(line);
    Edit11->clear();
    if (cut)
        Dialogs::message(m_window, L(221).arg(sent.size()).arg(conversation.size()));
}

QString OnlineController::sendMessageAddress(const QString& theme, const QString& email,
                                             const QString& message) const
{
    return sendMessageUrl(m_services.hosts.service, Settings.ID.load(), W1251toUTF8(theme), W1251toUTF8(email),
                          ClearString(W1251toUTF8(message)));
}

bool OnlineController::SendMess(const QString& theme, const QString& email, const QString& message)
{
    if (!IsConnectedToInternet() || !m_services.http)
        return false;
    const QString address = sendMessageAddress(theme, email, message);
    m_log.write(QStringLiteral("Send message to Halvane"));
    try {
        m_services.http->get(address);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void OnlineController::feedback()
{
    TForm10 window(m_window, *this);
    window.exec();
}

void OnlineController::sendLog()
{
    m_log.write(QStringLiteral("Send log to Halvane"));
    if (!IsConnectedToInternet() || !m_services.http) {
        Dialogs::message(m_window, L(83));
        return;
    }
    m_log.write(QStringLiteral("Ok"));
    const QString address = sendLogUrl(m_services.hosts.service, m_logLines());
    Dialogs::message(m_window, address);
    const QString answer = m_services.http->get(address);
    if (!m_closing)
        Dialogs::message(m_window, answer);
}

} // namespace zel
