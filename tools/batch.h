// Batch states: CSV rows of given pairs (or turbine expansions) in, one answered row out
// per input row, in input order. Also the pieces vapora-calc's state and turbine
// commands share with it, so that both print the same numbers for the same input.
//
// Input rows, values in the data-input dialog's units (degC, bar, kJ/kg, kJ/kg degC, kg/kg):
//   PAIR,A,B              PAIR one of t_p t_h p_h t_s p_s t_x p_x
//   turbine,P1,T1,P2,EFF  inlet bar and degC, outlet bar, efficiency in percent
// A first row starting with "pair" is a header and skipped; so are blank lines and
// lines starting with '#'. Empty fields at the end of a row are ignored.
#pragma once

#include <cstdio>
#include <string>

#include "solvers/steam_state.h"

// The first line of the batch output, without its newline.
extern const char batch_header[];

// The message of a state the guards or the solvers refuse, as the window shows it.
extern const char refusal_text[];

// The code (t_p .. p_x, 0 to 6) of a pair written "t_p" or "t,p"; -1 for anything else.
int pair_code_of(const char* name);

// Guards and solves one point given in the dialog's units. Returns 1 with *state
// written (t degC, p bar, h J/kg, s J/(kg K)), or 0 when refused.
int solve_display_pair(int pair, double a, double b, SteamState* state);

// The turbine expansion from (p1 bar, t1 degC) to p2 bar with the efficiency in percent.
// Returns 1 with all three states written, or 0 when refused.
int solve_turbine(double p1, double t1, double p2, double efficiency, SteamState* inlet,
                  SteamState* isentropic, SteamState* outlet);

// The six values vapora-calc shows of a state, in order t [degC], p [bar], h [kJ/kg],
// s [kJ/kg degC], v [m3/kg], x.
void display_values(const SteamState& state, double values[6]);

// Writes value with 17 significant digits, as printf's "%.17g" does, at out (room for
// 32 characters) and returns the end; no terminator.
char* format_value(double value, char* out);

// Appends the answer to one input line (without its line break) to *out, with a line
// break, or nothing for a line that is skipped. first_row is true until a row (header
// included) has been met; the function clears it.
void batch_answer_line(const std::string& line, bool* first_row, std::string* out);

// Reads every line of in and writes the header and the answers to out. Returns false
// when in could not be read to its end (what was read is answered).
bool batch_run(std::FILE* in, std::FILE* out);
