// Start-up of the window as the program starts it, timed from the moment its
// process is spawned until the window is shown, and its resident memory once
// both name lists are indexed: with empty databases, with the shipped ones and
// with two databases of a million names; and the same for the floor, a plain
// Qt Widgets window of the same size with 29 buttons (tavolin_startup_floor).
// The windows show on Qt's offscreen platform unless QT_QPA_PLATFORM names
// another (xcb with DISPLAY set: an X server). Prints one JSON object;
// bench/run puts it into its table.
//
// Usage: tavolin_startup [--runs N]
#include "namegen.h"
#include "startup_probe.h"
#include "support/form_peer.h"
#include "ui/platform.h"
#include "ui/tform1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace tavolin;

// No box is shown and every dialog is cancelled: nothing may wait for a user.
class SilentPlatform final : public Platform {
public:
    void ShowMessage(const QString&, const QString&, MessageIcon) override { ++messages; }
    bool AskYesNo(const QString&, const QString&) override { return true; }
    std::optional<QString> OpenFile(const FileDialogSpec&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const FileDialogSpec&) override { return std::nullopt; }
    std::optional<QColor> ChooseColor(const QString&, const QColor&) override { return std::nullopt; }
    std::optional<ChosenFont> ChooseFont(const QString&, const ChosenFont&) override { return std::nullopt; }
    void CopyToClipboard(const QString&) override {}
    void PostQuit() override {}

    int messages = 0;
};

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The child: the window, as main() builds it.
int ShowWindow(const char* programDir) {
    bench::UseOffscreenPlatformUnlessChosen();
    int argc = 1;
    char name[] = "tavolin";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    SilentPlatform platform;
    TForm1 form(platform, {QDir(QString::fromLocal8Bit(programDir)).filePath(QStringLiteral("tavolin")), {}, [] {
                               return qint64{1000000000};
                           }});
    const long long shown = bench::ShowAndWait(form);
    // The indexes that the first keystrokes build.
    test::FormPeer::Databases(form).female.Names().contains("");
    test::FormPeer::Databases(form).male.Names().contains("");
    bench::ReportAndExit(shown,
                         test::FormPeer::Databases(form).female.Names().size() +
                             test::FormPeer::Databases(form).male.Names().size(),
                         platform.messages);
}

struct Sample {
    double startupMs = 0;
    long long residentBytes = 0;
    unsigned long long names = 0;
    int messages = 0; // boxes the start-up showed
};

// Spawns a program with its arguments and reads what it prints.
Sample Spawn(std::vector<std::string> command) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> args;
    args.reserve(command.size() + 1);
    for (std::string& arg : command)
        args.push_back(arg.data());
    args.push_back(nullptr);
    pid_t child = 0;
    const long long start = MonotonicNanoseconds();
    if (posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long shown = 0;
    Sample sample;
    if (std::sscanf(output.c_str(), "%lld %lld %llu %d", &shown, &sample.residentBytes, &sample.names,
                    &sample.messages) != 4) {
        std::fprintf(stderr, "the window did not start: %s\n", output.c_str());
        std::exit(1);
    }
    sample.startupMs = static_cast<double>(shown - start) / 1e6;
    return sample;
}

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll().toStdString();
}

template <class T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--window") == 0)
        return ShowWindow(argv[2]);
    int runs = 9;
    if (argc == 3 && std::strcmp(argv[1], "--runs") == 0)
        runs = std::max(1, std::atoi(argv[2]));

    char selfBuffer[4096];
    const ssize_t length = readlink("/proc/self/exe", selfBuffer, sizeof selfBuffer - 1);
    if (length <= 0) {
        std::perror("readlink");
        return 1;
    }
    const std::string self(selfBuffer, static_cast<std::size_t>(length));
    const std::string floor = self.substr(0, self.rfind('/') + 1) + "tavolin_startup_floor";

    QTemporaryDir root;
    // Qt wants a private runtime folder and warns at every start without one.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", root.path().toLocal8Bit()); // made for this user only
    struct Case {
        const char* key;
        QString dir;  // the program folder with the databases; none for the floor
        int messages; // the boxes a start shows: empty databases have no start name
        std::vector<Sample> samples;
    };
    // The shipped databases and the floor start one right after the other:
    // their ratio is taken run by run.
    std::vector<Case> cases = {{"empty", root.filePath(QStringLiteral("empty")), 1, {}},
                               {"million", root.filePath(QStringLiteral("million")), 0, {}},
                               {"shipped", root.filePath(QStringLiteral("shipped")), 0, {}},
                               {"floor", QString(), 0, {}}};
    for (const Case& c : cases) {
        if (!c.dir.isEmpty())
            QDir().mkpath(c.dir);
    }
    const QString data = QStringLiteral(TAVOLIN_DATA_DIR);
    for (const char* file : {"fnames.dat", "mnames.dat"}) {
        const QString name = QString::fromLatin1(file);
        WriteFile(QDir(cases[0].dir).filePath(name), "");
        WriteFile(QDir(cases[2].dir).filePath(name), ReadFile(QDir(data).filePath(name)));
    }
    WriteFile(QDir(cases[1].dir).filePath(QStringLiteral("fnames.dat")), bench::MakeDatabaseBytes(1000000, 7));
    WriteFile(QDir(cases[1].dir).filePath(QStringLiteral("mnames.dat")), bench::MakeDatabaseBytes(1000000, 8));
    const auto start = [&](const Case& c) {
        if (c.dir.isEmpty())
            return Spawn({floor});
        return Spawn({self, "--window", c.dir.toLocal8Bit().toStdString()});
    };

    // One start of each first: font caches and the files' pages are warm
    // for the runs that count, as for a user's second start. The cases take
    // turns, so that a busy moment of the machine falls on all of them.
    for (const Case& c : cases)
        start(c);
    for (int run = 0; run < runs; ++run) {
        for (Case& c : cases)
            c.samples.push_back(start(c));
    }
    for (const Case& c : cases) {
        for (const Sample& sample : c.samples) {
            if (sample.messages != c.messages) {
                std::fprintf(stderr, "unexpected message boxes at the start (%s)\n", c.key);
                return 1;
            }
        }
    }

    const Case& shipped = cases[2];
    const Case& floorCase = cases[3];
    std::vector<double> overFloor;
    overFloor.reserve(static_cast<std::size_t>(runs));
    for (int run = 0; run < runs; ++run)
        overFloor.push_back(shipped.samples[run].startupMs / floorCase.samples[run].startupMs);
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    std::printf("{\n  \"runs\": %d,\n  \"platform\": \"%s\",\n  \"shipped_over_floor\": %.3f", runs,
                qPrintable(platform), Median(overFloor));
    for (const Case& c : cases) {
        std::vector<double> times;
        std::vector<long long> resident;
        for (const Sample& sample : c.samples) {
            times.push_back(sample.startupMs);
            resident.push_back(sample.residentBytes);
        }
        std::printf(",\n  \"%s\": {\"names\": %llu, \"startup_ms\": %.2f, \"resident_bytes\": %lld}", c.key,
                    c.samples.front().names, Median(times), Median(resident));
    }
    std::printf("\n}\n");
    return 0;
}
