#pragma once

#include "ui/tform1_rooms.h"

#include <QString>
#include <functional>
#include <utility>

namespace tavolin::test {

// What a test reads of the window beyond its controls: the lists as the
// window holds them (with names not saved yet), the merge database loaded,
// the look remembered, and the folder chosen for the databases.
class FormPeer final {
public:
    static const DatabasePair& Databases(const TForm1& form) { return form.rooms_->databases.Pair(); }
    static const NameList& MergeNames(const TForm1& form) { return form.rooms_->merging.mergeNames_; }
    static const LineList& MergeLines(const TForm1& form) { return form.rooms_->merging.mergeLines_; }
    static const Appearance& CurrentAppearance(const TForm1& form) { return form.rooms_->appearance.appearance_; }
    // Runs at every checkpoint of the statistics commands; a throw fails the
    // work there.
    static void SetStatisticsCheckpoints(TForm1& form, std::function<void(int)> hook) {
        form.rooms_->statistics.checkpointHook_ = std::move(hook);
    }
    static QString ProgramDir(const TForm1& form) { return form.programDir_.Display(); }
    static QString FemaleDatabasePath(const TForm1& form) {
        return JoinPath(form.programDir_, kFemaleDatabaseFile).Display();
    }
    static QString MaleDatabasePath(const TForm1& form) {
        return JoinPath(form.programDir_, kMaleDatabaseFile).Display();
    }
};

} // namespace tavolin::test
