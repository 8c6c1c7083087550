#pragma once
// Runs a program of ours in a child process with the test's environment, feeding it `input`
// and collecting its exit code and both output streams.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vyr::tools::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline ProcessResult runProcess(const std::string& exe, const std::vector<std::string>& args,
                                const std::string& input = {})
{
    const auto tempFile = [](const std::string& content) {
        char name[] = "/tmp/vyr-proc-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            if (!content.empty() && write(fd, content.data(), content.size()) < 0)
                perror("write");
            close(fd);
        }
        return std::string(name);
    };
    const std::string in = tempFile(input), out = tempFile({}), err = tempFile({});
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_TRUNC), 1);
        dup2(open(err.c_str(), O_WRONLY | O_TRUNC), 2);
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto slurp = [](const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(f), {}};
        std::remove(path.c_str());
        return text;
    };
    ProcessResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    std::remove(in.c_str());
    return r;
}

} // namespace vyr::tools::test
