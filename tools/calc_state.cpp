// vapora-calc commands of the state solvers:
//
//   vapora-calc state PAIR A B                  PAIR: t,p t,h p,h t,s p,s t,x p,x
//   vapora-calc turbine P1_BAR T1_C P2_BAR EFFICIENCY
//   vapora-calc point S T                       the readout at a diagram point
//
// Values in the program's display units: t in degC, p in bar, h in kJ/kg,
// s in kJ/kg degC, x in kg/kg, efficiency in percent; v is printed in m3/kg.
// A state is printed as six lines "name value" with 17 significant digits.
// Input the guards refuse prints "Data out of range, please retry" and exits
// with status 1; a point outside the valid space prints the window's line
// "The point selected is outside the valid space" and exits with status 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "solvers/solvers.h"
#include "tools/vapora_calc.h"

namespace {

const char refusal[] = "Data out of range, please retry";
const char outside[] = "The point selected is outside the valid space";

// 1 when every word is a number; otherwise the error is printed and 0.
int parse_numbers(int count, char **texts, double *values)
{
    for (int i = 0; i < count; ++i) {
        if (!calc_parse_number(texts[i], &values[i])) {
            calc_bad_number(texts[i]);
            return 0;
        }
    }
    return 1;
}

// The pair names as the data-input dialog shows them, in code order.
int pair_code(const char *name)
{
    static const char *const names[] = {"t,p", "t,h", "p,h", "t,s", "p,s", "t,x", "p,x"};
    for (int code = 0; code < 7; ++code)
        if (std::strcmp(name, names[code]) == 0)
            return code;
    return -1;
}

// The dialog's conversions: h and s are typed in kJ, the solvers take J.
double to_solver_units(char quantity, double value)
{
    return (quantity == 'h' || quantity == 's') ? value * 1000 : value;
}

void print_state(const char *prefix, const SteamState &st)
{
    std::printf("%st %.17g\n", prefix, st.t);
    std::printf("%sp %.17g\n", prefix, st.p);
    std::printf("%sh %.17g\n", prefix, st.h / 1000);
    std::printf("%ss %.17g\n", prefix, st.s / 1000);
    std::printf("%sv %.17g\n", prefix, st.v);
    std::printf("%sx %.17g\n", prefix, st.x);
}

int refuse(const char *line)
{
    std::printf("%s\n", line);
    return 1;
}

int usage(const char *text)
{
    std::fprintf(stderr, "usage: vapora-calc %s\n", text);
    return calc_exit_bad_input;
}

int calc_state_command(int argc, char **argv);
int calc_turbine_command(int argc, char **argv);
int calc_point_command(int argc, char **argv);

const CalcCommand state_commands[] = {
    {"state", "PAIR A B (PAIR t,p t,h p,h t,s p,s t,x p,x; C, bar, kJ/kg, kJ/kg C)",
     "t [C], p [bar], h [kJ/kg], s [kJ/kg C], v [m3/kg], x", 3, calc_state_command},
    {"turbine", "P1 [bar] T1 [C] P2 [bar] EFFICIENCY [%]",
     "inlet_, isentropic_ and outlet_ t p h s v x", 4, calc_turbine_command},
    {"point", "S [kJ/kg C] T [C]", "the readout: t p h s v x", 2, calc_point_command},
};
const bool registered = calc_register(state_commands, 3);

} // namespace

namespace {

int calc_state_command(int argc, char **argv)
{
    const char *form = "state PAIR A B   (PAIR: t,p t,h p,h t,s p,s t,x p,x; C, bar, kJ/kg, kJ/kg C)";
    const int pair = argc == 3 ? pair_code(argv[0]) : -1;
    if (pair < 0)
        return usage(form);
    double values[2];
    if (!parse_numbers(2, argv + 1, values))
        return calc_exit_bad_input;
    const double a = to_solver_units(argv[0][0], values[0]);
    const double b = to_solver_units(argv[0][2], values[1]);
    SteamState st;
    if (!solve_typed_point(pair, a, b, &st))
        return refuse(refusal);
    print_state("", st);
    return 0;
}

int calc_turbine_command(int argc, char **argv)
{
    double values[4];
    if (argc != 4)
        return usage("turbine P1_BAR T1_C P2_BAR EFFICIENCY");
    if (!parse_numbers(4, argv, values))
        return calc_exit_bad_input;
    SteamState inlet, isentropic, outlet;
    if (!solve_typed_point(t_p, values[1], values[0], &inlet))
        return refuse(refusal);
    if (!turbine_expansion(&inlet, values[2], values[3], &isentropic, &outlet))
        return refuse(refusal);
    print_state("inlet_", inlet);
    print_state("isentropic_", isentropic);
    print_state("outlet_", outlet);
    return 0;
}

int calc_point_command(int argc, char **argv)
{
    double values[2];
    if (argc != 2)
        return usage("point S T   (s in kJ/kg C, t in C)");
    if (!parse_numbers(2, argv, values))
        return calc_exit_bad_input;
    SteamState st;
    if (!state_at_diagram_point(values[1], values[0] * 1000, &st))
        return refuse(outside);
    print_state("", st);
    return 0;
}

} // namespace
