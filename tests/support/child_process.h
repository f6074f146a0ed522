#pragma once

#include <functional>
#include <string>

namespace tavolin::test {

// Runs `body` in a child process of its own and returns what it reports:
// nothing when every check held, else what failed; a text that begins with
// "skip: " says why the child could not test. A child that a signal ended
// reports the signal. For checks that change the process itself: its limits,
// its signal handling, its user namespace.
std::string InChildProcess(const std::function<std::string()>& body);

} // namespace tavolin::test
