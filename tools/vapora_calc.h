// vapora-calc's table of commands, and the hook by which other source files
// of the program add their own commands to it.
//
// A command is one row: its name, the arguments and result that --list shows,
// how many words follow the name, and the function that runs it. To add
// commands from another source file (say tools/calc_state.cpp):
//
// 1. In that file, after the command functions, register a table:
//
//      #include "tools/vapora_calc.h"
//      namespace {
//      const CalcCommand state_commands[] = {
//          {"state", "PAIR A B", "t p h s v x", 3, calc_state_command},
//          {"turbine", "P1 T1 P2 EFFICIENCY", "three states", 4, calc_turbine_command},
//      };
//      const bool registered = calc_register(state_commands, 2);
//      }  // namespace
//
//    A command function is int f(int argc, char** argv) with argv[0] the first
//    word after the command's name; it prints its own output and returns the
//    exit status (calc_exit_bad_input, 2, for bad input).
//
// 2. Add the file and its library to the program from your own
//    tools/calc_<name>.cmake (tools/ includes it after calc.cmake):
//
//      target_sources(vapora-calc PRIVATE ${CMAKE_CURRENT_LIST_DIR}/calc_state.cpp)
//      target_link_libraries(vapora-calc PRIVATE vapora_solvers)
#pragma once

// Runs a command on the words after its name: argv[0] is the first of
// argc words (already checked against arg_count unless that is
// calc_any_count). Prints its values and returns the exit status.
using CalcRun = int (*)(int argc, char** argv);

struct CalcCommand {
    const char* name;       // the first word on the command line
    const char* arguments;  // shown by --list, e.g. "T [K], p [Pa]"
    const char* result;     // shown by --list, e.g. "h [J/kg]"
    int arg_count;          // words expected after the name, or calc_any_count
    CalcRun run;
};

constexpr int calc_any_count = -1;
constexpr int calc_exit_bad_input = 2;
constexpr int calc_exit_write_failed = 1;

// Adds count commands (a table with static storage) to vapora-calc's table.
// Meant for a namespace-scope initializer; returns true so that it can
// initialize a constant. At most 16 tables can be added.
bool calc_register(const CalcCommand* commands, int count);

// Parses a whole word as one finite number, by the grammar the data-input dialog
// reads (parse_number_field).
bool calc_parse_number(const char* text, double* value);

// Prints one result value on its own line with 17 significant digits.
void calc_print(double value);

// Prints "vapora-calc: <message>" on one line of stderr; returns 2.
int calc_error(const char* message);

// The error for a word that is not a number; returns 2.
int calc_bad_number(const char* text);

// Prints "vapora-calc: cannot write <file>: <reason>" on one line of stderr, the reason
// strerror(error); returns 1.
int calc_write_failed(const char* file, int error);
