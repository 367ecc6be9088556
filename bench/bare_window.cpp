// The yardstick for the start-up benchmark: a bare Qt Widgets program with
// one window holding a label, ending as the program does once it is shown.
#include "bench/benchexit.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Zelmora"));
    label.resize(400, 300);
    label.show();
    if (qEnvironmentVariableIsSet("ZELMORA_BENCH_EXIT_WHEN_SHOWN"))
        zel::endWhenExposed(label);
    return app.exec();
}
