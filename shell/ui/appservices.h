// What the windows need from the platform, handed to them at creation.
#pragma once

#include "cubtable/spreadsheet.h"

#include <QString>

namespace zel {

class ISettingsStore;
class IBaseFile;

struct AppServices {
    ISettingsStore& store;
    // The program's own file: the log, the report, the base and the update
    // files live beside it.
    QString programFile;
    // Starts the spreadsheet application the cubature table is exported through.
    SpreadsheetFactory spreadsheet;
    // Keeps the calculation base.
    IBaseFile* baseFile = nullptr;
};

} // namespace zel
