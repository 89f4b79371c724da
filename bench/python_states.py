#!/usr/bin/env python3
"""CPU time per state of the vapora package: one call over a million (T, p) states
against the C interface's own call on the same arrays (vapora_solve_n through one
ctypes call, buffers made beforehand), and per pair against python3-iapws (IAPWS-IF97
in pure Python) on a few thousand of the same states.

    PYTHONPATH=build/python python3 bench/python_states.py [STATES]

Prints the least process CPU time of each over several rounds.
"""
import sys
import time

import numpy as np

import vapora

try:
    from iapws import IAPWS97
except ImportError:
    IAPWS97 = None


def best_cpu(*calls, rounds=5):
    """The least CPU time of each call over the rounds, the calls taking turns so that
    all see the same load on the machine."""
    best = [float("inf")] * len(calls)
    for _ in range(rounds):
        for i, call in enumerate(calls):
            start = time.process_time()
            call()
            best[i] = min(best[i], time.process_time() - start)
    return best if len(calls) > 1 else best[0]


def states(n, seed=1):
    """(T, p) in liquid and steam over the window's range: 10..700 degC, 0.02..1000 bar."""
    rng = np.random.default_rng(seed)
    return rng.uniform(283.15, 973.15, n), np.exp(rng.uniform(np.log(2e3), np.log(1e8), n))


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 1_000_000
    T, p = states(n)
    out = np.empty(n, vapora._STATE)
    status = np.empty(n, vapora._STATUS)
    c, py = best_cpu(lambda: vapora._solve_n(vapora.PAIRS["t_p"], n, T.ctypes.data, p.ctypes.data,
                                             0, out.ctypes.data, status.ctypes.data),
                     lambda: vapora.solve("t_p", T, p), rounds=9)
    print(f"{n} (T, p) states, CPU s: C interface {c:.3f}, vapora.solve {py:.3f}, "
          f"ratio {py / c:.2f}; answered {np.count_nonzero(status == vapora.OK)}")

    if IAPWS97 is None:
        print("python3-iapws is not installed: no comparison")
        return
    k = 2000
    st = vapora.solve("t_p", T[:k], p[:k])
    ok = st.status == vapora.OK
    single = {name: getattr(st, name)[ok] for name in vapora.FIELDS}
    wet_p = np.exp(np.random.default_rng(2).uniform(np.log(2e3), np.log(2.2e7), k))
    # pair: (vapora's arrays, iapws's keyword arguments per state: T [K], P [MPa], h [kJ/kg],
    # s [kJ/(kg K)])
    cases = {
        "t_p": ((single["T"], single["p"]), lambda i: dict(T=single["T"][i], P=single["p"][i] / 1e6)),
        "p_h": ((single["p"], single["h"]), lambda i: dict(P=single["p"][i] / 1e6, h=single["h"][i] / 1e3)),
        "p_s": ((single["p"], single["s"]), lambda i: dict(P=single["p"][i] / 1e6, s=single["s"][i] / 1e3)),
        "p_x": ((wet_p, np.full(k, 0.5)), lambda i: dict(P=wet_p[i] / 1e6, x=0.5)),
    }
    print("| pair | vapora.solve, ns/state | python3-iapws, us/state | ratio |")
    print("|---|---|---|---|")
    for pair, ((a, b), kwargs) in cases.items():
        m, many_a, many_b = len(a), np.resize(a, n), np.resize(b, n)
        ours = best_cpu(lambda: vapora.solve(pair, many_a, many_b), rounds=3) / n
        theirs = best_cpu(lambda: [IAPWS97(**kwargs(i)) for i in range(m)], rounds=1) / m
        print(f"| {pair} | {ours * 1e9:.0f} | {theirs * 1e6:.0f} | {theirs / ours:.0f} |")


if __name__ == "__main__":
    main()
