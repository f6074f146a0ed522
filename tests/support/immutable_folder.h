#pragma once

#include <QString>
#include <string>

namespace tavolin::test {

// Makes a folder immutable (chattr +i) while it lives: then nobody, root
// included, can create, rename or remove a file in it.
class ImmutableFolder final {
public:
    explicit ImmutableFolder(const QString& path);
    ~ImmutableFolder() { Release(); }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

    // Why the folder could not be made immutable; empty when it was.
    const std::string& Failure() const { return failure_; }
    void Release();

private:
    int fd_;
    int flags_ = 0;
    bool set_ = false;
    std::string failure_;
};

} // namespace tavolin::test
