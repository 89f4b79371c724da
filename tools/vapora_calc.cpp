// vapora-calc: evaluates a function of the property library (or any command
// added through calc_register) from the command line.
//
//   vapora-calc sat_pressure 373.15
//   vapora-calc sub1_enthalpy 300 1e7
//   vapora-calc --list
//   vapora-calc --version
//
// Results are printed one per line with 17 significant digits; a value out of
// a function's range prints what the library returns (-1 where it refuses).
// Bad input prints one line on stderr and exits with status 2.
#include "tools/vapora_calc.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "properties/properties.h"
#include "solvers/typed_number.h"

namespace {

// --- the property library as commands -------------------------------------

// Reads argc words as numbers into x; false (after the error line) if one is not.
bool parse_all(int argc, char** argv, double* x) {
    for (int i = 0; i < argc; ++i)
        if (!calc_parse_number(argv[i], &x[i])) {
            calc_bad_number(argv[i]);
            return false;
        }
    return true;
}

// One runner per library function, made by the compiler from its address.
template <double (*F)(double)>
int run1(int argc, char** argv) {
    double x[1];
    if (!parse_all(argc, argv, x)) return calc_exit_bad_input;
    calc_print(F(x[0]));
    return 0;
}
template <double (*F)(double, double)>
int run2(int argc, char** argv) {
    double x[2];
    if (!parse_all(argc, argv, x)) return calc_exit_bad_input;
    calc_print(F(x[0], x[1]));
    return 0;
}
template <double (*F)(double, double, double)>
int run3(int argc, char** argv) {
    double x[3];
    if (!parse_all(argc, argv, x)) return calc_exit_bad_input;
    calc_print(F(x[0], x[1], x[2]));
    return 0;
}

#define PROPERTY1(name, arguments, result) \
    { #name, arguments, result, 1, run1 < name> }
#define PROPERTY2(name, arguments, result) \
    { #name, arguments, result, 2, run2 < name> }
#define PROPERTY3(name, arguments, result) \
    { #name, arguments, result, 3, run3 < name> }

const CalcCommand property_commands[] = {
    PROPERTY1(l_boundary_beta, "theta (T/647.3)", "beta_L (reduced pressure)"),
    PROPERTY1(sat_pressure, "T [K]", "p [Pa]"),
    PROPERTY3(sat_temperature_refine, "T_start [K], p [Pa], tol [Pa]", "T [K]"),
    PROPERTY1(sat_temperature, "p [Pa]", "T [K]"),
    PROPERTY2(sub1_volume, "T [K], p [Pa]", "v [m3/kg]"),
    PROPERTY2(sub1_enthalpy, "T [K], p [Pa]", "h [J/kg]"),
    PROPERTY2(sub1_entropy, "T [K], p [Pa]", "s [J/(kg K)]"),
    PROPERTY2(sub2_volume, "T [K], p [Pa]", "v [m3/kg]"),
    PROPERTY2(sub2_enthalpy, "T [K], p [Pa]", "h [J/kg]"),
    PROPERTY2(sub2_entropy, "T [K], p [Pa]", "s [J/(kg K)]"),
    PROPERTY2(sub3_pressure, "T [K], v [m3/kg]", "p [Pa]"),
    PROPERTY2(sub3_enthalpy, "T [K], v [m3/kg]", "h [J/kg]"),
    PROPERTY2(sub3_entropy, "T [K], v [m3/kg]", "s [J/(kg K)]"),
    PROPERTY2(sub4_pressure, "T [K], v [m3/kg]", "p [Pa]"),
    PROPERTY2(sub4_enthalpy, "T [K], v [m3/kg]", "h [J/kg]"),
    PROPERTY2(sub4_entropy, "T [K], v [m3/kg]", "s [J/(kg K)]"),
    PROPERTY1(critical_isotherm_volume, "p [Pa]", "v [m3/kg]"),
    PROPERTY1(sat_liquid_volume_spline, "p [Pa]", "v' [m3/kg]"),
    PROPERTY2(sub3_volume, "T [K], p [Pa]", "v [m3/kg]"),
    PROPERTY1(sub4_sat_liquid_volume, "T [K]", "v' [m3/kg]"),
    PROPERTY2(sub4_volume, "T [K], p [Pa]", "v [m3/kg]"),
};

#undef PROPERTY1
#undef PROPERTY2
#undef PROPERTY3

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

const char usage[] = "usage: vapora-calc FUNCTION ARGUMENT...  (--list shows the functions)";

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

int main(int argc, char** argv) {
    if (argc < 2) return calc_error("no function given; usage: vapora-calc FUNCTION ARGUMENT...");
    const char* name = argv[1];
    if (std::strcmp(name, "--list") == 0 && argc == 2) {
        list_commands();
        return 0;
    }
    if (std::strcmp(name, "--version") == 0 && argc == 2) {
        std::printf("vapora-calc %s\n", VAPORA_VERSION);
        return 0;
    }
    if (std::strcmp(name, "--help") == 0 && argc == 2) {
        std::printf("%s\n", usage);
        return 0;
    }
    const CalcCommand* command = find_command(name);
    if (command == nullptr)
        return calc_error(("unknown function '" + std::string(name) + "' (see --list)").c_str());
    const int count = argc - 2;
    if (command->arg_count != calc_any_count && count != command->arg_count) {
        const std::string message = std::string(command->name) + " takes " +
                                    std::to_string(command->arg_count) + " argument" +
                                    (command->arg_count == 1 ? "" : "s") + " (" +
                                    command->arguments + "), got " + std::to_string(count);
        return calc_error(message.c_str());
    }
    const int status = command->run(count, argv + 2);
    return std::fflush(stdout) == 0 ? status : 1;
}
