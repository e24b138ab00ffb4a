#!/usr/bin/env python3
"""Writes the fixture of the end-to-end response test (input/) and the files the save must
produce from it (expected/). Run it from anywhere: python3 make_expected.py

How the expected values were obtained: from the model the scans were made with, never from the
program. At the scan wavelengths w_i the instrument's response is R_i = S(w_i) * (1 + f_i): a
smooth curve S(w) = exp(a0 + a1*x + a2*x^2), x = (w - 0.328) / 0.08 (w in micrometres), with a
fine structure f_i of a few tenths of a percent that no smooth curve follows. A lamp's count rate
at 50 cm and T degrees is

    counts_i = R_i * s * E50(w_i) * (1 + k(w_i) * (T - 25))

with E50 its Planck irradiance A / ((exp(14400 / (Tbb * w)) - 1) * w^5) brought from the distance
of its standard to 50 cm (inverse square), s a small calibration mismatch of the lamp and k its
relative temperature slope. The scan files hold these rates at the distance of each scan (rate at
d = rate at 50 cm * (50 / d)^2). Hence, exactly:

  * the average of a lamp's scans at 50 cm is R * s * E50 * m, m = 1 + k * (Tmean - 25); its
    response (average / irradiance) is R * s * m. Lamp 1007 has Tmean = 25 exactly, so its
    m = 1 although its k varies with x; lamp 1012 has Tmean != 25 and a constant k. The log's
    lamp columns are 100 * (s1 * m1 / (s2 * m2) - 1) and 0 at every point;
  * the response is the mean of the two lamp responses, R_i * (s1 * m1 + s2 * m2) / 2;
  * its smoothing is the least-squares polynomial of ln(response) over x (8 coefficients over the
    first range, up to the first 3250 A point; 3 over the second, from the repeated 3250 A point
    on; the point at 3280 A, where x is exactly 0, left out), computed here exactly in rational
    arithmetic and evaluated on the output grid (every grid point lies in the first range, 2865 A
    below the scans included) and at the scan points (the log's Fit);
  * the regression of a lamp's rates on temperature gives the slope R * s * k * E50 and the value
    at 25 degrees R * s * E50; divided by the irradiance and averaged over the lamps, the
    temperature coefficient is 100 * (s1 * k1 + s2 * k2) / (s1 + s2) percent per degree, the
    response's fine structure cancelling. k1 is a quadratic in x on the first range and a
    straight line on the second (the repeated 3250 A point has one value in each), so the cubic
    and the linear fit give these functions back: below 3250 A the quadratic, at 3250 A the line;
  * the temperature files take the response file as written (rounded to three decimals) times
    the coefficient / 100.
Lamp 1012's standard is the record of its BBF file dated on the day of its scans (the records of
30 days before and of the next day would give other numbers). Lamp 1007's standard is the black
body fitted to its IRR file, whose points in 2895..4000 A lie exactly on the model (the two
points outside are 20 % off and must not enter the fit). The fit finds the model only to its own
precision, measured at under 1e-6 of the irradiance (the response moves by under 4e-7); the
magnitudes keep that below a fifth of every last printed digit: responses up to about 400 on the
output grid (three decimals) and 2000 in the log (two decimals).
"""

import math
import os
from datetime import date, timedelta
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
INPUT = os.path.join(HERE, "input")
EXPECTED = os.path.join(HERE, "expected")

INSTRUMENT = "185"
CHOSEN_NAME = "uvr12524." + INSTRUMENT  # the name given in the save dialog

# The smooth part of the instrument's response: its logarithm is a quadratic in x.
A0, A1, A2 = 6.2, 4.0, -1.5

# Scan wavelengths (angstroms): a first range 2900..3250 and a second range that starts again at
# 3250, as the instrument writes them.
FIRST_RANGE = list(range(2900, 3251, 25))
# The second range holds 3280 A, where the normalised wavelength is exactly 0: that point does not
# enter the fits.
SECOND_RANGE = [3250, 3280] + list(range(3300, 3601, 50))
SCAN_WAVELENGTHS = FIRST_RANGE + SECOND_RANGE

# The output grid of the save: 2865 to 3250 A in steps of 5 A.
GRID = list(range(2865, 3251, 5))

# Lamp 1007: IRR lamp, first in the list, four scans in two files (mean temperature 25 exactly).
IRR_FACTOR, IRR_TEMPERATURE, IRR_DISTANCE = 132000.0, 3050.0, 40.0
S_1007 = 1.0
SCANS_1007 = [  # file, day of year, two-digit year, distance, temperature, time of day
    ("ql_1007." + INSTRUMENT, 123, 24, 50.0, "14.2", "09:15:00"),
    ("ql_1007." + INSTRUMENT, 123, 24, 50.0, "28.4", "13:40:20"),
    ("qlb_1007." + INSTRUMENT, 124, 24, 45.0, "21.6", "10:05:30"),
    ("qlb_1007." + INSTRUMENT, 124, 24, 45.0, "35.8", "15:20:45"),
]


def k_1007(w_um, second_range):
    x = normalised(w_um)
    if second_range:
        return -0.0008 + 0.0010 * x
    return -0.0012 + 0.0040 * x + 0.0050 * x * x


# Lamp 1012: BBF lamp, three scans at several distances, mean temperature below 25.
S_1012 = 0.96
K_1012 = -0.0030
SCANS_1012 = [
    ("ql_1012." + INSTRUMENT, 125, 24, 40.0, "20.3", "08:30:15"),
    ("ql_1012." + INSTRUMENT, 125, 24, 50.0, "23.9", "12:45:00"),
    ("ql_1012." + INSTRUMENT, 125, 24, 45.0, "27.4", "16:10:05"),
]
# The BBF file's records, deliberately out of date order: (distance, temperature, factor, rms,
# date offset from the day of the scans, remark). The one dated on the scans' day is valid.
BBF_RECORDS = [
    (50.0, 2955.25, 96500.0, 0.0150, +1, "recalibrated"),
    (45.0, 3010.0, 101234.567, 0.0110, -30, ""),
    (45.0, 2980.5, 98765.432, 0.0123, 0, "certificate 2024"),
]
BBF_VALID = 2

FILES = ["ql_1007." + INSTRUMENT, "qlb_1007." + INSTRUMENT, "ql_1012." + INSTRUMENT]
REFERENCE_LAMP = "1012"  # the log's lamp columns are relative to the second lamp (index 1)

MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
          "September", "October", "November", "December"]


def normalised(w_um):
    return (w_um - 0.328) / 0.08


def planck(factor, temperature, w_um):
    b = 14400.0 / temperature
    return factor / ((math.exp(b / w_um) - 1.0) * w_um ** 5)


def smooth_response(w_um):
    x = normalised(w_um)
    return math.exp(A0 + A1 * x + A2 * x * x)


def fine_structure(i):
    """The fine structure of the instrument's response at scan point i (0-based), which no
    smooth curve follows: a few tenths of a percent."""
    return 0.003 * math.sin(1.7 * i + 0.4)


def true_response(i):
    """The instrument's response at scan point i."""
    return smooth_response(SCAN_WAVELENGTHS[i] / 10000) * (1 + fine_structure(i))


def least_squares(xs, ys, m):
    """The least-squares polynomial c[0] + c[1]*x + ... + c[m-1]*x^(m-1) through the points, in
    exact rational arithmetic on the binary values of x and y. A point at x = 0 does not enter."""
    points = [(Fraction(x), Fraction(y)) for x, y in zip(xs, ys) if x != 0]
    rows = [[sum(x ** (r + s) for x, _ in points) for s in range(m)]
            + [sum(x ** r * y for x, y in points)] for r in range(m)]
    for i in range(m):
        pivot = next(r for r in range(i, m) if rows[r][i] != 0)
        rows[i], rows[pivot] = rows[pivot], rows[i]
        for r in range(m):
            if r != i and rows[r][i] != 0:
                f = rows[r][i] / rows[i][i]
                rows[r] = [u - f * v for u, v in zip(rows[r], rows[i])]
    return [rows[i][m] / rows[i][i] for i in range(m)]


def evaluate(c, x):
    return float(sum(ci * Fraction(x) ** k for k, ci in enumerate(c)))


def day_count(year, day_of_year):
    return (date(year, 1, 1) + timedelta(days=day_of_year - 1) - date(1899, 12, 30)).days


def full_year(yy):
    return 2000 + yy if yy <= 50 else 1900 + yy


def mean_temperature(scans):
    # Exact decimal arithmetic: the design needs lamp 1007's mean to be 25 exactly.
    return sum(Fraction(t) for (_, _, _, _, t, _) in scans) / len(scans)


def e50_1007(w_um):
    return planck(IRR_FACTOR, IRR_TEMPERATURE, w_um) * IRR_DISTANCE ** 2 / 50.0 ** 2


def e50_1012(w_um):
    d, t, f = BBF_RECORDS[BBF_VALID][0:3]
    return planck(f, t, w_um) * d * d / 50.0 ** 2


def lamp_rates(scan, e50, s, k_of):
    """The scan's rates at its own distance, one (angstroms, rate) pair per point."""
    _, _, _, distance, temperature, _ = scan
    pairs = []
    for i, a in enumerate(SCAN_WAVELENGTHS):
        w = a / 10000
        second = i >= len(FIRST_RANGE)
        rate50 = true_response(i) * s * e50(w) * (1 + k_of(w, second) * (float(temperature) - 25))
        pairs.append((a, rate50 * (50.0 / distance) ** 2))
    return pairs


def ql_block(scan, pairs):
    _, day, yy, distance, temperature, time = scan
    lines = ["%d" % len(pairs), "%03d%02d %.1f %s 2.0 0" % (day, yy, distance, temperature)]
    lines += ["%d %.6f" % p for p in pairs]
    lines.append(time)
    return "\n".join(lines) + "\n"


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\n") as f:
        f.write(text)


def write_inputs():
    blocks = {}
    for scan in SCANS_1007:
        pairs = lamp_rates(scan, e50_1007, S_1007, k_1007)
        blocks.setdefault(scan[0], []).append(ql_block(scan, pairs))
    for scan in SCANS_1012:
        pairs = lamp_rates(scan, e50_1012, S_1012, lambda w, second: K_1012)
        blocks.setdefault(scan[0], []).append(ql_block(scan, pairs))
    for name, texts in blocks.items():
        write(os.path.join(INPUT, name), "".join(texts))

    irr = ["lamp1007", "%5.1f" % IRR_DISTANCE]
    for a in list(range(2500, 4501, 50)) + [5000]:
        e = planck(IRR_FACTOR, IRR_TEMPERATURE, a / 10000)
        if a < 2895 or a > 4000:
            e *= 1.2  # outside the fit range the table leaves the model
        irr.append("%5.0f  %.8f" % (a, e))
    write(os.path.join(INPUT, "lamp1007.irr"), "\n".join(irr) + "\n")

    scan_day = day_count(2024, SCANS_1012[-1][1])
    bbf = []
    for d, t, f, rms, offset, remark in BBF_RECORDS:
        bbf.append("Distance = %.1f Temperature = %10.4f Factor = %10.3f RMS = %10.4f  Date = %.0f %s %s"
                   % (d, t, f, rms, scan_day + offset, "", remark))
    write(os.path.join(INPUT, "lamp1012.bbf"), "\n".join(bbf) + "\n")


def m_factor(scans, k):
    return 1 + k * (float(mean_temperature(scans)) - 25)


def expected_files():
    assert mean_temperature(SCANS_1007) == 25
    temps_1007 = [float(s[4]) for s in SCANS_1007]
    assert max(temps_1007) - min(temps_1007) > 10  # the "_tc" names and the temperature files

    response_1007 = S_1007  # times R(w); m = 1 for a mean temperature of 25
    response_1012 = S_1012 * m_factor(SCANS_1012, K_1012)
    scale = (response_1007 + response_1012) / 2

    # The response at the scan points, and its smoothing: ln of the response fitted with 8
    # coefficients over the first range (points up to the first 3250 A) and with 3 over the
    # second (from the repeated 3250 A on).
    n_first = len(FIRST_RANGE)
    resp = [true_response(i) * scale for i in range(len(SCAN_WAVELENGTHS))]
    xs = [normalised(a / 10000) for a in SCAN_WAVELENGTHS]
    logs = [math.log(r) for r in resp]
    first_fit = least_squares(xs[:n_first], logs[:n_first], 8)
    second_fit = least_squares(xs[n_first:], logs[n_first:], 3)
    fit = [math.exp(evaluate(first_fit if i < n_first else second_fit, xs[i]))
           for i in range(len(xs))]

    def tcoef(w_um, second_range):  # percent per degree
        k1 = k_1007(w_um, second_range)
        return 100 * (S_1007 * k1 + S_1012 * K_1012) / (S_1007 + S_1012)

    # The response file: the smoothed response on the grid; every grid point (none is above
    # 3255 A) takes the first range's polynomial, also where it extrapolates below 2900 A.
    response_lines = ["%7.0f %9.3f" % (a, math.exp(evaluate(first_fit, normalised(a / 10000))))
                      for a in GRID]

    # The temperature files, from the response file's rounded values. The switch is 3250 A: the
    # response's second range starts at 0.325 um, below 0.33.
    tc_lines, rel_lines = [], []
    for line in response_lines:
        a, r = (float(v) for v in line.split())
        tc = tcoef(a / 10000, a >= 3250) / 100
        tc_lines.append("%7.0f %9.3f" % (a, tc * r))
        rel_lines.append("%7.0f %11.8f" % (a, tc))

    # The response log.
    log = ["Processed files:" + "".join(" " + f for f in FILES), "Lamps:"]
    for name, scans in (("1007", SCANS_1007), ("1012", SCANS_1012)):
        temps = [float(s[4]) for s in scans]
        log.append(" %s: %d scans used with temperature ranging from %3.0fC to %3.0fC"
                   % (name, len(scans), min(temps), max(temps)))
        log.append("Selected scans:")
        for _, day, yy, _, t, time in scans:
            d = date(full_year(yy), 1, 1) + timedelta(days=day - 1)
            when = "%s %d, %d %s" % (MONTHS[d.month - 1], d.day, d.year, time)
            log.append("Julian day %03d  date: %s T=%3.0fC" % (day, when, float(t)))
    log.append("")
    log.append("-" * 27)
    log.append("  WL    Resp       Fit        Diff   %cdiff |" % "%"
               + "".join(" %6s  |" % n for n in ("1007", "1012")))
    reference = response_1012 if REFERENCE_LAMP == "1012" else response_1007
    for a, r, f in zip(SCAN_WAVELENGTHS, resp, fit):
        row = "%5.0f  %8.2f  %8.2f  %7.2f  %6.1f" % (a, r, f, f - r, 100 * (f - r) / r) + "%|"
        for lamp_response in (response_1007, response_1012):
            row += " %6.2f" % (100 * (lamp_response - reference) / reference) + "% |"
        log.append(row)
    log.append("-" * 27)

    base = os.path.join(EXPECTED, CHOSEN_NAME)
    write(base + "_tc", "\n".join(response_lines) + "\n")
    write(base + ".log_tc", "\n".join(log) + "\n")
    write(base + ".tc", "\n".join(tc_lines) + "\n")
    write(base + ".tc.relative", "\n".join(rel_lines) + "\n")


if __name__ == "__main__":
    write_inputs()
    expected_files()
