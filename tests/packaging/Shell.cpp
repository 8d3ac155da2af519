#include "Shell.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A temporary file that holds one stream of the child and is removed afterwards.
class CaptureFile {
public:
    CaptureFile()
    {
        std::string pattern = "/tmp/norva-packaging-capture.XXXXXX";
        fd_ = ::mkstemp(pattern.data());
        path_ = pattern;
    }
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    ~CaptureFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(path_.c_str());
        }
    }
    [[nodiscard]] int fd() const { return fd_; }
    [[nodiscard]] std::string contents() const
    {
        std::ifstream file(path_, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace

ShellResult runShell(const std::string& script)
{
    ShellResult result;
    const CaptureFile out;
    const CaptureFile err;
    if (out.fd() < 0 || err.fd() < 0) {
        result.err = "cannot create a capture file";
        return result;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const int empty = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        ::dup2(empty, STDIN_FILENO);
        ::dup2(out.fd(), STDOUT_FILENO);
        ::dup2(err.fd(), STDERR_FILENO);
        ::execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        result.err = "cannot run the shell";
        return result;
    }
    result.out = out.contents();
    result.err = err.contents();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}
