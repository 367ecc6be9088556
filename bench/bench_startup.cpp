// The real program on the offscreen platform: cold start until the main
// window has been shown, and the memory it holds once idle.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string g_home;

// A program ended at its window leaves its single-instance lock behind, as
// one that crashed would; a start after a normal close finds none, and that
// is the start timed.
void removeLeftLocks()
{
    for (const auto& entry : std::filesystem::directory_iterator(g_home))
        if (entry.path().filename().string().rfind("Halvane-", 0) == 0)
            std::filesystem::remove(entry.path());
}

// On the X server when there is one (under Xvfb), else offscreen.
pid_t spawnProgram(bool exitWhenShown, const char* file = ZELMORA_PROGRAM)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v(*e);
        if (v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("XDG_CONFIG_HOME=", 0) == 0
            || v.rfind("TMPDIR=", 0) == 0)
            continue;
        env.push_back(v);
    }
    env.push_back(std::getenv("DISPLAY") ? "QT_QPA_PLATFORM=xcb" : "QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_CONFIG_HOME=" + g_home);
    env.push_back("TMPDIR=" + g_home);
    if (exitWhenShown)
        env.push_back("ZELMORA_BENCH_EXIT_WHEN_SHOWN=1");
    std::vector<char*> envp;
    for (std::string& v : env)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    // Without any network where a namespace can be made: the program must not
    // reach out to its service from a benchmark.
    std::string program = file;
    std::string unshare = "/usr/bin/unshare";
    std::string netFlag = "-n";
    static const bool isolated = access(unshare.c_str(), X_OK) == 0
                                 && std::system("/usr/bin/unshare -n true") == 0;
    std::vector<char*> argv;
    if (isolated) {
        argv.push_back(unshare.data());
        argv.push_back(netFlag.data());
    }
    argv.push_back(program.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    return pid;
}

void BM_ColdStartToWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        removeLeftLocks();
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t pid = spawnProgram(true);
        int status = 0;
        waitpid(pid, &status, 0);
        const auto t1 = std::chrono::steady_clock::now();
        if (pid < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("the program did not start and end cleanly");
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}
BENCHMARK(BM_ColdStartToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

double secondsToShown(const char* file)
{
    removeLeftLocks();
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = spawnProgram(true, file);
    int status = 0;
    waitpid(pid, &status, 0);
    const auto t1 = std::chrono::steady_clock::now();
    if (pid < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1.0;
    return std::chrono::duration<double>(t1 - t0).count();
}

// The program against a bare Qt Widgets window, started in turn so that both
// see the same load on the machine; the time is the program's, the ratio of
// the two medians a counter.
// ZELMORA_BENCH_PROGRAM names another build of the program to time against
// the same bare window (an earlier one, to compare).
void BM_StartRatioToBareWindow(benchmark::State& state)
{
    const char* other = std::getenv("ZELMORA_BENCH_PROGRAM");
    const char* file = other && *other ? other : ZELMORA_PROGRAM;
    std::vector<double> program, bare;
    for (auto _ : state) {
        const double b = secondsToShown(BARE_PROGRAM);
        const double p = secondsToShown(file);
        if (b < 0 || p < 0) {
            state.SkipWithError("a program did not start and end cleanly");
            return;
        }
        bare.push_back(b);
        program.push_back(p);
        state.SetIterationTime(p);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    state.counters["bare_ms"] = median(bare) * 1000.0;
    state.counters["ratio"] = median(program) / median(bare);
}
BENCHMARK(BM_StartRatioToBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(15)->Repetitions(3);

long rssKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void BM_IdleMemory(benchmark::State& state)
{
    long kib = -1;
    for (auto _ : state) {
        const pid_t pid = spawnProgram(false);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        kib = rssKiB(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (kib < 0)
        state.SkipWithError("no memory figure");
    state.counters["RSS_MiB"] = kib / 1024.0;
}
BENCHMARK(BM_IdleMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    char tmpl[] = "/tmp/zelmora-bench-XXXXXX";
    g_home = mkdtemp(tmpl);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::system(("rm -rf " + g_home).c_str());
    return 0;
}
