// vapora-calc: evaluates a function of the property library (or any command
// added through calc_register) from the command line.
//
//   vapora-calc sat_pressure 373.15
//   vapora-calc sub1_enthalpy 300 1e7
//   vapora-calc --list
//   vapora-calc --version
//
// Results are printed one per line with 17 significant digits. Each function takes only
// arguments inside the range of the formulation it belongs to (shown by --list); anything
// else, and a point where the library has no value, is refused like bad input: one line
// on stderr and status 2, never a nan, an inf or the library's -1.
#include "tools/vapora_calc.h"

#include <getopt.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "properties/properties.h"
#include "solvers/steam_state.h"
#include "solvers/typed_number.h"

namespace {

// --- the range each function covers ---------------------------------------------

// The top of subregion 2 (800 degC) and of subregion 3, where the boundary between
// subregions 2 and 3 reaches the formulation's top pressure of 1000 bar.
constexpr double steam_T_max = 1073.15;       // K
constexpr double sub3_T_max = 863.15;         // K
constexpr double top_pressure = valid_P_max;  // Pa, 1000 bar for the whole formulation

double boundary23_pressure(double T) {
    return critical_pressure * l_boundary_beta(T / critical_temperature);
}

bool within(double x, double low, double high) {
    return x >= low && x <= high;
}

bool saturation_T(const double* x) {
    return within(x[0], celsius_zero, critical_temperature);
}
bool saturation_p(const double* x) {
    return within(x[0], sat_pressure(celsius_zero), critical_pressure);
}
bool refine_range(const double* x) {
    return saturation_T(x) && saturation_p(x + 1) && x[2] > 0;
}
bool boundary23_theta(const double* x) {
    return within(x[0] * critical_temperature, sub12_top_temperature, sub3_T_max);
}
bool sub1_range(const double* x) {
    return within(x[0], celsius_zero, sub12_top_temperature) &&
           within(x[1], sat_pressure(x[0]), top_pressure);
}
bool sub2_range(const double* x) {
    const double T = x[0];
    if (!within(T, celsius_zero, steam_T_max)) return false;
    const double top = T <= sub12_top_temperature ? sat_pressure(T)
                       : T <= sub3_T_max          ? boundary23_pressure(T)
                                                  : top_pressure;
    return x[1] > 0 && x[1] <= top;
}
// Above the 2-3 boundary; below the critical temperature only up to the saturation line.
double sub3_top_pressure(double T) {
    return T < critical_temperature ? sat_pressure(T) : top_pressure;
}
bool sub3_tp_range(const double* x) {
    return within(x[0], sub12_top_temperature, sub3_T_max) &&
           within(x[1], boundary23_pressure(x[0]), sub3_top_pressure(x[0]));
}
bool sub4_T_range(const double* x) {
    return within(x[0], sub12_top_temperature, critical_temperature);
}
bool sub4_tp_range(const double* x) {
    return sub4_T_range(x) && within(x[1], sat_pressure(x[0]), top_pressure);
}
// (T, v) inside a subregion: v between the volumes of that T at the subregion's top
// and bottom pressures, found by the library's own volume searches.
bool sub3_tv_range(const double* x) {
    const double T = x[0];
    return within(T, sub12_top_temperature, sub3_T_max) &&
           within(x[1], sub3_volume(T, sub3_top_pressure(T)),
                  sub3_volume(T, boundary23_pressure(T)));
}
bool sub4_tv_range(const double* x) {
    return sub4_T_range(x) &&
           within(x[1], sub4_volume(x[0], top_pressure), sub4_sat_liquid_volume(x[0]));
}
bool critical_isotherm_p(const double* x) {
    return within(x[0], critical_pressure, top_pressure);
}
bool sat_liquid_spline_p(const double* x) {
    return within(x[0], sat_pressure(sub12_top_temperature), critical_pressure);
}

// --- the property library as commands -------------------------------------

// Reads argc words as numbers into x and checks them against the function's range;
// false (after the error line) if one is not a number or they lie outside.
bool parse_all(int argc, char** argv, double* x, bool (*in_range)(const double*)) {
    for (int i = 0; i < argc; ++i)
        if (!calc_parse_number(argv[i], &x[i])) {
            calc_bad_number(argv[i]);
            return false;
        }
    if (in_range(x)) return true;
    std::string words;
    for (int i = 0; i < argc; ++i) words += std::string(i ? ", " : "") + argv[i];
    calc_error(("(" + words + ") lies outside the function's range (see --list)").c_str());
    return false;
}

// Prints a result; where the library has no value (a nan, an infinity or its -1 for a
// quantity that is never negative) the point is refused instead.
int print_result(double value, bool positive) {
    if (!std::isfinite(value) || (positive && value <= 0))
        return calc_error("the formulation has no value there");
    calc_print(value);
    return 0;
}

// One runner per library function, made by the compiler from its address and range;
// Positive for a volume, pressure or temperature.
template <double (*F)(double), bool (*R)(const double*), bool Positive>
int run1(int argc, char** argv) {
    double x[1];
    if (!parse_all(argc, argv, x, R)) return calc_exit_bad_input;
    return print_result(F(x[0]), Positive);
}
template <double (*F)(double, double), bool (*R)(const double*), bool Positive>
int run2(int argc, char** argv) {
    double x[2];
    if (!parse_all(argc, argv, x, R)) return calc_exit_bad_input;
    return print_result(F(x[0], x[1]), Positive);
}
template <double (*F)(double, double, double), bool (*R)(const double*), bool Positive>
int run3(int argc, char** argv) {
    double x[3];
    if (!parse_all(argc, argv, x, R)) return calc_exit_bad_input;
    return print_result(F(x[0], x[1], x[2]), Positive);
}

#define PROPERTY1(name, range, positive, arguments, result) \
    { #name, arguments, result, 1, run1 < name, range, positive> }
#define PROPERTY2(name, range, positive, arguments, result) \
    { #name, arguments, result, 2, run2 < name, range, positive> }
#define PROPERTY3(name, range, positive, arguments, result) \
    { #name, arguments, result, 3, run3 < name, range, positive> }

#define SUB1 "T [K] 273.15..623.15, p [Pa] sat_pressure(T)..1e8"
#define SUB2 "T [K] 273.15..1073.15, p [Pa] >0 up to saturation, the 2-3 boundary or 1e8"
#define SUB3 "T [K] 623.15..863.15, v [m3/kg] of a p from the 2-3 boundary to saturation or 1e8"
#define SUB4 "T [K] 623.15..647.3, v [m3/kg] from v'(T) down to v at 1e8 Pa"

const CalcCommand property_commands[] = {
    PROPERTY1(l_boundary_beta, boundary23_theta, true, "theta (T/647.3) 623.15/647.3..863.15/647.3",
              "beta_L (reduced pressure)"),
    PROPERTY1(sat_pressure, saturation_T, true, "T [K] 273.15..647.3", "p [Pa]"),
    PROPERTY3(sat_temperature_refine, refine_range, true,
              "T_start [K] 273.15..647.3, p [Pa] sat_pressure(273.15)..2.212e7, tol [Pa] >0",
              "T [K]"),
    PROPERTY1(sat_temperature, saturation_p, true, "p [Pa] sat_pressure(273.15)..2.212e7", "T [K]"),
    PROPERTY2(sub1_volume, sub1_range, true, SUB1, "v [m3/kg]"),
    PROPERTY2(sub1_enthalpy, sub1_range, false, SUB1, "h [J/kg]"),
    PROPERTY2(sub1_entropy, sub1_range, false, SUB1, "s [J/(kg K)]"),
    PROPERTY2(sub2_volume, sub2_range, true, SUB2, "v [m3/kg]"),
    PROPERTY2(sub2_enthalpy, sub2_range, false, SUB2, "h [J/kg]"),
    PROPERTY2(sub2_entropy, sub2_range, false, SUB2, "s [J/(kg K)]"),
    PROPERTY2(sub3_pressure, sub3_tv_range, true, SUB3, "p [Pa]"),
    PROPERTY2(sub3_enthalpy, sub3_tv_range, false, SUB3, "h [J/kg]"),
    PROPERTY2(sub3_entropy, sub3_tv_range, false, SUB3, "s [J/(kg K)]"),
    PROPERTY2(sub4_pressure, sub4_tv_range, true, SUB4, "p [Pa]"),
    PROPERTY2(sub4_enthalpy, sub4_tv_range, false, SUB4, "h [J/kg]"),
    PROPERTY2(sub4_entropy, sub4_tv_range, false, SUB4, "s [J/(kg K)]"),
    PROPERTY1(critical_isotherm_volume, critical_isotherm_p, true, "p [Pa] 2.212e7..1e8",
              "v [m3/kg]"),
    PROPERTY1(sat_liquid_volume_spline, sat_liquid_spline_p, true,
              "p [Pa] sat_pressure(623.15)..2.212e7", "v' [m3/kg]"),
    PROPERTY2(sub3_volume, sub3_tp_range, true,
              "T [K] 623.15..863.15, p [Pa] from the 2-3 boundary to saturation or 1e8",
              "v [m3/kg]"),
    PROPERTY1(sub4_sat_liquid_volume, sub4_T_range, true, "T [K] 623.15..647.3", "v' [m3/kg]"),
    PROPERTY2(sub4_volume, sub4_tp_range, true, "T [K] 623.15..647.3, p [Pa] sat_pressure(T)..1e8",
              "v [m3/kg]"),
};

#undef PROPERTY1
#undef PROPERTY2
#undef PROPERTY3
#undef SUB1
#undef SUB2
#undef SUB3
#undef SUB4

// --- the table -------------------------------------------------------------

struct Table {
    const CalcCommand* commands;
    int count;
};

constexpr int max_tables = 17;  // the property library's own and 16 more

struct Registry {
    Table tables[max_tables];
    int count;
};

// Built on first use, so that registrations from other files' static
// initializers find it whatever their order.
Registry& registry() {
    static Registry r = {{{property_commands, static_cast<int>(sizeof property_commands /
                                                               sizeof property_commands[0])}},
                         1};
    return r;
}

const CalcCommand* find_command(const char* name) {
    const Registry& r = registry();
    for (int t = 0; t < r.count; ++t)
        for (int i = 0; i < r.tables[t].count; ++i)
            if (std::strcmp(r.tables[t].commands[i].name, name) == 0)
                return &r.tables[t].commands[i];
    return nullptr;
}

void list_commands() {
    const Registry& r = registry();
    for (int t = 0; t < r.count; ++t)
        for (int i = 0; i < r.tables[t].count; ++i) {
            const CalcCommand& c = r.tables[t].commands[i];
            std::printf("%-26s %s -> %s\n", c.name, c.arguments, c.result);
        }
}

const char usage[] =
    "usage: vapora-calc COMMAND ARGUMENT...\n"
    "       vapora-calc --list | --help | --version\n"
    "The commands, with their arguments and results:\n";

// Flushes and closes standard output: output lost on the way (a full disk, a closed
// pipe) is one line naming it and status 1, never a silent success.
int finish_output(int status) {
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout);
    const int error = errno;
    if (std::fclose(stdout) != 0 || failed)
        return calc_write_failed("standard output", failed ? error : errno);
    return status;
}

// --list, --help or --version, each alone.
int run_option(int option, int rest) {
    if (rest > 0) return calc_error("--list, --help and --version take no arguments");
    if (option == 'h') std::fputs(usage, stdout);
    if (option == 'V')
        std::printf("vapora-calc %s\n", VAPORA_VERSION);
    else
        list_commands();
    return finish_output(0);
}

}  // namespace

bool calc_register(const CalcCommand* commands, int count) {
    Registry& r = registry();
    if (r.count >= max_tables || commands == nullptr || count <= 0) return false;
    r.tables[r.count++] = {commands, count};
    return true;
}

bool calc_parse_number(const char* text, double* value) {
    return parse_number_field(text, value);
}

void calc_print(double value) {
    std::printf("%.17g\n", value);
}

int calc_error(const char* message) {
    std::fprintf(stderr, "vapora-calc: %s\n", message);
    return calc_exit_bad_input;
}

int calc_bad_number(const char* text) {
    return calc_error(("'" + std::string(text) + "' is not a number").c_str());
}

int calc_write_failed(const char* file, int error) {
    std::fprintf(stderr, "vapora-calc: cannot write %s: %s\n", file,
                 std::strerror(error ? error : EIO));
    return calc_exit_write_failed;
}

int main(int argc, char** argv) {
    static const option options[] = {{"list", no_argument, nullptr, 'l'},
                                     {"help", no_argument, nullptr, 'h'},
                                     {"version", no_argument, nullptr, 'V'},
                                     {nullptr, 0, nullptr, 0}};
    opterr = 0;  // its own message instead of getopt's
    // "+": options only before the command, so that "-5" after it is an argument.
    const int option = getopt_long(argc, argv, "+", options, nullptr);
    if (option == '?')
        return calc_error(
            ("unknown option '" + std::string(argv[optind - 1]) + "' (--help shows the usage)")
                .c_str());
    if (option != -1) return run_option(option, argc - optind);
    if (optind >= argc)
        return calc_error("no command given; usage: vapora-calc COMMAND ARGUMENT... (see --help)");
    const char* name = argv[optind];
    const CalcCommand* command = find_command(name);
    if (command == nullptr)
        return calc_error(("unknown function '" + std::string(name) + "' (see --list)").c_str());
    const int count = argc - optind - 1;
    if (command->arg_count != calc_any_count && count != command->arg_count) {
        const std::string message = std::string(command->name) + " takes " +
                                    std::to_string(command->arg_count) + " argument" +
                                    (command->arg_count == 1 ? "" : "s") + " (" +
                                    command->arguments + "), got " + std::to_string(count);
        return calc_error(message.c_str());
    }
    return finish_output(command->run(count, argv + optind + 1));
}
