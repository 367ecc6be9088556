// The calculation base on a server: opening the base window over a base of
// 1,000,000 records on a local socket (goal: under 300 ms), reading the next
// page as the view scrolls, and saving one more. The PostgreSQL server is
// started in a temporary folder and filled on the server side; without one
// the program says why and measures nothing.
#include "windowbench.h"
#include "../tests/fakes/temppostgres.h"
#include "base/platform/pgbase.h"
#include "base/ui/serverbasemodel.h"
#include "base/ui/tform4.h"

#include <QSqlError>

#include <cstdio>

namespace {

constexpr int kRecords = 1000000;
zel::TForm1* g_form = nullptr;
zel::ServerPlace g_place;

void BM_Open1000000Records(benchmark::State& state)
{
    for (auto _ : state) {
        zel::TForm4 base(g_form, g_form->lists(), g_form->services());
        base.show(); // connects, and reads the first page
        QCoreApplication::processEvents();
        if (!base.serverRecords() || base.serverRecords()->rowCount() != zel::kServerPage)
            state.SkipWithError("the base was not read");
        base.hide();
    }
}
BENCHMARK(BM_Open1000000Records)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_NextPage(benchmark::State& state)
{
    zel::PgServerBase base(g_place);
    qint64 below = 0;
    for (auto _ : state) {
        const std::vector<zel::BaseRecord> page = base.page(below, zel::kServerPage);
        below = page.size() == size_t(zel::kServerPage) ? page.back().No : 0;
    }
}
BENCHMARK(BM_NextPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SaveOneMore(benchmark::State& state)
{
    zel::PgServerBase base(g_place);
    const zel::BaseRecord r = zel::makeRecord(QDateTime::currentDateTime(), QStringLiteral("ГОСТ 2708-75"),
                                              QStringLiteral("one more"), 1.323, {QStringLiteral("20 см.")});
    for (auto _ : state)
        base.add(r);
}
BENCHMARK(BM_SaveOneMore)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    TempPostgres server;
    bool filled = false;
    return zel::runWithMainWindow(
        argc, argv,
        [&](QTemporaryDir&) {
            const QString why = server.startForQt();
            if (!why.isEmpty() || !server.createDatabase(QStringLiteral("bench"))) {
                std::fprintf(stderr, "No server to measure: %s\n", qPrintable(why));
                return;
            }
            g_place = {server.socketFolder(), QStringLiteral("bench"), QStringLiteral("zelmora")};
            zel::PgServerBase(g_place).open(); // the tables
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("fill"));
                db.setConnectOptions(QStringLiteral("host=%1 dbname=bench user=zelmora").arg(server.socketFolder()));
                QSqlQuery q(db);
                filled = db.open()
                         && q.exec(QStringLiteral(
                                "INSERT INTO zelmora_records (datetime, category, name, volume, notes, who, computer)"
                                " SELECT timestamp '2020-01-01' + g * interval '1 minute', 'ГОСТ 2708-75',"
                                " 'Calculation ' || g, 1.323,"
                                " repeat(E'20 см.\\r\\n4,00 м.\\r\\n3 шт.\\r\\n0,4410 м3.\\r\\n', 3),"
                                " 'clerk', 'desk ' || g % 7 FROM generate_series(1, %1) g").arg(kRecords))
                         && q.exec(QStringLiteral("VACUUM ANALYZE zelmora_records"));
                if (!filled)
                    std::fprintf(stderr, "The base could not be filled: %s\n", qPrintable(q.lastError().text()));
            }
            QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        },
        [&](zel::TForm1& form) {
            g_form = &form;
            zel::writeServerPlace(form.services().store, g_place);
            if (!filled)
                std::exit(0);
        });
}
