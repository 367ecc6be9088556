// Program entry: one copy, the windows in their order, the message loop.
#include "app/application.h"
#include "app/tform1.h"
#include "base/platform/pgbase.h"
#include "base/platform/sqlitebase.h"
#include "base/ui/tform4.h"
#include "cubtable/ui/tform3.h"
#include "lists/workbooks.h"
#include "online/clock.h"
#include "online/platform/deferredrestart.h"
#include "online/platform/lazynet.h"
#include "online/platform/localfiles.h"
#include "online/platform/systemidleclock.h"
#include "online/ui/tform10.h"
#include "report/reports.h"
#include "report/ui/tform6.h"
#include "shell/platform/carriedmodules.h"
#include "shell/platform/fontsahead.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/platform/singleinstance.h"
#include "shell/ui/dialogs.h"
#include "shell/ui/firstshow.h"
#include "shell/ui/moduletrouble.h"
#include "shell/ui/tform5.h"
#include "shell/ui/tform9.h"
#include "summary/ui/summarycharts.h"

#include <QThread>

#ifdef ZELMORA_BENCH_HOOK
#include "bench/benchexit.h"
#endif

#include <cstdio>
#include <future>
#include <optional>

int main(int argc, char** argv)
{
    // Before the threads below: the environment is set here, and this thread
    // is made Qt's main thread before another could touch a Qt object.
    zel::nameLocalTimeZone();
    QThread::currentThread();
    // The claim writes a file and waits for the disk: it is made while the
    // application connects to the display, and looked at before any window.
    zel::LockFileInstance instance;
    std::future<bool> claimed = std::async(std::launch::async, [&instance] { return instance.tryAcquire(); });
    const zel::FontsAhead fonts;
    zel::Application app(argc, argv);
    zel::Application::setApplicationName(QStringLiteral("Zelmora"));
    zel::Application::setOrganizationName(QStringLiteral("Halvane"));
    zel::Application::setDesktopFileName(QStringLiteral("zelmora"));

    if (!claimed.get()) {
        std::fputs("Zelmora already exists.\n", stderr);
        zel::Dialogs::message(nullptr, QStringLiteral("Zelmora already exists."));
        return 0;
    }

    zel::QSettingsStore store;
    zel::SqliteBaseFile baseFile;
    zel::PgServerBases serverBases;
    zel::HttpTimeouts timeouts;
    timeouts.idleMs = zel::serviceIdleMs(timeouts.idleMs);
    zel::ModuleTroubleNotice trouble;
    zel::Facility<zel::INetFacilities> netFacilities(zel::netModule(), zel::kNetModuleOpen, trouble.handler(),
                                                     zel::netFacilitiesWith(timeouts));
    zel::LazyNet net(netFacilities);
    zel::SystemIdleClock idle;
    zel::SystemClock clock;
    zel::LocalFiles files;
    zel::DeferredRestart restart;
    zel::Facility<zel::IWorkbooks> workbooks(zel::workbookModule(), zel::kWorkbookModuleOpen, trouble.handler());
    zel::Facility<zel::ISummaryCharts> charts(zel::chartsModule(), zel::kSummaryChartsOpen, trouble.handler());
    zel::AppServices services{store, QCoreApplication::applicationFilePath(), &baseFile, &workbooks, &charts};
    services.serverBases = &serverBases;
    services.http = &net;
    services.downloader = &net;
    services.connectivity = &net;
    services.idle = &idle;
    services.clock = &clock;
    services.files = &files;
    services.restart = &restart;
    zel::TForm1 form1(services);
    trouble.setLog(&form1.activityLog());
    // The windows below that are never shown stand in the start-up order of
    // the program; each command makes a window of its own. The cubature
    // table, the base window, help and feedback do nothing the user could
    // see or that is stored when they are made, so they are made once the
    // main window is on the screen; the others keep their place (the
    // settings window gives the settings their start values, the preview
    // writes to the log).
    std::optional<zel::TForm3> form3;
    std::optional<zel::TForm4> form4;
    zel::TForm5 form5(&form1, form1.services());
    form1.setSettingsWindow(&form5);
    zel::TForm6 form6(nullptr, form1.activityLog(), zel::reportFilePath(services.programFile));
    std::optional<zel::TForm9> form9;
    std::optional<zel::TForm10> form10;
    form1.show();
    zel::afterFirstShow(form1, [&] {
        form3.emplace(&form1, form1.services());
        form4.emplace(&form1, form1.lists(), form1.services());
        form9.emplace(&form1);
        form10.emplace(&form1, form1.online());
    });
#ifdef ZELMORA_BENCH_HOOK
    // The start-up benchmark's build: end the moment the window is on the screen.
    if (qEnvironmentVariableIsSet("ZELMORA_BENCH_EXIT_WHEN_SHOWN"))
        zel::endWhenExposed(form1);
#endif
    const int code = app.exec();
    // After an update: the lists and settings are saved; the new program
    // starts once this copy has let go of the single instance.
    restart.runIfRequested(instance);
    return code;
}
