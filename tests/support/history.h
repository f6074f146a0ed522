#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavolin::test {

// One thing that happens to the female database of a folder: a command of
// the player in one of three copies of the program, a change by another
// program, or the end of a copy without any save (a kill). A copy that is not
// running is started first, as the program starts: it reads the file and
// writes the names kept in the recovery file.
struct HistoryStep {
    enum class Kind : std::uint8_t {
        Add,
        MergeDatabase, // a foreign database with two names
        MergeList,     // a plain UTF-8 list with two names
        Remove,
        Undo,
        Kill,
        Append,        // another program appends a name
        Rewrite,       // another program replaces the file, with LF and one name more
        SameSizeEdit,  // another program changes a name's first letter, its time restored
        Delete,        // another program deletes the file
        HardLink,      // a second hard link to the file appears, or goes
        BreakRecovery, // a folder takes the recovery file's place
        Count
    };
    Kind kind = Kind::Add;
    std::uint8_t copy = 0; // 0 to 2
    std::uint8_t name = 0; // into a pool of names
    // The nth step (from 1) of the database's file layer fails during the
    // command (the lock, a read, a save's steps); 0: none. The same for the
    // steps of the recovery file.
    std::uint8_t fail = 0;
    std::uint8_t failRecovery = 0;
    // The copy is killed at that step instead: the files stay as they are
    // at that moment, and nothing of the command reaches its end.
    bool kill = false;
};

// Runs the steps on real databases in a new folder (`big`: a file of more
// than one write piece, so that a write can stop halfway) and checks each
// against a plain model of what the player was told: every name whose add
// was accepted (saved, or kept for later) is in the file after the next
// start unless the player removed it later; no name appears that nobody
// added or that the player removed; an undo takes back exactly the player's
// last change; a copy whose change succeeded holds exactly what the file
// holds; a command that nothing stands in the way of goes through. Returns
// the first broken promise, or nothing.
std::optional<std::string> RunHistory(const std::vector<HistoryStep>& steps, bool big = false);

std::string Describe(const std::vector<HistoryStep>& steps);

// Steps from a fuzzer's bytes, five bytes a step.
std::vector<HistoryStep> StepsFromBytes(const std::uint8_t* data, std::size_t size);

} // namespace tavolin::test
