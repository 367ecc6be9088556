// The routes of an error that no handler caught.
#include "app/errorreporter.h"
#include "app/application.h"
#include "online/errorreport.h"
#include "online/ui/onlinecontroller.h"
#include "online/updater.h"
#include "shell/langtable.h"
#include "shell/log.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QTabWidget>

#include <QWidget>

namespace zel {

ErrorReporter::ErrorReporter(QWidget* window, Log& log, OnlineController& online, std::function<bool()> saveLog)
    : m_window(window)
    , m_log(log)
    , m_online(online)
    , m_saveLog(std::move(saveLog))
{
    if (Application* app = Application::instance()) {
        app->setErrorHandler([this](QObject* sender, const std::exception& error) { MyExcept(sender, error); });
        app->setNestedErrorHandler([this](QObject* sender, const std::exception& error) {
            reportPlainly(sender, error);
        });
    }
}

ErrorReporter::~ErrorReporter()
{
    if (Application* app = Application::instance()) {
        app->setErrorHandler(nullptr);
        app->setNestedErrorHandler(nullptr);
    }
}

void ErrorReporter::MyExcept(QObject* Sender, const std::exception& E)
{
    // A request given up because the window closed is no error to report.
    if (m_online.closing())
        return;
    ProgressText = QStringLiteral("exit");
    const QString message = QString::fromUtf8(E.what());
    if (isNetworkFailure(message)) {
        Dialogs::warning(m_window, message + QLatin1Char('\r') + L(105));
        logAndSave(Sender, E);
        return;
    }
    // On a full disk the log is not saved either; the user must not be told it was.
    const bool saved = logAndSave(Sender, E);
    m_online.showLogTab();
    const QString question = message + QLatin1Char('\r')
                           + (saved ? QStringLiteral("Saved to file: ") : L(240)) + m_log.filePath()
                           + QLatin1Char('\r') + QStringLiteral("Send to Halvane ? ");
    if (Dialogs::ask(m_window, question) != Dialogs::Yes)
        return;
    // A failure of the send, while this error is being reported, asks nothing more.
    try {
        m_online.sendLog();
    } catch (const std::exception& e) {
        reportPlainly(m_window, e);
    }
}

void ErrorReporter::reportPlainly(QObject* Sender, const std::exception& E)
{
    if (m_online.closing())
        return;
    logAndSave(Sender, E);
    Dialogs::warning(m_window, QString::fromUtf8(E.what()));
}

bool ErrorReporter::logAndSave(QObject* Sender, const std::exception& E)
{
    const QString reporter = Sender ? QString::fromLatin1(Sender->metaObject()->className())
                                    : QStringLiteral("zel::Application");
    m_log.write(errorDescription(reporter, E));
    return m_saveLog();
}

void ErrorReporter::reportUnreadLine(const std::exception& error, bool tell, QTabWidget* tabs)
{
    if (!tell) {
        logAndSave(m_window, error);
        return;
    }
    // The report brings the Log tab forward.
    QWidget* front = tabs->currentWidget();
    if (Application* app = Application::instance())
        app->reportError(m_window, error);
    else
        MyExcept(m_window, error);
    if (tabs->currentWidget() != front)
        tabs->setCurrentWidget(front);
}

} // namespace zel
