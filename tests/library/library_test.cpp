// libvapora through vapora.h alone: the formulation's reference values with either flag,
// refusals that write nothing, VAPORA_AS_WINDOW against vapora-calc bit for bit over a
// seeded grid, --converged likewise, and that grid solved by eight threads at once (CI runs the
// thread test under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <tuple>

#include "process.h"
#include "vapora.h"

namespace {

std::string text(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// A seeded grid over and around the window's valid space, every pair: each value in SI for
// the library, and typed for vapora-calc, for each flag, so that it reaches the same
// solver as the same double: for the window converted as the library converts it, for
// the converged solvers as the tool converts it (h and s typed in kJ/kg either way).
struct Call {
    vapora_pair pair;
    double si[2];
    std::string typed[2][2];  // [flags][value]
};
std::vector<Call> grid() {
    std::mt19937 random(21);
    std::vector<Call> calls;
    for (int i = 0; i < 24 * VAPORA_PAIR_COUNT; ++i) {  // 24 states a pair, a third refused
        Call c{vapora_pair(i % VAPORA_PAIR_COUNT), {}, {}};
        for (int k = 0; k < 2; ++k) {
            const double u = std::uniform_real_distribution<double>(0, 1)(random);
            const char q = vapora_pair_name(c.pair)[2 * k];
            const double w = q == 't'   ? 740 * u - 10               // -10 to 730 degC
                             : q == 'p' ? 0.01 * std::pow(1.2e5, u)  // 0.01 to 1200 bar
                             : q == 'x' ? 1.2 * u - 0.1
                                        : (q == 'h' ? 4300 : 11) * u;  // kJ/kg, kJ/kg C
            c.si[k] = q == 't' ? w + 273.15 : q == 'p' ? w * 1e5 : q == 'x' ? w : w * 1000;
            c.typed[VAPORA_CONVERGED][k] = text(w);
            c.typed[VAPORA_AS_WINDOW][k] = text(q == 't'   ? c.si[k] - 273.15
                                                : q == 'p' ? c.si[k] / 1e5
                                                           : w);
        }
        calls.push_back(c);
    }
    return calls;
}

// For each call, with both flags: the status and state of the pair and of the turbine from
// (p, T) = (second, first) to 0.1 bar; in the grid's order whatever the order of solving.
struct Answer {
    int status[4];
    vapora_state st[8];
};
std::vector<Answer> solve_all(const std::vector<Call>& calls, bool reversed) {
    std::vector<Answer> answers(calls.size());
    for (std::size_t k = 0; k < calls.size(); ++k) {
        const std::size_t i = reversed ? calls.size() - 1 - k : k;
        const double a = calls[i].si[0], b = calls[i].si[1];
        Answer& an = answers[i];
        for (int f = 0; f < 2; ++f) {
            an.status[f] = vapora_solve(calls[i].pair, a, b, f, &an.st[f]);
            an.status[2 + f] = vapora_turbine(b, a, 1e4, 0.8, f, &an.st[2 + 3 * f],
                                              &an.st[3 + 3 * f], &an.st[4 + 3 * f]);
        }
    }
    return answers;
}

}  // namespace

// Subregions 1 and 2 at (T, p) to the digits printed (h to 0.1 J/kg, s to 0.001 J/(kg K)),
// as one array; the last two lie outside the window's range: above 700 degC, below 0.02
// bar. A point of the saturation line.
TEST(Library, ReferenceValues) {
    const double T[] = {293.15, 623.15, 773.15, 1073.15, 773.15};
    const double p[] = {1e5, 1e8, 1e7, 1e8, 1000};
    const double h[] = {83953.6, 1550599.7, 3374598.2, 3714263.5, 3489225.1};
    const double s[] = {296.277, 3392.248, 6599.445, 6039.661, 10961.182};
    for (int flags : {VAPORA_CONVERGED, VAPORA_AS_WINDOW}) {
        vapora_state st[5];
        vapora_status status[5];
        EXPECT_EQ(vapora_solve_n(VAPORA_TP, 5, T, p, flags, st, status), flags ? 3u : 5u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(status[i], flags && i >= 3 ? VAPORA_OUT_OF_RANGE : VAPORA_OK) << T[i];
            if (status[i] != VAPORA_OK) continue;
            EXPECT_NEAR(st[i].h, h[i], 0.05) << T[i] << " " << p[i];
            EXPECT_NEAR(st[i].s, s[i], 0.0005) << T[i] << " " << p[i];
        }
    }
    double Ts = 0;
    EXPECT_EQ(vapora_sat_temperature(1e7, &Ts), VAPORA_OK);
    EXPECT_NEAR(Ts, 584.111, 5e-4);
    EXPECT_STREQ(vapora_version(), VAPORA_VERSION);
}

// The library's own refusals, before either solver runs: a status, and nothing written.
TEST(Library, RefusalsWriteNothing) {
    // clang-format off
    const std::tuple<int, double, double, int> rows[] = {
        {VAPORA_TP, std::nan(""), 1e5, 0}, {VAPORA_PH, 1e5, -HUGE_VAL, 1},
        {VAPORA_PAIR_COUNT, 400, 1e5, 0}, {-1, 400, 1e5, 1}, {VAPORA_TP, 400, 1e5, 2}};
    // clang-format on
    vapora_state st[3] = {}, none[3] = {};
    for (const auto& [pair, a, b, flags] : rows)
        EXPECT_EQ(vapora_solve(vapora_pair(pair), a, b, flags, st), VAPORA_INVALID) << pair;
    EXPECT_EQ(vapora_solve(VAPORA_TP, 773.15, 1e7, 0, nullptr), VAPORA_INVALID);
    EXPECT_EQ(vapora_turbine(1e7, 773.15, 1e4, std::nan(""), 1, st, st + 1, st + 2),
              VAPORA_INVALID);
    EXPECT_EQ(vapora_turbine(1e7, 773.15, 1e4, 0.8, 0, st, st + 1, nullptr), VAPORA_INVALID);
    EXPECT_EQ(vapora_sat_temperature(1e5, nullptr), VAPORA_INVALID);
    EXPECT_EQ(std::memcmp(st, none, sizeof st), 0);
}

// vapora-calc state answers as the library, bit for bit: with the window's solvers, and
// with --converged. Its t and p convert as the window converts them (t + 273.15, p 1e5)
// and as the tool converts the converged state (T - 273.15, p / 1e5); the given values it
// prints as typed.
TEST(Library, AsVaporaCalcStateBitForBit) {
    for (int flags : {VAPORA_CONVERGED, VAPORA_AS_WINDOW}) {
        int answered = 0;
        for (const Call& c : grid()) {
            vapora_state st;
            const std::string name = vapora_pair_name(c.pair), *typed = c.typed[flags],
                              where = name + " " + typed[0] + " " + typed[1];
            const vapora_status status = vapora_solve(c.pair, c.si[0], c.si[1], flags, &st);
            std::vector<std::string> words = {VAPORA_CALC, "state", name, typed[0], typed[1]};
            if (flags == VAPORA_CONVERGED) words.insert(words.begin() + 2, "--converged");
            const ProcessResult run = run_process(words);
            ASSERT_EQ(run.status, status == VAPORA_OK ? 0 : 1) << where << run.out << run.err;
            if (status != VAPORA_OK) continue;
            double v[6];  // t degC, p bar, h kJ/kg, s kJ/kg C, v, x
            ASSERT_EQ(std::sscanf(run.out.c_str(), "t %lf p %lf h %lf s %lf v %lf x %lf", v, v + 1,
                                  v + 2, v + 3, v + 4, v + 5),
                      6)
                << run.out;
            const bool window = flags == VAPORA_AS_WINDOW;
            const double ours[] = {window ? st.T : st.T - 273.15,
                                   window ? st.p : st.p / 1e5,
                                   st.h / 1000,
                                   st.s / 1000,
                                   st.v,
                                   st.x},
                         shown[] = {window ? v[0] + 273.15 : v[0],
                                    window ? v[1] * 1e5 : v[1],
                                    v[2],
                                    v[3],
                                    v[4],
                                    v[5]};
            for (int i = 0; i < 6; ++i)
                if (name.find("tphsvx"[i]) == std::string::npos) {  // not a given value
                    EXPECT_EQ(ours[i], shown[i]) << where << " flags " << flags << " " << i;
                }
            answered++;
        }
        EXPECT_GT(answered, 70) << flags;
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
