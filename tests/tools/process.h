// The tests' one way to run a program: no shell, standard input fed from a string,
// standard output and error read back separately (through anonymous memory files, so
// tests can run in parallel), or standard output sent where a write fails; and a program
// conversed with through pipes, line by line.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProcessResult {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] (a path) with the arguments that follow and input on its standard input.
// With out_path, standard output goes to that file (/dev/full, a file on a full disk);
// out_path "|" is a pipe whose reading end is already closed, with SIGPIPE ignored.
ProcessResult run_process(const std::vector<std::string>& argv, const std::string& input = "",
                          const std::string& out_path = "");

// A program started with pipes on its standard input and output.
struct Conversation {
    pid_t pid = -1;
    int to = -1, from = -1;
};
Conversation start_conversation(const std::vector<std::string>& argv);
// The next line of its output with its line break; what came before the timeout
// otherwise.
std::string read_line(Conversation* c, int timeout_ms);
// Closes its input; returns its exit status as ProcessResult's, its last output in *rest.
int end_conversation(Conversation* c, std::string* rest = nullptr);

// A tmpfs of 12 kB mounted for the test on a new folder in /tmp: its path, or empty
// when it cannot be mounted (only root can). unmount_small_disk removes it.
std::string mount_small_disk(const std::string& name);
void unmount_small_disk(const std::string& path);
