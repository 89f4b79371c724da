"""The vapora package against the C library's own calls, made one state at a time."""
import ctypes
import os
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import vapora

lib, c = vapora._lib, ctypes.c_double
lib.vapora_solve.argtypes = [ctypes.c_int, c, c, ctypes.c_int, ctypes.c_void_p]
rng = np.random.default_rng(22)
# (T, p) states over the library's range and beyond it, so that some are refused.
TP = vapora.solve("t_p", rng.uniform(260, 1100, 300), np.exp(rng.uniform(5.7, 18.6, 300)))


def same(states, i, status, records):  # the i-th states as the C call wrote them
    nan = [np.nan] * 6
    return all(st.status[i] == status and np.array_equal(
        [f[i] for f in st[:6]], list(r) if status == vapora.OK else nan, True)
        for st, r in zip(states, records))


@pytest.mark.parametrize("as_window", [False, True])
@pytest.mark.parametrize("pair", list(vapora.PAIRS))
def test_states_equal_the_c_calls_bit_for_bit(pair, as_window):
    a, b = (getattr(TP, {"t": "T"}.get(name, name)) for name in pair.split("_"))
    b = rng.uniform(-0.1, 1.1, a.size) if pair.endswith("_x") else b
    st = vapora.solve(pair, a, b, as_window=as_window)
    for i in range(a.size):
        r = (c * 6)()
        assert same([st], i, lib.vapora_solve(vapora.PAIRS[pair], a[i], b[i], as_window, r), [r])
    assert np.count_nonzero(st.status == vapora.OK) > 30


def test_turbine_and_saturation_equal_the_c_calls():
    args = np.broadcast_arrays([1e7, 1e7, 1e9], 773.15, 1e4, [0.85, 0.5, 0.85])
    points = vapora.turbine(*args)
    for i, row in enumerate(zip(*args)):
        r = [(c * 6)() for _ in range(3)]
        assert same(points, i, lib.vapora_turbine(*map(c, row), 0, *r), r)
    assert list(points[1].status) == [0, 0, vapora.OUT_OF_RANGE]
    T = vapora.sat_temperature([[1e5], [-1]])
    assert np.isnan(T[1, 0]) and vapora.sat_pressure(T[0]) == pytest.approx(1e5, rel=1e-12)


def test_refusals_shapes_and_inputs():
    st = vapora.solve("p_h", [[5e6], [np.nan]], pd.Series([3e6, np.inf, -1e9]))
    assert st.T.shape == st.status.shape == (2, 3) and np.isnan(st.h[1]).all()
    assert list(st.status.flat[1:]) == [vapora.INVALID, vapora.OUT_OF_RANGE] + [vapora.INVALID] * 3
    assert st.T[0, 0] == vapora.solve("p_h", 5e6, 3e6).T
    for args, text in [(("ph", 1, 2), "t_p, t_h, p_h"), (("p_h", [1, 2], [1, 2, 3]), r"\(2,\)"),
                       (("p_h", "steam", 1), "numbers")]:
        with pytest.raises(ValueError, match=text):
            vapora.solve(*args)


def test_imports_from_the_build_tree_and_the_install(tmp_path):
    command = [sys.executable, "-c", "import vapora; print(vapora.solve('p_h', 5e6, 3e6).T)"]
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "LD_LIBRARY_PATH")}
    subprocess.run(["cmake", "--install", os.environ["VAPORA_BUILD"], "--prefix", tmp_path],
                   check=True, capture_output=True)
    site = str(next(tmp_path.glob("lib/python3*/dist-packages")))
    for cwd, env in [(os.environ["VAPORA_PYTHON_BUILD"], env), (tmp_path, dict(env, PYTHONPATH=site))]:
        run = subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True, check=True)
        assert float(run.stdout) == vapora.solve("p_h", 5e6, 3e6).T
