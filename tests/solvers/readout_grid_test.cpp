// The readout under the cursor judges the probes of its pressure bisection by
// the entropy alone and evaluates h and v once, at the last probe. Over a grid
// of pixels of the main window's plot it must show the same six texts as the
// general path, which evaluates v, h and s at every probe.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "solvers/solvers.h"

// The general path: the valid space, the dome, then a bisection on pressure
// with a full evaluation at every probe.
static int general_readout(double t, double s, SteamState* st) {
    const double T = t + 273.15;
    if (!in_valid_space_t_s(t, s)) return 0;
    st->t = t;
    st->s = s;
    if (is_two_phase_t_s(t, s)) {
        wet_state_from_t_s(t, s, &st->h, &st->p, &st->v, &st->x);
        return 1;
    }
    double lo = 1999.9999552965164, hi = 1e8, P = lo, sP = 0;
    for (int i = 0; i < pressure_halvings_cap; ++i) {
        P = (hi + lo) * 0.5;
        props_from_TP(T, P, &st->v, &st->h, &sP);
        if (sP >= s - 0.25 && sP <= s + 0.25) break;
        (sP < s - 0.25 ? hi : lo) = P;
    }
    st->p = P / 100000;
    st->x = phase_flag(T, P);
    return 1;
}

// The six lines of the readout panel, p shown in bar as the window holds it in Pa.
static std::wstring panel_texts(const SteamState& st) {
    wchar_t text[200];
    std::swprintf(text, 200, L"%.1f | %.3f | %.0f | %.3f | %.3f | %.2f", st.t,
                  st.p * 100000 / 100000, st.h / 1000, st.s / 1000, st.v, st.x);
    return text;
}

TEST(ReadoutGrid, SameTextsAsTheGeneralPathAtEveryGridPixel) {
    // The plot of the 994 x 671 client area: origin (20, 655), 972 x 653 pixels.
    // Steps of 5 and 7 pixels cover liquid, dome, steam and the critical region.
    int inside = 0;
    for (int y = 2; y <= 655; y += 5) {
        for (int x = 20; x <= 992; x += 7) {
            const double s = (x - 20) * 10000.0 / 972, t = (2.0 + 653 - y) * 700.0 / 653;
            SteamState fast = {t, 0, 0, s, 0, 0}, general = fast;
            const int ok = state_at_diagram_point(t, s, &fast);
            ASSERT_EQ(ok, general_readout(t, s, &general)) << "t " << t << " s " << s;
            inside += ok;
            // Outside nothing is written.
            ASSERT_EQ(panel_texts(fast), panel_texts(general)) << "t " << t << " s " << s;
        }
    }
    EXPECT_GT(inside, 8000);
}
