#!/usr/bin/env python3
"""How often the fit's 95% intervals hold the truth.

Makes synthetic skids whose true inputs are drawn from the same distributions
the fit is told about, leaves their marks (yawmark-batch --write-marks, then a
survey's scatter of 5 cm on each point), fits them with --monte-carlo and
counts the skids whose true speed lies in the interval over every stated
uncertainty (low..high) and in the marks' own (marks_low..marks_high). An
honest 95% interval holds it 93-97% of the time over a few hundred skids.

    bench/coverage.py build/cli/yawmark-batch [--skids 200] [--draws 200] [--fit-for speed|all]

Not a test: it takes minutes (speed) to hours (all).
"""
import argparse
import csv
import io
import random
import subprocess
import sys
import tempfile
from pathlib import Path

# What the analyst states, and what the truth is drawn from: the friction of
# dry asphalt (0.76 ± 0.06, one standard deviation, from reviews of skid
# tests) and a weight split known within a point or two. The speed (and with
# --fit-for all the turning radius) is the truth's alone: the fit finds it.
FRICTION = (0.76, 0.06)
REAR_WEIGHT = (57.0, 60.0)
RADIUS = (15.0, 19.0)
SPEED = (15.0, 30.0)
SIGMA = 0.05


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("batch")
    ap.add_argument("--skids", type=int, default=200)
    ap.add_argument("--draws", type=int, default=200)
    ap.add_argument("--fit-for", default="speed")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--keep", metavar="DIR", help="keep the marks and the fit's command of each "
                    "skid whose interval misses, or whose fit is refused, in DIR")
    args = ap.parse_args()
    dice = random.Random(args.seed)
    held = held_marks = refused = tails = 0
    widths = []
    with tempfile.TemporaryDirectory() as tmp:
        clean, noisy = Path(tmp, "clean.csv"), Path(tmp, "noisy.csv")
        for k in range(args.skids):
            truth = {
                "friction": max(0.3, dice.gauss(*FRICTION)),
                "rearWeightPercent": dice.uniform(*REAR_WEIGHT),
                "turnRadius": dice.uniform(*RADIUS) if args.fit_for == "all" else 17.0,
                "speed": dice.uniform(*SPEED),
            }
            boxes = []
            for key, value in truth.items():
                boxes += ["--box", f"{BOX[key]}={value!r}"]
            subprocess.run([args.batch, "--box", "13=1", *boxes, "--write-marks", str(clean)],
                           check=True)
            rows = list(csv.reader(clean.read_text().splitlines()))
            with noisy.open("w") as f:
                f.write("wheel,x,y\n")
                for wheel, x, y in rows[1:]:
                    f.write(f"{wheel},{float(x) + dice.gauss(0, SIGMA)!r},"
                            f"{float(y) + dice.gauss(0, SIGMA)!r}\n")
            command = [args.batch, "--box", "13=1", "--box", f"4={FRICTION[0]}",
                 "--box", f"3={sum(REAR_WEIGHT) / 2}", "--box", "9=17",
                 "--box", "6=20", "--fit", str(noisy), "--starts-at-pull", "--ends-at-rest",
                 "--fit-for", args.fit_for, "--monte-carlo", str(args.draws),
                 "--seed", str(k + 1),
                 "--vary", f"friction=normal:{FRICTION[0]},{FRICTION[1]}",
                 "--vary", f"rearWeightPercent=uniform:{REAR_WEIGHT[0]},{REAR_WEIGHT[1]}"]
            fit = subprocess.run(command, capture_output=True, text=True)
            table = {r["quantity"]: r for r in csv.DictReader(io.StringIO(fit.stdout))}
            s = table.get("speed")
            missed = s is None or not float(s["low"]) <= truth["speed"] <= float(s["high"])
            if args.keep and (fit.returncode != 0 or missed):
                keep = Path(args.keep, f"skid-{k + 1}.csv")
                keep.parent.mkdir(parents=True, exist_ok=True)
                keep.write_text(noisy.read_text())
                keep.with_suffix(".txt").write_text(
                    f"truth {truth}\n" + " ".join(command).replace(str(noisy), str(keep)) + "\n")
            if fit.returncode != 0 or "speed" not in table:
                refused += 1
                print(f"skid {k + 1}: refused: {fit.stderr.strip()}", file=sys.stderr)
                continue
            v = truth["speed"]
            # The friction dominates: a truth beyond its stated 95% range is a fair miss.
            tails += abs(truth["friction"] - FRICTION[0]) > 1.96 * FRICTION[1]
            held += float(s["low"]) <= v <= float(s["high"])
            held_marks += float(s["marks_low"]) <= v <= float(s["marks_high"])
            widths.append(float(s["high"]) - float(s["low"]))
            done = k + 1 - refused
            print(f"skid {k + 1}: truth {v:.3f} in [{float(s['low']):.3f}, {float(s['high']):.3f}]"
                  f" {held}/{done}", file=sys.stderr)
    fitted = args.skids - refused
    print(f"fit for {args.fit_for}, {args.draws} draws: {fitted} of {args.skids} skids fitted, "
          f"refused {refused}")
    if fitted:
        print(f"95% over every stated uncertainty holds the true speed in {held} "
              f"({100 * held / fitted:.1f}%); from the marks alone in {held_marks} "
              f"({100 * held_marks / fitted:.1f}%); median width "
              f"{sorted(widths)[len(widths) // 2]:.2f} m/s; the true friction lay beyond its "
              f"stated 95% range in {tails} ({100 * tails / fitted:.1f}%)")


BOX = {"friction": 4, "rearWeightPercent": 3, "turnRadius": 9, "speed": 6}

if __name__ == "__main__":
    main()
