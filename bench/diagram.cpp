// Cost of a full repaint of the chart into a memory device context (everything traced
// again, nothing cached), and of each of its steps on its own.
//
//   build-diagram/bench/bench_diagram --benchmark_repetitions=20
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "diagram/diagram.h"
#include "solvers/solvers.h"

namespace {

constexpr int W = 994;
constexpr int H = 671;

struct MemoryDc {
    HDC hdc;
    HBITMAP bitmap;
    HGDIOBJ old;
    MemoryDc() {
        hdc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(hdc, W, H);
        old = SelectObject(hdc, bitmap);
    }
    ~MemoryDc() {
        SelectObject(hdc, old);
        DeleteObject(bitmap);
        DeleteDC(hdc);
    }
};

const RECT client = {0, 0, W, H};

double max_of(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

void full_repaint(benchmark::State& state) {
    MemoryDc dc;
    DiagramFrame frame;
    for (auto _ : state) {
        draw_chart(dc.hdc, &client, &frame);
        benchmark::ClobberMemory();
    }
}

void frame_step(benchmark::State& state) {
    MemoryDc dc;
    const DiagramFrame frame = frame_from_client(&client);
    for (auto _ : state) draw_diagram_frame(dc.hdc, frame);
}

void isobars_step(benchmark::State& state) {
    MemoryDc dc;
    const DiagramFrame frame = frame_from_client(&client);
    CrossingGrid grid;
    POINT anchors[isobar_count];
    for (auto _ : state) {
        draw_isobars(dc.hdc, frame, &grid, anchors);
        benchmark::ClobberMemory();
    }
}

// The property evaluations of the isobar trace alone, without drawing: what the
// steam tables cost of the isobars' share.
void isobar_properties_only(benchmark::State& state) {
    const DiagramFrame frame = frame_from_client(&client);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < isobar_count; ++i) {
            const double p = isobar_pa(i);
            for (double t = valid_t_min + frame.t_step; t < t_axis_end; t += frame.t_step) {
                double h, s;
                props_from_TP(t + celsius_zero, p, nullptr, &h, &s);
                if (s > s_axis_end) break;
                sum += h;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

void isobar_labels_step(benchmark::State& state) {
    MemoryDc dc;
    const DiagramFrame frame = frame_from_client(&client);
    CrossingGrid grid;
    POINT anchors[isobar_count];
    draw_isobars(dc.hdc, frame, &grid, anchors);
    for (auto _ : state) draw_isobar_labels(dc.hdc, frame, anchors);
}

// End-point searches, the polylines and the labels, from the crossings of one trace.
void isenthalps_step(benchmark::State& state) {
    MemoryDc dc;
    const DiagramFrame frame = frame_from_client(&client);
    CrossingGrid traced;
    POINT traced_anchors[isobar_count];
    draw_isobars(dc.hdc, frame, &traced, traced_anchors);
    for (auto _ : state) {
        CrossingGrid grid = traced;
        POINT anchors[isobar_count];
        std::copy(traced_anchors, traced_anchors + isobar_count, anchors);
        add_isenthalp_end_points(frame, &grid, anchors);
        draw_isenthalps(dc.hdc, grid);
        draw_isenthalp_labels(dc.hdc, anchors);
        benchmark::ClobberMemory();
    }
}

void dome_step(benchmark::State& state) {
    MemoryDc dc;
    const DiagramFrame frame = frame_from_client(&client);
    for (auto _ : state) draw_saturation_dome(dc.hdc, frame);
}

void panels_step(benchmark::State& state) {
    MemoryDc dc;
    for (auto _ : state) {
        draw_status_box(dc.hdc, status_drawing);
        draw_title_box(dc.hdc, start_prompt_line1, start_prompt_line2);
    }
}

}  // namespace

#define VAPORA_STEP(fn)                    \
    BENCHMARK(fn)                          \
        ->Unit(benchmark::kMillisecond)    \
        ->Repetitions(20)                  \
        ->ComputeStatistics("max", max_of) \
        ->ReportAggregatesOnly(true)

VAPORA_STEP(full_repaint);
// One repaint per repetition: the max is that of a single repaint, not of a mean.
BENCHMARK(full_repaint)
    ->Name("full_repaint_single")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("max", max_of)
    ->ReportAggregatesOnly(true);
VAPORA_STEP(frame_step);
VAPORA_STEP(isobars_step);
VAPORA_STEP(isobar_properties_only);
VAPORA_STEP(isobar_labels_step);
VAPORA_STEP(isenthalps_step);
VAPORA_STEP(dome_step);
VAPORA_STEP(panels_step);

BENCHMARK_MAIN();
