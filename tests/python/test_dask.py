"""examples/dask_states.py on a LocalCluster of two workers against vapora-calc batch."""
import io
import os
import subprocess
import sys

import numpy as np
import pandas as pd

import vapora


def test_dask_example_answers_as_the_batch(tmp_path):
    rng, n, env = np.random.default_rng(8), 200_000, os.environ
    # Rows in the batch's units (degC, bar, kJ/kg, kJ/(kg degC)) drawn from (t, p) states.
    t, p = rng.uniform(1, 800, n).round(6), np.exp(rng.uniform(-4.6, 6.9, n)).round(9)
    st = vapora.solve("t_p", t + 273.15, p * 1e5)
    given = dict(t=t, p=p, h=(st.h / 1e3).round(6), s=(st.s / 1e3).round(9), x=t / 800)
    si = {"t": (273.15, 1), "p": (0, 1e5), "h": (0, 1e3), "s": (0, 1e3), "v": (0, 1), "x": (0, 1)}
    rows = pd.DataFrame({"pair": rng.choice(list(vapora.PAIRS), n)})
    for k, q in [("a", 0), ("b", 2)]:
        letter = rows.pair.str[q]
        rows[k] = np.choose(letter.map("tphsx".index).to_numpy(), [given[g] for g in "tphsx"])
        rows[k.upper()] = (rows[k] + letter.map(lambda g: si[g][0])) * letter.map(lambda g: si[g][1])
    rows = rows.dropna()
    rows[["pair", "a", "b"]].to_csv(tmp_path / "batch.csv", index=False)
    rows[["pair", "A", "B"]].set_axis(["pair", "a", "b"], axis=1).to_csv(
        tmp_path / "states.csv", index=False, float_format="%.17g")
    with open(tmp_path / "batch.csv") as batch:
        calc = subprocess.run([env["VAPORA_CALC"], "batch", "--converged"], stdin=batch,
                              capture_output=True, check=True).stdout
    subprocess.run([sys.executable, os.path.join(env["VAPORA_EXAMPLES"], "dask_states.py"),
                    tmp_path / "states.csv", tmp_path / "out", "--blocksize", "1MB"], check=True,
                   timeout=300, env=dict(env, PYTHONPATH=env["VAPORA_PYTHON_BUILD"]))
    parts = sorted((tmp_path / "out").glob("*.csv"))
    dask, calc = (pd.concat(pd.read_csv(f, float_precision="round_trip") for f in parts),
                  pd.read_csv(io.BytesIO(calc), float_precision="round_trip"))
    ok = dask.status.to_numpy() == vapora.OK
    assert len(parts) > 2 and len(dask) == len(calc) == len(rows) and ok.mean() > 0.5
    assert np.array_equal(ok, calc.status == "ok")
    for field, column in zip(vapora.FIELDS, ["t_C", "p_bar", "h_kJ_kg", "s_kJ_kgC", "v_m3_kg", "x"]):
        add, times = si[field.lower()]
        expected = (calc[column].to_numpy()[ok] + add) * times
        # The batch prints a given h or s as given, the library the state's (within 1e-9).
        assert np.allclose(dask[field].to_numpy()[ok], expected, rtol=1e-9, atol=1e-6), field
