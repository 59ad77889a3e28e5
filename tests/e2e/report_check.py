#!/usr/bin/env python3
"""Looks at page 1 of a test report as a reader would: finds a phase's chart
by its title, reads the axes off their tick labels, and checks the pixels
where the class's limit envelope and the records' marks belong.

report_check.py REPORT.pdf PAGE.png SPEC
SPEC is JSON: {"phase": "R", "envelope": [[percent, limit], ...],
"factor": 120, "points": [[percent, error, "pass" | "fail"], ...]},
percents of rated current, the limit and the error in percent. Writes
page 1 as PAGE.png."""
import json
import re
import subprocess
import sys
import tempfile

DPI = 100
SCALE = DPI / 72  # pixels per point

pdf, png, spec = sys.argv[1], sys.argv[2], json.loads(sys.argv[3])
failures = []


def run(*args):
    return subprocess.run(args, capture_output=True, check=True).stdout


# The words of page 1 with their boxes, in points.
html = run("pdftotext", "-bbox", "-f", "1", "-l", "1", pdf, "-").decode()
words = [(float(a), float(b), float(c), float(d), w) for a, b, c, d, w in re.findall(
    r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>', html)]
titles = [(i, w[1]) for i, w in enumerate(words)
          if w[4] == "Phase" and i + 1 < len(words) and words[i + 1][4].endswith(":")]
mine = [y for i, y in titles if words[i + 1][4] == spec["phase"] + ":"]
if not mine:
    sys.exit(f"no chart of phase {spec['phase']} on page 1")
top = mine[0]
bottom = min([y for _, y in titles if y > top + 1] + [1e9])
number = re.compile(r"^-?\d+(\.\d+)?$")
labels = [w for w in words if top < w[1] < bottom and number.match(w[4])]

# The current axis: the row of most numbers; the error axis: the numbers
# left of its first label.
rows = {}
for w in labels:
    rows.setdefault(round(w[1]), []).append(w)
x_row = max(rows.values(), key=len)
x_first = min((w[0] + w[2]) / 2 for w in x_row)
y_column = [w for w in labels if w not in x_row and w[2] < x_first]


def fit(pairs, what):
    """value -> pixel, a straight line through every tick label."""
    n = len(pairs)
    if n < 3:
        sys.exit(f"{what}: {n} tick labels")
    mv = sum(v for _, v in pairs) / n
    mp = sum(p for p, _ in pairs) / n
    slope = sum((v - mv) * (p - mp) for p, v in pairs) / sum((v - mv) ** 2 for _, v in pairs)
    worst = max(abs(mp + slope * (v - mv) - p) for p, v in pairs)
    if worst > 1.5:
        failures.append(f"{what}: tick labels off a straight line by {worst:.1f} px")
    return lambda v: mp + slope * (v - mv), min(v for _, v in pairs), max(v for _, v in pairs)


to_x, x_low, x_high = fit([((w[0] + w[2]) / 2 * SCALE, float(w[4])) for w in x_row], "current axis")
to_y, y_low, y_high = fit([((w[1] + w[3]) / 2 * SCALE, float(w[4])) for w in y_column], "error axis")

with tempfile.TemporaryDirectory() as scratch:
    run("pdftoppm", "-singlefile", "-r", str(DPI), "-f", "1", "-l", "1", pdf, scratch + "/page")
    ppm = open(scratch + "/page.ppm", "rb").read()
run("pdftoppm", "-singlefile", "-r", "80", "-f", "1", "-l", "1", "-png", pdf, png[:-4])
magic, width, height, _, pixels = ppm.split(maxsplit=4)
width, height = int(width), int(height)


def rgb(x, y):
    x, y = int(round(x)), int(round(y))
    if not (0 <= x < width and 0 <= y < height):
        return (255, 255, 255)
    at = 3 * (y * width + x)
    return tuple(pixels[at:at + 3])


COLOURS = {
    "limit": lambda r, g, b: b > 180 and r < 100 and g < 100,
    "pass": lambda r, g, b: g > 100 and r < 90 and b < 90,
    "fail": lambda r, g, b: r > 170 and g < 90 and b < 90,
}


def near(kind, x, y, radius):
    return any(COLOURS[kind](*rgb(x + dx, y + dy))
               for dx in range(-radius, radius + 1) for dy in range(-radius, radius + 1))


points = [(to_x(p), to_y(e), verdict) for p, e, verdict in spec["points"]]

# The envelope: +limit and -limit, straight between its corners; nothing
# of it below the lowest corner or past the rating factor.
corners = spec["envelope"]
samples = 0
for (p0, l0), (p1, l1) in zip(corners, corners[1:]):
    for t in (0, 0.25, 0.5, 0.75, 1):
        p, limit = p0 + t * (p1 - p0), l0 + t * (l1 - l0)
        for sign in (1, -1):
            x, y = to_x(p), to_y(sign * limit)
            if any(abs(x - px) < 8 and abs(y - py) < 8 for px, py, _ in points):
                continue  # under a mark
            samples += 1
            if not near("limit", x, y, 2):
                failures.append(f"no limit line at {p:g} % of rated, {sign * limit:+g} %")
for p in (corners[0][0] / 2, spec["factor"] + (x_high - spec["factor"]) / 2):
    column = [y for y in range(int(to_y(y_high)), int(to_y(y_low)))
              if COLOURS["limit"](*rgb(to_x(p), y))]
    if column:
        failures.append(f"a limit line at {p:g} % of rated, where the class has none")

# The marks: a disc passes, a cross fails; the shape tells them apart.
d = 0.8 * DPI / 25.4  # 0.8 mm
for (x, y, verdict), (p, e, _) in zip(points, spec["points"]):
    where = f"the {verdict} mark at {p:g} %, {e:+g} %"
    if not near(verdict, x, y, 2):
        failures.append(f"{where} is missing")
    elif verdict == "pass" and any(COLOURS["pass"](*rgb(x + sx * 1.5 * d, y + sy * 1.5 * d))
                                   for sx in (-1, 1) for sy in (-1, 1)):
        failures.append(f"{where} is not a disc")
    elif verdict == "fail" and not (
            all(near("fail", x + sx * d, y + sy * d, 1) for sx in (-1, 1) for sy in (-1, 1))
            and not any(COLOURS["fail"](*rgb(x + sx * 1.5 * d, y + sy * 1.5 * d))
                        for sx, sy in ((0, 1), (0, -1), (1, 0), (-1, 0)))):
        failures.append(f"{where} is not a cross")

if samples < 8:
    failures.append(f"only {samples} places of the envelope could be looked at")
for f in failures:
    print(f)
print(f"phase {spec['phase']}: axes {x_low:g} to {x_high:g} % of rated, {y_low:g} to {y_high:g} %;"
      f" {samples} places of the envelope and {len(points)} marks looked at")
sys.exit(1 if failures else 0)
