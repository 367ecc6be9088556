// Runs a benchmark program's cases with a main window on the offscreen
// platform, its program file in a temporary folder.
#pragma once

#include "../tests/fakes/memorystore.h"
#include "../tests/fakes/testservices.h"
#include "shell/ui/application.h"
#include "shell/ui/tform1.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace zel {

// `prepare` runs before the window is made (the folder is ready then);
// `ready` once it exists.
inline int runWithMainWindow(int argc, char** argv, const std::function<void(QTemporaryDir&)>& prepare,
                             const std::function<void(TForm1&)>& ready)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    QTemporaryDir dir;
    if (prepare)
        prepare(dir);
    MemoryStore store;
    TForm1 form(testServices(store, dir.filePath(QStringLiteral("zelmora"))));
    if (ready)
        ready(form);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zel
