"""Vapora: water and steam states of the 1967 IFC Formulation for Industrial Use
(IFC-67) for numpy, a thin layer over the C library libvapora.so.2 (vapora.h).

Units in and out, SI without exception: T [K], p [Pa], h [J/kg], s [J/(kg K)],
v [m3/kg], x [kg/kg] (the dryness fraction of a two-phase state, the window's
phase flag 0 or 1 of a single-phase one); an efficiency is a fraction (0.85).

    import vapora
    st = vapora.solve("p_h", 5e6, 3e6)        # 50 bar, 3000 kJ/kg
    st.T, st.s, st.x, st.status                # one array per field, status per state

Inputs are scalars, sequences, numpy arrays or pandas columns, broadcast
together like numpy's own operations. A state the library refuses has NaN in
every field and its status (vapora.STATUS_TEXT) in `status`; no exception is
raised for it. A bad pair name, inputs that do not broadcast or that are not
numbers raise ValueError.

The loops run in C (vapora_solve_n) with the GIL released, so threads and
Dask workers compute in parallel; the library keeps no mutable state.
"""

import collections
import ctypes
import os

import numpy as np

__all__ = ["solve", "turbine", "sat_temperature", "sat_pressure", "States", "FIELDS", "PAIRS",
           "UNITS", "STATUS_TEXT", "OK", "OUT_OF_RANGE", "INVALID"]


def _load_library():
    """libvapora.so.2 beside this file (the build tree), then where the install put
    it (relative to this file, written by the install as _where.py), then by its
    SONAME through the dynamic loader's own search."""
    here = os.path.dirname(os.path.abspath(__file__))
    name = "libvapora.so.2"
    places = [os.path.join(here, name)]
    try:
        from ._where import LIBRARY_DIR
        places.append(os.path.normpath(os.path.join(here, LIBRARY_DIR, name)))
    except ImportError:
        pass
    for path in places:
        if os.path.exists(path):
            return ctypes.CDLL(path)
    try:
        return ctypes.CDLL(name)
    except OSError as e:
        raise ImportError(f"vapora: {name} is not beside the package, not where it was "
                          f"installed and not on the loader's path ({e})") from None


_lib = _load_library()

# vapora_state: six doubles in this order, no padding; numpy reads an array of them in
# place.
FIELDS = ("T", "p", "h", "s", "v", "x")
_STATE = np.dtype([(name, np.float64) for name in FIELDS])
_STATUS = np.dtype(np.intc)  # a C enum is an int

_ptr = ctypes.c_void_p
_c = ctypes.c_double


def _declare(name, restype, *argtypes):
    fn = getattr(_lib, name)
    fn.restype, fn.argtypes = restype, list(argtypes)
    return fn


_solve_n = _declare("vapora_solve_n", ctypes.c_size_t, ctypes.c_int, ctypes.c_size_t, _ptr, _ptr,
                    ctypes.c_int, _ptr, _ptr)
_turbine = _declare("vapora_turbine", ctypes.c_int, _c, _c, _c, _c, ctypes.c_int, _ptr, _ptr,
                    _ptr)
_sat_pressure = _declare("vapora_sat_pressure", ctypes.c_int, _c, ctypes.POINTER(_c))
_sat_temperature = _declare("vapora_sat_temperature", ctypes.c_int, _c, ctypes.POINTER(_c))
_status_text = _declare("vapora_status_text", ctypes.c_char_p, ctypes.c_int)
_pair_name = _declare("vapora_pair_name", ctypes.c_char_p, ctypes.c_int)
_pair_unit = _declare("vapora_pair_unit", ctypes.c_char_p, ctypes.c_int, ctypes.c_int)
_version = _declare("vapora_version", ctypes.c_char_p)

# The flags of vapora.h.
_CONVERGED, _AS_WINDOW = 0, 1

# Names, units and statuses as the library gives them. The caps are far beyond what
# vapora.h declares; the list ends at the first NULL or unknown status.
_CAP = 64
PAIRS = {}
for _i in range(_CAP):
    if _pair_name(_i) is None:
        break
    PAIRS[_pair_name(_i).decode()] = _i
UNITS = {name: (_pair_unit(i, 0).decode(), _pair_unit(i, 1).decode()) for name, i in PAIRS.items()}
OK, OUT_OF_RANGE, INVALID = 0, 1, 2  # vapora_status
_unknown = _status_text(-1)
STATUS_TEXT = {}
for _i in range(_CAP):
    if _status_text(_i) == _unknown:
        break
    STATUS_TEXT[_i] = _status_text(_i).decode()

__version__ = _version().decode()

States = collections.namedtuple("States", FIELDS + ("status",))
States.__doc__ = """States of water, one array per field, all of one shape: T [K], p [Pa],
h [J/kg], s [J/(kg K)], v [m3/kg], x [kg/kg], and status (0 for a state the library
answered; vapora.STATUS_TEXT names the others, whose fields are NaN)."""


def _arrays(caller, *values):
    """The inputs as C-contiguous float64 arrays of one broadcast shape."""
    try:
        arrays = [np.asarray(v, dtype=np.float64) for v in values]
    except (TypeError, ValueError) as e:
        raise ValueError(f"vapora.{caller}: the inputs must be numbers ({e})") from None
    try:
        arrays = np.broadcast_arrays(*arrays)
    except ValueError:
        shapes = ", ".join(str(a.shape) for a in arrays)
        raise ValueError(f"vapora.{caller}: inputs of shapes {shapes} do not broadcast "
                         "together") from None
    return [np.require(a, requirements="C") for a in arrays]


def _states(out, status, shape):
    """States from the C records; NaN in every field of a refused state."""
    out[status != OK] = np.nan
    return States(*(out[name].reshape(shape) for name in FIELDS), status.reshape(shape))


def solve(pair, a, b, as_window=False):
    """States of water from two given values, a and b in the order of the pair's name.

    pair: "t_p", "t_h", "p_h", "t_s", "p_s", "t_x" or "p_x" (vapora.PAIRS; units
    in vapora.UNITS): T [K], p [Pa], h [J/kg], s [J/(kg K)], x [kg/kg].
    as_window: False for the library's solvers converged to double precision, True
    for the window's own solvers and range guards (what `vapora-calc state` prints).
    Returns States (T [K], p [Pa], h [J/kg], s [J/(kg K)], v [m3/kg], x, status).
    """
    if pair not in PAIRS:
        raise ValueError(f"vapora.solve: unknown pair {pair!r}; the pairs are "
                         f"{', '.join(PAIRS)}")
    a, b = _arrays("solve", a, b)
    out = np.empty(a.size, _STATE)
    status = np.empty(a.size, _STATUS)
    _solve_n(PAIRS[pair], a.size, a.ctypes.data, b.ctypes.data,
             _AS_WINDOW if as_window else _CONVERGED, out.ctypes.data, status.ctypes.data)
    return _states(out, status, a.shape)


def turbine(p1, T1, p2, efficiency, as_window=False):
    """The turbine expansion from the inlet (p1 [Pa], T1 [K]) to the pressure p2 [Pa]
    with an isentropic efficiency (a fraction, 0.85).

    Returns three States: the inlet, the isentropic end at (p2, s1) and the outlet at
    (p2, h2), h2 = h1 - efficiency (h1 - h2s); a refused expansion has its status in
    all three and NaN in their fields.
    """
    args = _arrays("turbine", p1, T1, p2, efficiency)
    n, flags = args[0].size, _AS_WINDOW if as_window else _CONVERGED
    points = [np.empty(n, _STATE) for _ in range(3)]
    status = np.empty(n, _STATUS)
    inlet, isentropic, outlet = (p.ctypes.data for p in points)
    size = _STATE.itemsize
    # One C call per expansion: vapora.h answers turbines one at a time.
    for i, (a, b, c, d) in enumerate(zip(*(a.ravel().tolist() for a in args))):
        status[i] = _turbine(a, b, c, d, flags, inlet + i * size, isentropic + i * size,
                             outlet + i * size)
    return tuple(_states(p, status.copy(), args[0].shape) for p in points)


def _saturation(fn, values):
    (values,) = _arrays(fn.__name__, values)
    result = np.empty(values.size)
    answer = _c()
    for i, v in enumerate(values.ravel().tolist()):
        result[i] = answer.value if fn(v, ctypes.byref(answer)) == OK else np.nan
    return result.reshape(values.shape)


def sat_temperature(p):
    """The saturation temperature [K] at the pressure p [Pa]; NaN where refused."""
    return _saturation(_sat_temperature, p)


def sat_pressure(T):
    """The saturation pressure [Pa] at the temperature T [K]; NaN where refused."""
    return _saturation(_sat_pressure, T)
