// vapora-calc batch: rows per second through the whole path the command takes from a
// file (the check that it is UTF-8, the CSV reader, the guard and the solver, 17-digit
// formatting, block writes), on two inputs:
//   - tp: 100,000 (t, p) rows over the chart, 10..700 degC and 0.02..1000 bar
//     logarithmic, so every subregion and its volume searches take their share;
//   - mixed: 20,000 rows cycling through the seven pairs, turbine rows, refused rows
//     and garbage, the way a hand-made file mixes them.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "tools/batch.h"

namespace {

// side x side rows.
std::string tp_rows(int side) {
    std::string rows = "pair,a,b\n";
    char line[96];
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            const double t = 10.0 + 690.0 * i / (side - 1);
            const double p = 0.02 * std::pow(1000.0 / 0.02, static_cast<double>(j) / (side - 1));
            std::snprintf(line, sizeof line, "t_p,%.6g,%.6g\n", t, p);
            rows += line;
        }
    return rows;
}

std::string mixed_rows(int count) {
    static const char* const kinds[] = {
        "t_p,%.4g,10\n",   "t_h,%.4g,2800\n", "p_h,50,%.4g\n",  "t_s,%.4g,6.5\n",
        "p_s,20,%.4g\n",   "t_x,%.4g,0.5\n",  "p_x,%.4g,0.9\n", "turbine,100,%.4g,0.1,85\n",
        "t_p,%.4g,2000\n", "t_p,abc%.4g,1\n",
    };
    std::string rows;
    char line[96];
    for (int i = 0; i < count; ++i) {
        const double u = (i / 10 % 100) / 100.0;  // each kind walks its own range
        const double values[] = {
            20 + 600 * u, 50 + 300 * u,  500 + 2500 * u, 150 + 400 * u, 5 + 3 * u,
            20 + 300 * u, 0.1 + 200 * u, 400 + 200 * u,  100 * u,       u};
        std::snprintf(line, sizeof line, kinds[i % 10], values[i % 10]);
        rows += line;
    }
    return rows;
}

// The rows as a file in memory (a regular file, as the command's FILE is), answers to
// /dev/null.
void run_batch(benchmark::State& state, const std::string& rows, int count) {
    const int in = memfd_create("rows", 0), sink = open("/dev/null", O_WRONLY);
    if (write(in, rows.data(), rows.size()) != static_cast<ssize_t>(rows.size()))
        state.SkipWithError("cannot write the rows");
    for (auto _ : state) {
        lseek(in, 0, SEEK_SET);
        batch_run(in, sink);
    }
    close(in), close(sink);
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_batch_tp(benchmark::State& state) {
    const int side = 316;  // about 100,000 rows
    static const std::string rows = tp_rows(side);
    run_batch(state, rows, side * side);
}
BENCHMARK(BM_batch_tp)->Unit(benchmark::kMillisecond);

void BM_batch_mixed(benchmark::State& state) {
    static const std::string rows = mixed_rows(20000);
    run_batch(state, rows, 20000);
}
BENCHMARK(BM_batch_mixed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
