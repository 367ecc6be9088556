// What the windows need from the platform, handed to them at creation.
#pragma once

#include "cubtable/spreadsheet.h"
#include "lists/listsheet.h"
#include "online/servicehost.h"

#include <QString>

#include <functional>

namespace zel {

class ISettingsStore;
class IBaseFile;
class IHttpClient;
class IDownloader;
class IConnectivity;
class IIdleClock;
class IClock;
class IFileOps;
class IRestart;
class ISummaryCharts;

struct AppServices {
    ISettingsStore& store;
    // The program's own file: the log, the report, the base and the update
    // files live beside it.
    QString programFile;
    // Starts the spreadsheet application the cubature table is exported through.
    SpreadsheetFactory spreadsheet;
    // Keeps the calculation base.
    IBaseFile* baseFile = nullptr;
    // Writes the list's workbook (the export to .xlsx).
    ListWorkbookWriter listWorkbook{};
    // Draws the lot summary's chart; without it the chart's place stays empty.
    ISummaryCharts* charts = nullptr;

    // Online services. Without a connectivity test the machine counts as
    // offline, so nothing is requested; without an idle clock there is no
    // automatic update check. A missing clock or file access takes the
    // system's own.
    IHttpClient* http = nullptr;
    IDownloader* downloader = nullptr;
    IConnectivity* connectivity = nullptr;
    IIdleClock* idle = nullptr;
    IClock* clock = nullptr;
    IFileOps* files = nullptr;
    IRestart* restart = nullptr;
    ServiceHosts hosts{};
    // The system's default beep when empty.
    std::function<void()> beep{};
};

} // namespace zel
