// Catches what escapes an event handler, so that no error ends the program.
#include "app/application.h"
#include "engine/errors.h"
#include "shell/ui/deferredstyle.h"
#include "shell/ui/dialogs.h"

namespace zel {
namespace {

void plainReport(const std::exception& error)
{
    Dialogs::warning(nullptr, QString::fromUtf8(error.what()));
}

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    nameLocalTimeZone();
    setStyle(new DeferredIconStyle(style()));
}

Application::~Application() = default;

void nameLocalTimeZone()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
}

Application* Application::instance()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

void Application::setErrorHandler(ErrorHandler handler)
{
    m_handler = std::move(handler);
}

void Application::setNestedErrorHandler(ErrorHandler handler)
{
    m_nested = std::move(handler);
}

void Application::reportError(QObject* sender, const std::exception& error)
{
    // An error raised while the handler runs (it may show boxes, which run
    // events) starts no second report.
    if (m_reporting && m_nested) {
        try {
            m_nested(sender, error);
        } catch (const std::exception& inner) {
            plainReport(inner);
        }
        return;
    }
    if (!m_handler || m_reporting) {
        plainReport(error);
        return;
    }
    m_reporting = true;
    try {
        m_handler(sender, error);
    } catch (const std::exception& inner) {
        plainReport(inner);
    } catch (...) {
        plainReport(Error(QStringLiteral("Unknown error")));
    }
    m_reporting = false;
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportError(receiver, error);
    } catch (...) {
        reportError(receiver, Error(QStringLiteral("Unknown error")));
    }
    return false;
}

} // namespace zel
