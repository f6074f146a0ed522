#include "support/history.h"

#include "names/database.h"
#include "names/encoding.h"
#include "names/merge.h"
#include "names/name_database.h"
#include "names/recovery.h"
#include "support/fault_primitives.h"

#include <QTemporaryDir>
#include <array>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace tavolin::test {
namespace {

namespace fs = std::filesystem;

// Windows-1252 names, some of whose UTF-8 bytes hold B3 ("ó" is C3 B3).
constexpr std::array<std::string_view, 8> kPool = {"Anna", "Eva",  "Zo\xEB", "Ram\xF3n",
                                                   "Ida",  "Otto", "L\xFC",  "Bj\xF6rn"};
constexpr int kFillers = 8000; // about 90 KB: more than one write piece

std::string Utf8(std::string_view name) {
    return DecodeName(name).toUtf8().toStdString();
}

std::optional<std::string> ReadAllBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAllBytes(const fs::path& path, std::string_view bytes, std::ios::openmode mode = std::ios::trunc) {
    std::ofstream(path, std::ios::binary | mode).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> NamesIn(std::string bytes) {
    NameList names;
    ParseNameLines(NameFileOf({std::move(bytes), {}}).lines, names);
    return {names.begin(), names.end()};
}

// Makes the nth step of the file layer fail, or kills the copy there.
struct Trigger {
    int countdown = 0;
    std::function<void()> atKill;
};

bool Fire(Trigger& trigger) {
    if (trigger.countdown <= 0 || --trigger.countdown > 0)
        return false;
    if (trigger.atKill)
        std::exchange(trigger.atKill, nullptr)();
    return true;
}

enum class Status { Required, Forbidden, Maybe };

struct Copy {
    std::shared_ptr<Trigger> faults = std::make_shared<Trigger>();
    std::shared_ptr<Trigger> recoveryFaults = std::make_shared<Trigger>();
    std::unique_ptr<NameDatabase> database;
    std::unique_ptr<LastChange> last;
    std::optional<std::pair<bool, std::string>> undo; // the model's: added (true) or removed, and the name
};

class History {
public:
    explicit History(bool big) {
        std::string initial = "Anna\xB3\r\nEva\xB3\r\n";
        status_["Anna"] = status_["Eva"] = Status::Required;
        for (int i = 0; big && i < kFillers; ++i) {
            const std::string filler = "Fill" + std::to_string(i);
            initial += filler + "\xB3\r\n";
            status_[filler] = Status::Required;
        }
        WriteAllBytes(File(), initial);
        recoveryPath_ = RecoveryFile(State(), Database()).Path().Native().toStdString();
    }

    std::optional<std::string> Run(const std::vector<HistoryStep>& steps) {
        for (std::size_t i = 0; i < steps.size() && !broken_; ++i) {
            number_ = i + 1;
            Apply(steps[i]);
            if (!broken_)
                CheckFiles(false);
        }
        if (!broken_)
            CheckEnd();
        return broken_;
    }

private:
    fs::path File() const { return dir_.filePath(QStringLiteral("fnames.dat")).toStdString(); }
    FilePath Database() const { return dir_.filePath(QStringLiteral("fnames.dat")); }
    FilePath State() const { return dir_.filePath(QStringLiteral("state")); }

    void Break(const std::string& what) {
        if (!broken_)
            broken_ = "step " + std::to_string(number_) + ": " + what;
    }

    Status StatusOf(const std::string& name) const {
        const auto it = status_.find(name);
        return it == status_.end() ? Status::Forbidden : it->second;
    }

    // A name the player takes out: gone for good, unless a copy holds it
    // and could keep it nowhere (it cannot hear of the removal).
    Status RemovedStatus(const std::string& name) const {
        for (const Copy& copy : copies_) {
            if (copy.database && copy.database->IsUnsaved(name) && !copy.database->UnsavedKept())
                return Status::Maybe;
        }
        return Status::Forbidden;
    }

    bool Start(Copy& copy) {
        if (copy.database)
            return true;
        if (!fs::exists(File()))
            return false; // the program reports the missing file and ends
        copy.database = std::make_unique<NameDatabase>(Database(), DatabaseOptions{State(), {}});
        copy.last = std::make_unique<LastChange>();
        copy.undo.reset();
        copy.database->Read();
        copy.database->Parse();
        try {
            copy.database->Recover();
        } catch (const FileError&) {
            // Reported; the names stay kept.
        }
        return true;
    }

    void Kill(Copy& copy) {
        if (!copy.database)
            return;
        for (auto& [name, status] : status_) {
            if (status == Status::Required && copy.database->IsUnsaved(name) && !copy.database->UnsavedKept())
                status = Status::Maybe; // the player was told they could not be kept
        }
        copy.last.reset();
        copy.database.reset();
    }

    void Outside(const HistoryStep& step) {
        const std::optional<std::string> bytes = ReadAllBytes(File());
        const std::string fresh = "Ext" + std::to_string(++outside_);
        switch (step.kind) {
        case HistoryStep::Kind::Append:
            WriteAllBytes(File(), fresh + "\xB3\r\n", std::ios::app);
            status_[fresh] = Status::Required;
            break;
        case HistoryStep::Kind::Rewrite: {
            if (!bytes)
                return;
            std::string lf;
            for (const char c : *bytes)
                if (c != '\r')
                    lf.push_back(c);
            WriteAllBytes(File().string() + ".new", lf + fresh + "\xB3\n");
            fs::rename(File().string() + ".new", File());
            status_[fresh] = Status::Required;
            break;
        }
        case HistoryStep::Kind::SameSizeEdit: {
            if (!bytes)
                return;
            const std::vector<std::string> names = NamesIn(*bytes);
            const auto it = std::find_if(names.begin(), names.end(),
                                         [&](const std::string& n) { return !n.empty() && n[0] != 'Q'; });
            if (it == names.end() || status_.count('Q' + it->substr(1)) != 0)
                return;
            struct stat before {};
            ::stat(File().c_str(), &before);
            std::fstream file(File(), std::ios::binary | std::ios::in | std::ios::out);
            file.seekp(static_cast<std::streamoff>(bytes->find(*it + '\xB3')));
            file.put('Q');
            file.close();
            const std::array<timespec, 2> times{before.st_atim, before.st_mtim};
            ::utimensat(AT_FDCWD, File().c_str(), times.data(), 0);
            status_[*it] = Status::Maybe;
            status_['Q' + it->substr(1)] = Status::Required;
            break;
        }
        case HistoryStep::Kind::Delete:
            fs::remove(File());
            for (auto& entry : status_)
                entry.second = Status::Maybe; // a copy writes the file anew from what it holds
            break;
        case HistoryStep::Kind::BreakRecovery:
            for (const std::string& name : NamesIn(ReadAllBytes(recoveryPath_).value_or("")))
                status_[name] = Status::Maybe;
            fs::remove(recoveryPath_);
            fs::create_directories(recoveryPath_);
            break;
        case HistoryStep::Kind::HardLink: {
            std::error_code error;
            if (!fs::remove(File().string() + ".link", error) && bytes)
                fs::create_hard_link(File(), File().string() + ".link");
            break;
        }
        default:
            break;
        }
    }

    // The command of a player; returns whether it went through, nothing
    // when there was nothing to do.
    std::optional<bool> Command(const HistoryStep& step, Copy& copy) {
        NameDatabase& database = *copy.database;
        const std::string name(kPool[step.name % kPool.size()]);
        const std::string second(kPool[(step.name + 3) % kPool.size()]);
        const auto accepted = [&](const std::string& n) {
            return database.IsUnsaved(n) ? Status::Required : StatusOf(n);
        };
        try {
            switch (step.kind) {
            case HistoryStep::Kind::Add:
                if (copy.last->Add(database, name) != NameDatabase::AddResult::Present)
                    copy.undo = {true, name};
                status_[name] = Status::Required;
                return true;
            case HistoryStep::Kind::MergeDatabase:
            case HistoryStep::Kind::MergeList: {
                const bool list = step.kind == HistoryStep::Kind::MergeList;
                const fs::path foreign = dir_.filePath(QStringLiteral("foreign")).toStdString();
                WriteAllBytes(foreign, list ? "\xEF\xBB\xBF" + Utf8(name) + "\n" + Utf8(second) + "\n"
                                            : name + "\xB3\r\n" + second + "\xB3\r\n");
                LineList lines;
                NameList names;
                LoadMergeDatabase(QString::fromStdString(foreign.string()), lines, names);
                if (std::vector<std::string>(names.begin(), names.end()) != std::vector<std::string>{name, second})
                    Break("the foreign file's names are read wrongly");
                try {
                    database.Merge(names);
                } catch (const FileError&) {
                    status_[name] = accepted(name);
                    status_[second] = accepted(second);
                    throw;
                }
                status_[name] = status_[second] = Status::Required;
                return true;
            }
            case HistoryStep::Kind::Remove:
                if (!database.Names().contains(name))
                    return std::nullopt; // the menu offers no removal
                if (copy.last->Remove(database, name)) {
                    copy.undo = {false, name};
                    status_[name] = RemovedStatus(name);
                }
                return true;
            case HistoryStep::Kind::Undo: {
                if (copy.last->CanUndo() != copy.undo.has_value())
                    Break("the undo offered is not the last change");
                if (!copy.undo)
                    return std::nullopt;
                const auto [added, undone] = *copy.undo;
                try {
                    copy.last->Undo();
                } catch (const FileError&) {
                    if (!added) {
                        copy.undo.reset(); // put back as every add: kept
                        status_[undone] = accepted(undone);
                    }
                    throw;
                }
                copy.undo.reset();
                status_[undone] = added ? RemovedStatus(undone) : Status::Required;
                return true;
            }
            default:
                return std::nullopt;
            }
        } catch (const FileError&) {
            if (step.kind == HistoryStep::Kind::Add && database.IsUnsaved(name)) {
                copy.undo = {true, name};
                status_[name] = Status::Required;
            }
            return false;
        }
    }

    void Apply(const HistoryStep& step) {
        if (step.kind >= HistoryStep::Kind::Append) {
            Outside(step);
            return;
        }
        Copy& copy = copies_[step.copy % copies_.size()];
        if (step.kind == HistoryStep::Kind::Kill) {
            Kill(copy);
            return;
        }
        if (!Start(copy))
            return;
        // What a kill at the failing step leaves: the files as they are then.
        std::optional<std::string> fileAtKill;
        std::optional<std::string> keptAtKill;
        std::vector<std::string> unsavedAtKill;
        bool killed = false;
        const auto atKill = [&] {
            killed = true;
            fileAtKill = ReadAllBytes(File());
            keptAtKill = ReadAllBytes(recoveryPath_);
            for (const auto& entry : status_)
                if (copy.database->IsUnsaved(entry.first) && !copy.database->UnsavedKept())
                    unsavedAtKill.push_back(entry.first); // the player was told they are not kept
        };
        copy.faults->countdown = step.fail;
        copy.recoveryFaults->countdown = step.failRecovery;
        copy.faults->atKill = step.kill ? std::function<void()>(atKill) : nullptr;
        copy.recoveryFaults->atKill = copy.faults->atKill;
        const std::map<std::string, Status> before = status_;
        const auto undoBefore = copy.undo;
        const std::optional<bool> done = Command(step, copy);
        copy.faults->countdown = copy.recoveryFaults->countdown = 0;
        copy.faults->atKill = copy.recoveryFaults->atKill = nullptr;
        if (killed) {
            // Nothing after the kill happened: the command's names may or
            // may not have arrived.
            for (auto& [name, status] : status_) {
                const auto it = before.find(name);
                if (it == before.end() || it->second != status)
                    status = Status::Maybe;
            }
            if (undoBefore)
                status_[undoBefore->second] = Status::Maybe;
            status_[std::string(kPool[step.name % kPool.size()])] = Status::Maybe;
            if (step.kind == HistoryStep::Kind::MergeDatabase || step.kind == HistoryStep::Kind::MergeList)
                status_[std::string(kPool[(step.name + 3) % kPool.size()])] = Status::Maybe;
            // What the copy held only in memory then is gone with it.
            std::vector<std::string> stored = NamesIn(fileAtKill.value_or(""));
            const std::vector<std::string> kept = NamesIn(keptAtKill.value_or(""));
            stored.insert(stored.end(), kept.begin(), kept.end());
            for (const std::string& name : unsavedAtKill)
                if (std::find(stored.begin(), stored.end(), name) == stored.end())
                    status_[name] = Status::Maybe;
            Restore(File(), fileAtKill);
            Restore(recoveryPath_, keptAtKill);
            copy.last.reset();
            copy.database.reset();
            return;
        }
        if (done == false && step.fail == 0 && step.failRecovery == 0)
            Break("a command failed with nothing in its way");
        if (done.value_or(false) && copy.database->UnsavedCount() != 0)
            Break("a change that went through left names unsaved");
        if (done.value_or(false) && fs::exists(File()) &&
            std::vector<std::string>(copy.database->Names().begin(), copy.database->Names().end()) !=
                NamesIn(ReadAllBytes(File()).value_or("")))
            Break("a copy whose change went through holds other names than the file");
    }

    static void Restore(const fs::path& path, const std::optional<std::string>& bytes) {
        if (bytes)
            WriteAllBytes(path, *bytes);
        else
            fs::remove(path);
    }

    // No name the model forbids, no name twice; at the end every name the
    // model requires, before it in the file or still held somewhere.
    void CheckFiles(bool end) {
        const std::optional<std::string> bytes = ReadAllBytes(File());
        const std::vector<std::string> names = bytes ? NamesIn(*bytes) : std::vector<std::string>();
        std::set<std::string> present;
        for (const std::string& name : names) {
            if (!present.insert(name).second)
                Break("\"" + name + "\" is in the file twice");
            if (StatusOf(name) == Status::Forbidden)
                Break("\"" + name + "\" is in the file, though nobody added it or the player removed it");
        }
        std::set<std::string> held = present;
        if (!end) {
            for (const std::string& name : NamesIn(ReadAllBytes(recoveryPath_).value_or("")))
                held.insert(name);
            for (const Copy& copy : copies_) {
                for (const auto& [name, status] : status_)
                    if (copy.database && copy.database->IsUnsaved(name))
                        held.insert(name);
            }
        }
        for (const auto& [name, status] : status_) {
            if (status == Status::Required && held.count(name) == 0)
                Break("\"" + name + "\" was accepted and is lost");
        }
    }

    void CheckEnd() {
        number_ = 0;
        for (Copy& copy : copies_)
            Kill(copy);
        Copy fresh;
        if (Start(fresh)) {
            if (fs::exists(recoveryPath_))
                Break("after a start without failures names are still waiting in the recovery file");
            CheckFiles(true);
        } else {
            for (const auto& [name, status] : status_)
                if (status == Status::Required)
                    status_[name] = Status::Maybe; // the file is gone; what remains is kept
        }
        Kill(fresh);
    }

    QTemporaryDir dir_;
    fs::path recoveryPath_;
    std::array<Copy, 3> copies_;
    std::map<std::string, Status> status_;
    int outside_ = 0;
    std::size_t number_ = 0;
    std::optional<std::string> broken_;
    // The steps of the database's file layer and of its recovery file's,
    // each counted by the copy running a command (the others' triggers are
    // not set).
    ScopedSaveFaults faults_{[this](SaveStep, const FilePath& file) {
        bool fail = false;
        for (Copy& copy : copies_)
            fail = Fire(IsRecoveryFile(file) ? *copy.recoveryFaults : *copy.faults) || fail;
        return fail;
    }};
};

} // namespace

std::optional<std::string> RunHistory(const std::vector<HistoryStep>& steps, bool big) {
    return History(big).Run(steps);
}

std::string Describe(const std::vector<HistoryStep>& steps) {
    static constexpr std::array<const char*, static_cast<int>(HistoryStep::Kind::Count)> kKinds = {
        "Add",    "MergeDatabase", "MergeList",    "Remove", "Undo",     "Kill",
        "Append", "Rewrite",       "SameSizeEdit", "Delete", "HardLink", "BreakRecovery"};
    std::string text;
    for (const HistoryStep& step : steps) {
        text += std::string("{K::") + kKinds[static_cast<int>(step.kind)] + ", " + std::to_string(step.copy) + ", " +
                std::to_string(step.name) + ", " + std::to_string(step.fail) + ", " +
                std::to_string(step.failRecovery) + (step.kill ? ", true" : "") + "},\n";
    }
    return text;
}

std::vector<HistoryStep> StepsFromBytes(const std::uint8_t* data, std::size_t size) {
    std::vector<HistoryStep> steps;
    for (std::size_t i = 0; i + 5 <= size && steps.size() < 64; i += 5) {
        HistoryStep step;
        step.kind = static_cast<HistoryStep::Kind>(data[i] % static_cast<int>(HistoryStep::Kind::Count));
        step.copy = static_cast<std::uint8_t>(data[i + 1] % 3);
        step.name = data[i + 2];
        step.fail = static_cast<std::uint8_t>((data[i + 3] & 0x7F) % 12);
        step.kill = (data[i + 3] & 0x80) != 0;
        step.failRecovery = static_cast<std::uint8_t>(data[i + 4] % 8);
        steps.push_back(step);
    }
    return steps;
}

} // namespace tavolin::test
