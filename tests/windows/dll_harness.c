/* Loads vapora.dll the way VBA does (LoadLibrary, GetProcAddress by undecorated name)
 * and calls every export through a VAPORA_CALL (stdcall on 32-bit) pointer:
 *   dll_harness.exe vapora.dll vapora.def Vapora.bas
 * Every name the .def exports and every Alias Vapora.bas declares must resolve; the
 * worksheet functions must give vapora.h's answers in the window's units, bit for bit,
 * and -1 with the status for a refused state. Prints one line per failure; exit 1. */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "library/vapora.h"

static int failures;
static HMODULE dll;
#define CHECK(c) (void)((c) || (printf("FAIL line %d: %s\n", __LINE__, #c), ++failures))

static FARPROC find(const char* name) {
    FARPROC f = GetProcAddress(dll, name);
    if (!f) printf("FAIL: %s is not exported\n", name), ++failures;
    return f;
}
#define GET(name, ret, ...) ret(VAPORA_CALL* name)(__VA_ARGS__) = (void*)find(#name)

/* Each name after `key` on lines holding `key` and not `skip`, up to the next quote or blank. */
static void resolve_names(const char* path, const char* key, const char* skip) {
    char line[512], name[128];
    FILE* f = fopen(path, "r");
    if (!f) printf("FAIL: %s cannot be read\n", path), ++failures;
    while (f && fgets(line, sizeof line, f)) {
        char* at = strstr(line, key);
        if (at && !strstr(line, skip) && sscanf(at + strlen(key), " %127[A-Za-z_]", name) == 1)
            find(name);
    }
    if (f) fclose(f);
}

int main(int argc, char** argv) {
    if (argc != 4 || !(dll = LoadLibraryA(argv[1]))) return printf("FAIL: no DLL loaded\n"), 1;
    resolve_names(argv[2], "    ", "LIBRARY"); /* the .def's export lines are indented */
    resolve_names(argv[3], "Alias \"", "kernel32");

    GET(vapora_solve, vapora_status, vapora_pair, double, double, int, vapora_state*);
    GET(vapora_solve_n, size_t, vapora_pair, size_t, const double*, const double*, int,
        vapora_state*, vapora_status*);
    GET(vapora_turbine, vapora_status, double, double, double, double, int, vapora_state*,
        vapora_state*, vapora_state*);
    GET(vapora_sat_temperature, vapora_status, double, double*);
    GET(vapora_sat_pressure, vapora_status, double, double*);
    GET(vapora_status_text, const char*, vapora_status);
    GET(vapora_version, const char*, void);
    GET(vapora_pair_name, const char*, vapora_pair);
    GET(vapora_pair_unit, const char*, vapora_pair, int);
    GET(VaporaState, double, int, double, double, int, int, int*);
    GET(VaporaTurbine, double, double, double, double, double, int, int, int*);
    GET(VaporaSatTemperature, double, double, int*);
    GET(VaporaSatPressure, double, double, int*);
    GET(VaporaStatusText, int, int, char*, int);
    if (failures) return 1;

    vapora_state tp, ph, pts[3], two[2];
    vapora_status st[2];
    double a[2] = {300 + 273.15, 1273.15}, b[2] = {1e6, 1e6}, T, p;
    int status = -5;
    char text[64];
    CHECK(vapora_solve(VAPORA_TP, 300 + 273.15, 1e6, VAPORA_CONVERGED, &tp) == VAPORA_OK);
    CHECK(fabs(tp.h - 3052.143e3) < 10.0); /* 300 degC, 10 bar */
    CHECK(VaporaState(VAPORA_TP, 300, 10, 2, VAPORA_CONVERGED, &status) == tp.h / 1000);
    CHECK(status == VAPORA_OK);
    CHECK(VaporaState(VAPORA_TP, 300, 10, 3, VAPORA_CONVERGED, &status) == tp.s / 1000);
    CHECK(vapora_solve(VAPORA_PH, 5e6, 3e6, VAPORA_AS_WINDOW, &ph) == VAPORA_OK);
    CHECK(VaporaState(VAPORA_PH, 50, 3000, 0, VAPORA_AS_WINDOW, &status) == ph.T - 273.15);
    CHECK(VaporaState(VAPORA_PH, 50, 3000, 1, VAPORA_AS_WINDOW, &status) == ph.p / 1e5);
    CHECK(VaporaState(VAPORA_TP, 900, 10, 2, VAPORA_CONVERGED, &status) == -1);
    CHECK(status == VAPORA_OUT_OF_RANGE);
    CHECK(VaporaState(VAPORA_TP, 300, 10, 6, VAPORA_CONVERGED, &status) == -1);
    CHECK(status == VAPORA_INVALID);
    CHECK(vapora_solve_n(VAPORA_TP, 2, a, b, VAPORA_CONVERGED, two, st) == 1);
    CHECK(st[0] == VAPORA_OK && st[1] == VAPORA_OUT_OF_RANGE && two[0].h == tp.h);
    CHECK(vapora_turbine(1e7, 500 + 273.15, 0.1 * 1e5, 85 / 100.0, 0, &pts[0], &pts[1], &pts[2]) ==
          VAPORA_OK);
    CHECK(VaporaTurbine(100, 500, 0.1, 85, 2, 2, &status) == pts[2].h / 1000);
    CHECK(VaporaTurbine(100, 500, 0.1, 85, 1, 5, &status) == pts[1].x);
    CHECK(vapora_sat_temperature(1e5, &T) == VAPORA_OK && fabs(T - 372.78) < 0.1);
    CHECK(VaporaSatTemperature(1, &status) == T - 273.15);
    CHECK(vapora_sat_pressure(100 + 273.15, &p) == VAPORA_OK && fabs(p - 1.0133e5) < 100);
    CHECK(VaporaSatPressure(100, &status) == p / 1e5);
    CHECK(VaporaStatusText(VAPORA_OUT_OF_RANGE, text, sizeof text) == (int)strlen(text));
    CHECK(strcmp(text, vapora_status_text(VAPORA_OUT_OF_RANGE)) == 0);
    CHECK(strcmp(vapora_pair_name(VAPORA_PH), "p_h") == 0);
    CHECK(strcmp(vapora_pair_unit(VAPORA_PH, 1), "J/kg") == 0);
    CHECK(strlen(vapora_version()) >= 3);
    printf("%s: %d failures\n", argv[1], failures);
    return failures != 0;
}
