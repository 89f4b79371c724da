#!/usr/bin/env python3
"""Prints the start-value table of the converged saturation temperature
(sat_fit in converged/forward.cpp): for each quarter q = 0 ... 3 of each
binary octave p = m 2^e, 0.5 <= m < 1, e = 10 ... 25 (m from 0.5 + q/8 to
0.5 + (q + 1)/8), the temperature [K] on the saturation line as a polynomial
of degree 5 in u = 16 (m - 0.5 - q/8) - 1, interpolated at the Chebyshev
nodes of the quarter. The root of the K function is found by bisection in
plain floats; above 647.3 K the formula is continued so that the top octave
has no kink. Prints the largest deviations of each quarter's value and slope
on stderr."""
import math
import sys

K = [-7.691234564, -26.08023696, -168.1706546, 64.23285504, -118.9646225,
     4.16711732, 20.9750676, 1e9, 6.0]
DEGREE = 5
QUARTERS = 4


def sat_pressure(T):
    theta = T / 647.3
    tau = 1 - theta
    poly = tau * (K[0] + tau * (K[1] + tau * (K[2] + tau * (K[3] + tau * K[4]))))
    E = poly / (theta * (1 + K[5] * tau + K[6] * tau * tau)) - tau / (K[7] * tau * tau + K[8])
    return 2.212e7 * math.exp(E)


def sat_temperature(p):
    lo, hi = 250.0, 700.0
    for _ in range(200):  # far below the spacing of doubles
        mid = 0.5 * (lo + hi)
        lo, hi = (mid, hi) if sat_pressure(mid) < p else (lo, mid)
    return 0.5 * (lo + hi)


def main():
    n = DEGREE + 1
    cheb = [[1.0], [0.0, 1.0]]  # Chebyshev polynomials as monomial coefficients
    for i in range(2, n):
        a = [0.0] + [2 * x for x in cheb[i - 1]]
        b = cheb[i - 2] + [0.0] * (len(a) - len(cheb[i - 2]))
        cheb.append([x - y for x, y in zip(a, b)])
    nodes = [math.cos(math.pi * (j + 0.5) / n) for j in range(n)]
    for e in range(10, 26):
        for q in range(QUARTERS):
            def pressure(u):
                return (0.5 + (q + (u + 1) / 2) / (2 * QUARTERS)) * 2 ** e
            values = [sat_temperature(pressure(u)) for u in nodes]
            c = [2.0 / n * sum(values[j] * math.cos(math.pi * i * (j + 0.5) / n)
                               for j in range(n)) for i in range(n)]
            c[0] /= 2
            mono = [0.0] * n
            for i in range(n):
                for j, t in enumerate(cheb[i]):
                    mono[j] += c[i] * t
            worst = worst_slope = 0.0
            for i in range(101):
                u = -1 + i / 50
                p = pressure(u)
                if 611 <= p <= 2.2121e7:
                    T = sum(cm * u ** k for k, cm in enumerate(mono))
                    worst = max(worst, abs(T - sat_temperature(p)))
                    # dT/dln p of the fit against the K function's own
                    dT_du = sum(k * cm * u ** (k - 1) for k, cm in enumerate(mono) if k)
                    dT_dy = dT_du * 4 * QUARTERS * p / 2 ** e
                    h = 1e-6
                    exact = (sat_temperature(p * math.exp(h)) -
                             sat_temperature(p * math.exp(-h))) / (2 * h)
                    worst_slope = max(worst_slope, abs(dT_dy / exact - 1))
            print(f"octave {e} quarter {q}: within {worst:.2e} K, slope {worst_slope:.1e}",
                  file=sys.stderr)
            print("    {" + ", ".join(f"{x:.17g}" for x in mono) + "},")


main()
