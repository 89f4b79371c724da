#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

std::string read_all(int fd) {
    std::string text;
    char buffer[65536];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(fd);
    return text;
}

// Starts argv with in, out and err as its standard streams; -1 when fork fails.
pid_t start(const std::vector<std::string>& argv, int in, int out, int err, bool ignore_pipe) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (ignore_pipe) signal(SIGPIPE, SIG_IGN);  // kept across exec
        dup2(in, 0), dup2(out, 1), dup2(err, 2);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

int wait_status(pid_t pid) {
    int raw = 0;
    const bool exited = pid > 0 && waitpid(pid, &raw, 0) == pid && WIFEXITED(raw);
    return exited ? WEXITSTATUS(raw) : -1;
}

}  // namespace

ProcessResult run_process(const std::vector<std::string>& argv, const std::string& input,
                          const std::string& out_path) {
    // Anonymous memory files: the program can neither block on a full pipe nor meet
    // another test's files. Close-on-exec: it keeps only 0, 1 and 2.
    const int in = memfd_create("in", MFD_CLOEXEC), err = memfd_create("err", MFD_CLOEXEC);
    int out = memfd_create("out", MFD_CLOEXEC), closed_pipe[2] = {-1, -1};
    if (out_path == "|" && pipe2(closed_pipe, O_CLOEXEC) == 0) {
        close(closed_pipe[0]);
        out = closed_pipe[1];
    } else if (!out_path.empty()) {
        out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    if (write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) return {};
    lseek(in, 0, SEEK_SET);
    const int status = wait_status(start(argv, in, out, err, out_path == "|"));
    close(in);
    return {status, out_path.empty() ? read_all(out) : (close(out), ""), read_all(err)};
}

Conversation start_conversation(const std::vector<std::string>& argv) {
    int to[2], from[2];
    if (pipe2(to, O_CLOEXEC) != 0 || pipe2(from, O_CLOEXEC) != 0) return {};
    const pid_t pid = start(argv, to[0], from[1], 2, false);
    close(to[0]), close(from[1]);
    return {pid, to[1], from[0]};
}

std::string read_line(Conversation* c, int timeout_ms) {
    std::string line;
    pollfd p = {c->from, POLLIN, 0};
    // One byte per pass, until the line break, the end or the timeout.
    for (char b = 0; b != '\n' && poll(&p, 1, timeout_ms) == 1 && read(c->from, &b, 1) == 1;)
        line += b;
    return line;
}

int end_conversation(Conversation* c, std::string* rest) {
    close(c->to);
    const std::string text = read_all(c->from);
    if (rest) *rest = text;
    return wait_status(c->pid);
}

std::string mount_small_disk(const std::string& name) {
    const std::string path = "/tmp/" + name + std::to_string(getpid());
    mkdir(path.c_str(), 0700);
    if (geteuid() == 0 && mount("tmpfs", path.c_str(), "tmpfs", 0, "size=12k") == 0) return path;
    rmdir(path.c_str());
    return "";
}

void unmount_small_disk(const std::string& path) {
    umount2(path.c_str(), MNT_DETACH);
    rmdir(path.c_str());
}
