#!/usr/bin/env python3
"""The Windows program under Wine, driven as a user: python3 flows.py VAPORA.EXE.

Run by scripts/test-windows.sh on a private X display, with WINE (the loader), CHART (the
Linux vapora-chart) and OUT (a folder for screenshots and logs) set. Prints one PASS or
FAIL line per check and exits 1 when one fails. Screenshots come from ImageMagick's
import, input from xdotool; every wait is bounded."""
import os
import subprocess
import sys
import time

OUT, CHART, WINE = os.environ["OUT"], os.environ["CHART"], os.environ["WINE"]
YELLOW, GREEN, CYAN, GREY, WHITE = (255, 255, 0), (0, 255, 0), (0, 255, 255), (192, 192, 192), (255, 255, 255)
CURVES = {"dome": YELLOW, "isobars": GREEN, "critical isobar": (0, 130, 0),
          "isenthalps": CYAN, "grid": GREY, "axes": WHITE}
PURE = set(CURVES.values()) | {(0, 0, 0), (0, 0, 130), (255, 0, 0), (0, 0, 255)}
failures = 0


def check(ok, what):
    global failures
    print(("PASS: " if ok else "FAIL: ") + what, flush=True)
    failures += not ok
    return ok


def sh(*args):
    try:
        return subprocess.run(args, capture_output=True, timeout=30).stdout
    except subprocess.TimeoutExpired:
        return b""


def poll(condition, seconds):
    for _ in range(seconds * 4):
        result = condition()
        if result:
            return result
        time.sleep(0.25)
    return None


def window(title, seconds=10):
    ids = lambda: sh("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()
    found = poll(ids, seconds)
    return found[0].decode() if found else None


def gone(title, seconds=10):
    return poll(lambda: not sh("xdotool", "search", "--onlyvisible", "--name", f"^{title}$"), seconds)


class Shot:
    """A window's pixels (an X window id) or a PNG's, as RGB triples."""

    def __init__(self, source, name):
        path = f"{OUT}/{name}.png"
        if source != path:
            sh("import", "-window", source, path)
        self.w, self.h, self.px = 0, 0, b""
        data = sh("convert", path, "-depth", "8", "ppm:-")
        if data.startswith(b"P6"):
            _, size, _, self.px = data.split(b"\n", 3)
            self.w, self.h = map(int, size.split())

    def pixel(self, x, y):
        i = 3 * (y * self.w + x)
        return tuple(self.px[i:i + 3])

    def where(self, colour, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        return {(x, y) for y in range(y0, y1) for x in range(x0, x1) if self.pixel(x, y) == colour}

    def crop(self, x0, y0, x1, y1):
        return [self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]


def text_mask(linux):
    """The Linux chart's antialiased text widened by 6 x 3 pixels (Wine draws the same
    strings from the same corners in other faces), the title panel and the readout."""
    mask = set()
    for y in range(linux.h):
        for x in range(linux.w):
            if linux.pixel(x, y) not in PURE:
                mask.update((x + dx, y + dy) for dx in range(-6, 7) for dy in range(-3, 4))
    panels = [(x, y) for x in range(70, 350) for y in range(10, 120)]
    readout = [(x, y) for x in range(30, 150) for y in range(320, 465)]  # Wine's first cursor report
    return mask | set(panels) | set(readout)


def chart_differences(wine, linux, mask):
    """Curve pixels that only one chart has outside the mask; 0.2 % of a curve's pixels
    are allowed for stray glyphs."""
    report = []
    for name, colour in CURVES.items():
        a, b = wine.where(colour) - mask, linux.where(colour) - mask
        if len(a ^ b) > max(2, len(b) // 500):
            report.append(f"{name}: {len(a - b)} only under Wine, {len(b - a)} only on Linux")
    return report


def origin(wid):
    info = sh("xwininfo", "-id", wid).decode()
    value = lambda key: int(info.split(key)[1].split()[0])
    return value("Absolute upper-left X:"), value("Absolute upper-left Y:")


def move(wid, x, y):
    ox, oy = origin(wid)
    sh("xdotool", "mousemove", str(ox + x), str(oy + y))
    time.sleep(0.5)


def click_dlu(wid, x, y, template_w, template_h):
    """A click at a dialog-unit point: Wine's X window is the dialog's client area."""
    shot = Shot(wid, "dialog")
    move(wid, x * shot.w // template_w, y * shot.h // template_h)
    sh("xdotool", "click", "1")


def focus(wid):
    sh("xdotool", "windowfocus", "--sync", wid)
    time.sleep(0.3)


def labels_legible(dialog):
    """The six narrow selectors of point 1 (t,h p,h t,s p,s t,x p,x, each 15 x 12 dialog
    units): past the check circle, the three that start with the same letter show three
    different labels, where a label cut after its comma shows the same "t," or "p,"."""
    sx, sy = dialog.w / 180, dialog.h / 166
    labels = [bytes(sum(dialog.crop(int(x * sx) + 15, int(y * sy), int((x + 15) * sx) - 2,
                                    int((y + 12) * sy)), ()))
              for x, y in ((45, 40), (15, 52), (45, 52), (60, 40), (30, 52), (60, 52))]
    return len(set(labels[:3])) == 3 and len(set(labels[3:])) == 3


def main(exe):
    sh("xdotool", "mousemove", "1270", "1010")  # away from where the window appears
    program = subprocess.Popen([WINE, exe], stdout=open(f"{OUT}/vapora.log", "w"),
                               stderr=subprocess.STDOUT)
    main_window = window("Vapora 2.0", 60)
    if not check(main_window, 'the main window "Vapora 2.0" appears'):
        return
    sh(CHART, f"{OUT}/linux-chart.png")
    linux = Shot(f"{OUT}/linux-chart.png", "linux-chart")
    mask = text_mask(linux)
    poll(lambda: not chart_differences(Shot(main_window, "chart"), linux, mask), 20)
    shot = Shot(f"{OUT}/chart.png", "chart")
    check((shot.w, shot.h) == (994, 671), f"the client area is 994 x 671 ({shot.w} x {shot.h})")
    differences = chart_differences(shot, linux, mask)
    check(not differences, "the chart's curves are the Linux vapora-chart's, pixel for pixel" +
          "".join("; " + d for d in differences))

    panel = (40, 330, 140, 454)
    move(main_window, 600, 300)
    first = Shot(main_window, "readout-1")
    move(main_window, 200, 500)
    second = Shot(main_window, "readout-2")
    check(len(first.where((0, 130, 0), panel)) > 8000 and
          first.crop(*panel) != second.crop(*panel), "the green readout follows the cursor")

    focus(main_window)
    sh("xdotool", "key", "a")
    dialog = window("Data input window")
    if check(dialog, "a key opens the data-input dialog"):
        time.sleep(0.5)
        check(labels_legible(Shot(dialog, "data-input")), "every pair selector's label is whole")
        for x, y, text in ((62, 76, "300"), (62, 91, "10"), (152, 76, "200"), (152, 91, "5")):
            click_dlu(dialog, x, y, 180, 166)
            sh("xdotool", "type", "--delay", "50", text)
        click_dlu(dialog, 135, 138, 180, 166)
        results = window("Results", 20)
        if check(results, "Calculate on 300 C, 10 bar and 200 C, 5 bar opens the results"):
            red = len(Shot(main_window, "process").where((255, 0, 0)))
            check(red >= 30, f"both points are marked and joined in red ({red} red pixels)")
            click_dlu(results, 100, 157, 200, 170)
            check(gone("Results"), "the results dialog's Close button ends it")

    focus(main_window)
    sh("xdotool", "key", "alt+slash")
    about = window("Informazioni su Vapora 2.0")
    if check(about, "Alt+/ opens the About box"):
        focus(about)
        sh("xdotool", "key", "Escape")
        check(gone("Informazioni su Vapora 2.0"), "Esc closes the About box")

    focus(main_window)
    sh("xdotool", "key", "alt+F4")
    try:
        status = program.wait(20)
    except subprocess.TimeoutExpired:
        status = "none within 20 s"
    check(status == 0, f"Alt+F4 ends the program with status 0 ({status})")


main(os.path.abspath(sys.argv[1]))
print("Screenshots and logs:", OUT)
sys.exit(1 if failures else 0)
