#!/usr/bin/env python3
"""The Windows program under Wine, driven as a user: python3 flows.py VAPORA.EXE.

Run by scripts/test-windows.sh on a private X display, with WINE (the loader), CHART (the
Linux vapora-chart) and OUT (a folder for screenshots and logs) set. Prints one PASS or
FAIL line per check and exits 1 when one fails, also when something unforeseen goes wrong;
the program it starts is ended whatever happens. Screenshots come from ImageMagick, input
from xdotool; every wait is bounded."""
import os
import subprocess
import sys
import time

OUT, CHART, WINE = os.environ["OUT"], os.environ["CHART"], os.environ["WINE"]
CURVES = {"dome": (255, 255, 0), "isobars": (0, 255, 0), "critical isobar": (0, 130, 0),
          "isenthalps": (0, 255, 255), "grid": (192, 192, 192), "axes": (255, 255, 255)}
PURE = set(CURVES.values()) | {(0, 0, 0), (0, 0, 130), (255, 0, 0), (0, 0, 255)}
failures = []


def check(ok, what):
    print(("PASS: " if ok else "FAIL: ") + what, flush=True)
    failures.extend([] if ok else [what])
    return ok


def sh(*args):
    try:
        return subprocess.run(args, capture_output=True, timeout=30).stdout
    except subprocess.TimeoutExpired:
        return b""


def poll(condition, seconds=10):
    """The condition's first true answer within `seconds`, else its last answer."""
    end = time.time() + seconds
    while not (answer := condition()) and time.time() < end:
        time.sleep(0.25)
    return answer


def window(title, seconds=10):
    """The X id of the visible window titled `title`, or None: each try is one search, whose
    answer is the one used, so a window closing meanwhile is simply not found."""
    ids = poll(lambda: sh("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split(), seconds)
    return ids[0].decode() if ids else None


def shot(source, name):
    """A window (X id) or a PNG as (width, height, {(x, y): (r, g, b)}); a window that is
    gone gives an empty picture."""
    path = f"{OUT}/{name}.png"
    if source != path:
        os.path.exists(path) and os.remove(path)
        sh("import", "-window", source, path)
    _, size, _, data = (sh("convert", path, "-depth", "8", "ppm:-") or b"P6\n0 0\n255\n").split(b"\n", 3)
    w, h = map(int, size.split())
    return w, h, {(i // 3 % w, i // 3 // w): tuple(data[i:i + 3]) for i in range(0, len(data), 3)}


def chart_differences(wine, linux):
    """Curve pixels only one chart has, outside the Linux chart's antialiased text widened
    by 6 x 3 pixels (Wine draws the same strings from the same corners in other faces),
    the title panel and the readout; 0.2 % of a curve's pixels may differ."""
    mask = {(x, y) for x in range(30, 350) for y in range(10, 465) if x < 150 or y < 120}
    for (x, y), p in linux[2].items():
        if p not in PURE:
            mask.update((x + dx, y + dy) for dx in range(-6, 7) for dy in range(-3, 4))
    report = []
    for name, colour in CURVES.items():
        a, b = ({xy for xy, p in img[2].items() if p == colour} - mask for img in (wine, linux))
        if len(a ^ b) > max(2, len(b) // 500):
            report.append(f"{name}: {len(a - b)} only under Wine, {len(b - a)} only on Linux")
    return report


def click(wid, x, y, template_w, template_h):
    """A click at a dialog-unit point of a dialog whose client area is the X window."""
    w, h, _ = shot(wid, "dialog")
    sh("xdotool", "mousemove", "--window", wid, str(x * w // template_w), str(y * h // template_h), "click", "1")


def ink(px, x, y):
    return sum(px.get((x, y), (255, 255, 255))) < 300  # dark: text, not a face or a bevel


def selector_labels(dialog):
    """The pair selectors whose label, past the check circle, is not three runs of inked
    columns ("t", ",", "h"): a label cut short, or a comma run into a letter, makes fewer.
    Point 1's "t,p" is left out: the focus rectangle's dots surround it."""
    w, h, px = dialog
    wrong = []
    for name, left, top, width in (("t,p", 15, 40, 30), ("t,h", 45, 40, 15), ("p,h", 60, 40, 15), ("t,s", 15, 52, 15),
                                   ("p,s", 30, 52, 15), ("t,x", 45, 52, 15), ("p,x", 60, 52, 15)):
        for left in (left + 90,) if name == "t,p" else (left, left + 90):
            cols = sorted({x for x in range(left * w // 180 + 15, (left + width) * w // 180)
                           for y in range(top * h // 166, (top + 12) * h // 166) if ink(px, x, y)})
            if sum(b - a > 1 for a, b in zip(cols, cols[1:])) != 2:
                wrong.append(f"{name} of point {1 + left // 90}")
    return wrong


def keys(wid, *names):
    sh("xdotool", "windowfocus", "--sync", wid, "key", *names)


def main(program):
    sh("xdotool", "mousemove", "1270", "1010")  # away from where the window appears
    main_window = window("Vapora 2.0", 60)
    if not check(main_window, 'the main window "Vapora 2.0" appears'):
        return
    sh(CHART, f"{OUT}/linux-chart.png")
    linux = shot(f"{OUT}/linux-chart.png", "linux-chart")
    poll(lambda: not chart_differences(shot(main_window, "chart"), linux), 20)
    chart = shot(f"{OUT}/chart.png", "chart")
    check(chart[:2] == (994, 671), f"the client area is 994 x 671 ({chart[0]} x {chart[1]})")
    check(not chart_differences(chart, linux), "the chart's curves are the Linux vapora-chart's, "
          "pixel for pixel " + "; ".join(chart_differences(chart, linux)))

    keys(main_window, "a")
    dialog = window("Data input window")
    if check(dialog, "a key opens the data-input dialog"):
        time.sleep(0.5)
        wrong = selector_labels(shot(dialog, "data-input"))
        check(not wrong, "every pair selector reads its whole label, comma included " + ", ".join(wrong))
        for x, y, text in ((62, 76, "300"), (62, 91, "10"), (152, 76, "200"), (152, 91, "5"), (135, 138, "")):
            click(dialog, x, y, 180, 166)  # the four boxes, then Calculate
            sh("xdotool", "type", "--delay", "50", text)
        results = window("Results", 20)
        if check(results, "Calculate on 300 C, 10 bar and 200 C, 5 bar opens the results"):
            red = list(shot(main_window, "process")[2].values()).count((255, 0, 0))
            check(red >= 30, f"both points are marked and joined in red ({red} red pixels)")
            time.sleep(0.5)
            w, h, px = shot(results, "results")  # a line cut short by the edge has ink on the edge
            cut = sum(ink(px, x, y) for x in range(w - 3, w) for y in range(h - 60))
            check((w, h) == (400, 340) and not cut, f"the results dialog is 400 x 340 ({w} x {h}) and every line "
                  f"whole, units included ({cut} text pixels on its right edge)")
            click(results, 100, 157, 200, 170)
            check(poll(lambda: not window("Results", 0)), "the results dialog's Close button ends it")

    keys(main_window, "alt+slash")
    about = window("Informazioni su Vapora 2.0")
    if check(about, "Alt+/ opens the About box"):
        keys(about, "Escape")
        check(poll(lambda: not window("Informazioni su Vapora 2.0", 0)), "Esc closes the About box")
    keys(main_window, "alt+F4")
    poll(lambda: program.poll() is not None, 20)
    status = program.poll()
    check(status == 0, f"Alt+F4 ends the program with status 0 ({'still running' if status is None else status})")


program = subprocess.Popen([WINE, os.path.abspath(sys.argv[1])], stdout=open(f"{OUT}/vapora.log", "w"),
                           stderr=subprocess.STDOUT)
try:
    main(program)
except Exception as e:  # a flow that breaks is a failed check, never a stack trace
    check(False, f"the flows ran to their end ({type(e).__name__}: {e})")
finally:
    program.kill()  # nothing when it has ended
print("Screenshots and logs:", OUT)
sys.exit(1 if failures else 0)
