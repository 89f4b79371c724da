// Time per call of the property library: v, h, s of each subregion at a
// representative state, the volume searches of the critical region, and the
// saturation line.
#include <benchmark/benchmark.h>

#include "properties/properties.h"

namespace {

using Fn1 = double (*)(double);
using Fn2 = double (*)(double, double);

// The inputs are read through volatile copies at every call, so that the
// compiler can neither fold nor hoist them. (DoNotOptimize on the input
// variables themselves let this compiler drop their stores.)
void one_argument(benchmark::State& state, Fn1 f, double x) {
    volatile double input_x = x;
    for (auto _ : state) {
        const double a = input_x;
        benchmark::DoNotOptimize(f(a));
    }
}

void two_arguments(benchmark::State& state, Fn2 f, double x, double y) {
    volatile double input_x = x, input_y = y;
    for (auto _ : state) {
        const double a = input_x, b = input_y;
        benchmark::DoNotOptimize(f(a, b));
    }
}

// The three properties of one state together, as a state solver asks them.
void three_properties(benchmark::State& state, Fn2 f, Fn2 g, Fn2 h, double x, double y) {
    volatile double input_x = x, input_y = y;
    for (auto _ : state) {
        const double a = input_x, b = input_y;
        benchmark::DoNotOptimize(f(a, b));
        benchmark::DoNotOptimize(g(a, b));
        benchmark::DoNotOptimize(h(a, b));
    }
}

// The three at once from one common part, as props_from_TP asks them.
using Fused = void (*)(double, double, double*, double*, double*);
void fused_properties(benchmark::State& state, Fused f, double x, double y) {
    volatile double input_x = x, input_y = y;
    for (auto _ : state) {
        double v, h, s;
        f(input_x, input_y, &v, &h, &s);
        benchmark::DoNotOptimize(v + h + s);
    }
}

// Compressed liquid at 100 degC, 10 MPa.
BENCHMARK_CAPTURE(two_arguments, sub1_volume, sub1_volume, 373.15, 1e7);
BENCHMARK_CAPTURE(two_arguments, sub1_enthalpy, sub1_enthalpy, 373.15, 1e7);
BENCHMARK_CAPTURE(two_arguments, sub1_entropy, sub1_entropy, 373.15, 1e7);
BENCHMARK_CAPTURE(three_properties, sub1_v_h_s, sub1_volume, sub1_enthalpy, sub1_entropy, 373.15,
                  1e7);
BENCHMARK_CAPTURE(fused_properties, sub1_properties, sub1_properties, 373.15, 1e7);

// Superheated steam at 300 degC, 1 MPa.
BENCHMARK_CAPTURE(two_arguments, sub2_volume, sub2_volume, 573.15, 1e6);
BENCHMARK_CAPTURE(two_arguments, sub2_enthalpy, sub2_enthalpy, 573.15, 1e6);
BENCHMARK_CAPTURE(two_arguments, sub2_entropy, sub2_entropy, 573.15, 1e6);
BENCHMARK_CAPTURE(three_properties, sub2_v_h_s, sub2_volume, sub2_enthalpy, sub2_entropy, 573.15,
                  1e6);
BENCHMARK_CAPTURE(fused_properties, sub2_properties, sub2_properties, 573.15, 1e6);

// Critical region at 650 K, 0.0025 m3/kg.
BENCHMARK_CAPTURE(two_arguments, sub3_pressure, sub3_pressure, 650.0, 0.0025);
BENCHMARK_CAPTURE(two_arguments, sub3_enthalpy, sub3_enthalpy, 650.0, 0.0025);
BENCHMARK_CAPTURE(two_arguments, sub3_entropy, sub3_entropy, 650.0, 0.0025);

// Liquid near the critical point at 640 K, 0.002 m3/kg.
BENCHMARK_CAPTURE(two_arguments, sub4_pressure, sub4_pressure, 640.0, 0.002);
BENCHMARK_CAPTURE(two_arguments, sub4_enthalpy, sub4_enthalpy, 640.0, 0.002);
BENCHMARK_CAPTURE(two_arguments, sub4_entropy, sub4_entropy, 640.0, 0.002);

// Volume searches: a start value accepted as it is, and ones that bisect.
BENCHMARK_CAPTURE(two_arguments, sub3_volume_start_accepted, sub3_volume, 647.3, 2.5e7);
BENCHMARK_CAPTURE(two_arguments, sub3_volume_bisection, sub3_volume, 700.0, 5e7);
BENCHMARK_CAPTURE(two_arguments, sub4_volume_bisection, sub4_volume, 640.0, 3e7);
BENCHMARK_CAPTURE(one_argument, sub4_sat_liquid_volume, sub4_sat_liquid_volume, 640.0);
BENCHMARK_CAPTURE(one_argument, critical_isotherm_volume, critical_isotherm_volume, 3e7);

// Saturation line.
BENCHMARK_CAPTURE(one_argument, sat_pressure, sat_pressure, 373.15);
BENCHMARK_CAPTURE(one_argument, sat_temperature_101325Pa, sat_temperature, 101325.0);
BENCHMARK_CAPTURE(one_argument, sat_temperature_16_5MPa, sat_temperature, 16535000.0);

}  // namespace

BENCHMARK_MAIN();
