"""examples/dask_states.py on a LocalCluster of two workers against vapora-calc batch."""
import os
import subprocess
import sys

import numpy as np
import pandas as pd

import vapora


def test_dask_example_answers_as_the_batch(tmp_path):
    rng = np.random.default_rng(8)
    n = 200_000
    # Rows in the window's units for the batch, drawn from (t, p) states so most are answered.
    t = np.round(rng.uniform(1.0, 800.0, n), 6)
    p = np.round(np.exp(rng.uniform(np.log(0.01), np.log(1000.0), n)), 9)
    st = vapora.solve("t_p", t + 273.15, p * 1e5)
    pairs = rng.choice(list(vapora.PAIRS), n)
    window = {"t": t, "p": p, "h": np.round(st.h / 1000, 6), "s": np.round(st.s / 1000, 9),
              "x": np.round(rng.uniform(0.0, 1.0, n), 6)}
    si = {"t": lambda v: v + 273.15, "p": lambda v: v * 1e5, "h": lambda v: v * 1000,
          "s": lambda v: v * 1000, "x": lambda v: v}
    a, b = ([window[pair[i]][k] for k, pair in enumerate(pairs)] for i in (0, 2))
    rows = pd.DataFrame({"pair": pairs, "a": a, "b": b}).dropna()
    rows.to_csv(tmp_path / "batch.csv", index=False)
    rows.assign(a=[si[q[0]](v) for q, v in zip(rows.pair, rows.a)],
                b=[si[q[2]](v) for q, v in zip(rows.pair, rows.b)]).to_csv(
                    tmp_path / "states.csv", index=False, float_format="%.17g")

    with open(tmp_path / "batch.csv") as rows_in, open(tmp_path / "calc.csv", "w") as out:
        subprocess.run([os.environ["VAPORA_CALC"], "batch", "--converged"], stdin=rows_in,
                       stdout=out, check=True)
    subprocess.run([sys.executable, os.path.join(os.environ["VAPORA_EXAMPLES"], "dask_states.py"),
                    tmp_path / "states.csv", tmp_path / "answers", "--workers", "2",
                    "--blocksize", "1MB"], check=True, timeout=240,
                   env=dict(os.environ, PYTHONPATH=os.environ["VAPORA_PYTHON_BUILD"]))

    parts = sorted((tmp_path / "answers").glob("*.csv"))
    dask = pd.concat(pd.read_csv(part) for part in parts)
    calc = pd.read_csv(tmp_path / "calc.csv")
    assert len(parts) > 2 and len(dask) == len(calc) == len(rows)
    ok = dask.status.to_numpy() == vapora.OK
    assert np.array_equal(ok, calc.status.to_numpy() == "ok") and ok.mean() > 0.5
    for field, column, to_si in [("T", "t_C", si["t"]), ("p", "p_bar", si["p"]),
                                 ("h", "h_kJ_kg", si["h"]), ("s", "s_kJ_kgC", si["s"]),
                                 ("v", "v_m3_kg", si["x"]), ("x", "x", si["x"])]:
        assert np.allclose(dask[field][ok], to_si(calc[column][ok]), rtol=1e-13, atol=1e-12)
