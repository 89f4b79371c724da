// vapora-calc commands of the state solvers:
//
//   vapora-calc state [--converged] PAIR A B    PAIR: t,p t,h p,h t,s p,s t,x p,x
//                                               (or t_p t_h p_h t_s p_s t_x p_x)
//   vapora-calc turbine [--converged] P1_BAR T1_C P2_BAR EFFICIENCY
//   vapora-calc point S T                       the readout at a diagram point
//   vapora-calc batch [--converged] [FILE]      many states at once (tools/batch.h)
//
// --converged answers with the converged solvers (converged/converged.h) instead of the
// window's, over their own range; without it the answers are the window's, bit for bit.
//
// Values in the program's display units: t in degC, p in bar, h in kJ/kg,
// s in kJ/kg degC, x in kg/kg, efficiency in percent; v is printed in m3/kg.
// A state is printed as six lines "name value" with 17 significant digits.
// Input the guards refuse prints "Data out of range, please retry" and exits
// with status 1; a point outside the valid space prints the window's line
// "The point selected is outside the valid space" and exits with status 1.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#ifndef O_CLOEXEC
#define O_CLOEXEC 0  // Windows: vapora-calc.exe starts no program that could inherit it
#endif

#include "solvers/solvers.h"
#include "tools/batch.h"
#include "tools/vapora_calc.h"

namespace {

const char outside[] = "The point selected is outside the valid space";

// 1 when every word is a number; otherwise the error is printed and 0.
int parse_numbers(int count, char** texts, double* values) {
    for (int i = 0; i < count; ++i) {
        if (!calc_parse_number(texts[i], &values[i])) {
            calc_bad_number(texts[i]);
            return 0;
        }
    }
    return 1;
}

// Six lines "name value", the numbers as the batch writes them.
void print_state(const char* prefix, const SteamState& st) {
    static const char* const names[6] = {"t", "p", "h", "s", "v", "x"};
    double values[6];
    display_values(st, values);
    char number[32];
    for (int i = 0; i < 6; ++i) {
        *format_value(values[i], number) = '\0';
        std::printf("%s%s %s\n", prefix, names[i], number);
    }
}

// Takes a first word --converged off the command's words.
Solver take_solver(int* argc, char*** argv) {
    if (*argc == 0 || std::strcmp((*argv)[0], "--converged") != 0) return Solver::window;
    --*argc, ++*argv;
    return Solver::converged;
}

int refuse(const char* line) {
    std::printf("%s\n", line);
    return 1;
}

int usage(const char* text) {
    std::fprintf(stderr, "usage: vapora-calc %s\n", text);
    return calc_exit_bad_input;
}

int calc_state_command(int argc, char** argv);
int calc_turbine_command(int argc, char** argv);
int calc_point_command(int argc, char** argv);
int calc_batch_command(int argc, char** argv);

const CalcCommand state_commands[] = {
    {"state",
     "[--converged] PAIR A B (PAIR t_p t_h p_h t_s p_s t_x p_x, or t,p ...; C, bar, kJ/kg, "
     "kJ/kg C)",
     "t [C], p [bar], h [kJ/kg], s [kJ/kg C], v [m3/kg], x", calc_any_count, calc_state_command},
    {"turbine", "[--converged] P1 [bar] T1 [C] P2 [bar] EFFICIENCY [%]",
     "inlet_, isentropic_ and outlet_ t p h s v x", calc_any_count, calc_turbine_command},
    {"point", "S [kJ/kg C] T [C]", "the readout: t p h s v x", 2, calc_point_command},
    {"batch", "[--converged] [FILE] (CSV rows PAIR,A,B or turbine,P1,T1,P2,EFF; - or none: stdin)",
     "one CSV row per input row", calc_any_count, calc_batch_command},
};
const bool registered = calc_register(state_commands, 4);

}  // namespace

namespace {

int calc_state_command(int argc, char** argv) {
    const char* form =
        "state [--converged] PAIR A B   (PAIR: t,p t,h p,h t,s p,s t,x p,x or t_p ... p_x; C, "
        "bar, kJ/kg, kJ/kg C)";
    const Solver solver = take_solver(&argc, &argv);
    const int pair = argc == 3 ? pair_code_of(argv[0]) : -1;
    if (pair < 0) return usage(form);
    double values[2];
    if (!parse_numbers(2, argv + 1, values)) return calc_exit_bad_input;
    SteamState st;
    if (!solve_display_pair(pair, values[0], values[1], &st, solver)) return refuse(refusal_text);
    print_state("", st);
    return 0;
}

int calc_turbine_command(int argc, char** argv) {
    double values[4];
    const Solver solver = take_solver(&argc, &argv);
    if (argc != 4) return usage("turbine [--converged] P1_BAR T1_C P2_BAR EFFICIENCY");
    if (!parse_numbers(4, argv, values)) return calc_exit_bad_input;
    SteamState inlet, isentropic, outlet;
    if (!solve_turbine(values[0], values[1], values[2], values[3], &inlet, &isentropic, &outlet,
                       solver))
        return refuse(refusal_text);
    print_state("inlet_", inlet);
    print_state("isentropic_", isentropic);
    print_state("outlet_", outlet);
    return 0;
}

int calc_point_command(int argc, char** argv) {
    double values[2];
    if (argc != 2) return usage("point S T   (s in kJ/kg C, t in C)");
    if (!parse_numbers(2, argv, values)) return calc_exit_bad_input;
    SteamState st;
    if (!state_at_diagram_point(values[1], values[0] * 1000, &st)) return refuse(outside);
    print_state("", st);
    return 0;
}

// Every row answered, refusals included, is status 0; input that cannot be read or is not
// UTF-8 text is 2; answers that cannot be written are 1.
int calc_batch_command(int argc, char** argv) {
    const Solver solver = take_solver(&argc, &argv);
    if (argc > 1) return usage("batch [--converged] [FILE]   (- or no FILE: standard input)");
    const bool from_stdin = argc == 0 || std::strcmp(argv[0], "-") == 0;
    const std::string name = from_stdin ? "standard input" : "'" + std::string(argv[0]) + "'";
    const int in = from_stdin ? 0 : open(argv[0], O_RDONLY | O_CLOEXEC);
    if (in < 0) return calc_error(("cannot read " + name + ": " + std::strerror(errno)).c_str());
    const BatchResult result = batch_run(in, 1, solver);
    if (!from_stdin) close(in);
    switch (result.end) {
        case BatchEnd::done:
            return 0;
        case BatchEnd::write_failed:
            return calc_write_failed("standard output", result.error);
        case BatchEnd::utf16:
            return calc_error((name + " is UTF-16, not UTF-8 text: save it as CSV UTF-8").c_str());
        case BatchEnd::not_utf8:
            return calc_error((name + " is not UTF-8 text: save it as CSV UTF-8").c_str());
        case BatchEnd::read_failed:
            break;
    }
    return calc_error(("cannot read " + name + ": " + std::strerror(result.error)).c_str());
}

}  // namespace
