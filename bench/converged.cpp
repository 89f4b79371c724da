// Benchmarks of the converged solvers, side by side with the window's, in
// one process:
//   - for each state (liquid, steam, two near the critical point): the
//     window's v, h, s from (T, p) (one forward evaluation), the converged
//     (T, p), and each pair (p, h), (p, s), (T, h), (T, s) converged and by
//     the window's bisections, at the same state;
//   - the saturation temperature from pressure against one saturation
//     pressure, converged and the window's.
// At the end a table gives each converged solve as a multiple of the forward
// evaluation at its state (for the saturation temperature, of one saturation
// pressure) and its speed-up over the window's solve, from the CPU times.
//
// --instructions instead runs each case a fixed number of times between
// callgrind's start and stop marks, one dump per case, for
// valgrind --tool=callgrind --instr-atstart=no (see bench/README.md).
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define VAPORA_CALLGRIND 1
#endif

#include "converged/converged.h"
#include "solvers/solvers.h"

namespace {

struct Region {
    const char* name;
    double T, p;  // K, Pa
};

const Region regions[] = {
    {"liquid_150C_100bar", 423.15, 1e7},
    {"steam_300C_10bar", 573.15, 1e6},
    {"critical_650K_250bar", 650.0, 2.5e7},
    {"critical_liquid_640K_250bar", 640.0, 2.5e7},
};

enum PairId { TP, PH, PS, TH, TS };
const char* const pair_names[] = {"T,p", "p,h", "p,s", "T,h", "T,s"};

// One call of a solve; `sink` keeps the results alive.
using Call = void (*)(const Region&, double h, double s, volatile double* sink);

void forward(const Region& r, double, double, volatile double* sink) {
    double v, h, s;
    props_from_TP(r.T, r.p, &v, &h, &s);
    *sink = v + h + s;
}

template <PairId id>
void converged(const Region& r, double h, double s, volatile double* sink) {
    ConvergedState st;
    switch (id) {
        case TP:
            converged_state_from_T_p(r.T, r.p, &st);
            break;
        case PH:
            converged_state_from_p_h(r.p, h, &st);
            break;
        case PS:
            converged_state_from_p_s(r.p, s, &st);
            break;
        case TH:
            converged_state_from_T_h(r.T, h, &st);
            break;
        case TS:
            converged_state_from_T_s(r.T, s, &st);
            break;
    }
    *sink = st.T + st.p + st.v;
}

template <PairId id>
void window(const Region& r, double h, double s, volatile double* sink) {
    const double t = r.T - celsius_zero, p = r.p / pascals_per_bar;
    double a = 0, b = 0, c = 0, d = 0;
    switch (id) {
        case TP:
            forward(r, h, s, sink);
            return;
        case PH:
            state_from_p_h(p, h, &a, &b, &c, &d);
            break;
        case PS:
            state_from_p_s(p, s, &a, &b, &c, &d);
            break;
        case TH:
            state_from_t_h(t, h, &a, &b, &c, &d);
            break;
        case TS:
            state_from_t_s(t, s, &a, &b, &c, &d);
            break;
    }
    *sink = a + b + c + d;
}

const Call converged_calls[] = {converged<TP>, converged<PH>, converged<PS>, converged<TH>,
                                converged<TS>};
const Call window_calls[] = {window<TP>, window<PH>, window<PS>, window<TH>, window<TS>};

// The saturation line at 1 bar, 10 bar, 100 bar and 220 bar.
const double sat_pressures[] = {1e5, 1e6, 1e7, 2.2e7};

struct Case {
    std::string name;
    void (*run)(const Case&, volatile double*);
    Region region;
    Call call;
    double h, s, p_sat;
};

void run_region_call(const Case& c, volatile double* sink) {
    c.call(c.region, c.h, c.s, sink);
}
void run_converged_sat(const Case& c, volatile double* sink) {
    double T;
    converged_sat_temperature(c.p_sat, &T);
    *sink = T;
}
void run_window_sat(const Case& c, volatile double* sink) {
    *sink = sat_temperature(c.p_sat);
}
void run_sat_pressure(const Case& c, volatile double* sink) {
    *sink = sat_pressure(c.h);  // h holds the saturation temperature here
}

std::vector<Case> all_cases() {
    std::vector<Case> cases;
    for (const Region& r : regions) {
        ConvergedState st;
        converged_state_from_T_p(r.T, r.p, &st);
        const std::string at = std::string("/") + r.name;
        cases.push_back({"forward" + at, run_region_call, r, forward, st.h, st.s, 0});
        for (int id = TP; id <= TS; ++id) {
            const std::string pair = pair_names[id];
            cases.push_back(
                {"converged/" + pair + at, run_region_call, r, converged_calls[id], st.h, st.s, 0});
            if (id != TP)
                cases.push_back(
                    {"window/" + pair + at, run_region_call, r, window_calls[id], st.h, st.s, 0});
        }
    }
    for (double p : sat_pressures) {
        double T;
        converged_sat_temperature(p, &T);
        const std::string at = "/" + std::to_string(int(p / pascals_per_bar)) + "bar";
        cases.push_back({"sat_pressure" + at, run_sat_pressure, {}, nullptr, T, 0, p});
        cases.push_back({"converged/sat_T" + at, run_converged_sat, {}, nullptr, 0, 0, p});
        cases.push_back({"window/sat_T" + at, run_window_sat, {}, nullptr, 0, 0, p});
    }
    return cases;
}

void BM_case(benchmark::State& state, Case c) {
    volatile double sink = 0;
    for (auto _ : state) c.run(c, &sink);
}

// Collects the CPU time per call of every case (the median when repeated)
// and prints the table of multiples and speed-ups after the runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median)
                ns_[run.run_name.function_name.substr(std::strlen("BM_case/"))] =
                    run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-6s %-28s %10s %10s %9s %10s %9s\n", "pair", "state", "conv_ns", "ref_ns",
                    "multiple", "window_ns", "speed-up");
        for (const Region& r : regions)
            for (int id = TP; id <= TS; ++id)
                row(pair_names[id], r.name, std::string("forward/") + r.name);
        for (double p : sat_pressures) {
            const std::string at = std::to_string(int(p / pascals_per_bar)) + "bar";
            row("sat_T", at.c_str(), "sat_pressure/" + at);
        }
    }

private:
    void row(const std::string& pair, const std::string& at, const std::string& ref) {
        const double conv =
            ns_[pair == "sat_T" ? "converged/sat_T/" + at : "converged/" + pair + "/" + at];
        const double win =
            ns_[pair == "sat_T" ? "window/sat_T/" + at
                                : (pair == "T,p" ? ref : "window/" + pair + "/" + at)];
        std::printf("%-6s %-28s %10.1f %10.1f %9.2f %10.1f %9.1f\n", pair.c_str(), at.c_str(), conv,
                    ns_[ref], conv / ns_[ref], win, win / conv);
    }
    std::map<std::string, double> ns_;
};

// Each case a fixed number of times, one callgrind dump per case.
int count_instructions(int repeats) {
#ifdef VAPORA_CALLGRIND
    volatile double sink = 0;
    for (const Case& c : all_cases()) {
        c.run(c, &sink);  // the first call outside the count
        CALLGRIND_ZERO_STATS;
        CALLGRIND_START_INSTRUMENTATION;
        for (int i = 0; i < repeats; ++i) c.run(c, &sink);
        CALLGRIND_STOP_INSTRUMENTATION;
        CALLGRIND_DUMP_STATS_AT(c.name.c_str());
    }
    return 0;
#else
    (void)repeats;
    std::fprintf(stderr, "bench_converged: built without valgrind/callgrind.h\n");
    return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // --instructions N: each case N times under callgrind.
    if (argc == 3 && std::strcmp(argv[1], "--instructions") == 0)
        return count_instructions(std::atoi(argv[2]));
    for (const Case& c : all_cases())
        benchmark::RegisterBenchmark(("BM_case/" + c.name).c_str(), BM_case, c);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
