#include "ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void reportAndExit(int pipeEnd, const std::function<std::string()>& action)
{
    std::string text;
    try {
        text = action();
    } catch (...) {
        text = "(the child failed unexpectedly)";
    }
    const bool sent = ::write(pipeEnd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    // _exit: the child must not run the test process's exit handlers a second time.
    ::_exit(sent ? 0 : 1);
}

} // namespace

std::string textFromChild(const std::function<std::string()>& action)
{
    int pipeEnds[2] = {};
    if (::pipe(pipeEnds) != 0)
        return "(no pipe to the child)";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        reportAndExit(pipeEnds[1], action);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char chunk[256];
    for (ssize_t got; child > 0 && (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    if (child < 0)
        return "(no child process)";
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "(the child did not finish its report)";
    return text;
}
