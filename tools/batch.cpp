// Batch states, and the state and turbine solving that vapora-calc's commands share.
#include "tools/batch.h"

#include <unistd.h>

#include <charconv>
#include <cerrno>
#include <cstring>

#include "converged/converged.h"
#include "library/converged_pairs.h"
#include "solvers/solvers.h"
#include "solvers/typed_number.h"

const char batch_header[] = "pair,a,b,c,d,t_C,p_bar,h_kJ_kg,s_kJ_kgC,v_m3_kg,x,status";
const char refusal_text[] = "Data out of range, please retry";

namespace {

// In code order (InputPair). The batch writes them with '_', as program-state codes;
// vapora-calc's state command also takes the dialog's "t,p".
const char* const pair_names[] = {"t_p", "t_h", "p_h", "t_s", "p_s", "t_x", "p_x"};
constexpr int pair_count = sizeof pair_names / sizeof pair_names[0];

// The columns of an answer: pair and a to d echoed, the state, the status.
constexpr std::size_t echo_columns = 5;
constexpr int state_columns = 6;

// The dialog types h and s in kJ; the solvers take J.
double to_solver_units(char quantity, double value) {
    return (quantity == 'h' || quantity == 's') ? value * 1000.0 : value;
}

// The converged solvers take T in K, p in Pa, h and s in J.
double to_si(char quantity, double value) {
    return quantity == 't'   ? value + celsius_zero
           : quantity == 'p' ? value * pascals_per_bar
                             : to_solver_units(quantity, value);
}

// A converged state in the records' units, t in degC and p in bar.
SteamState from_si(const ConvergedState& state) {
    return {state.T - celsius_zero, state.p / pascals_per_bar, state.h, state.s, state.v, state.x};
}

// A given value as given, as the window's records keep it, not after its trip to K or Pa
// and back (800 degC would come back as 800.00000000000011).
void keep_given(char quantity, double value, SteamState* state) {
    double* field = quantity == 't'   ? &state->t
                    : quantity == 'p' ? &state->p
                    : quantity == 'h' ? &state->h
                    : quantity == 's' ? &state->s
                                      : &state->x;
    *field = to_solver_units(quantity, value);
}

// A field as CSV: quoted when it holds a quote or a comma (the refusal does), so that
// every row stays twelve columns.
void append_field(const std::string& field, std::string* out) {
    if (field.find_first_of("\",") == std::string::npos) {
        *out += field;
        return;
    }
    *out += '"';
    for (char c : field) {
        if (c == '"') *out += '"';
        *out += c;
    }
    *out += '"';
}

// pair and a to d as given, then the state columns (all empty without a state), then status.
void append_row(const std::vector<std::string>& fields, const SteamState* state,
                const std::string& status, std::string* out) {
    for (std::size_t i = 0; i < echo_columns; ++i) {
        if (i > 0) *out += ',';
        if (i < fields.size()) append_field(fields[i], out);
    }
    double values[state_columns];
    if (state) display_values(*state, values);
    char number[32];
    for (int i = 0; i < state_columns; ++i) {
        *out += ',';
        if (state) out->append(number, format_value(values[i], number));
    }
    *out += ',';
    append_field(status, out);
    *out += '\n';
}

const char* const not_a_number[] = {"bad row: a is not a number", "bad row: b is not a number",
                                    "bad row: c is not a number", "bad row: d is not a number"};

// Where the answers wait for the next block to leave, and what became of the last one.
struct BatchOutput {
    int fd;
    std::string pending;
    int error = 0;  // errno of the first failed write; nothing is written after it
};

// Writes every pending answer; a failure is kept, not retried.
void flush_answers(BatchOutput* out) {
    const char* data = out->pending.data();
    std::size_t left = out->pending.size();
    // Ends: every pass writes at least one byte or stops at the error.
    while (left > 0 && out->error == 0) {
        const ssize_t n = write(out->fd, data, left);
        if (n < 0) {
            if (errno != EINTR) out->error = errno;
            continue;
        }
        data += n, left -= static_cast<std::size_t>(n);
    }
    out->pending.clear();
}

void flush_before_wait(void* out) {
    flush_answers(static_cast<BatchOutput*>(out));
}

BatchEnd end_of(CsvEnd input) {
    return input == CsvEnd::utf16      ? BatchEnd::utf16
           : input == CsvEnd::not_utf8 ? BatchEnd::not_utf8
                                       : BatchEnd::read_failed;
}

}  // namespace

int pair_code_of(const char* name) {
    for (int code = 0; code < pair_count; ++code) {
        const char* known = pair_names[code];
        if (name[0] == known[0] && (name[1] == '_' || name[1] == ',') && name[2] == known[2] &&
            name[2] != '\0' && name[3] == '\0')
            return code;
    }
    return -1;
}

int solve_display_pair(int pair, double a, double b, SteamState* state, Solver solver) {
    if (pair < t_p || pair > p_x) return 0;
    const char* name = pair_names[pair];
    if (solver == Solver::window)
        return solve_typed_point(pair, to_solver_units(name[0], a), to_solver_units(name[2], b),
                                 state);
    ConvergedState found;
    if (converged_pair_solvers[pair](to_si(name[0], a), to_si(name[2], b), &found) != converged_ok)
        return 0;
    *state = from_si(found);
    keep_given(name[0], a, state);
    keep_given(name[2], b, state);
    return 1;
}

int solve_turbine(double p1, double t1, double p2, double efficiency, SteamState* inlet,
                  SteamState* isentropic, SteamState* outlet, Solver solver) {
    if (solver == Solver::window)
        return solve_typed_point(t_p, t1, p1, inlet) &&
               turbine_expansion(inlet, p2, efficiency, isentropic, outlet);
    ConvergedState in, end, out;
    if (converged_turbine(to_si('p', p1), to_si('t', t1), to_si('p', p2), efficiency / 100, &in,
                          &end, &out) != converged_ok)
        return 0;
    *inlet = from_si(in), *isentropic = from_si(end), *outlet = from_si(out);
    keep_given('p', p1, inlet);
    keep_given('t', t1, inlet);
    keep_given('p', p2, isentropic);
    keep_given('p', p2, outlet);
    return 1;
}

void display_values(const SteamState& state, double values[6]) {
    values[0] = state.t;
    values[1] = state.p;
    values[2] = state.h / 1000.0;
    values[3] = state.s / 1000.0;
    values[4] = state.v;
    values[5] = state.x;
}

char* format_value(double value, char* out) {
    // to_chars with a precision is printf's %.17g, without the locale and much faster.
    return std::to_chars(out, out + 32, value, std::chars_format::general, 17).ptr;
}

int batch_solve(int pair, const double values[4], SteamState* state, Solver solver) {
    SteamState inlet, isentropic;
    return pair == turbine ? solve_turbine(values[0], values[1], values[2], values[3], &inlet,
                                           &isentropic, state, solver)
                           : solve_display_pair(pair, values[0], values[1], state, solver);
}

bool batch_answers(const CsvRecord& record, bool* first_row) {
    if (record.skipped) return false;
    const bool header = *first_row && record.fields[0].compare(0, 4, "pair") == 0;
    *first_row = false;
    return !header;
}

const char* batch_status(const CsvRecord& record, SteamState* state, Solver solver) {
    static const std::string too_long =
        "bad row: longer than " + std::to_string(csv_max_record) + " bytes";
    if (record.too_long) return too_long.c_str();
    if (record.malformed) return "bad row: a quote left open or followed by text";
    const std::vector<std::string>& fields = record.fields;
    const bool is_turbine = fields[0] == "turbine";
    const int pair = is_turbine ? turbine : pair_code_of(fields[0].c_str());
    if (pair < 0) return "bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)";
    const std::size_t count = is_turbine ? 4 : 2;
    if (fields.size() != count + 1)
        return is_turbine ? "bad row: turbine takes 4 numbers" : "bad row: a pair takes 2 numbers";
    double values[4];
    for (std::size_t i = 0; i < count; ++i)
        if (!parse_number_field(fields[i + 1].c_str(), &values[i])) return not_a_number[i];
    return batch_solve(pair, values, state, solver) ? "ok" : refusal_text;
}

void batch_append_answer(const CsvRecord& record, std::string* out, Solver solver) {
    SteamState state;
    const char* status = batch_status(record, &state, solver);
    append_row(record.fields, std::strcmp(status, "ok") == 0 ? &state : nullptr, status, out);
}

BatchResult batch_run(int in, int out, Solver solver) {
    BatchOutput output = {out, std::string()};
    CsvInput input;
    input.before_wait = flush_before_wait;
    input.context = &output;
    CsvRecord record;
    bool first_row = true, started = false;
    // The header goes out with the first record: input refused from its start (a
    // directory, UTF-16) gets no table at all.
    const auto start_table = [&output, &started] {
        if (!started) (output.pending = batch_header) += '\n';
        started = true;
    };
    CsvEnd e = csv_open(in, &input);
    // Ends at the input's end: every record consumes at least its line break.
    while (e == CsvEnd::record && (e = csv_next(&input, &record)) == CsvEnd::record) {
        start_table();
        if (batch_answers(record, &first_row)) batch_append_answer(record, &output.pending, solver);
        if (output.pending.size() > 65000) flush_answers(&output);  // blocks of about 64 kB
        if (output.error) break;
    }
    if (e == CsvEnd::end) start_table();
    flush_answers(&output);
    if (output.error) return {BatchEnd::write_failed, output.error};
    if (e != CsvEnd::end) return {end_of(e), input.errno_value};
    return {};
}
