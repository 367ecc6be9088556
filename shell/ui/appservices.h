// What the windows need from the platform, handed to them at creation.
#pragma once

#include "online/servicehost.h"
#include "shell/facility.h"
#include "shell/ui/dialogs.h"

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

namespace zel {

class ISettingsStore;
class IBaseFile;
class IServerBases;
class IHttpClient;
class IDownloader;
class IConnectivity;
class IIdleClock;
class IClock;
class IFileOps;
class IRestart;
class ISummaryCharts;
class IWorkbooks;
class AppEvents;
class Log;

struct AppServices {
    ISettingsStore& store;
    // The program's own file: the update files live beside it, the log, the
    // report and the base where keptFile() says.
    QString programFile;
    // Keeps the calculation base.
    IBaseFile* baseFile = nullptr;
    // The cubature table's spreadsheet and the list's workbook (the export
    // to .xlsx); without them neither can be written.
    Facility<IWorkbooks>* workbooks = nullptr;
    // Draws the lot summary's chart; without it the chart's place stays empty.
    Facility<ISummaryCharts>* charts = nullptr;

    // Online services. Without a connectivity test the machine counts as
    // offline, so nothing is requested; without an idle clock there is no
    // automatic update check; without file access a downloaded update is
    // not put in place. A missing clock takes the system's own.
    IHttpClient* http = nullptr;
    IDownloader* downloader = nullptr;
    IConnectivity* connectivity = nullptr;
    IIdleClock* idle = nullptr;
    IClock* clock = nullptr;
    IFileOps* files = nullptr;
    IRestart* restart = nullptr;
    ServiceHosts hosts{};
    // The activity log, and what the windows tell each other; the main
    // window makes both when it is not given them.
    zel::Log* log = nullptr;
    AppEvents* events = nullptr;
    // Where an error that a window caught but cannot show itself goes; a
    // plain message box when empty.
    std::function<void(QObject* sender, const std::exception& error)> reportError{};

    // The system's default beep when empty.
    std::function<void()> beep{};
    // The calculation base on an office's server, when the settings name
    // one; without it the base is the file.
    IServerBases* serverBases = nullptr;
    // The program downloads and puts in place its own updates; a build for a
    // package manager (ZELMORA_SELF_UPDATE off) leaves that to the system's
    // package updates and never checks by itself.
    bool selfUpdate = ZELMORA_SELF_UPDATE;

    void playBeep() const
    {
        if (beep)
            beep();
        else
            QApplication::beep();
    }
    void report(QObject* sender, const std::exception& error) const
    {
        if (reportError)
            reportError(sender, error);
        else
            Dialogs::warning(nullptr, QString::fromUtf8(error.what()));
    }
};

} // namespace zel
