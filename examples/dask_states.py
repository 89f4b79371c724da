#!/usr/bin/env python3
"""Answers a CSV of water states too large for one machine's memory, partition by
partition, on a Dask cluster: a LocalCluster on this machine, or a real cluster when
given its scheduler's address (each worker needs the vapora package installed).

    python3 dask_states.py states.csv answers/                 # a LocalCluster
    python3 dask_states.py states.csv answers/ --workers 8
    python3 dask_states.py '/shared/states-*.csv' /shared/answers --scheduler tcp://host:8786

states.csv has a header and rows `pair,a,b`: a pair name of vapora.solve ("t_p" ...
"p_x") and its two values in SI units (K, Pa, J/kg, J/(kg K), kg/kg). answers/ gets
one CSV per partition (answers/00000.csv ...) with the rows and their state: T [K],
p [Pa], h [J/kg], s [J/(kg K)], v [m3/kg], x, status (0 answered; the other codes are
vapora.STATUS_TEXT's, with empty fields). Rows keep their order.
"""
import argparse
import os

import dask.dataframe as dd
import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

import vapora

COLUMNS = list(vapora.FIELDS) + ["status"]


def answer(part: pd.DataFrame) -> pd.DataFrame:
    """One partition's states, one vapora.solve call per pair found in it."""
    pairs = part["pair"].to_numpy()
    a, b = part["a"].to_numpy(dtype=float), part["b"].to_numpy(dtype=float)
    out = {name: np.full(len(part), np.nan) for name in vapora.FIELDS}
    out["status"] = np.full(len(part), vapora.INVALID)  # an unknown pair name
    for pair in set(pairs) & set(vapora.PAIRS):
        rows = pairs == pair
        for name, values in zip(COLUMNS, vapora.solve(pair, a[rows], b[rows])):
            out[name][rows] = values
    return part.assign(**out)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("states", help="CSV file(s) of pair,a,b rows (a glob or a URL)")
    parser.add_argument("answers", help="folder for the answered CSV files")
    parser.add_argument("--scheduler", help="a running cluster's scheduler address")
    parser.add_argument("--workers", type=int, default=2, help="LocalCluster workers (2)")
    parser.add_argument("--blocksize", default="16MB", help="bytes of CSV per partition")
    args = parser.parse_args(argv)

    cluster = None if args.scheduler else LocalCluster(n_workers=args.workers,
                                                       threads_per_worker=1)
    with Client(args.scheduler or cluster):
        # Numbers read to the last bit, as the C library's strtod reads them.
        states = dd.read_csv(args.states, blocksize=args.blocksize, float_precision="round_trip",
                             dtype={"pair": str, "a": float, "b": float})
        # Dask learns the columns by answering a small sample of made-up rows.
        states.map_partitions(answer).to_csv(
            os.path.join(args.answers, "*.csv"), name_function="{:05d}".format, index=False)
    if cluster:
        cluster.close()


if __name__ == "__main__":
    main()
