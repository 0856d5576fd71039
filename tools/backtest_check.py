#!/usr/bin/env python3
"""Checks `numbers4marvo-cli backtest --format json` against a second,
separate implementation of the same definitions, written from the rules of
the prediction and not from the program's code.

    numbers4marvo-cli backtest --db DB --format json > backtest.json
    tools/backtest_check.py HISTORY.csv backtest.json

HISTORY.csv is the history the database was loaded from (a header naming
draw, d1..d4). For every draw t of the JSON's range the prediction is
computed afresh from the draws before t alone, exactly as the prediction
window would show it: the grids are simulated cell by cell. Exit status 0
when every figure agrees, 1 otherwise.
"""
import csv
import json
import math
import sys
from fractions import Fraction

CYCLE_LENGTHS = [7, 9, 11, 12]
ELIMINATION_TABLE = [  # draws back, position, offset
    (0, 1, 1), (0, 2, 8), (1, 1, 0), (1, 4, -7), (2, 4, 8), (2, 2, -5),
    (3, 1, 3), (3, 4, 1), (4, 4, 4), (4, 1, 7), (5, 4, 6), (5, 4, -9),
    (6, 1, 4), (7, 2, 1), (9, 4, 9)]
CYCLE_NAMES = [" 7回周期法", " 9回周期法", "11回周期法", "12回周期法"]
SET_NAMES = ["消去法", "連発予想", "１発予想"]
# Rows of the elimination, 連発 and １発 grids (row 1 is the header); the
# digits are placed four to a row from column 2 of row 2.
GRID_ROWS = {"消去法": 4, "連発予想": 3, "１発予想": 2}


def read_history(path):
    draws = {}
    with open(path, encoding="utf-8-sig", newline="") as f:
        for row in csv.DictReader(f):
            try:
                no = int(row["draw"])
                digits = tuple(int(row[k]) for k in ("d1", "d2", "d3", "d4"))
            except (KeyError, ValueError):
                continue  # an incomplete draw is skipped whole
            if 1 <= no <= 99999 and all(0 <= d <= 9 for d in digits):
                draws[no] = digits
    return draws


def fold(v):
    return v - 9 if v > 9 else v + 9 if v <= 0 else v


class Grid:
    """The digit area of one result grid: placement slots and the repeat test."""

    def __init__(self, rows):
        self.cells = {}
        self.rows = rows
        self.placed = 0

    def place(self, digit):
        col, row = 2 + self.placed % 4, 2 + self.placed // 4
        self.placed += 1
        if row <= self.rows:  # a write outside the grid has no effect
            self.cells[(col, row)] = digit

    def holds(self, digit, rows):
        return any(self.cells.get((c, r)) == digit for c in range(2, 6) for r in rows)

    def shown(self):
        return set(self.cells.values())


def intervals(draws):
    """For each draw r and position p: r - k, k the nearest earlier draw
    number holding that digit in any position (a draw never stored reads as
    four zeros), or None."""
    out = {}
    for r, digits in draws.items():
        row = []
        for d in digits:
            k = r - 1
            while k >= 1 and d not in draws.get(k, (0, 0, 0, 0)):
                k -= 1
            row.append(r - k if k >= 1 else None)
        out[r] = row
    return out


def predict(draws, numbers_before, gaps, reflect):
    """The prediction shown had the history ended just before t: the draws
    numbered below t only. numbers_before: their numbers, ascending."""
    cycle = [[None] * 4 for _ in CYCLE_LENGTHS]
    for m, length in enumerate(CYCLE_LENGTHS):
        for p in range(4):
            for r in reversed(numbers_before):  # the most recent draw recording it
                if gaps[r][p] == length:
                    cycle[m][p] = draws[r][p]
                    break
    latest = numbers_before[-1] if numbers_before else 0
    values = []
    grids = {name: Grid(rows) for name, rows in GRID_ROWS.items()}
    if latest:
        for back, position, offset in ELIMINATION_TABLE:
            k = latest - back - reflect
            if k < 0:
                continue
            v = fold(draws.get(k, (0, 0, 0, 0))[position - 1] + offset)
            if v not in values:
                grids["消去法"].place(v)
            values.append(v)
    for name, tolerance, rows, cap in (("連発予想", 3, (2, 3), None), ("１発予想", 2, (2,), 7)):
        select(grids[name], values, cycle, tolerance, rows, cap)
    return cycle, {name: grid.shown() for name, grid in grids.items()}


def select(grid, values, cycle, tolerance, rows, cap):
    for e in values:
        for m in range(4):
            for p in range(4):
                if cap is not None and grid.placed >= cap:
                    return
                s = cycle[m][p]
                if s is None:
                    break
                if abs(e - s) > tolerance:
                    continue
                if not grid.holds(s, rows):
                    grid.place(s)


def backtest(draws, first, last, reflect):
    gaps = intervals(draws)
    numbers = sorted(draws)
    tallies = {n: {"draws": 0, "hits": 0, "expected": Fraction(0), "trials": {},
                   "all_four": 0, "all_four_expected": Fraction(0)}
               for n in CYCLE_NAMES + SET_NAMES}
    for i, t in enumerate(numbers):
        if not first <= t <= last:
            continue
        cycle, sets = predict(draws, numbers[:i], gaps, reflect)
        drawn = draws[t]
        for m, name in enumerate(CYCLE_NAMES):
            predicted = [p for p in range(4) if cycle[m][p] is not None]
            if predicted:
                tally = tallies[name]
                tally["draws"] += 1
                tally["hits"] += sum(cycle[m][p] == drawn[p] for p in predicted)
                tally["expected"] += Fraction(len(predicted), 10)
                tally["trials"][Fraction(1, 10)] = tally["trials"].get(Fraction(1, 10), 0) + len(predicted)
        for name in SET_NAMES:
            s = len(sets[name])
            if s:
                tally = tallies[name]
                hits = sum(d in sets[name] for d in drawn)
                chance = Fraction(s, 10)
                tally["draws"] += 1
                tally["hits"] += hits
                tally["expected"] += 4 * chance
                tally["trials"][chance] = tally["trials"].get(chance, 0) + 4
                tally["all_four"] += hits == 4
                tally["all_four_expected"] += chance ** 4
    return tallies


def binomial_log_pmf(n, k, c):
    if c == 1:
        return 0.0 if k == n else -math.inf
    return (math.lgamma(n + 1) - math.lgamma(k + 1) - math.lgamma(n - k + 1)
            + k * math.log(c) + (n - k) * math.log1p(-c))


def distribution(trials):
    """Probabilities of every hit count (dict), counts weighing below e^-90
    of the likeliest left out."""
    dist = {0: 1.0}
    for c, n in sorted(trials.items()):
        c = float(c)
        logs = {k: binomial_log_pmf(n, k, c) for k in range(n + 1)}
        top = max(logs.values())
        part = {k: math.exp(v) for k, v in logs.items() if v > top - 90}
        merged = {}
        for a, pa in dist.items():
            for b, pb in part.items():
                merged[a + b] = merged.get(a + b, 0.0) + pa * pb
        top = max(merged.values())
        dist = {k: v for k, v in merged.items() if v > top * 1e-40}
    return dist


def two_sided_p(trials, hits):
    dist = distribution(trials)
    observed = dist.get(hits, 0.0)
    return min(1.0, math.fsum(v for v in dist.values() if v <= observed * (1 + 1e-7)))


def exact(value, places):
    scaled = value * 10 ** places
    assert scaled.denominator == 1
    whole, part = divmod(int(scaled), 10 ** places)
    return f"{whole}.{part:0{places}d}"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    draws = read_history(sys.argv[1])
    with open(sys.argv[2], encoding="utf-8") as f:
        reported = json.load(f, parse_float=str)  # compare the printed digits
    tallies = backtest(draws, reported["from"], reported["to"], reported["reflect"])
    failures = 0
    for method in reported["methods"]:
        t = tallies[method["name"]]
        mine = {"draws": t["draws"], "hits": t["hits"], "expected": exact(t["expected"], 1),
                "ratio": f"{t['hits'] / float(t['expected']):.4f}" if t["expected"] else None,
                "p_value": f"{two_sided_p(t['trials'], t['hits']):.6g}"}
        if method["kind"] == "set":
            mine["all_four"] = t["all_four"]
            mine["all_four_expected"] = exact(t["all_four_expected"], 4)
        for key, value in mine.items():
            theirs = method.get(key)
            same = str(theirs) == str(value) or (key == "p_value" and float(theirs) == float(value))
            status = "ok" if same else "DIFFERS"
            failures += not same
            print(f"{method['name']}\t{key}\t{theirs}\t{value}\t{status}")
    print("all figures agree" if failures == 0 else f"{failures} figures differ")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
