#!/usr/bin/env python3
"""Prints the start-value table of the converged saturation temperature
(sat_fit in converged/forward.cpp): for each binary octave p = m 2^e,
0.5 <= m < 1, e = 10 ... 25, the temperature [K] on the saturation line as a
polynomial of degree 7 in u = 4 m - 3, interpolated at the Chebyshev nodes of
the octave. The root of the K function is found by bisection in plain
floats; above 647.3 K the formula is continued so that the top octave has no
kink. Prints the largest deviation of each octave on stderr."""
import math
import sys

K = [-7.691234564, -26.08023696, -168.1706546, 64.23285504, -118.9646225,
     4.16711732, 20.9750676, 1e9, 6.0]
DEGREE = 7


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
        values = [sat_temperature((u + 3) / 4 * 2 ** e) for u in nodes]
        c = [2.0 / n * sum(values[j] * math.cos(math.pi * i * (j + 0.5) / n) for j in range(n))
             for i in range(n)]
        c[0] /= 2
        mono = [0.0] * n
        for i in range(n):
            for j, t in enumerate(cheb[i]):
                mono[j] += c[i] * t
        worst = 0.0
        for i in range(401):
            u = -1 + i / 200
            p = (u + 3) / 4 * 2 ** e
            if 611 <= p <= 2.2121e7:
                T = sum(cm * u ** k for k, cm in enumerate(mono))
                worst = max(worst, abs(T - sat_temperature(p)))
        print(f"octave {e}: within {worst:.2e} K", file=sys.stderr)
        print("    {" + ", ".join(f"{x:.17g}" for x in mono) + "},")


main()
