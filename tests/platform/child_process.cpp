#include "child_process.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace casl::platform::test {

ChildEnd runInChild(const std::function<bool()>& body, unsigned seconds) {
    const pid_t child = ::fork();
    if (child < 0) {
        return {};
    }
    if (child == 0) {
        ::alarm(seconds);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) {
        return {};
    }
    if (WIFSIGNALED(status)) {
        return {false, WTERMSIG(status) == SIGALRM};
    }
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, false};
}

} // namespace casl::platform::test
