#!/usr/bin/env python3
"""Runs the XMILE models of a local copy of the public SD test-models suite
through `varnel import --plot all` and `varnel run`, and compares them with
the suite's expected output under its own rule: names lower-case with '_'
as a blank, relative difference at most 1e-4, values within 1e-6 of zero
equal; the control columns are not compared. Prints a Markdown table with
the largest relative difference of each model, and a count of the outcomes.

usage: tools/xmile-conformance.py VARNEL SUITE_DIR
"""
import csv, glob, io, os, subprocess, sys, tempfile

CONTROL = {"initial time", "final time", "time step", "saveper", "time"}


def key(name):
    return " ".join(name.replace("_", " ").lower().split())


def expected(folder):
    for name, sep in (("output.csv", ","), ("output.tab", "\t")):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                rows = list(csv.reader(f, delimiter=sep))
            header = [key(h) for h in rows[0]]
            table = {}
            for row in rows[1:]:
                if not row or not row[0].strip():
                    continue
                t = float(row[0])
                for h, v in zip(header[1:], row[1:]):
                    if v.strip() and h not in CONTROL:
                        table.setdefault(h, {})[t] = float(v)
            return table
    return None


def difference(a, b):
    """Relative difference under the suite's rule: 0 near zero."""
    if abs(a) < 1e-6 and abs(b) < 1e-6:
        return 0.0
    return abs(a - b) / max(abs(a), abs(b))


def check(varnel, model):
    with tempfile.TemporaryDirectory() as tmp:
        vrn = os.path.join(tmp, "m.vrn")
        imp = subprocess.run([varnel, "import", model, "-o", vrn, "--plot", "all"], capture_output=True, text=True)
        if imp.returncode != 0:
            lines = [l.strip() for l in imp.stderr.splitlines()[1:]] or [imp.stderr.strip()]
            return "refused", "; ".join(lines)
        run = subprocess.run([varnel, "run", vrn], capture_output=True, text=True)
        if run.returncode != 0:
            return "imported", "run failed: " + run.stderr.strip().replace("\n", " ")
    got = {}
    for row in csv.DictReader(io.StringIO(run.stdout)):
        got.setdefault(key(row["caption"]), {})[float(row["x"])] = float(row["y"])
    want = expected(os.path.dirname(model))
    if want is None:
        return "imported", "no expected output in the copy"
    # Two models may share a folder's output; each is held to its own times.
    last = max(max(s) for s in got.values()) if got else 0
    largest, first, values = 0.0, None, 0
    for name, series in want.items():
        series = {t: v for t, v in series.items() if t <= last + 1e-9}
        if name not in got:
            return "imported", "differs: no series '%s'" % name
        for t, v in series.items():
            if t not in got[name]:
                return "imported", "differs: %s has no value at %g" % (name, t)
            d = difference(got[name][t], v)
            values += 1
            if d > 1e-4 and first is None:
                first = "%s at %g: %s against %g" % (name, t, got[name][t], v)
            largest = max(largest, d)
    if first:
        return "imported", "differs (largest relative difference %.3g): first %s" % (largest, first)
    return "imported", "agrees: %d series, %d values, largest relative difference %.3g" % (len(want), values, largest)


def main():
    varnel, suite = sys.argv[1], sys.argv[2]
    models = sorted(glob.glob(os.path.join(suite, "tests/*/*.xmile")))
    teacup = os.path.join(suite, "samples/teacup/teacup.xmile")
    if os.path.exists(teacup):
        models.insert(0, teacup)
    print("| model | import | result |\n|---|---|---|")
    counts = {}
    for model in models:
        status, result = check(varnel, model)
        outcome = status if status == "refused" else result.split(":")[0].split(" (")[0]
        counts[outcome] = counts.get(outcome, 0) + 1
        print("| %s | %s | %s |" % (os.path.relpath(model, suite), status, result.replace("|", "\\|")))
    print("\n%d models: %s" % (len(models), ", ".join("%d %s" % (n, k) for k, n in sorted(counts.items()))))


if __name__ == "__main__":
    main()
