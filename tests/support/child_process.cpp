#include "support/child_process.h"

#include <array>
#include <cstring>
#include <exception>
#include <sys/wait.h>
#include <unistd.h>

namespace tavolin::test {

std::string InChildProcess(const std::function<std::string()>& body) {
    std::array<int, 2> pipe{};
    if (::pipe(pipe.data()) != 0)
        return "no pipe: " + std::string(std::strerror(errno));
    const pid_t child = ::fork();
    if (child < 0)
        return "no child: " + std::string(std::strerror(errno));
    if (child == 0) {
        ::close(pipe[0]);
        std::string report;
        try {
            report = body();
        } catch (const std::exception& error) {
            report = std::string("exception: ") + error.what();
        }
        for (std::size_t done = 0; done < report.size();) {
            const ssize_t written = ::write(pipe[1], report.data() + done, report.size() - done);
            if (written <= 0)
                break;
            done += static_cast<std::size_t>(written);
        }
        ::_exit(0); // no exit handlers of the parent's test run
    }
    ::close(pipe[1]);
    std::string report;
    std::array<char, 4096> buffer{};
    for (ssize_t got; (got = ::read(pipe[0], buffer.data(), buffer.size())) > 0;)
        report.append(buffer.data(), static_cast<std::size_t>(got));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        return "the child was ended by signal " + std::to_string(WTERMSIG(status)) + " " + report;
    return report;
}

} // namespace tavolin::test
