// Runs a benchmark program's cases with a main window on the offscreen
// platform, its program file in a temporary folder.
#pragma once

#include "../tests/fakes/memorystore.h"
#include "../tests/fakes/testservices.h"
#include "app/application.h"
#include "shell/settings.h"
#include "app/tform1.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace zel {

// n round lines of distinct diameter and length (3 to 120 cm, from 1.0 m up
// by 0.1 m every 118 lines), so that none merges with another.
inline Lines distinctRoundLines(int n)
{
    Lines lines;
    for (int i = 0; i < n; ++i)
        lines.append(newRoundLine(QString::number(3 + i % 118), 1.0 + (i / 118) / 10.0,
                                  QString::number(1 + i % 7)));
    return lines;
}

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

// The lists' benchmarks: pine at 8 % moisture, 0.5 cm/m of taper, the
// main window shown; `form` points at it while the cases run.
inline int runWithShownMainWindow(int argc, char** argv, TForm1*& form)
{
    Settings.TypeWood = 4;
    Settings.WetWood = 8;
    Settings.DownGradeWood = 1;
    return runWithMainWindow(argc, argv, {}, [&form](TForm1& f) {
        f.show();
        form = &f;
    });
}

} // namespace zel
