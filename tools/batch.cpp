// Batch states, and the state and turbine solving that vapora-calc's commands share.
#include "tools/batch.h"

#include <sys/types.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && is_blank(text[begin])) ++begin;
    while (end > begin && is_blank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> split_fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = line.find(',', begin);
        const std::size_t end = comma == std::string::npos ? line.size() : comma;
        fields.push_back(trimmed(line, begin, end));
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
    while (fields.size() > 1 && fields.back().empty()) fields.pop_back();
    return fields;
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

// The answer to a row already split into fields: a state, a refusal or a bad row.
void answer_fields(const std::vector<std::string>& fields, std::string* out) {
    const bool is_turbine = fields[0] == "turbine";
    const int pair = is_turbine ? turbine : pair_code_of(fields[0].c_str());
    if (pair < 0) {
        append_row(fields, nullptr,
                   "bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)", out);
        return;
    }
    const std::size_t count = is_turbine ? 4 : 2;
    if (fields.size() != count + 1) {
        append_row(
            fields, nullptr,
            is_turbine ? "bad row: turbine takes 4 numbers" : "bad row: a pair takes 2 numbers",
            out);
        return;
    }
    double x[4];
    for (std::size_t i = 0; i < count; ++i)
        if (!parse_number_field(fields[i + 1].c_str(), &x[i])) {
            const std::string status = std::string("bad row: ") + "abcd"[i] + " is not a number";
            append_row(fields, nullptr, status, out);
            return;
        }
    SteamState state, inlet, isentropic;
    const int solved = is_turbine
                           ? solve_turbine(x[0], x[1], x[2], x[3], &inlet, &isentropic, &state)
                           : solve_display_pair(pair, x[0], x[1], &state);
    append_row(fields, solved ? &state : nullptr, solved ? "ok" : refusal_text, out);
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

int solve_display_pair(int pair, double a, double b, SteamState* state) {
    if (pair < t_p || pair > p_x) return 0;
    const char* name = pair_names[pair];
    return solve_typed_point(pair, to_solver_units(name[0], a), to_solver_units(name[2], b), state);
}

int solve_turbine(double p1, double t1, double p2, double efficiency, SteamState* inlet,
                  SteamState* isentropic, SteamState* outlet) {
    return solve_typed_point(t_p, t1, p1, inlet) &&
           turbine_expansion(inlet, p2, efficiency, isentropic, outlet);
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

void batch_answer_line(const std::string& line, bool* first_row, std::string* out) {
    std::size_t start = 0;
    // A byte-order mark, as spreadsheets write it, is not part of the first field.
    if (*first_row && line.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    while (start < line.size() && is_blank(line[start])) ++start;
    if (start == line.size() || line[start] == '#') return;
    const bool header = *first_row && line.compare(start, 4, "pair") == 0;
    *first_row = false;
    if (!header) answer_fields(split_fields(line.substr(start)), out);
}

#ifdef _WIN32
// The Windows C runtime has no getline: this one reads as it does, the line with its '\n'
// into a growing buffer, -1 at the end of the input. It reads byte by byte, each byte
// once, so it ends with the input.
ssize_t getline(char** buffer, std::size_t* capacity, std::FILE* in) {
    std::size_t n = 0;
    for (int c; (c = std::getc(in)) != EOF;) {
        if (n + 2 > *capacity) {
            *capacity = *capacity ? 2 * *capacity : 128;
            *buffer = static_cast<char*>(std::realloc(*buffer, *capacity));
        }
        (*buffer)[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (n == 0) return -1;
    (*buffer)[n] = '\0';
    return static_cast<ssize_t>(n);
}
#endif

bool batch_run(std::FILE* in, std::FILE* out) {
    bool first_row = true;
    std::string line, answers = std::string(batch_header) + '\n';
    char* buffer = nullptr;
    std::size_t capacity = 0;
    ssize_t n;
    // getline keeps a NUL byte inside a line, so no line can swallow the next one.
    while ((n = getline(&buffer, &capacity, in)) >= 0) {
        line.assign(buffer, static_cast<std::size_t>(n));
        if (!line.empty() && line.back() == '\n') line.pop_back();
        for (char& c : line)
            if (c == '\0') c = '?';  // not text: the field is then no number
        batch_answer_line(line, &first_row, &answers);
        // Answers leave in blocks of about 64 kB.
        if (answers.size() > 65000) {
            std::fwrite(answers.data(), 1, answers.size(), out);
            answers.clear();
        }
    }
    std::free(buffer);
    // Input that could not be read from its start (a directory, say) gets no table at all.
    const bool read = !std::ferror(in);
    if (read || answers.size() > sizeof batch_header)
        std::fwrite(answers.data(), 1, answers.size(), out);
    return read;
}
