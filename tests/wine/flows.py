#!/usr/bin/env python3
"""The Windows program under Wine, driven as a user: python3 flows.py VAPORA.EXE.

Run by scripts/test-windows.sh on a private X display, with WINE (the loader), CHART (the
Linux vapora-chart) and OUT (a folder for screenshots and logs) set. Prints one PASS or
FAIL line per check and exits 1 when one fails. Screenshots come from ImageMagick, input
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
    end = time.time() + seconds
    while not condition() and time.time() < end:
        time.sleep(0.25)
    return condition()


def window(title, seconds=10):
    ids = lambda: sh("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()
    return ids()[0].decode() if poll(ids, seconds) else None


def shot(source, name):
    """A window (X id) or a PNG as (width, height, {(x, y): (r, g, b)})."""
    path = f"{OUT}/{name}.png"
    if source != path:
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


def labels_legible(dialog):
    """The three narrow point-1 selectors that start with the same letter (t,h t,s t,x and
    p,h p,s p,x, 15 x 12 dialog units each) show three different labels past the check
    circle, where labels cut after the comma would all show "t," or "p,"."""
    w, h, px = dialog
    labels = [tuple(px[(x, y)] for y in range(top * h // 166, (top + 12) * h // 166)
                    for x in range(left * w // 180 + 15, (left + 15) * w // 180 - 2))
              for left, top in ((45, 40), (15, 52), (45, 52), (60, 40), (30, 52), (60, 52))]
    return len(set(labels[:3])) == 3 and len(set(labels[3:])) == 3


def keys(wid, *names):
    sh("xdotool", "windowfocus", "--sync", wid, "key", *names)


def main(exe):
    sh("xdotool", "mousemove", "1270", "1010")  # away from where the window appears
    program = subprocess.Popen([WINE, exe], stdout=open(f"{OUT}/vapora.log", "w"), stderr=subprocess.STDOUT)
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
        check(labels_legible(shot(dialog, "data-input")), "every pair selector's label is whole")
        for x, y, text in ((62, 76, "300"), (62, 91, "10"), (152, 76, "200"), (152, 91, "5"), (135, 138, "")):
            click(dialog, x, y, 180, 166)  # the four boxes, then Calculate
            sh("xdotool", "type", "--delay", "50", text)
        results = window("Results", 20)
        if check(results, "Calculate on 300 C, 10 bar and 200 C, 5 bar opens the results"):
            red = list(shot(main_window, "process")[2].values()).count((255, 0, 0))
            check(red >= 30, f"both points are marked and joined in red ({red} red pixels)")
            click(results, 100, 157, 200, 170)
            check(poll(lambda: not window("Results", 0)), "the results dialog's Close button ends it")

    keys(main_window, "alt+slash")
    if check(window("Informazioni su Vapora 2.0"), "Alt+/ opens the About box"):
        keys(window("Informazioni su Vapora 2.0"), "Escape")
        check(poll(lambda: not window("Informazioni su Vapora 2.0", 0)), "Esc closes the About box")
    keys(main_window, "alt+F4")
    try:
        status = program.wait(20)
    except subprocess.TimeoutExpired:
        status = "none within 20 s"
    check(status == 0, f"Alt+F4 ends the program with status 0 ({status})")


main(os.path.abspath(sys.argv[1]))
print("Screenshots and logs:", OUT)
sys.exit(1 if failures else 0)
