// The tests' one way to run a program to its end: no shell, standard input fed from a
// string, standard output and error read back separately (through anonymous memory files,
// so tests can run in parallel).
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] (a path) with the arguments that follow and input on its standard input.
ProcessResult run_process(const std::vector<std::string>& argv, const std::string& input = "");
