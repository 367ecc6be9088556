// The main window's online services: the update, the messages with the
// maker, the Log tab's upload and the application-wide error report.
#include "shell/ui/tform1.h"
#include "online/clock.h"
#include "shell/commatext.h"
#include "online/connectivity.h"
#include "online/errorreport.h"
#include "online/httpaccess.h"
#include "online/idleclock.h"
#include "shell/log.h"
#include "online/messages.h"
#include "online/platform/localfiles.h"
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
#include "shell/ui/dialogs.h"
#include "shell/ui/fittext.h"
#include "shell/ui/application.h"
#include "shell/ui/pictures.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
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

IFileOps& filesOf(const AppServices& services)
{
    static LocalFiles local;
    return services.files ? *services.files : local;
}

} // namespace

void TForm1::buildOnlineTabs()
{
    // The Log tab: the log and the button that sends it.
    Memo3->setGeometry(4, 4, 516, 208);
    Memo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button4 = new QPushButton(QStringLiteral("Send log to Halvane"), TabSheet3);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(4, 216, 180, 28);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);

    // The Messages tab: the reply row above the conversation.
    Button5 = new QPushButton(QStringLiteral("Ответить"), TabSheet4);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setGeometry(4, 4, 100, 26);
    Button5->setDefault(true);
    Edit11 = new QLineEdit(TabSheet4);
    Edit11->setObjectName(QStringLiteral("Edit11"));
    Edit11->setGeometry(110, 5, 410, 24);
    Edit11->setMaxLength(512);
    Memo4 = new QPlainTextEdit(TabSheet4);
    Memo4->setObjectName(QStringLiteral("Memo4"));
    Memo4->setGeometry(4, 34, 516, 210);
    Memo4->setReadOnly(true);
    Memo4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Edit11, &QLineEdit::returnPressed, this, &TForm1::Button5Click);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
}

void TForm1::createMessageLock()
{
    MessageWorkerContext context;
    context.http = m_services.http;
    context.host = m_services.hosts.service;
    context.id = &Settings.ID;
    context.log = [log = m_log](const QString& label) { log->write(label); };
    // The store and the settings record belong to the UI thread: the worker
    // has the settings written there.
    context.writeParams = [this] {
        QMetaObject::invokeMethod(this, [this] { WriteParams(); }, Qt::QueuedConnection);
    };
    m_poller = std::make_unique<MessagePoller>(std::move(context));
    Settings.ID = 0;
}

void TForm1::FormDestroy()
{
    Timer1->stop();
    Timer2->stop();
    // A worker may be waiting on the network: its request fails at once, and
    // the lock and everything else it uses stay until it has ended.
    if (m_services.http)
        m_services.http->shutDown();
    m_poller.reset();
    if (Application* app = Application::instance()) {
        app->setErrorHandler(nullptr);
        app->setNestedErrorHandler(nullptr);
    }
}

void TForm1::showTab(QWidget* tab, const QString& picture)
{
    PageControl1->setTabVisible(PageControl1->indexOf(tab), true);
    {
        // Brought forward by the program, not by the user: no tab change.
        const QSignalBlocker block(PageControl1);
        PageControl1->setCurrentWidget(tab);
    }
    showPicture(Image1, picture);
    followSettingsWindow();
}

void TForm1::showMessagesTab()
{
    showTab(TabSheet4, QStringLiteral("message"));
}

void TForm1::showLogTab()
{
    showTab(TabSheet3, QStringLiteral("error"));
}

bool TForm1::IsConnectedToInternet()
{
    Log(QStringLiteral("IsConnectedToInternet"));
    return m_services.connectivity && m_services.connectivity->isOnline();
}

void TForm1::PlayBeep()
{
    if (m_services.beep)
        m_services.beep();
    else
        QApplication::beep();
}

// --- The update -----------------------------------------------------------

// Update1Click: the user asked for an update check.
void TForm1::Update1Click()
{
    UpDate(true, true);
}

void TForm1::GIFStart(const QString& text)
{
    Log(QStringLiteral("Show load form"));
    ProgressText = text;
    auto* progress = new TForm8(this);
    progress->show();
    QCoreApplication::processEvents();
}

void TForm1::GIFStop()
{
    Log(QStringLiteral("Close load form"));
    ProgressText = QStringLiteral("exit");
    QCoreApplication::processEvents();
}

void TForm1::autoCheckUpdate()
{
    if (!m_services.idle)
        return;
    if (m_services.idle->idleMilliseconds() / 1000 != 30)
        return;
    Log(QStringLiteral("auto checkupdate"));
    const QString today = shortDateText(clockOf(m_services).now().date());
    if (!claimDailyCheck(m_services.store, today, Settings.AutoUpdate))
        return;
    UpDate(false, false);
}

void TForm1::UpDate(bool mess, bool rebot)
{
    // One check at a time: a second one would swap the same files.
    if (m_updating)
        return;
    m_updating = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_updating};

    GIFStart(L(82));
    Log(QStringLiteral("UpDate"));
    showElided(m_statusPanels[0], L(82));
    if (!IsConnectedToInternet() || !m_services.http || !m_services.downloader) {
        GIFStop();
        if (mess)
            Dialogs::message(this, L(83));
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
            Dialogs::message(this, text);
    };

    sendStatistics(*m_services.http, m_services.hosts, QStringLiteral("check.log"),
                   QStringLiteral("check error"), tell);
    if (m_closing)
        return;
    Log(QStringLiteral("CheckUpdate"));
    const bool found = updater.CheckUpdate(DownloadURL);
    if (m_closing)
        return;
    if (found) {
        GIFStop();
        const QString question = L(84) + QLatin1Char(' ') + updater.NewProductVersion + QLatin1Char(' ')
                               + DownloadURL + QLatin1Char(' ') + L(85);
        if (!AskYesNo(this, question, mess)) {
            showElided(m_statusPanels[0], QString());
        } else {
            GIFStart(L(86));
            sendStatistics(*m_services.http, m_services.hosts, QStringLiteral("down.log"),
                           QStringLiteral("Down error"), tell);
            if (m_closing)
                return;
            Log(QStringLiteral("UpdateFile"));
            // A file the maker did not sign counts as a failed download.
            const bool downloaded = updater.UpdateFile() && updater.SignatureAccepted();
            if (m_closing)
                return;
            if (downloaded) {
                const SwapResult swap = swapProgramFile(filesOf(m_services), program);
                if (!swap.ok) {
                    // The text says what failed and where the program file
                    // is; the download waits for the next start's clean-up.
                    GIFStop();
                    Dialogs::warning(this, swap.failure);
                } else {
                    showElided(m_statusPanels[0], L(87));
                    GIFStop();
                    if (AskYesNo(this, L(88), mess) && rebot) {
                        Log(QStringLiteral("Restart File"));
                        close();
                        if (m_services.restart)
                            m_services.restart->restartAfterExit(program);
                        return;
                    }
                }
            } else if (mess && !updater.PublicKey.isEmpty()) {
                // A program that checks signatures says why nothing was
                // installed, so a refused file never passes for no news.
                GIFStop();
                Dialogs::warning(this, L(220));
            }
        }
    } else if (mess) {
        showElided(m_statusPanels[0], L(103));
        GIFStop();
        Dialogs::message(this, L(103));
    }
    GIFStop();
}

// --- Messages with the maker ----------------------------------------------

// Timer2Timer: time to poll the maker's service.
void TForm1::Timer2Timer()
{
    Timer2->setInterval(PageControl1->isTabVisible(PageControl1->indexOf(TabSheet4)) ? 4000 : 30000);
    if (IsConnectedToInternet() && m_services.http && m_poller)
        m_poller->startWorker();
}

void TForm1::checkmessage()
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
    PlayBeep();
}

// Button5Click: the user answers on the Messages tab.
void TForm1::Button5Click()
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
        Dialogs::message(this, L(222));
        return;
    }
    for (const QString& line : added)
        Memo4->appendPlainText(line);
    Edit11->clear();
    if (cut)
        Dialogs::message(this, L(221).arg(sent.size()).arg(conversation.size()));
}

QString TForm1::sendMessageAddress(const QString& theme, const QString& email, const QString& message) const
{
    return sendMessageUrl(m_services.hosts.service, Settings.ID.load(), W1251toUTF8(theme), W1251toUTF8(email),
                          ClearString(W1251toUTF8(message)));
}

bool TForm1::SendMess(const QString& theme, const QString& email, const QString& message)
{
    if (!IsConnectedToInternet() || !m_services.http)
        return false;
    const QString address = sendMessageAddress(theme, email, message);
    Log(QStringLiteral("Send message to Halvane"));
    try {
        m_services.http->get(address);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Connect1Click: the feedback window.
void TForm1::Connect1Click()
{
    TForm10 feedback(this);
    feedback.exec();
}

// --- Error reports and the log upload -------------------------------------

void TForm1::MyExcept(QObject* Sender, const std::exception& E)
{
    // A request given up because the window closed is no error to report.
    if (m_closing)
        return;
    ProgressText = QStringLiteral("exit");
    const QString message = QString::fromUtf8(E.what());
    if (isNetworkFailure(message)) {
        Dialogs::warning(this, message + QLatin1Char('\r') + L(105));
        logAndSave(Sender, E);
        return;
    }
    // On a full disk the log is not saved either; the user must not be told it was.
    const bool saved = logAndSave(Sender, E);
    showLogTab();
    const QString question = message + QLatin1Char('\r')
                           + (saved ? QStringLiteral("Saved to file: ") : L(240)) + m_log->filePath()
                           + QLatin1Char('\r') + QStringLiteral("Send to Halvane ? ");
    if (Dialogs::ask(this, question) != Dialogs::Yes)
        return;
    // A failure of the send, while this error is being reported, asks nothing more.
    try {
        Button4Click();
    } catch (const std::exception& e) {
        reportPlainly(this, e);
    }
}

void TForm1::reportPlainly(QObject* Sender, const std::exception& E)
{
    if (m_closing)
        return;
    logAndSave(Sender, E);
    Dialogs::warning(this, QString::fromUtf8(E.what()));
}

bool TForm1::logAndSave(QObject* Sender, const std::exception& E)
{
    const QString reporter = Sender ? QString::fromLatin1(Sender->metaObject()->className())
                                    : QStringLiteral("zel::Application");
    Log(errorDescription(reporter, E));
    return saveLog();
}

// Button4Click: the user sends the log to the maker.
void TForm1::Button4Click()
{
    Log(QStringLiteral("Send log to Halvane"));
    if (!IsConnectedToInternet() || !m_services.http) {
        Dialogs::message(this, L(83));
        return;
    }
    Log(QStringLiteral("Ok"));
    showNewLogEntries();
    const QString address = sendLogUrl(m_services.hosts.service, displayedLines(Memo3));
    Dialogs::message(this, address);
    const QString answer = m_services.http->get(address);
    if (!m_closing)
        Dialogs::message(this, answer);
}

} // namespace zel
