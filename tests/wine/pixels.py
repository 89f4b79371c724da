#!/usr/bin/env python3
"""Pixel checks on screenshots of the Windows program under Wine.

  pixels.py first-paint SHOT.png
      the diagram as a repaint leaves it: mostly black, the yellow dome, green isobars,
      cyan isenthalps and the grey grid all present
  pixels.py readout SHOT.png
      prints the readout panel's box and a digest of its pixels; fails without a panel
  pixels.py count SHOT.png R,G,B
      prints how many pixels have exactly that colour
  pixels.py pixel SHOT.png X Y
      prints the colour of one pixel as R,G,B
  pixels.py compare WINE.png LINUX.png
      the curve pixels of the two charts agree outside the text and panel areas

Images are read through ImageMagick's convert as raw RGB, so no Python package is needed.
"""
import hashlib
import subprocess
import sys

BLACK = (0, 0, 0)
DOME = (255, 255, 0)
ISOBAR = (0, 255, 0)
ISENTHALP = (0, 255, 255)
GRID = (192, 192, 192)
AXES = (255, 255, 255)
READOUT_FACE = (0, 130, 0)
# The bevels of the panels: face colour +32 and -32 on each component.
READOUT_BEVELS = ((32, 162, 32), (0, 98, 0))
TITLE_BEVELS = ((224, 224, 224), (160, 160, 160))


class Image:
    def __init__(self, path):
        size = subprocess.run(["identify", "-format", "%w %h", path + "[0]"],
                              capture_output=True, text=True, check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.data = subprocess.run(["convert", path + "[0]", "-depth", "8", "rgb:-"],
                                   capture_output=True, check=True).stdout
        if len(self.data) != 3 * self.width * self.height:
            raise SystemExit(f"{path}: unexpected pixel data")

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def positions(self, colour):
        """The set of pixel indices of exactly that colour."""
        wanted = bytes(colour)
        d = self.data
        return {i // 3 for i in range(0, len(d), 3) if d[i:i + 3] == wanted}


def panel_box(img, bevels, min_pixels):
    """The box of a bevelled panel: the rows and columns that hold at least 20 pixels of
    its two bevel colours (the bevels are bands several pixels deep along the edges;
    antialiased text elsewhere holds those greys too, but never 20 in one row)."""
    found = set()
    for colour in bevels:
        found |= img.positions(colour)
    if len(found) < min_pixels:
        return None
    w = img.width
    rows, cols = {}, {}
    for i in found:
        rows[i // w] = rows.get(i // w, 0) + 1
        cols[i % w] = cols.get(i % w, 0) + 1
    ys = [y for y, n in rows.items() if n >= 20]
    xs = [x for x, n in cols.items() if n >= 20]
    if not xs or not ys:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def first_paint(path):
    img = Image(path)
    total = img.width * img.height
    counts = {name: len(img.positions(c)) for name, c in
              (("black", BLACK), ("yellow dome", DOME), ("green isobars", ISOBAR),
               ("cyan isenthalps", ISENTHALP), ("grey grid", GRID))}
    # Floors far below what a full chart draws (dome ~900, isobars ~14000, isenthalps
    # ~5600, grid ~44000 pixels at 994 x 671) and far above any stray pixels.
    floors = {"black": total * 0.6, "yellow dome": 400, "green isobars": 5000,
              "cyan isenthalps": 2000, "grey grid": 20000}
    missing = [f"{n} {counts[n]} < {int(floors[n])}" for n in floors if counts[n] < floors[n]]
    summary = ", ".join(f"{n} {counts[n]}" for n in counts)
    if missing:
        print(f"first paint incomplete ({'; '.join(missing)}); {summary}")
        return 1
    print(f"first paint complete: {img.width}x{img.height}, {summary}")
    return 0


def readout(path):
    img = Image(path)
    box = panel_box(img, READOUT_BEVELS, 200)
    face = len(img.positions(READOUT_FACE))
    if box is None or face < 8000:
        print(f"no readout panel (green face pixels {face})")
        return 1
    x0, y0, x1, y1 = box
    digest = hashlib.sha1()
    for y in range(y0, y1 + 1):
        i = 3 * (y * img.width + x0)
        digest.update(img.data[i:i + 3 * (x1 - x0 + 1)])
    print(f"{x0},{y0},{x1},{y1} {digest.hexdigest()[:16]}")
    return 0


def count(path, colour):
    img = Image(path)
    print(len(img.positions(tuple(int(c) for c in colour.split(",")))))
    return 0


def text_mask(img, radius_x, radius_y):
    """Pixels near text in a chart drawn with antialiased text: every pixel whose colour
    is none of the chart's pure colours, widened by the given radii. Glyphs drawn at the
    same top-left corner with a face of about the same width fall inside it."""
    pure = {bytes(c) for c in (BLACK, DOME, ISOBAR, ISENTHALP, GRID, AXES,
                               READOUT_FACE, (0, 0, 130), (255, 0, 0), (0, 0, 255))}
    w, h, d = img.width, img.height, img.data
    seeds = [i // 3 for i in range(0, len(d), 3) if d[i:i + 3] not in pure]
    # Widen row by row: first horizontally, then vertically.
    rows = {}
    for i in seeds:
        rows.setdefault(i // w, set()).add(i % w)
    wide = {}
    for y, xs in rows.items():
        out = set()
        for x in xs:
            out.update(range(max(0, x - radius_x), min(w, x + radius_x + 1)))
        wide[y] = out
    mask = set()
    for y, xs in wide.items():
        for yy in range(max(0, y - radius_y), min(h, y + radius_y + 1)):
            base = yy * w
            mask.update(base + x for x in xs)
    return mask


def box_indices(box, width, margin):
    if box is None:
        return set()
    x0, y0, x1, y1 = box
    return {y * width + x for y in range(max(0, y0 - margin), y1 + margin + 1)
            for x in range(max(0, x0 - margin), min(width, x1 + margin + 1))}


def compare(wine_path, linux_path):
    wine, linux = Image(wine_path), Image(linux_path)
    if (wine.width, wine.height) != (linux.width, linux.height):
        print(f"sizes differ: Wine client {wine.width}x{wine.height}, "
              f"Linux chart {linux.width}x{linux.height}")
        return 1
    w = wine.width
    # Text: the Linux chart's antialiased glyphs mark where every label stands; Wine
    # draws the same strings from the same corners with other faces, up to a few pixels
    # wider or taller. Panels: the title box and the readout (which a mouse move, or
    # Wine's own first cursor report, may have drawn) are masked whole.
    mask = text_mask(linux, 6, 3)
    for img in (wine, linux):
        mask |= box_indices(panel_box(img, TITLE_BEVELS, 200), w, 2)
        mask |= box_indices(panel_box(img, READOUT_BEVELS, 200), w, 2)
    failed = False
    lines = []
    for name, colour in (("dome", DOME), ("isobars", ISOBAR), ("critical", READOUT_FACE),
                         ("isenthalps", ISENTHALP), ("grid", GRID), ("axes", AXES)):
        a = wine.positions(colour) - mask
        b = linux.positions(colour) - mask
        only_wine, only_linux = sorted(a - b), sorted(b - a)
        # Exact agreement expected: both programs draw the same integer pixel
        # positions with the same pen rules and no antialiasing. The tolerance of
        # 0.2 % of the curve's pixels (at least 2) leaves room for a pixel or two where
        # a label's glyph in one face reaches past the mask.
        allowed = max(2, len(b) // 500)
        bad = len(only_wine) + len(only_linux)
        status = "ok" if bad <= allowed else "DIFFER"
        failed |= bad > allowed
        lines.append(f"  {name:10s} {status}: {len(b)} pixels compared, "
                     f"{len(only_wine)} only under Wine, {len(only_linux)} only on Linux "
                     f"(allowed {allowed})")
        for label, diff, here, other in (("only under Wine", only_wine, wine, linux),
                                         ("only on Linux", only_linux, linux, wine)):
            for i in diff[:12]:
                x, y = i % w, i // w
                lines.append(f"      {label} at ({x},{y}): {here.pixel(x, y)} where the "
                             f"other has {other.pixel(x, y)}")
            if len(diff) > 12:
                lines.append(f"      ... and {len(diff) - 12} more")
    unmasked = w * wine.height - len(mask)
    print(f"chart comparison, {w}x{wine.height}, {unmasked} pixels outside text and panels:")
    print("\n".join(lines))
    return 1 if failed else 0


def main(argv):
    if len(argv) == 3 and argv[1] == "first-paint":
        return first_paint(argv[2])
    if len(argv) == 3 and argv[1] == "readout":
        return readout(argv[2])
    if len(argv) == 4 and argv[1] == "count":
        return count(argv[2], argv[3])
    if len(argv) == 5 and argv[1] == "pixel":
        print(",".join(str(c) for c in Image(argv[2]).pixel(int(argv[3]), int(argv[4]))))
        return 0
    if len(argv) == 4 and argv[1] == "compare":
        return compare(argv[2], argv[3])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
