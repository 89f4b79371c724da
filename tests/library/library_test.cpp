// libvapora through vapora.h alone: the formulation's reference values and the refusals
// with either flag, VAPORA_AS_WINDOW against vapora-calc state bit for bit over a seeded
// grid, and that grid solved by eight threads at once (CI runs the thread test under
// ThreadSanitizer too).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <thread>

#include "process.h"
#include "vapora.h"

namespace {

// A seeded grid over and around the window's valid space, every pair, in SI; h and s in
// steps of 1/1024 kJ, so that typed in kJ they reach the window as the same double.
struct Call {
    vapora_pair pair;
    double si[2];
};
std::vector<Call> grid() {
    std::mt19937 random(21);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Call> calls;
    for (int i = 0; i < 24 * VAPORA_PAIR_COUNT; ++i) {  // 24 states a pair, a third refused
        Call c{vapora_pair(i % VAPORA_PAIR_COUNT), {}};
        for (int k = 0; k < 2; ++k) {
            const char q = vapora_pair_name(c.pair)[2 * k];
            c.si[k] = q == 't'   ? 263.15 + 740 * u(random)          // -10 to 730 degC
                      : q == 'p' ? 1e3 * std::pow(1.2e5, u(random))  // 0.01 to 1200 bar
                      : q == 'x'
                          ? 1.2 * u(random) - 0.1
                          : 1000 * std::round((q == 'h' ? 4300 : 11) * 1024 * u(random)) / 1024;
        }
        calls.push_back(c);
    }
    return calls;
}

// A value typed for vapora-calc as the library hands it to the window: t in degC, p in
// bar; h and s in kJ, which the tool multiplies by 1000.
std::string typed(char quantity, double si) {
    char text[32];
    const double factor = quantity == 'p' ? 1e5 : quantity == 'h' || quantity == 's' ? 1e3 : 1;
    std::snprintf(text, sizeof text, "%.17g", quantity == 't' ? si - 273.15 : si / factor);
    return text;
}

// Every call with both flags, in the grid's order whatever the order of solving.
struct Answer {
    int status[2];
    vapora_state st[2];
};
std::vector<Answer> solve_all(const std::vector<Call>& calls, bool reversed) {
    std::vector<Answer> answers(calls.size());
    for (std::size_t k = 0; k < calls.size(); ++k) {
        const std::size_t i = reversed ? calls.size() - 1 - k : k;
        for (int f = 0; f < 2; ++f)
            answers[i].status[f] =
                vapora_solve(calls[i].pair, calls[i].si[0], calls[i].si[1], f, &answers[i].st[f]);
    }
    return answers;
}

}  // namespace

// Subregions 1 and 2 at (T, p) to the digits printed, in one array with a NaN; 1073.15 K
// lies outside the window's range. The library's own refusals, before either solver runs;
// a turbine's efficiency as a fraction.
TEST(Library, ReferenceValuesAndRefusals) {
    const double T[] = {293.15, 773.15, 1073.15, NAN}, p[] = {1e5, 1e7, 1e8, 1e5};
    const double h[] = {83953.6, 3374598.2, 3714263.5}, s[] = {296.277, 6599.445, 6039.661};
    for (int flags : {VAPORA_CONVERGED, VAPORA_AS_WINDOW}) {
        vapora_state st[4] = {}, none = {};
        vapora_status status[4];
        EXPECT_EQ(vapora_solve_n(VAPORA_TP, 4, T, p, flags, st, status), flags ? 2u : 3u);
        for (int i = 0; i < 3 - flags; ++i) {
            EXPECT_NEAR(st[i].h, h[i], 0.05) << T[i];
            EXPECT_NEAR(st[i].s, s[i], 0.0005) << T[i];
        }
        EXPECT_EQ(status[2], flags ? VAPORA_OUT_OF_RANGE : VAPORA_OK);
        EXPECT_EQ(status[3], VAPORA_INVALID);
        EXPECT_EQ(std::memcmp(&st[3], &none, sizeof none), 0);
        EXPECT_EQ(vapora_solve(vapora_pair(VAPORA_PAIR_COUNT), 400, 1e5, flags, st),
                  VAPORA_INVALID);
        EXPECT_EQ(vapora_solve(VAPORA_TP, 400, 1e5, flags, nullptr), VAPORA_INVALID);
        EXPECT_EQ(vapora_turbine(1e7, 800, 1e4, NAN, flags, st, st + 1, st + 2), VAPORA_INVALID);
        // The README's turbine, 100 bar and 500 degC to 0.1 bar at 85 %.
        EXPECT_EQ(vapora_turbine(1e7, 773.15, 1e4, 0.85, flags, st, st + 1, st + 2), VAPORA_OK);
        EXPECT_NEAR(st[2].h, 2282549.2120, 0.01);
    }
    vapora_state st;
    EXPECT_EQ(vapora_solve(VAPORA_TP, 400, 1e5, 2, &st), VAPORA_INVALID);  // no such flag
}

// The window's answers in SI are what vapora-calc state prints converted (t + 273.15,
// p 1e5), bit for bit; its refusals are the tool's.
TEST(Library, AsWindowIsVaporaCalcStateBitForBit) {
    const std::vector<Call> calls = grid();
    const std::vector<Answer> answers = solve_all(calls, false);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const vapora_state& st = answers[i].st[VAPORA_AS_WINDOW];
        const std::string name = vapora_pair_name(calls[i].pair),
                          a = typed(name[0], calls[i].si[0]), b = typed(name[2], calls[i].si[1]);
        const ProcessResult run = run_process({VAPORA_CALC, "state", name, a, b});
        ASSERT_EQ(run.status, answers[i].status[VAPORA_AS_WINDOW] ? 1 : 0) << name << a << b;
        if (run.status != 0) continue;
        double v[6];  // t degC, p bar, h kJ/kg, s kJ/kg C, v, x
        ASSERT_EQ(std::sscanf(run.out.c_str(), "t %lf p %lf h %lf s %lf v %lf x %lf", v, v + 1,
                              v + 2, v + 3, v + 4, v + 5),
                  6)
            << run.out;
        const vapora_state ours = {st.T, st.p, st.h / 1000, st.s / 1000, st.v, st.x},
                           shown = {v[0] + 273.15, v[1] * 1e5, v[2], v[3], v[4], v[5]};
        EXPECT_EQ(std::memcmp(&ours, &shown, sizeof ours), 0) << name << a << b << run.out;
    }
}

TEST(Threads, ManyAtOnceAnswerAsOne) {
    const std::vector<Call> calls = grid();
    const std::vector<Answer> one = solve_all(calls, false);
    std::vector<std::vector<Answer>> many(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] { many[t] = solve_all(calls, t % 2 == 1); });
    for (std::thread& thread : threads) thread.join();
    for (const std::vector<Answer>& answers : many)
        EXPECT_EQ(std::memcmp(answers.data(), one.data(), one.size() * sizeof(Answer)), 0);
}
