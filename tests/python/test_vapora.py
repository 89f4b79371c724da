"""The vapora package against the C library's own calls, made one state at a time."""
import ctypes
import os
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import vapora

lib = vapora._lib
rng = np.random.default_rng(22)
# (T, p) states over the library's range and a little beyond it, so some are refused.
T = rng.uniform(260.0, 1100.0, 300)
P = np.exp(rng.uniform(np.log(300.0), np.log(1.2e8), 300))
VALID = vapora.solve("t_p", T, P)


def c_state(code, a, b, flags):
    out = (ctypes.c_double * 6)()
    status = lib.vapora_solve(code, ctypes.c_double(a), ctypes.c_double(b), flags, out)
    return list(out) if status == vapora.OK else [np.nan] * 6, status


@pytest.mark.parametrize("as_window", [False, True])
@pytest.mark.parametrize("pair", list(vapora.PAIRS))
def test_states_equal_the_c_calls_bit_for_bit(pair, as_window):
    first, second = (getattr(VALID, name) for name in pair.split("_"))
    if pair.endswith("_x"):
        second = rng.uniform(-0.1, 1.1, first.size)
    st = vapora.solve(pair, first, second, as_window=as_window)
    expected = [c_state(vapora.PAIRS[pair], a, b, int(as_window)) for a, b in zip(first, second)]
    values = np.array([e[0] for e in expected])
    assert np.array_equal(st.status, [e[1] for e in expected])
    assert np.array_equal(np.column_stack(st[:6]), values, equal_nan=True)
    assert 0 < np.count_nonzero(st.status == vapora.OK) < first.size - np.isnan(first).sum()


def test_turbine_and_saturation_equal_the_c_calls():
    inlet, isentropic, outlet = vapora.turbine([1e7, 1e7, 1e9], 773.15, 1e4, [0.85, 0.5, 0.85])
    records = [(ctypes.c_double * 6)() for _ in range(3)]
    assert lib.vapora_turbine(ctypes.c_double(1e7), ctypes.c_double(773.15),
                              ctypes.c_double(1e4), ctypes.c_double(0.5), 0, *records) == 0
    for state, record in zip((inlet, isentropic, outlet), records):
        assert [field[1] for field in state[:6]] == list(record)
    assert list(outlet.status) == [0, 0, vapora.OUT_OF_RANGE] and np.isnan(outlet.h[2])
    T = ctypes.c_double()
    assert lib.vapora_sat_temperature(ctypes.c_double(1e5), ctypes.byref(T)) == 0
    assert np.array_equal(vapora.sat_temperature([[1e5], [-1]]), [[T.value], [np.nan]],
                          equal_nan=True)
    assert vapora.sat_pressure(T.value) == pytest.approx(1e5, rel=1e-12)


def test_refusals_shapes_and_inputs():
    st = vapora.solve("p_h", [[5e6], [np.nan]], [3e6, np.inf, -1e9])
    assert st.T.shape == (2, 3) and st.status.shape == (2, 3)
    assert list(st.status[1]) == [vapora.INVALID] * 3 and np.isnan(st.h[1]).all()
    assert st.status[0, 2] == vapora.OUT_OF_RANGE and np.isnan(st.x[0, 2])
    frame = pd.DataFrame({"p": [5e6, 1e5], "h": [3e6, 2e6]})
    assert np.array_equal(vapora.solve("p_h", frame.p, frame["h"]).T,
                          vapora.solve("p_h", [5e6, 1e5], [3e6, 2e6]).T)
    assert vapora.solve("t_p", 573.15, 1e6).h.shape == ()
    for call, text in [(lambda: vapora.solve("ph", 1, 2), "t_p, t_h, p_h"),
                       (lambda: vapora.solve("p_h", [1, 2], [1, 2, 3]), "(2,), (3,)"),
                       (lambda: vapora.solve("p_h", "steam", 1), "numbers")]:
        with pytest.raises(ValueError, match=text.replace("(", r"\(").replace(")", r"\)")):
            call()


def test_imports_from_the_build_tree_and_the_install(tmp_path):
    command = "import vapora; print(vapora.solve('p_h', 5e6, 3e6).T, vapora.__version__)"
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "LD_LIBRARY_PATH")}
    built = subprocess.run([sys.executable, "-c", command], cwd=os.environ["VAPORA_PYTHON_BUILD"],
                           env=env, capture_output=True, text=True, check=True).stdout
    assert built.split()[0][:7] == str(vapora.solve("p_h", 5e6, 3e6).T)[:7]
    subprocess.run(["cmake", "--install", os.environ["VAPORA_BUILD"], "--prefix", tmp_path],
                   check=True, capture_output=True)
    site = next(tmp_path.glob("lib/python3*/dist-packages"))
    installed = subprocess.run([sys.executable, "-c", command], cwd=tmp_path,
                               env=dict(env, PYTHONPATH=str(site)), capture_output=True,
                               text=True, check=True).stdout
    assert installed == built
