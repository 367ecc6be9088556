// The restart after an update.
#include "online/platform/deferredrestart.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QProcess>

namespace zel {

void DeferredRestart::restartAfterExit(const QString& program)
{
    m_program = program;
    QCoreApplication::quit();
}

bool DeferredRestart::runIfRequested(ISingleInstance& instance)
{
    if (m_program.isEmpty())
        return false;
    // The lists and settings are saved by now; the new copy may claim the
    // single instance as soon as it starts.
    instance.release();
    return QProcess::startDetached(m_program, QStringList());
}

} // namespace zel
