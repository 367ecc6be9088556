// The service's answers in-process, on SQLite in a temporary folder: the
// cost of one request behind the HTTP layer (a poll, a reply, a new ID). The
// loopback figures with the HTTP layer come from service/loadtest.sh.
#include "service/requests.h"
#include "service/servicestore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zel::service;

namespace {

struct Fixture {
    QTemporaryDir dir;
    ServiceStore store{{dir.filePath(QStringLiteral("bench.db")), {}}};
    RequestHandler handler{store, dir.path()};
    std::int32_t id = store.createId(QDateTime::currentDateTimeUtc());
};

void answer(benchmark::State& state, const QByteArray& target)
{
    Fixture f;
    const QByteArray request = QByteArray(target).replace("{ID}", QByteArray::number(f.id));
    for (auto _ : state) {
        const ServiceAnswer a = f.handler.answer({"GET", request, QStringLiteral("127.0.0.1")});
        benchmark::DoNotOptimize(a.body.data());
        if (a.status != 200)
            state.SkipWithError("request refused");
    }
}

void BM_PollWithoutMessage(benchmark::State& state)
{
    answer(state, "/sp/zm.php?query=getmessage&ID={ID}");
}
BENCHMARK(BM_PollWithoutMessage);

void BM_Reply(benchmark::State& state)
{
    answer(state, "/sp/zm.php?query=sendmessage&ID={ID}&theme=&email=@&message=Halvane:,%CF%F0%E8%E2%B3%F2,User:,thanks");
}
BENCHMARK(BM_Reply);

void BM_CreateId(benchmark::State& state)
{
    answer(state, "/sp/zm.php?query=createID");
}
BENCHMARK(BM_CreateId);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
