// Runs a function in a forked child and gives back how it ended and what it
// wrote to standard error.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace karpa_test {

struct ChildResult {
    int status = 0;  // as waitpid reports it
    std::string standardError;
    bool exited() const { return WIFEXITED(status); }
    int exitCode() const { return WEXITSTATUS(status); }
    bool killedBy(int s) const { return WIFSIGNALED(status) && WTERMSIG(status) == s; }
};

inline ChildResult runInChild(const std::function<void()>& body) {
    int fds[2];
    if (pipe(fds) != 0) std::abort();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        close(fds[1]);
        body();
        std::fflush(nullptr);
        _exit(0);
    }
    close(fds[1]);
    ChildResult result;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) result.standardError.append(buffer, size_t(n));
    close(fds[0]);
    waitpid(pid, &result.status, 0);
    return result;
}

}  // namespace karpa_test
