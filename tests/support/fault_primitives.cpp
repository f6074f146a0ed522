// The test programs' primitives: the system's own, with the steps that the
// ScopedSaveFaults alive makes fail. Test programs link this file instead of
// tavolin_fileio_system.

#include "support/fault_primitives.h"

#include "fileio/primitives.h"

#include <utility>

namespace tavolin {
namespace test {
namespace {

const StepFaults* active = nullptr;

bool Fails(SaveStep step, const FilePath& file) {
    return active != nullptr && (*active)(step, file);
}

// A file whose writes, syncs and replacement are steps until one of them
// fails, for real or made to: what follows then undoes the write.
class FaultyFile final : public SystemFile {
public:
    FaultyFile(std::unique_ptr<SystemFile> real, FilePath path) : real_(std::move(real)), path_(std::move(path)) {}

    std::optional<FileFacts> Facts() override { return real_->Facts(); }
    std::optional<std::size_t> Read(char* into, std::size_t size) override { return real_->Read(into, size); }
    bool WriteAt(std::string_view bytes, std::uint64_t offset) override {
        return Step(SaveStep::Write) && Went(real_->WriteAt(bytes, offset));
    }
    bool Truncate(std::uint64_t size) override { return real_->Truncate(size); }
    bool Sync() override { return Step(SaveStep::Sync) && Went(real_->Sync()); }
    std::optional<FileIdentity> Replace() override {
        if (!Step(SaveStep::Commit))
            return std::nullopt;
        std::optional<FileIdentity> written = real_->Replace();
        Went(written.has_value());
        return written;
    }
    NativeFile Native() const override { return real_->Native(); }

private:
    // Whether the step may go on to the system.
    bool Step(SaveStep step) {
        if (failed_ || !Fails(step, path_))
            return true;
        failed_ = true;
        return false;
    }
    bool Went(bool went) {
        failed_ = failed_ || !went;
        return went;
    }

    std::unique_ptr<SystemFile> real_;
    FilePath path_;
    bool failed_ = false;
};

class FaultyPrimitives final : public FilePrimitives {
public:
    Opened Open(const FilePath& path, Opening how) override {
        if (how == Opening::ReadAnew && Fails(SaveStep::Read, path))
            return {};
        Opened opened = PlatformPrimitives().Open(path, how);
        if (opened.file)
            opened.file = std::make_unique<FaultyFile>(std::move(opened.file), path);
        return opened;
    }
    Created CreateFor(const FilePath& target, bool replacing, bool privateFile) override {
        if (Fails(SaveStep::Open, target))
            return {};
        Created created = PlatformPrimitives().CreateFor(target, replacing, privateFile);
        if (created.file)
            created.file = std::make_unique<FaultyFile>(std::move(created.file), target);
        return created;
    }
    RangeLock LockRange(const FilePath& target) override {
        if (Fails(SaveStep::Lock, target))
            return {LockResult::Failed, nullptr};
        return PlatformPrimitives().LockRange(target);
    }
};

} // namespace

ScopedSaveFaults::ScopedSaveFaults(StepFaults faults) : faults_(std::move(faults)), before_(active) {
    active = &faults_;
}

ScopedSaveFaults::~ScopedSaveFaults() {
    active = before_;
}

bool IsRecoveryFile(const FilePath& file) {
    return file.Native().endsWith(".recovery");
}

} // namespace test

FilePrimitives& Primitives() {
    static test::FaultyPrimitives primitives;
    return primitives;
}

} // namespace tavolin
