#!/usr/bin/env python3
"""Checks that README.md and the manual pages' hand-written sections
(packaging/*.h2m) say what the built programs do, reading every example and
number out of the documents themselves, so that a document and the program
cannot drift apart unseen.

README.md:
- A fenced block with `$ command` lines is a transcript: each command runs
  (bash, in a scratch folder holding copies of examples/ and docs/) and what
  it prints, standard output and error together, must be the lines below it.
  A line `...` stands for any number of lines, a line ending in `...` for any
  line that starts so.
- A ```sh block without `$` lines: each command must succeed, and an image
  whose size the line gives (`# WxH` or `--size WxH`) must have that size.
- A block after `<!-- file: PATH -->` is an excerpt of PATH, with `...` as above.
- A block after `<!-- not checked...: REASON -->` is left out, and REASON is
  printed. Any other block is a mismatch: the check must know what it shows.
- The numbers and claims of the prose that the programs decide (the default
  car, the pictures, the fit's figures, the limits of case and marks files,
  the box ranges, the install tree, the code layout...) are found with the
  patterns below and compared with the programs to the digits the README
  prints. A sentence reworded so that its pattern no longer finds it is a
  mismatch too: change the check with it.

packaging/*.h2m: every exit status of EXIT STATUS is produced by the program,
and every status the program is made to give is listed; every file of FILES
is read or written where it says (the window's under strace), with the limits
it names.

Uses the programs in build/ (or $BUILD_DIR). Prints one line per mismatch,
naming the document and line, and exits with 1 if there is any.
"""
import json
import os
import re
import shlex
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = (ROOT / os.environ.get("BUILD_DIR", "build")).resolve()
BATCH = BUILD / "cli" / "yawmark-batch"
WINDOW = BUILD / "gui" / "yawmark"
README = ROOT / "README.md"
TEXT = README.read_text(encoding="utf-8")
# The prose as one line, for patterns across wrapped lines: a line break and
# the indentation after it become one space. FLAT_LINE[i]: the line of FLAT[i].
FLAT, FLAT_LINE = "", []
for number, line in enumerate(TEXT.splitlines(), 1):
    line = line.strip() + " "
    FLAT += line
    FLAT_LINE += [number] * len(line)
problems = []
unchecked = []


def line_of(pos):
    """The README's line of a position in FLAT."""
    return FLAT_LINE[pos]


def text_line(pos):
    """The README's line of a position in TEXT."""
    return TEXT.count("\n", 0, pos) + 1


def mismatch(where, message):
    problems.append(f"{where}: {message}")


def find(pattern, what):
    """The README's match of `pattern`, or a mismatch saying it is gone."""
    m = re.search(pattern, FLAT)
    if not m:
        mismatch("README.md", f"no longer says {what} (the check looks for /{pattern}/)")
    return m


def shown(m, group, value, unit=""):
    """Compares a number the README shows with the program's, to the README's digits."""
    text = m.group(group).replace(",", "")
    digits = len(text.split(".")[1]) if "." in text else 0
    actual = f"{value:.{digits}f}"
    if actual != text:
        mismatch(f"README.md:{line_of(m.start(group))}",
                 f"says {m.group(group)}{unit}, the program gives {actual}{unit} ({value!r})")


# --- running the programs -------------------------------------------------

SCRATCH = Path(tempfile.mkdtemp(prefix="check-docs."))
WORK, HOME, RUNTIME = SCRATCH / "work", SCRATCH / "home", SCRATCH / "runtime"
WORK.mkdir()
HOME.mkdir()
RUNTIME.mkdir(mode=0o700)
for folder in ("examples", "docs"):
    shutil.copytree(ROOT / folder, WORK / folder)
ENV = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME",
                    "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME")}
ENV.update(HOME=str(HOME), XDG_RUNTIME_DIR=str(RUNTIME), LC_ALL="C.UTF-8",
           PATH=f"{BATCH.parent}:{WINDOW.parent}:{os.environ['PATH']}")


def run(args, env=None, **kw):
    """Runs a command (a list, or a string for bash) in the scratch folder:
    (status, standard output, standard error)."""
    if isinstance(args, str):
        args = ["bash", "-c", args]
    p = subprocess.run([str(a) for a in args], cwd=WORK, env={**ENV, **(env or {})},
                       capture_output=True, timeout=300, **kw)
    return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8", "replace")


def first(err):
    """The first line of a message, for a mismatch."""
    return (err.strip().splitlines() or [""])[0]


def batch(*args):
    return run([BATCH, *args])


def gif_size(path):
    data = path.read_bytes()[:10]
    if data[:6] != b"GIF89a":
        return None
    return int.from_bytes(data[6:8], "little"), int.from_bytes(data[8:10], "little")


def png_size(path):
    data = Path(path).read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", data[16:24])


def differing_pixels(a, b):
    """How many pixels of two images differ (ImageMagick's compare)."""
    status, out, err = run(["compare", "-metric", "AE", a, b, "null:"])
    try:
        return int(float(err.split()[0]))
    except (ValueError, IndexError):
        return None


def default_case():
    """The start-up case as yawmark-batch --save-case writes it (a fresh copy)."""
    if not (WORK / "default.yawmark").exists() and batch("--save-case", "default.yawmark")[0] != 0:
        mismatch("yawmark-batch", "--save-case cannot write the start-up case")
        return {}
    return json.loads((WORK / "default.yawmark").read_text())


def fit_table(out):
    rows = [line.split(",") for line in out.splitlines()[1:]]
    table = {}
    for row in rows:
        table.setdefault(row[0], []).append(row[1:])
    return table


# --- the README's blocks ---------------------------------------------------

def match_lines(expected, actual):
    """None if the lines match (`...` as described above), else the first
    expected line that does not, with what came instead."""
    i = 0
    skipping = False
    for line in expected:
        if line == "...":
            skipping = True
            continue
        fits = (lambda a: a.startswith(line[:-3])) if line.endswith("...") else (lambda a: a == line)
        while i < len(actual) and skipping and not fits(actual[i]):
            i += 1
        if i >= len(actual):
            return line, "nothing like it" if skipping else "nothing more"
        if not fits(actual[i]):
            return line, actual[i]
        i += 1
        skipping = False
    if not skipping and i < len(actual):
        return "(the end)", actual[i]
    return None


def check_transcript(start, lines):
    command = None
    for offset, line in enumerate(lines + ["$ "]):
        if line.startswith("$ "):
            if command is not None:
                status, out, err = run("exec 2>&1; " + command[1])
                wrong = match_lines(expected, out.splitlines())
                if wrong:
                    mismatch(f"README.md:{command[0]}",
                             f"`{command[1]}` should print \"{wrong[0]}\", printed \"{wrong[1]}\"")
            command, expected = (start + offset, line[2:]), []
        elif command is not None:
            expected.append(line)


def check_commands(start, lines):
    for offset, line in enumerate(lines):
        command = re.sub(r"\s+#.*$", "", line).strip()
        if not command:
            continue
        where = f"README.md:{start + offset}"
        status, out, err = run(command)
        if status != 0:
            mismatch(where, f"`{command}` failed with status {status}: {first(err)}")
            continue
        size = re.search(r"#.*?(\d+)x(\d+)", line) or re.search(r"--size (\d+)x(\d+)", command)
        image = re.search(r"--(png|gif) (\S+)", command)
        if size and image:
            path = WORK / image.group(2)
            got = png_size(path) if image.group(1) == "png" else gif_size(path)
            want = (int(size.group(1)), int(size.group(2)))
            if got != want:
                mismatch(where, f"the image should be {want[0]}x{want[1]}, it is {got}")


def check_excerpt(start, lines, path):
    wrong = match_lines(lines, (ROOT / path).read_text(encoding="utf-8").splitlines())
    if wrong:
        mismatch(f"README.md:{start}", f"{path} should hold \"{wrong[0]}\", it holds \"{wrong[1]}\"")


def check_blocks():
    lines = TEXT.splitlines()
    i = 0
    while i < len(lines):
        fence = re.match(r"```(\w*)$", lines[i])
        if not fence:
            i += 1
            continue
        end = lines.index("```", i + 1)
        body, start = lines[i + 1:end], i + 2
        before = lines[i - 1] if i > 0 else ""
        note = re.match(r"<!-- (not checked[^:]*|file): (.*) -->$", before)
        if note and note.group(1).startswith("not checked"):
            unchecked.append(f"README.md:{i + 1}: {before[5:-4]}")
        elif note:
            check_excerpt(start, body, note.group(2))
        elif any(line.startswith("$ ") for line in body):
            check_transcript(start, body)
        elif fence.group(1) == "sh":
            check_commands(start, body)
        else:
            mismatch(f"README.md:{i + 1}", "a block the check cannot read: give it `$ ` commands, "
                     "or <!-- file: PATH -->, or <!-- not checked: why -->")
        i = end + 1


# --- the prose ---------------------------------------------------------------

def check_default_car():
    m = find(r"The default car \(a (.+?), going (\d+) m/s along \+y in a (left|right) turn of "
             r"(\d+) m radius\)", "the default car")
    c = default_case()
    if m and c:
        b = c["boxes"]
        for got, want, what in ((c["vehicle"], m.group(1), "vehicle"), (b["speed"], m.group(2), "speed"),
                                (b["direction"], "0", "direction"),
                                (b["steering"].lower(), m.group(3), "steering"),
                                (b["turnRadius"], m.group(4), "turning radius")):
            if got != want:
                mismatch(f"README.md:{line_of(m.start())}", f"the default {what} is {got}, not {want}")
    m = find(r"the outline of the car at the start and every (\d+) ms", "the snapshot interval")
    if m and c and c["boxes"]["snapshotInterval"] != m.group(1):
        mismatch(f"README.md:{line_of(m.start())}",
                 f"the default snapshot interval is {c['boxes']['snapshotInterval']} ms")


def check_pictures():
    gif = find(r"The animation was made by `(yawmark-batch --gif (docs/skid\.gif)[^`]*)`", "how docs/skid.gif was made")
    if gif:
        status, _, err = run(gif.group(1).replace(gif.group(2), "skid.gif"))
        if status != 0 or (WORK / "skid.gif").read_bytes() != (ROOT / gif.group(2)).read_bytes():
            mismatch(f"README.md:{line_of(gif.start(1))}", f"`{gif.group(1)}` does not make {gif.group(2)} {first(err)}")
    # The report is the same bytes for the same options once SOURCE_DATE_EPOCH fixes its date.
    report = find(r"The report was made by `(SOURCE_DATE_EPOCH=\d+ yawmark-batch [^`]*--report (docs/report\.pdf)[^`]*)`",
                  "how docs/report.pdf was made")
    if report:
        status, _, err = run(report.group(1).replace(report.group(2), "report.pdf"))
        if status != 0 or (WORK / "report.pdf").read_bytes() != (ROOT / report.group(2)).read_bytes():
            mismatch(f"README.md:{line_of(report.start(1))}",
                     f"`{report.group(1)}` does not make {report.group(2)} {first(err)}")
    m = find(r"The left picture was made by `(yawmark-batch --png (docs/skid\.png)[^`]*)`", "how docs/skid.png was made")
    if not m:
        return
    status, _, err = run(m.group(1))
    differ = differing_pixels(WORK / m.group(2), ROOT / m.group(2)) if status == 0 else None
    if differ != 0:
        mismatch(f"README.md:{line_of(m.start(1))}",
                 f"`{m.group(1)}` does not draw {m.group(2)} ({differ} pixels differ) {first(err)}")
    size = find(r"(\d+) × (\d+)\s+pixels when the window opens at its default size, and fitted as the window\s+"
                r"fits it \(`--size (\d+)x(\d+) --fit-view`\)", "the size of the window's plot")
    if not size:
        return
    w, h = int(size.group(3)), int(size.group(4))
    if (size.group(1), size.group(2)) != (size.group(3), size.group(4)):
        mismatch(f"README.md:{line_of(size.start())}", "the two sizes of the window's plot differ")
    command = m.group(1).replace(m.group(2), "plot.png") + f" --size {w}x{h} --fit-view"
    run(command)
    unchecked.append(f"README.md:{line_of(size.start())}: not checked: a window drawing now (that needs a "
                     "display and Draw pressed); the batch image is compared with docs/window.png")
    # The plot fills the window's right-hand side, under the menu bar.
    window = ROOT / "docs/window.png"
    ww, wh = png_size(window)
    for y in range(0, wh - h + 1):
        run(["convert", window, "-crop", f"{w}x{h}+{ww - w}+{y}", "+repage", "crop.png"])
        if differing_pixels(WORK / "plot.png", WORK / "crop.png") == 0:
            return
    mismatch(f"README.md:{line_of(size.start())}",
             f"`{command}` is not the plot of docs/window.png, pixel for pixel")


def check_monkey():
    m = find(r"run `(QT_QPA_PLATFORM=offscreen (build/tests/tst_monkey))` by hand", "how to run the monkey")
    if not m:
        return
    where = f"README.md:{line_of(m.start())}"
    test = BUILD / "tests" / "tst_monkey"
    status, out, err = run(f"{m.group(1).replace(m.group(2), str(test))} 2>&1",
                           env={"YAWMARK_MONKEY_ACTIONS": "0"})
    seed = re.search(r"monkey: seed (\d+)", out)
    if status != 0 or not seed:
        mismatch(where, f"`{m.group(1)}` failed with status {status}")
        return
    status, out, err = run(f"{m.group(1).replace(m.group(2), str(test))} 2>&1",
                           env={"YAWMARK_MONKEY_ACTIONS": "0", "YAWMARK_MONKEY_SEED": seed.group(1)})
    if f"monkey: seed {seed.group(1)}," not in out:
        mismatch(where, "YAWMARK_MONKEY_SEED does not replay the seed the monkey printed")
    status, _, _ = run([test], env={"YAWMARK_MONKEY_ACTIONS": "1"})
    if status != -signal.SIGABRT:
        mismatch(where, f"without QT_QPA_PLATFORM and a display tst_monkey ended with {status}, not SIGABRT")


def check_install():
    block = re.search(r"```sh\n(cmake -S[^`]*?sudo cmake --install build\n(.*?))```", TEXT, re.S)
    para = find(r"This installs `yawmark` and `yawmark-batch` into `bin/`(.*?)in `share/doc/yawmark/`",
                "what the install puts where")
    if not block or not para:
        mismatch("README.md", "the install block is gone")
        return
    where = f"README.md:{line_of(para.start())}"
    prefix = SCRATCH / "prefix"
    status, _, err = run(["cmake", "--install", BUILD, "--prefix", prefix])
    if status != 0:
        mismatch(where, f"cmake --install failed: {first(err)}")
        return
    named = ["bin/yawmark", "bin/yawmark-batch", "share/man/man1/yawmark.1.gz",
             "share/man/man1/yawmark-batch.1.gz", "share/doc/yawmark/copyright",
             "share/doc/yawmark/changelog.gz", "share/doc/yawmark/README.md"]
    named += [p for p in re.findall(r"`(share/[^`]+)`", para.group(0))]
    for path in named:
        if not list(prefix.glob(path)):
            mismatch(where, f"the install has no {path}")
    sizes = re.search(r"hicolor sizes (\d+) to (\d+)", para.group(0))
    got = sorted(int(p.name.split("x")[0]) for p in (prefix / "share/icons/hicolor").iterdir())
    if not sizes or got[0] != int(sizes.group(1)) or got[-1] != int(sizes.group(2)):
        mismatch(where, f"the icon sizes are {got[0]} to {got[-1]}")
    for line in block.group(2).splitlines():
        status, _, err = run(line.replace("sudo ", "").replace("/usr/local", str(prefix)))
        if status != 0:
            mismatch(where, f"`{line}` failed on the installed tree: {first(err)}")
    globs = prefix / "share/mime/globs2"
    cache = prefix / "share/applications/mimeinfo.cache"
    if not globs.exists() or ":*.yawmark" not in globs.read_text():
        mismatch(where, "after the install block, the type of *.yawmark is not known")
    if not cache.exists() or "application/x-yawmark=org.yawmark.Yawmark.desktop" not in cache.read_text():
        mismatch(where, "after the install block, no desktop entry opens application/x-yawmark")


def check_version():
    status, out, _ = batch("--version")
    version = out.split()[-1]
    for m in re.finditer(r"yawmark_(\d+\.\d+\.\d+)_amd64\.deb", TEXT):
        if m.group(1) != version:
            mismatch(f"README.md:{text_line(m.start())}", f"the package is yawmark_{version}_amd64.deb")
    m = find(r'now `"(\d+\.\d+)"`', "the case file's version")
    c = default_case()
    if m and c.get("version") != m.group(1):
        mismatch(f"README.md:{line_of(m.start())}", f"cases are saved as version {c.get('version')}")


def check_options():
    status, usage, _ = batch("--help")
    others = {"--build", "--install", "--prefix"}  # cmake's
    for m in re.finditer(r"--[a-z][a-z0-9-]*", TEXT):
        if m.group(0) not in others and m.group(0) not in usage:
            mismatch(f"README.md:{text_line(m.start())}", f"yawmark-batch --help does not list {m.group(0)}")
    find(r"Both programs answer `--help` and `--version` without a display; an unknown option "
         r"prints the usage and exits with status 2", "how both programs answer")
    for program in (BATCH, WINDOW):
        for option, want in (("--help", 0), ("--version", 0), ("--no-such-option", 2)):
            status, out, err = run([program, option])
            usage_shown = "Usage:" in (out if option == "--help" else err)
            if status != want or (option != "--version" and not usage_shown):
                mismatch("README.md", f"{program.name} {option} (no display) gave status {status}")
    m = find(r"`--box I=TEXT` \(I from (\d+) to (\d+)", "the box numbers")
    if m:
        low, high = int(m.group(1)), int(m.group(2))
        if batch("--passes", "0", "--box", f"{high}=0.5")[0] != 0 or batch("--box", f"{high + 1}=1")[0] != 2:
            mismatch(f"README.md:{line_of(m.start())}", f"boxes are not numbered {low} to {high}")
    m = find(r"Bad input prints one line on standard error that names the box or option, and the exit status is 2",
             "how bad input is refused")
    status, out, err = batch("--box", "2=0")
    if m and (status != 2 or len(err.splitlines()) != 1 or "Vehicle Mass" not in err):
        mismatch(f"README.md:{line_of(m.start())}", f"--box 2=0 gave status {status} and {err!r}")
    m = find(r'one decimal number with a point \("4\.5", not "4,5"\); blanks around it do not matter',
             "how a box is typed")
    if m and (batch("--passes", "0", "--box", "0=4,5")[0] != 2 or batch("--passes", "0", "--box", "0= 4.5 ")[0] != 0):
        mismatch(f"README.md:{line_of(m.start())}", "a box does not take \"4.5\" only")


def check_case_files():
    find(r"`yawmark-batch skid\.yawmark` runs it, and options given with it override it",
         "that a case file can be run")
    status, out, _ = batch("--save-case", "skid.yawmark", "--box", "6=25")
    if status != 0 or out:
        mismatch("README.md", f"--save-case printed {out!r} with status {status}")
    for extra in ([], ["--box", "6=30"]):
        if batch("skid.yawmark", "--passes", "50", *extra) != batch("--box", "6=25", "--passes", "50", *extra):
            mismatch("README.md", f"a case file run with {extra} is not the run its options describe")
    c = default_case()
    fields = re.search(r"\| field \| kind \| what \|\n\|[-|]+\n((?:\|.*\n)+)", TEXT)
    names = re.findall(r"^\| `(\w+)` \|", fields.group(1), re.M) if fields else []
    # The optional fields: the marks and the scene (which only the window
    # imports), and the spreads a case with one is saved with.
    written = set(c) | {"marks", "scene"}
    if batch("--save-case", "spreads.yawmark", "--vary", "4=normal:0.76,0.06")[0] == 0:
        written |= set(json.loads((WORK / "spreads.yawmark").read_text()))
    if set(names) != written:
        mismatch(f"README.md:{text_line(fields.start()) if fields else 0}",
                 f"the fields are {sorted(written)}, the table names {names}")
    # Refusals: each names the file, and the field at fault.
    m = find(r"A file is refused, with a message that names the file \(and the field, when one is at fault\)",
             "how a case file is refused")
    cases = {"missing": None, "notjson": "{", "format": dict(c, format="other"),
             "major": dict(c, version="2.0"), "lacks": {k: v for k, v in c.items() if k != "realTime"},
             "kind": dict(c, realTime="no"), "box": dict(c, boxes=dict(c["boxes"], mass="0"))}
    fields = {"format": '"format"', "lacks": '"realTime"', "kind": '"realTime"', "box": '"boxes.mass"'}
    for name, content in cases.items():
        path = WORK / f"{name}.yawmark"
        if content is not None:
            path.write_text(content if isinstance(content, str) else json.dumps(content))
        status, out, err = batch(path.name, "--passes", "0")
        if status != 2 or path.name not in err or fields.get(name, "") not in err:
            mismatch(f"README.md:{line_of(m.start()) if m else 0}",
                     f"a case file ({name}) is refused with status {status}: {first(err)!r}")
    m = find(r"Fields added by a newer minor version are ignored: the window notes each one, "
             r"and `yawmark-batch` prints a note for each on standard error", "how newer fields are read")
    major, minor = c["version"].split(".")
    (WORK / "minor.yawmark").write_text(json.dumps(dict(c, version=f"{major}.{int(minor) + 1}", later=1)))
    status, out, err = batch("minor.yawmark", "--passes", "0")
    if m and (status != 0 or err != 'yawmark-batch: note: field "later" is not known here and was ignored.\n'):
        mismatch(f"README.md:{line_of(m.start())}", f"a newer minor version gives status {status}, {err!r}")


RANGE_PROBES = {  # the texts a range accepts and refuses
    "greater than 0": (["0.5", "1"], ["0", "-1"]),
    "not 0": (["-1", "0.5"], ["0"]),
    "any": (["0", "-1", "1"], []),
    "at least 1": (["1", "2"], ["0.5"]),
    "0 to 100": (["0", "100"], ["-0.1", "100.1"]),
    "0 to 1": (["0", "1"], ["-0.1", "1.1"]),
    "one of these": (["Left", "Right", "Center", "L", "R", "CE", "lEfT", "ce"], ["Up", "C"]),
    "at least the distance from the mass centre to the rear axle when steering": ([], []),
}


def probe_box(box, text, key=None):
    """True if Draw takes `text` in the box: typed with --box, or (with `key`)
    in a case file."""
    if key is None:
        return batch("--no-auto-normal", "--no-auto-inertia", "--passes", "0", "--box", f"{box}={text}")[0] == 0
    c = default_case()
    c.update(autoYawRate=False, autoInertia=False, boxes=dict(c["boxes"], **{key: text}))
    (WORK / "probe.yawmark").write_text(json.dumps(c))
    return batch("probe.yawmark", "--passes", "0")[0] == 0


def check_range(where, boxes, phrase, key=None):
    rule = next((r for r in RANGE_PROBES if phrase.startswith(r)), None)
    if rule is None:
        mismatch(where, f"the check has no probes for the range \"{phrase}\"")
        return
    accepted, refused = RANGE_PROBES[rule]
    if rule.startswith("at least the distance"):
        c = default_case()["boxes"]
        rear = float(c["wheelbaseLength"]) * (1 - float(c["rearWeightPercent"]) / 100)
        accepted, refused = [f"{rear + 0.01:.3f}"], [f"{rear - 0.01:.3f}", "0"]
        if not probe_box(8, "Center") or not batch("--passes", "0", "--box", "8=Center", "--box", "9=0.5")[0] == 0:
            mismatch(where, "a car steering straight ahead does not take any turning radius")
    for box in boxes:
        for text in accepted:
            if not probe_box(box, text, key):
                mismatch(where, f"box {box} refuses \"{text}\", which \"{phrase}\" allows")
        for text in refused:
            if probe_box(box, text, key):
                mismatch(where, f"box {box} takes \"{text}\", which \"{phrase}\" does not allow")


def check_box_tables():
    covered = []
    for m in re.finditer(r"^\| `(\w+)`(?:, `(\w+)`)? \| ([\d, ]+) \| [^|]+ \| ([^|]+) \|$", TEXT, re.M):
        keys = [k for k in m.group(1, 2) if k]
        boxes = [int(b) for b in m.group(3).split(",")]
        where = f"README.md:{text_line(m.start())}"
        for key, box in zip(keys, boxes):
            typed = default_case()["boxes"][key] + " "  # blanks are kept as typed
            status, _, _ = batch("--box", f"{box}={typed}", "--save-case", "keyed.yawmark")
            saved = json.loads((WORK / "keyed.yawmark").read_text())["boxes"] if status == 0 else {}
            if saved.get(key) != typed:
                mismatch(where, f"box {box} is not kept as \"{key}\"")
            check_range(where, [box], m.group(4).strip(), key)
        covered += boxes
    for m in re.finditer(r"^\| ([\d, ]+) \| [^|]+ \| [^|]+ \| ([^|]+) \|$", TEXT, re.M):
        boxes = [int(b) for b in m.group(1).split(",")]
        check_range(f"README.md:{text_line(m.start())}", boxes, m.group(2).strip())
        covered += boxes
    if sorted(covered) != sorted(list(range(19)) * 2):
        mismatch("README.md", f"the two tables of the boxes do not each give the 19 boxes once: {sorted(covered)}")


def marks_rows(path, count):
    """`count` rows of the marks in `path`, repeated as need be."""
    rows = [r for r in (WORK / path).read_text().splitlines() if not r.startswith("wheel")]
    return [rows[i % len(rows)] for i in range(count)]


def check_marks_files():
    m = find(r'`line (\d+): "(\w+)" is not a number: "(\w+)"\.`', "a refusal of a marks file")
    if m:
        rows = ["wheel,x,y"] + marks_rows("examples/skid-marks.csv", int(m.group(1)) - 2)
        rows.append("RL,1,1".replace("1", m.group(3), 1) if m.group(2) == "x" else f"RL,1,{m.group(3)}")
        (WORK / "bad.csv").write_text("\n".join(rows) + "\n")
        status, _, err = batch("--fit", "bad.csv")
        if status != 2 or m.group(0).strip("`") not in err:
            mismatch(f"README.md:{line_of(m.start())}", f"the program says {first(err)!r}")
    m = find(r"A marks file is read up to (\d+) MiB and ([\d,]+) points\.", "the limits of a marks file")
    if m:
        mib, points = int(m.group(1)), int(m.group(2).replace(",", ""))
        rows = marks_rows("examples/skid-marks.csv", points + 1)
        (WORK / "many.csv").write_text("\n".join(rows) + "\n")
        status, _, err = batch("--fit", "many.csv")
        if status != 2 or f"more than {points} points" not in err:
            mismatch(f"README.md:{line_of(m.start(2))}", f"{points + 1} points: {first(err)!r}")
        line = "RL,-0.87,-1.73\n"
        (WORK / "big.csv").write_text(line * ((mib << 20) // len(line) + 1))
        status, _, err = batch("--fit", "big.csv")
        if status != 2 or f"more than {mib} MiB" not in err:
            mismatch(f"README.md:{line_of(m.start(1))}", f"{mib} MiB and a line: {first(err)!r}")
    m = find(r"uncertainty σ \(default (\d+) cm, from (\d+) mm to (\d+) m\)", "the range of σ")
    if m:
        low, high = int(m.group(2)) / 1000, int(m.group(3))
        for sigma, ok in ((low * 0.9, False), (low, True), (high, True), (high * 1.01, False)):
            status = batch("--fit", "examples/skid-marks.csv", "--sigma", repr(sigma))[0]
            if (status != 2) != ok:
                mismatch(f"README.md:{line_of(m.start())}", f"--sigma {sigma} gives status {status}")
    m = find(r"within ([\d,]+) km of the origin\) left by one wheel", "how far marks may lie")
    if m:
        reach = int(m.group(1).replace(",", "")) * 1000
        (WORK / "far.csv").write_text(f"RL,{reach + 1},0\n")
        status, _, err = batch("--fit", "far.csv")
        if status != 2 or f"within {reach} m" not in err:
            mismatch(f"README.md:{line_of(m.start())}", f"a point {reach + 1} m away: {first(err)!r}")


def case_bytes(rows):
    """The size of the default case holding `rows` as one mark, saved by the program."""
    c = default_case()
    c["marks"] = [{"wheel": "RL", "points": [[float(v) for v in r.split(",")[1:]] for r in rows]}]
    (WORK / "marks.yawmark").write_text(json.dumps(c))
    status, _, err = batch("marks.yawmark", "--save-case", "saved.yawmark")
    return (WORK / "saved.yawmark").stat().st_size if status == 0 else 0


def check_case_capacity():
    m = find(r"A case file holds as many: saved \(indented, for a person to read\) a point takes about "
             r"(\d+) bytes when it was surveyed to the centimetre, or up to (\d+) with every digit, so "
             r"([\d,]+) points take at most about (\d+) MB of the (\d+) MiB a case file is read up to\. "
             r"A case with more points is refused when saved",
             "how many mark points a case holds")
    if not m:
        return
    batch("--box", "6=25", "--write-marks", "digits.csv")
    empty = case_bytes([])
    per = (case_bytes(marks_rows("examples/skid-marks.csv", 1000)) - empty) / 1000
    shown(m, 1, per, " bytes")
    # Every digit, as far out as a point may lie.
    far = [f"RL,{-999999.1234567891 + i / 7},{-0.0001234567891234567 - i / 7e9}" for i in range(1000)]
    per = (case_bytes(far) - empty) / 1000
    if per > int(m.group(2)):
        mismatch(f"README.md:{line_of(m.start(2))}", f"a point with every digit takes {per:.0f} bytes")
    count = int(m.group(3).replace(",", ""))
    if empty + count * int(m.group(2)) > int(m.group(4)) * 10**6 or int(m.group(4)) * 10**6 > int(m.group(5)) << 20:
        mismatch(f"README.md:{line_of(m.start(4))}", f"{count} points do not fit the sizes named")
    size = case_bytes(far * (count // 1000))
    status, _, err = batch("saved.yawmark", "--passes", "0")
    if size == 0 or status != 0:
        mismatch(f"README.md:{line_of(m.start(3))}", f"a case of {count} points, saved, is read with status {status}: {first(err)!r}")
    if case_bytes(far * (count // 1000) + far[:1]) != 0:
        mismatch(f"README.md:{line_of(m.start(3))}", f"a case of {count + 1} points is saved")


def check_fit_figures():
    m = find(r"holds the two rear marks of the default McLaren F1 pulled at (\d+) m/s in its left turn "
             r"of (\d+) m, a point every ([\d.]+) m from the pull to rest, each point scattered by (\d+) cm "
             r"as a survey would \(it was made with `yawmark-batch --box 6=(\d+) --write-marks FILE`",
             "how examples/skid-marks.csv was made")
    if not m:
        return
    speed, radius = float(m.group(1)), float(m.group(2))
    batch("--box", f"6={m.group(5)}", "--write-marks", "truth.csv")
    truth = [r.split(",") for r in (WORK / "truth.csv").read_text().splitlines()[1:]]
    survey = [r.split(",") for r in (WORK / "examples/skid-marks.csv").read_text().splitlines()[1:]]
    if [r[0] for r in truth] != [r[0] for r in survey]:
        mismatch(f"README.md:{line_of(m.start())}", "examples/skid-marks.csv has not the marks the command writes")
    else:
        d2 = [(float(a[1]) - float(b[1])) ** 2 + (float(a[2]) - float(b[2])) ** 2 for a, b in zip(truth, survey)]
        shown(m, 4, (sum(d2) / len(d2) / 2) ** 0.5 * 100, " cm")  # per coordinate
    example = re.search(r"\$ (yawmark-batch --fit examples/skid-marks\.csv [^\n]*)", TEXT).group(1)
    status, out, _ = run(example)
    t = fit_table(out)
    v, low, high = (float(x) for x in t["speed"][0][:3])
    m = find(r"The speed comes back within ([\d.]+) m/s; the interval, ±([\d.]+) m/s, is mostly μ's "
             r"uncertainty of ±([\d.]+) on μ = ([\d.]+)\. The RMS distance, ([\d.]+) cm, matches the "
             r"survey's (\d+) cm\. The formula, on the first (\d+) m, says ([\d.]+) m/s from the right "
             r"rear mark and nothing from the left one", "the figures of the speed fit")
    if m:
        if abs(v - speed) > float(m.group(1)):
            mismatch(f"README.md:{line_of(m.start(1))}", f"the speed comes back {v - speed:+.4f} m/s off")
        shown(m, 2, max(high - v, v - low))
        shown(m, 4, float(default_case()["boxes"]["friction"]))
        given = f"{example} --mu-uncertainty {m.group(3)} --sigma {int(m.group(6)) / 100}"
        if run(given)[1] != out:
            mismatch(f"README.md:{line_of(m.start(3))}", f"`{given}` is not the fit without the two options")
        shown(m, 5, float(t["rms"][0][0]) * 100, " cm")
        shown(m, 8, float(t["critical_speed_RR"][0][0]), " m/s")
        if t["critical_speed_RL"][0][0] != "":
            mismatch(f"README.md:{line_of(m.start(8))}", "the formula gives the left mark a speed")
    m = find(r"With `--fit-for all` \(and the same two flags\) every launch quantity comes back, and the "
             r"intervals cover the truth \(speed ([\d.]+), from ([\d.]+) to ([\d.]+) m/s; turning radius "
             r"([\d.]+), from ([\d.]+) to ([\d.]+) m; start ([\d.]+) cm from the origin\), in (\d+) simulations",
             "the figures of the fit for all")
    if m:
        status, out, _ = run(example + " --fit-for all")
        t = fit_table(out)
        for group, row, truth_value in ((1, "speed", speed), (4, "turn_radius", radius)):
            value, low, high = (float(x) for x in t[row][0][:3])
            for k, x in enumerate((value, low, high)):
                shown(m, group + k, x)
            if not low <= truth_value <= high:
                mismatch(f"README.md:{line_of(m.start(group))}", f"the interval of {row} misses {truth_value}")
        x, y = float(t["start_x"][0][0]), float(t["start_y"][0][0])
        shown(m, 7, (x * x + y * y) ** 0.5 * 100, " cm")
        shown(m, 8, float(t["simulations"][0][0]))
    m = find(r"twice the difference between the two rest positions \(about (\d+) cm for the default car at "
             r"(\d+) ms\)", "the rest position's error")
    if m:
        h = float(m.group(2))
        rest = []
        for step in (h, h / 2):
            last = batch("--seconds", "60", "--box", f"13={step}")[1].splitlines()[-1].split(",")
            rest.append((float(last[2]), float(last[3])))
        shown(m, 1, 2 * ((rest[0][0] - rest[1][0]) ** 2 + (rest[0][1] - rest[1][1]) ** 2) ** 0.5 * 100, " cm")


def check_fit_source():
    """The refusals and the limits of "open" are the fit's own (model/Fit*)."""
    source = "".join(p.read_text() for p in sorted((ROOT / "model").glob("Fit*")))
    m = find(r"\*\*Refusals, never guesses\.\*\*(.*?)\*\*The formula beside it\.\*\*", "the fit's refusals")
    for q in re.finditer(r'"([^"]+)"', m.group(1) if m else ""):
        if q.group(1) not in source:
            mismatch(f"README.md:{line_of(m.start(1) + q.start())}", f"the fit never says \"{q.group(1)}\"")
    scales = dict((name.strip(), float(widest)) for widest, name in
                  re.findall(r"\{[^{}]*,\s*([\d.]+)\},?\s*//\s*([a-z ]+)", source))
    m = find(r"more than ±(\d+) % of the speed, ±(\d+) % of the turning radius, ±([\d.]+) turn/s of yaw "
             r"rate, ±(\d+)° of a direction, ±(\d+) m of the start", "when the marks leave a quantity open")
    if m:
        for group, name, factor in ((1, "speed", 100), (2, "turning radius", 100), (3, "yaw rate", 1),
                                    (4, "direction", 1), (4, "relative direction", 1), (5, "start", 1)):
            shown(m, group, scales.get(name, float("nan")) * factor)
    m = find(r"The fit is accepted only when the RMS distance of the points to the trails is at most "
             r"([\d.]+) σ", "when a fit is accepted")
    accepted = re.search(r"kAcceptedRms = ([\d.]+);", source)
    if m and accepted:
        shown(m, 1, float(accepted.group(1)))


def check_layout():
    """The "uses" column: every library a folder links, and only folders it reaches."""
    links = {}
    for folder in ("sim", "model", "plot", "io", "report", "gui", "cli"):
        cmake = (ROOT / folder / "CMakeLists.txt").read_text()
        found = re.search(rf"target_link_libraries\(yawmark_{folder} PUBLIC ([^)]*)\)", cmake)
        links[folder] = set(re.findall(r"yawmark_(\w+)", found.group(1))) if found else set()

    def reach(folder):
        return links[folder] | {r for f in links[folder] for r in reach(f)}

    for m in re.finditer(r"^\| `(\w+)/` \| .* \| ([^|]+) \|$", TEXT, re.M):
        folder, uses = m.group(1), set(re.findall(r"`(\w+)`", m.group(2)))
        if folder in links and not links[folder] <= uses <= reach(folder):
            mismatch(f"README.md:{text_line(m.start())}",
                     f"{folder}/ links {sorted(links[folder])} and reaches {sorted(reach(folder))}, "
                     f"the table says it uses {sorted(uses)}")
    m = find(r"Tests mirror the folders under `tests/`: GoogleTest for (.*?), QtTest \(offscreen\) for (.*?), where",
             "what tests each folder")
    if m:
        for group, pattern in ((1, "*_test.cpp"), (2, "tst_*.cpp")):
            said = set(re.findall(r"`(\w+)`", m.group(group)))
            have = {p.parent.name for p in (ROOT / "tests").glob(f"*/{pattern}")}
            if said != have:
                mismatch(f"README.md:{line_of(m.start(group))}", f"tests/ has {pattern} in {sorted(have)}")


# --- the manual pages --------------------------------------------------------

def h2m_section(program, name):
    text = (ROOT / "packaging" / f"{program}.h2m").read_text()
    m = re.search(rf"^\[{name}\]\n(.*?)(?=^\[|\Z)", text, re.M | re.S)
    return m.group(1) if m else ""


def check_exit_status(program, path, probes):
    """Every status the page lists, the program gives; every status the probes get, the page lists."""
    where = f"packaging/{program}.h2m"
    section = h2m_section(program, "EXIT STATUS")
    listed = {int(s) for s in re.findall(r"^\.TP\n\.B (\d+)$", section, re.M)}
    if listed != set(probes):
        mismatch(where, f"EXIT STATUS lists {sorted(listed)}, the program gives {sorted(probes)}")
    for status, commands in probes.items():
        for args in commands:
            got = run([path, *args])[0]
            if got != status:
                mismatch(where, f"{program} {shlex.join(args)} gave status {got}, not {status}")
    if "SIGABRT" in section:
        got = run([path])[0]
        if got != -signal.SIGABRT or f"status {128 + signal.SIGABRT}" not in " ".join(section.split()):
            mismatch(where, f"without a display {program} ended with {got}, not SIGABRT")


def traced(args, env, until=None):
    """Runs a program under strace: the paths under the scratch home it
    touched. With `until`, the program is stopped once until() is true."""
    log = SCRATCH / "trace.log"
    p = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=%file", "-o", log, *map(str, args)],
                         cwd=WORK, env={**ENV, **env}, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if until:
        deadline = time.time() + 30
        while p.poll() is None and not until() and time.time() < deadline:
            time.sleep(0.2)
        time.sleep(1)  # what it does just after
        children = Path(f"/proc/{p.pid}/task/{p.pid}/children")
        for child in (children.read_text().split() if children.exists() else []):
            os.kill(int(child), signal.SIGTERM)
    try:
        p.wait(timeout=60)
    except subprocess.TimeoutExpired:
        p.kill()
    if not log.exists():
        mismatch("packaging", f"strace could not run {args[0]}: {p.stderr.read().decode().strip()}")
        return set()
    return {m for m in re.findall(r'"([^"]*)"', log.read_text()) if m.startswith(str(HOME))}


LIBRARY_FILES = re.compile(r"/\.(cache|config/fontconfig|fontconfig|fonts|fonts\.conf|fonts\.conf\.d|"
                           r"local/share/fonts|config/QtProject)")  # fontconfig's and Qt's own


def check_window_files():
    """Opens a case in the window (offscreen, under strace) and waits until
    it has kept the case among its recent files."""
    where = "packaging/yawmark.h2m"
    items = re.findall(r"^\.TP\n\.I (.*)$", h2m_section("yawmark", "FILES"), re.M)
    homes = [i.replace("~", str(HOME), 1) for i in items if i.startswith("~/")]
    shutil.rmtree(HOME)
    HOME.mkdir()
    shutil.copy(WORK / "default.yawmark", HOME / "skid.yawmark")

    def settings():
        return [p for p in HOME.rglob("*.conf") if "recentFiles" in p.read_text(errors="replace")]

    touched = traced([WINDOW, HOME / "skid.yawmark"], {"QT_QPA_PLATFORM": "offscreen"}, until=settings)
    for m in re.finditer(r"`(~/[^`]+)`", TEXT):
        if m.group(1) not in items:
            mismatch(f"README.md:{text_line(m.start())}", f"yawmark(1)'s FILES does not name {m.group(1)}")
    for path in homes:
        if not any(t == path.rstrip("/") or t.startswith(path) for t in touched):
            mismatch(where, f"FILES names {path.replace(str(HOME), '~')}, the window never looks there")
    for conf in settings() or [HOME / "(no settings file)"]:
        if not conf.exists() or "lastFolder" not in conf.read_text():
            mismatch(where, f"{conf.name} does not keep the last folder and the recent files")
    for path in HOME.rglob("*"):
        name = str(path)
        if path.is_file() and not LIBRARY_FILES.search(name) and name != str(HOME / "skid.yawmark") \
                and not any(name.startswith(h) for h in homes):
            mismatch(where, f"the window wrote {name.replace(str(HOME), '~')}, which FILES does not name")


def check_batch_files():
    where = "packaging/yawmark-batch.h2m"
    files = h2m_section("yawmark-batch", "FILES")
    items = dict(re.findall(r"^\.TP\n\.I (\S+)\n(.*?)(?=^\.TP|\Z)", files, re.M | re.S))
    if set(items) != {"CASE.yawmark", "MARKS.csv", "FILE"}:
        mismatch(where, f"FILES names {sorted(items)}: the check knows CASE.yawmark, MARKS.csv and FILE")
    m = re.search(r"read up to (\d+) MiB", items.get("CASE.yawmark", ""))
    (WORK / "big.yawmark").write_text(" " * ((int(m.group(1)) << 20) + 1) if m else "")
    status, _, err = batch("big.yawmark")
    if not m or status != 2 or f"more than {m.group(1)} MiB" not in err:
        mismatch(where, f"CASE.yawmark: a case file too large gives {first(err)!r}")
    m = re.search(r"read up to (\d+) MiB and\s+([\d,]+) points", items.get("MARKS.csv", ""))
    readme = re.search(r"A marks file is read up to (\d+) MiB and ([\d,]+) points", FLAT)  # checked above
    if not m or not readme or m.groups() != readme.groups():
        mismatch(where, "MARKS.csv: the limits differ from README.md's")
    options = re.findall(r"\\-\\-((?:[a-z]|\\-)+)", items.get("FILE", ""))
    for option in (o.replace("\\-", "-") for o in options):
        target = WORK / f"written-by-{option}"
        status, _, err = batch(f"--{option}", target.name)
        if status != 0 or not target.exists():
            mismatch(where, f"FILE: --{option} {target.name} gave status {status}: {first(err)!r}")
    # Nothing of the window's is read, and nothing is left in the home folder.
    shutil.rmtree(HOME)
    HOME.mkdir()
    touched = set()
    for args in (["--passes", "10"], ["default.yawmark", "--png", "t.png"], ["--fit", "examples/skid-marks.csv"]):
        touched |= traced([BATCH, *args], {})
    for path in touched:
        if "yawmark" in path.lower():
            mismatch(where, f"yawmark-batch looked at {path.replace(str(HOME), '~')}")
    for path in HOME.rglob("*"):
        if path.is_file() and not LIBRARY_FILES.search(str(path)):
            mismatch(where, f"yawmark-batch left {path.replace(str(HOME), '~')}")


def check_man_pages():
    (WORK / "unreadable.csv").write_text("RL,1,two\n")
    refused_fit = ["--fit", "examples/skid-marks.csv", "--box", "0=2.6"]
    check_exit_status("yawmark-batch", BATCH, {
        0: [["--passes", "1"], ["--version"], ["--fit", "examples/skid-marks.csv"],
            ["--monte-carlo", "3", "--vary", "4=normal:0.76,0.06"]],
        2: [["--no-such-option"], ["--box", "2=0"], ["missing.yawmark"], ["--fit", "unreadable.csv"],
            ["--monte-carlo", "3"]],
        3: [refused_fit, ["--monte-carlo", "3", "--vary", "9=uniform:0.1,0.2", "--summary"]]})
    usage = batch("--help")[1]
    for status in re.findall(r"status (\d+)", usage):
        if f".B {status}\n" not in h2m_section("yawmark-batch", "EXIT STATUS"):
            mismatch("packaging/yawmark-batch.h2m", f"--help names status {status}, EXIT STATUS does not")
    check_exit_status("yawmark", WINDOW, {
        0: [["--version"], ["--help"]],
        2: [["--no-such-option"], ["one.yawmark", "two.yawmark"]]})
    check_batch_files()
    check_window_files()


def main():
    try:
        for program in (BATCH, WINDOW):
            if not os.access(program, os.X_OK):
                print(f"check-docs: {program} is not built", file=sys.stderr)
                return 1
        check_blocks()
        for check in (check_default_car, check_pictures, check_monkey, check_install, check_version,
                      check_options, check_case_files, check_box_tables, check_marks_files,
                      check_case_capacity, check_fit_figures, check_fit_source, check_layout,
                      check_man_pages):
            try:
                check()
            except Exception as e:  # a document or an output the check cannot read
                mismatch(check.__name__, f"stopped: {e!r}")
    finally:
        shutil.rmtree(SCRATCH, ignore_errors=True)
    for line in unchecked:
        print(f"check-docs: {line}")
    for line in problems:
        print(f"check-docs: {line}")
    if problems:
        print(f"check-docs: {len(problems)} statements of README.md and packaging/*.h2m are not "
              "what the programs do")
        return 1
    print("check-docs: README.md and packaging/*.h2m say what the programs do")
    return 0


if __name__ == "__main__":
    sys.exit(main())
