#include "shell/ui/moduletrouble.h"

#include "shell/log.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QCoreApplication>

namespace zel {

void ModuleTroubleNotice::setLog(Log* log)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_log = log;
    for (const QString& entry : std::as_const(m_pending))
        m_log->write(entry);
    m_pending.clear();
}

ModuleTrouble ModuleTroubleNotice::handler()
{
    return [this](const CarriedCode& module, const QString& reason) { report(module, reason); };
}

void ModuleTroubleNotice::report(const CarriedCode& module, const QString& reason)
{
    const QString entry = QStringLiteral("Module %1 not opened: %2").arg(QString::fromLatin1(module.name()), reason);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_log)
            m_log->write(entry);
        else
            m_pending << entry;
    }
    if (m_told.exchange(true))
        return;
    // The network module opens on a worker thread: the box is the UI thread's.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { Dialogs::error(nullptr, L(340)); }, Qt::QueuedConnection);
}

} // namespace zel
