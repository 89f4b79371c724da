// Batch states: CSV rows of given pairs (or turbine expansions) in, one answered row out
// per input row, in input order. Also the pieces vapora-calc's state and turbine
// commands share with it, so that both print the same numbers for the same input.
//
// Input rows (read by tools/csv_reader.h), values in the data-input dialog's units (degC,
// bar, kJ/kg, kJ/kg degC, kg/kg):
//   PAIR,A,B              PAIR one of t_p t_h p_h t_s p_s t_x p_x
//   turbine,P1,T1,P2,EFF  inlet bar and degC, outlet bar, efficiency in percent
// A first row starting with "pair" is a header and skipped; so are blank lines and
// lines starting with '#'. Empty fields at the end of a row are ignored. Every other line
// gets exactly one answer.
#pragma once

#include <string>
#include <vector>

#include "solvers/steam_state.h"
#include "tools/csv_reader.h"

// The first line of the batch output, without its newline.
extern const char batch_header[];

// The message of a state the guards or the solvers refuse, as the window shows it.
extern const char refusal_text[];

// The code (t_p .. p_x, 0 to 6) of a pair written "t_p" or "t,p"; -1 for anything else.
int pair_code_of(const char* name);

// Which solvers answer: the window's guards and solvers, bit for bit what the window
// shows, or (--converged) the converged solvers of converged/converged.h over their own
// range, in the same units in and out. A state either refuses prints the same refusal.
enum class Solver { window, converged };

// Guards and solves one point given in the dialog's units. Returns 1 with *state
// written (t degC, p bar, h J/kg, s J/(kg K)), or 0 when refused.
int solve_display_pair(int pair, double a, double b, SteamState* state,
                       Solver solver = Solver::window);

// The turbine expansion from (p1 bar, t1 degC) to p2 bar with the efficiency in percent.
// Returns 1 with all three states written, or 0 when refused.
int solve_turbine(double p1, double t1, double p2, double efficiency, SteamState* inlet,
                  SteamState* isentropic, SteamState* outlet, Solver solver = Solver::window);

// The six values vapora-calc shows of a state, in order t [degC], p [bar], h [kJ/kg],
// s [kJ/kg degC], v [m3/kg], x.
void display_values(const SteamState& state, double values[6]);

// Writes value with 17 significant digits, as printf's "%.17g" does, at out (room for
// 32 characters) and returns the end; no terminator.
char* format_value(double value, char* out);

// The batch's solving step, the one place where a row meets a solver: pair (an InputPair,
// t_p .. p_x or turbine) with its two (four) values in the dialog's units. Returns 1 with
// *state written (for a turbine row its actual outlet), or 0 when refused.
int batch_solve(int pair, const double values[4], SteamState* state,
                Solver solver = Solver::window);

// Whether a record gets an answer: not blank, not a comment and not the header (a first
// row whose first field starts with "pair"). first_row is true until a row (header
// included) has been met; the function clears it.
bool batch_answers(const CsvRecord& record, bool* first_row);

// The status of an answered record: "ok" with *state written, the refusal, or
// "bad row: <reason>".
const char* batch_status(const CsvRecord& record, SteamState* state,
                         Solver solver = Solver::window);

// Appends the answer row of an answered record to *out, with its line break.
void batch_append_answer(const CsvRecord& record, std::string* out, Solver solver = Solver::window);

// How a batch run ended.
enum class BatchEnd {
    done,          // every record answered and written
    read_failed,   // reading the input failed (error says why)
    utf16,         // the input is UTF-16, not UTF-8 text
    not_utf8,      // the input is not UTF-8 text
    write_failed,  // writing the answers failed (error says why)
};

struct BatchResult {
    BatchEnd end = BatchEnd::done;
    int error = 0;  // errno of a failed read or write
};

// Reads the CSV rows of the descriptor in and writes the header and the answers to out.
// Before it waits for more of a pipe or terminal it writes every answer so far, so that
// a program can converse with it row by row; from a regular file answers leave in blocks
// of about 64 kB. Input that is not UTF-8 gets no answer after the refusal; a file is
// checked whole before its first row is answered (tools/csv_reader.h).
BatchResult batch_run(int in, int out, Solver solver = Solver::window);
