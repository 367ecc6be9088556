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
#include <fcntl.h>
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

// On the X server when there is one (under Xvfb), else offscreen. A program
// ended at its window writes the moment it was shown to `shownFd` (as its
// descriptor 3) when one is given.
pid_t spawnProgram(bool exitWhenShown, const char* file = ZELMORA_PROGRAM, int shownFd = -1)
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
    // Both programs in one bus environment: the one given, or where none is
    // given none at all, so that neither waits on a bus launch the other
    // is spared.
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        env.push_back("DBUS_SESSION_BUS_ADDRESS=disabled:");
    env.push_back("TMPDIR=" + g_home);
    if (exitWhenShown)
        env.push_back("ZELMORA_BENCH_EXIT_WHEN_SHOWN=1");
    if (shownFd >= 0)
        env.push_back("ZELMORA_BENCH_SHOWN_FD=3");
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (shownFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, shownFd, 3);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// A start timed to the program's window: the moment the program reports it
// was shown, from just before it was spawned; and to the end of the process
// (the kernel's release of it included), which is what a start once was
// timed to. Negative when the program did not start and end cleanly.
struct StartTimes {
    double toWindow = -1.0;
    double toEnd = -1.0;
};

StartTimes timeStart(const char* file)
{
    removeLeftLocks();
    int shown[2];
    if (pipe2(shown, O_CLOEXEC) != 0)
        return {};
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = spawnProgram(true, file, shown[1]);
    close(shown[1]);
    // Up to the line's end, not the pipe's: a process the program started
    // (a bus launcher, say) may hold the descriptor open after it has gone.
    std::string report;
    char buffer[64];
    for (ssize_t n; report.find('\n') == std::string::npos && (n = read(shown[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<size_t>(n));
    close(shown[0]);
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
    const auto t1 = std::chrono::steady_clock::now();
    if (pid < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || report.empty())
        return {};
    // The monotonic clock is the steady clock's.
    const auto shownAt = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(std::stoll(report)));
    return {std::chrono::duration<double>(shownAt - t0).count(), std::chrono::duration<double>(t1 - t0).count()};
}

void BM_ColdStartToWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        const double seconds = timeStart(ZELMORA_PROGRAM).toWindow;
        if (seconds < 0) {
            state.SkipWithError("the program did not start and end cleanly");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_ColdStartToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

// The program against a bare Qt Widgets window, started in turn so that both
// see the same load on the machine; the time is the program's, the ratio of
// the two medians a counter (ratio_to_end: the same, timed to the ends of
// the two processes).
// ZELMORA_BENCH_PROGRAM names another build of the program to time against
// the same bare window (an earlier one, to compare).
void BM_StartRatioToBareWindow(benchmark::State& state)
{
    const char* other = std::getenv("ZELMORA_BENCH_PROGRAM");
    const char* file = other && *other ? other : ZELMORA_PROGRAM;
    std::vector<double> program, bare, programToEnd, bareToEnd;
    for (auto _ : state) {
        const StartTimes b = timeStart(BARE_PROGRAM);
        const StartTimes p = timeStart(file);
        if (b.toWindow < 0 || p.toWindow < 0) {
            state.SkipWithError("a program did not start and end cleanly");
            return;
        }
        bare.push_back(b.toWindow);
        program.push_back(p.toWindow);
        bareToEnd.push_back(b.toEnd);
        programToEnd.push_back(p.toEnd);
        state.SetIterationTime(p.toWindow);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    state.counters["bare_ms"] = median(bare) * 1000.0;
    state.counters["ratio"] = median(program) / median(bare);
    state.counters["ratio_to_end"] = median(programToEnd) / median(bareToEnd);
}
// 30 starts of each a repetition: with 15 the ratio of one run to the next
// moved by a tenth on this machine.
BENCHMARK(BM_StartRatioToBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(30)->Repetitions(3);

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
