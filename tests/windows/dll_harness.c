/* Loads vapora.dll as VBA does (LoadLibrary, GetProcAddress by plain name) and calls each
 * export through a VAPORA_CALL (stdcall on 32-bit) pointer:
 *   dll_harness.exe vapora.dll Vapora.bas
 * The worksheet functions must give vapora.h's answers in the window's units bit for bit,
 * -1 and the status for a refused state, and every worksheet function of Vapora.bas must
 * ask for the pair and field its name says. One line per failure; exit 1. */
#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "library/vapora.h"

static int failures;
static HMODULE dll;
#define CHECK(c) (void)((c) || (printf("FAIL line %d: %s\n", __LINE__, #c), ++failures))
/* The stack pointer, which a call that pops the wrong number of bytes leaves moved (VBA
 * reports "Bad DLL calling convention" for it). */
#if defined(__i386__)
#define STACK(sp) __asm__ volatile("mov %%esp, %0" : "=r"(sp)::"memory")
#else
#define STACK(sp) (sp = 0)
#endif
#define GET(name, ret, ...)                                                  \
    ret(VAPORA_CALL* name)(__VA_ARGS__) = (void*)GetProcAddress(dll, #name); \
    if (!name) return printf("FAIL: %s is not exported\n", #name), 1

int main(int argc, char** argv) {
    if (argc != 3 || !(dll = LoadLibraryA(argv[1]))) return printf("FAIL: no DLL loaded\n"), 1;
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

    vapora_state tp, ph, pts[3], two[2];
    vapora_status st[2];
    double a[2] = {300 + 273.15, 1273.15}, b[2] = {1e6, 1e6}, T, p;
    int status = -5, functions = 0, pair, field;
    char text[512], name[3], letter;
    unsigned long before, after;
    STACK(before);
    CHECK(vapora_solve(VAPORA_TP, 300 + 273.15, 1e6, 0, &tp) == 0);
    CHECK(VaporaState(VAPORA_TP, 300, 10, 2, 0, &status) == tp.h / 1000 && status == VAPORA_OK);
    CHECK(vapora_solve(VAPORA_PH, 5e6, 3e6, 1, &ph) == 0 &&
          VaporaState(2, 50, 3000, 0, 1, &status) == ph.T - 273.15);
    CHECK(VaporaState(VAPORA_TP, 900, 10, 3, 0, &status) == -1 && status == VAPORA_OUT_OF_RANGE);
    CHECK(VaporaState(VAPORA_TP, 300, 10, 6, 0, &status) == -1 && status == VAPORA_INVALID);
    CHECK(vapora_solve_n(VAPORA_TP, 2, a, b, 0, two, st) == 1 && st[1] == VAPORA_OUT_OF_RANGE);
    CHECK(vapora_turbine(1e7, 500 + 273.15, 0.1 * 1e5, 85 / 100.0, 0, pts, pts + 1, pts + 2) == 0);
    CHECK(VaporaTurbine(100, 500, 0.1, 85, 2, 2, &status) == pts[2].h / 1000);
    CHECK(vapora_sat_temperature(1e5, &T) == 0 && VaporaSatTemperature(1, &status) == T - 273.15);
    CHECK(vapora_sat_pressure(100 + 273.15, &p) == 0 && VaporaSatPressure(100, &status) == p / 1e5);
    CHECK(VaporaStatusText(VAPORA_OUT_OF_RANGE, text, 64) == (int)strlen(text));
    CHECK(strcmp(text, vapora_status_text(VAPORA_OUT_OF_RANGE)) == 0);
    CHECK(strcmp(vapora_pair_unit(VAPORA_PH, 1), "J/kg") == 0 && strlen(vapora_version()) >= 3);

    STACK(after);
    CHECK(before == after);

    /* "VaporaH_TP = Answer(vapora_state_field(0, t, p, 2, ...": pair t_p, field h. */
    FILE* bas = fopen(argv[2], "r");
    while (bas && fgets(text, sizeof text, bas)) {
        if (sscanf(text, " Vapora%c_%2[A-Z] = Answer(vapora_state_field(%d, %*[^,], %*[^,], %d",
                   &letter, name, &pair, &field) != 4)
            continue;
        const char* pair_name = vapora_pair_name((vapora_pair)pair);
        CHECK(pair_name && toupper(pair_name[0]) == name[0] && toupper(pair_name[2]) == name[1]);
        CHECK(field >= 0 && field < 6 && "TPHSVX"[field] == letter);
        ++functions;
    }
    CHECK(functions == 6 * 7);
    printf("%s: %d failures\n", argv[1], failures);
    return failures != 0;
}
