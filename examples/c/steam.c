/* Steam through a turbine, with libvapora: the inlet from (T, p), the same state found
 * again from (p, h), and the outlet of an expansion to 0.1 bar at 85 % efficiency.
 * Build: make (pkg-config), or cmake -S . -B build (find_package(Vapora)). */
#include <stdio.h>
#include <vapora.h>

static int report(vapora_status status) {
    fprintf(stderr, "steam: %s\n", vapora_status_text(status));
    return 1;
}

int main(void) {
    vapora_state inlet, again, end, outlet;
    vapora_status status = vapora_solve(VAPORA_TP, 773.15, 1e7, VAPORA_CONVERGED, &inlet);
    if (status != VAPORA_OK) return report(status);
    printf("inlet:  T %.2f K  p %.0f Pa  h %.1f J/kg  s %.3f J/(kg K)\n", inlet.T, inlet.p,
           inlet.h, inlet.s);
    status = vapora_solve(VAPORA_PH, inlet.p, inlet.h, VAPORA_CONVERGED, &again);
    if (status != VAPORA_OK) return report(status);
    printf("from (p, h): T %.9f K\n", again.T);
    status = vapora_turbine(1e7, 773.15, 1e4, 0.85, VAPORA_CONVERGED, &inlet, &end, &outlet);
    if (status != VAPORA_OK) return report(status);
    printf("outlet: T %.2f K  h %.1f J/kg  x %.4f\n", outlet.T, outlet.h, outlet.x);
    printf("libvapora %s\n", vapora_version());
    return 0;
}
