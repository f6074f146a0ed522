#include "benchdata.h"
#include "cli/command_line.h"
#include "fileio/fileio.h"
#include "namegen.h"
#include "names/database.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace Qt::StringLiterals;

namespace tavolin::bench {
namespace {

// A program folder as a player's: the program with two databases of a million
// names each beside it, made once.
const QString& MillionNameProgramFolder() {
    static const QTemporaryDir kDir;
    static const QString kPath = [] {
        SaveFileAtomically(kDir.filePath(kFemaleDatabaseFile), MillionNameBytes());
        SaveFileAtomically(kDir.filePath(kMaleDatabaseFile), MakeDatabaseBytes(kMillion, 4711));
        QFile::copy(QStringLiteral(TAVOLIN_EXECUTABLE), kDir.filePath(u"tavolin"_s));
        return kDir.path();
    }();
    return kPath;
}

class CountingTerminal final : public Terminal {
public:
    void Out(const QString&) override { ++lines; }
    void Err(const QString&) override { ++messages; }
    std::size_t lines = 0;
    std::size_t messages = 0;
};

// `tavolin --name --anzahl 10` through the function main() hands it to: the
// data folder chosen, both databases read, split and parsed, ten different
// names drawn and written. The memory goes back to the system outside the
// timing, as in BM_ReadSplitParse.
void BM_CommandLineDraw(benchmark::State& state) {
    const QString& folder = MillionNameProgramFolder();
    const CommandEnvironment environment{JoinPath(folder, u"tavolin"_s), {}, 42};
    const QStringList arguments{u"tavolin"_s, u"--name"_s, u"--anzahl"_s, u"10"_s};
    CountingTerminal terminal;
    int exitCode = 0;
    for (auto _ : state) {
        terminal = CountingTerminal();
        exitCode = RunCommand(arguments, environment, terminal);
        state.PauseTiming();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
    if (exitCode != kExitDone || terminal.lines != 10 || terminal.messages != 0)
        state.SkipWithError("the draw did not give ten names");
}
BENCHMARK(BM_CommandLineDraw)->Unit(benchmark::kMillisecond);

// The same command as a player types it: the program started in a process of
// its own, its names written to /dev/null.
void BM_CommandLineProcess(benchmark::State& state) {
    const QByteArray program = QFile::encodeName(MillionNameProgramFolder() + u"/tavolin"_s);
    char* const argv[] = {const_cast<char*>(program.constData()), const_cast<char*>("--name"),
                          const_cast<char*>("--anzahl"), const_cast<char*>("10"), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    int status = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid) {
            state.SkipWithError("the program did not start");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != kExitDone)
        state.SkipWithError("the program did not draw");
}
BENCHMARK(BM_CommandLineProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: both files read, split into raw lines and parsed into names, as
// BM_ReadSplitParse does with one.
void BM_ReadSplitParseBoth(benchmark::State& state) {
    const QString& folder = MillionNameProgramFolder();
    std::size_t count = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<LineList>> lines;
        std::vector<std::unique_ptr<NameList>> names;
        for (const QString& file : {kFemaleDatabaseFile, kMaleDatabaseFile}) {
            lines.push_back(std::make_unique<LineList>(ReadNameFile(JoinPath(folder, file)).lines));
            names.push_back(std::make_unique<NameList>());
            ParseNameLines(*lines.back(), *names.back());
        }
        state.PauseTiming();
        count = names[0]->size() + names[1]->size();
        lines.clear();
        names.clear();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
    if (count != 2 * kMillion)
        state.SkipWithError("unexpected number of names");
}
BENCHMARK(BM_ReadSplitParseBoth)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench
