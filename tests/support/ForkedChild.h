#pragma once

#include <cerrno>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

/** Runs `body` in a forked child and gives back the text it returns, so that a test can change
    the user or the limits of a process without changing its own. The child ends at once after
    the body, running no destructors of the test's objects. */
inline std::string runInChild (const std::function<std::string()>& body)
{
    int ends[2];
    if (::pipe (ends) != 0)
        return "pipe failed";
    const auto child = ::fork();
    if (child == 0)
    {
        ::close (ends[0]);
        const auto text = body();
        const auto written = ::write (ends[1], text.data(), text.size());
        ::_exit (written == static_cast<ssize_t> (text.size()) ? 0 : 1);
    }
    ::close (ends[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read (ends[0], buffer, sizeof (buffer))) != 0;)
        if (got > 0)
            text.append (buffer, static_cast<size_t> (got));
        else if (errno != EINTR)
            break;
    ::close (ends[0]);
    int status = 0;
    ::waitpid (child, &status, 0);
    return WIFEXITED (status) && WEXITSTATUS (status) == 0 ? text : "child failed: " + text;
}

/** The unprivileged user the superuser's tests act as. */
constexpr uid_t nobody = 65534;

/** In a child: becomes `nobody` for good; false when the process may not. */
inline bool becomeNobody()
{
    return ::setgroups (0, nullptr) == 0 && ::setgid (nobody) == 0 && ::setuid (nobody) == 0;
}
