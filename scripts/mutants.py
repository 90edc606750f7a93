#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Mutation check: how many small faults in src/ does the test suite catch?

    scripts/dev.sh mutants [--sample N] [--seed S] [--timeout SEC] [--tests REGEX] [--list] [GLOB...]

Each mutant is one small change to one line of a .cpp file under src/ (a
comparison flipped, a boundary shifted by one, && and || swapped, a returned
true/false inverted, a statement dropped). One at a time, it is written into
the file, the build is brought up to date, the suite runs until its first
failure, and the file is put back. A mutant is "caught" when a test fails (or
the suite runs past the timeout), "missed" when the suite passes, "not built"
when it does not compile, "same code" when its object file comes out byte for
byte as before (code this platform does not compile, or a change the compiler
proves makes no difference): no test could tell those apart, so they run no
tests. The catch rate leaves the last two out.

The build lives in build-mutants/ (configured once) so the developer's own
build is never touched. Standard library only.
"""

import argparse
import contextlib
import hashlib
import fnmatch
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build-mutants"
# A mutant still in its file after a hard kill is put back from here at the next start.
PENDING = BUILD / "mutant-pending.json"


class Interrupted(Exception):
    pass


STOP_SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)


def on_signal(signum, _frame):
    raise Interrupted(signal.Signals(signum).name)


@contextlib.contextmanager
def signals_held():
    """Holds interrupts back while a file is being written, so that a mutant and its
    record, or a restore and the record's removal, always happen together."""
    signal.pthread_sigmask(signal.SIG_BLOCK, STOP_SIGNALS)
    try:
        yield
    finally:
        signal.pthread_sigmask(signal.SIG_UNBLOCK, STOP_SIGNALS)


# ---- finding mutation sites ---------------------------------------------------

def code_only(text):
    """The text with comments, string and character literals blanked out (newlines kept),
    so that the patterns below only ever see code."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == '"' and re.search(r"(?:^|[^\w])(?:u8|u|U|L)?R$", text[max(0, i - 3):i]):
            # Raw string: R"delim( ... )delim", possibly over several lines.
            m = re.match(r'"([^(\s]*)\(', text[i:])
            end = text.find(")" + (m.group(1) if m else "") + '"', i)
            j = n if end < 0 else end + len(m.group(1) if m else "") + 2
            blank(i, j)
            i = j
        elif c == '"' or (c == "'" and not re.search(r"\b\d[\w']*$", text[max(0, i - 40):i])):
            # A quote after a number is a digit separator (1'000), not a literal.
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            blank(i, min(j + 1, n))
            i = j + 1
        else:
            i += 1
    return "".join(out)


# Token swaps. Binary operators must stand between blanks, as the code's formatting
# writes them: that keeps template brackets (vector<int>), ->, <<, >>, <=> and
# rvalue references (T&&) out of reach, so few mutants fail to build.
SWAPS = [
    (re.compile(r"(?<= )==(?= )"), "=="),
    (re.compile(r"(?<= )!=(?= )"), "!="),
    (re.compile(r"(?<= )<=(?= )"), "<="),
    (re.compile(r"(?<= )>=(?= )"), ">="),
    (re.compile(r"(?<= )<(?= )"), "<"),
    (re.compile(r"(?<= )>(?= )"), ">"),
    (re.compile(r"(?<= )&&(?= )"), "&&"),
    (re.compile(r"(?<= )\|\|(?= )"), "||"),
    (re.compile(r"(?<= )\+ 1(?![\w.'])"), "+ 1"),
    (re.compile(r"(?<=[\w)\]] )- 1(?![\w.'])"), "- 1"),
    (re.compile(r"\breturn true;"), "return true;"),
    (re.compile(r"\breturn false;"), "return false;"),
]
REPLACEMENT = {"==": "!=", "!=": "==", "<=": "<", "<": "<=", ">=": ">", ">": ">=",
               "&&": "||", "||": "&&", "+ 1": "- 1", "- 1": "+ 1",
               "return true;": "return false;", "return false;": "return true;"}

# A whole statement on one line that only does something: a call (obj.f(x);
# ns::f(x); p->f(x);), an assignment to something that exists already (no type
# before the name), or an increment. Dropping it must leave valid code, so it is
# replaced by an empty statement.
CALL = re.compile(r"^[A-Za-z_][\w:.\[\]]*(?:->[\w:.\[\]]+)*(?:<[\w:, ]*>)?\(.*\);$")
ASSIGN = re.compile(r"^\*?[A-Za-z_][\w:.\[\]]*(?:->[\w:.\[\]]+)*(?:\(\))? (?:[-+*/|&^]?=) .*;$")
STEP = re.compile(r"^(?:\+\+|--)[\w.\[\]>-]+;$|^[\w.\[\]>-]+(?:\+\+|--);$")
# Keywords look like calls; reserving capacity changes nothing a test could see.
NOT_A_CALL = re.compile(r"^(?:return|if|for|while|switch|case|do|else|sizeof|static_assert|"
                        r"Q_OBJECT|Q_UNUSED|Q_DECLARE\w*|Q_ENUM\w*|using|typedef|throw|co_\w+)\b|"
                        r"\.(?:reserve|shrink_to_fit)\(")

# Lines never touched: declarations of operators and templates, what the compiler
# itself evaluates, and in windows the lines that make controls or only place and
# size them.
SKIP_LINE = re.compile(r"\b(?:operator|template|static_assert|constexpr|consteval|requires)\b")
LAYOUT = re.compile(r"\b(?:Build\w*|add(?:Widget|Layout|Stretch|Spacing|SpacerItem|Separator)|set(?:Spacing|"
                    r"ContentsMargins|Geometry|Fixed\w*|Minimum\w*|Maximum\w*|SizePolicy|Alignment|"
                    r"ObjectName|Column\w*|Row\w*|Layout|Margin)|resize|move|adjustSize)\(|\bnew\b")
# In windows, Build* functions only make and place controls.
BUILD_FUNCTION = re.compile(r"^[^\s#/].*\bBuild\w*\(.*\{\s*$")


def is_gui(rel):
    return Path(rel).name.startswith("frm") or rel.startswith("src/platform/")


def find_sites(rel):
    """Every mutation site of one file: (file, line, column, before, after)."""
    text = (ROOT / rel).read_text(encoding="utf-8")
    lines = text.split("\n")
    code = code_only(text).split("\n")
    gui = is_gui(rel)
    sites = []
    in_build = False
    continued = False  # a preprocessor line ending in a backslash
    prev_end = ";"  # the last code character of the previous code line
    for number, (line, masked) in enumerate(zip(lines, code), start=1):
        stripped = masked.strip()
        preprocessor = continued or stripped.startswith("#")
        continued = preprocessor and masked.rstrip().endswith("\\")
        if gui and BUILD_FUNCTION.match(masked):
            in_build = True
        skip = (preprocessor or in_build or not stripped or SKIP_LINE.search(masked)
                or (gui and LAYOUT.search(masked)))
        if in_build and masked.startswith("}"):
            in_build = False
        if not skip:
            for pattern, token in SWAPS:
                for m in pattern.finditer(masked):
                    sites.append((rel, number, m.start(), token, REPLACEMENT[token]))
            # Only a statement that starts on its own line: after ; { } : or ).
            starts = prev_end in ";{}:)" or stripped.startswith("else")
            if (starts and not NOT_A_CALL.search(stripped)
                    and (CALL.match(stripped) or ASSIGN.match(stripped) or STEP.match(stripped))
                    and stripped.count("(") == stripped.count(")")):
                column = len(masked) - len(masked.lstrip())
                sites.append((rel, number, column, line[column:len(masked.rstrip())], ";"))
        if stripped and not preprocessor:
            prev_end = stripped[-1]
    return sites


def source_files(globs):
    listed = subprocess.run(["git", "ls-files", "src"], cwd=ROOT, check=True,
                            capture_output=True, text=True).stdout.split()
    # Headers are left out: one mutated header rebuilds every file including it.
    files = [f for f in listed if f.endswith(".cpp")]
    if globs:
        patterns = [g.rstrip("/") + "/*" if (ROOT / g).is_dir() else g for g in globs]
        files = [f for f in files if any(fnmatch.fnmatch(f, p) for p in patterns)]
    return sorted(files)


def stratum(rel):
    """Windows form one stratum of their own; every other file counts under its folder."""
    if Path(rel).name.startswith("frm"):
        return "windows"
    parts = Path(rel).parts
    return parts[1] if len(parts) > 2 else "src"


def sample(sites, size, seed):
    """A sample stratified by folder (windows apart), so that every subsystem gets at
    least one mutant and the rest go by each one's share of the sites. The same seed
    and the same tree give the same sample."""
    rng = random.Random(seed)
    groups = {}
    for s in sites:
        groups.setdefault(stratum(s[0]), []).append(s)
    names = sorted(groups)
    if size >= len(sites):
        return sorted(sites)
    if size < len(names):
        names = sorted(rng.sample(names, size))
    share = {k: 1 for k in names}
    rest = size - len(names)
    total = sum(len(groups[k]) for k in names)
    exact = {k: rest * len(groups[k]) / total for k in names}
    for k in names:
        share[k] += int(exact[k])
    # Largest remainders take what rounding down left over.
    for k in sorted(names, key=lambda k: (-(exact[k] - int(exact[k])), k))[:size - sum(share.values())]:
        share[k] += 1
    chosen = []
    for k in names:
        chosen += rng.sample(groups[k], min(share[k], len(groups[k])))
    return sorted(chosen)


# ---- building and testing -----------------------------------------------------

def run(cmd, timeout=None, cwd=ROOT, env=None):
    """Runs cmd in its own process group, so that a timeout or an interrupt ends the
    whole tree (ninja's compilers, ctest's test programs). Returns (code, output);
    code is None on a timeout."""
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, errors="replace", start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out
    except subprocess.TimeoutExpired:
        return None, stop(proc)
    except BaseException:
        stop(proc)
        raise


def stop(proc):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            break
        try:
            return proc.communicate(timeout=5)[0]
        except subprocess.TimeoutExpired:
            continue
    return ""


def configure():
    if (BUILD / "build.ninja").exists():
        return
    # -O1 without -g: objects compile nearly as fast as -O0, links are several times
    # faster without debug info, and the tests still run at close to release speed.
    # CMAKE_CXX_FLAGS_RELEASE drops -DNDEBUG, so assertions stay in.
    cmd = ["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
           "-DCMAKE_CXX_FLAGS_RELEASE=-O1", "-DKESTRO_BUILD_BENCH=OFF"]
    if shutil.which("ccache"):
        # A restored file then comes back from the cache instead of being compiled again.
        cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    if shutil.which("ld.lld"):
        cmd += ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld", "-DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld"]
    code, out = run(cmd)
    if code != 0:
        sys.exit("Could not configure build-mutants:\n" + out)


def build():
    code, out = run(["cmake", "--build", str(BUILD), "-j2"], timeout=1800)
    return code == 0, out


def objects_of(rel):
    """A digest of the object files built from one source file (a file may go into more than one target)."""
    inside = Path(rel).relative_to("src")
    found = sorted(BUILD.glob(f"src/**/CMakeFiles/*.dir/{inside}.o"))
    return tuple(hashlib.sha1(o.read_bytes()).hexdigest() for o in found) or None


TESTS_REGEX = None


def ctest_env():
    return dict(os.environ, QT_QPA_PLATFORM="offscreen")


def test_programs():
    """Each test's number and the program it runs, for running a subsystem's tests first."""
    code, out = run(["ctest", "--show-only=json-v1"], cwd=BUILD, env=ctest_env())
    try:
        # Test discovery may print a line or two before the listing.
        tests = json.loads(out[out.index("{"):])["tests"]
    except (ValueError, KeyError):
        print("Cannot list the tests, so they run in ctest's order:\n" + out[:2000], file=sys.stderr)
        return {}
    programs = {}
    for index, test in enumerate(tests, start=1):
        command = test.get("command") or [""]
        programs.setdefault(Path(command[0]).name, []).append(index)
    return programs


def run_tests(numbers, timeout):
    """Runs the given tests (all when None), stopping at the first failure.
    Returns 'passed', 'failed' or 'timeout'."""
    cmd = ["ctest", "--stop-on-failure", "-j2", "--timeout", str(int(timeout))]
    if TESTS_REGEX:
        cmd += ["-R", TESTS_REGEX]
    if numbers is not None:
        if not numbers:
            return "passed"
        # Start, end and stride 0 leave only the numbers listed.
        cmd += ["-I", "0,0,0," + ",".join(map(str, numbers))]
    code, _ = run(cmd, timeout=timeout, cwd=BUILD, env=ctest_env())
    return "timeout" if code is None else "passed" if code == 0 else "failed"


def run_suite(rel, programs, timeout):
    """The mutated subsystem's own test programs first (most likely to fail, so a caught
    mutant costs least), then the rest. One deadline covers both."""
    sub = stratum(rel) if stratum(rel) != "windows" else Path(rel).parts[1]
    first = sorted(n for name in (f"{sub}_tests", f"{sub}_gui_tests") for n in programs.get(name, []))
    start = time.monotonic()
    if first:
        result = run_tests(first, timeout)
        if result != "passed":
            return result
        everything = sorted(n for ns in programs.values() for n in ns)
        rest = sorted(set(everything) - set(first))
        return run_tests(rest, max(1.0, timeout - (time.monotonic() - start)))
    return run_tests(None, timeout)


# ---- applying and restoring ---------------------------------------------------

def mutate(text, site):
    _, number, column, before, after = site
    lines = text.split("\n")
    line = lines[number - 1]
    assert line[column:column + len(before)] == before, site
    lines[number - 1] = line[:column] + after + line[column + len(before):]
    return "\n".join(lines)


def describe(site, text):
    """The line before and after the change."""
    number = site[1]
    before = text.split("\n")[number - 1].strip()
    after = mutate(text, site).split("\n")[number - 1].strip()
    return f"{before}  →  {after}"


def restore_pending():
    """Puts back a file a killed run left mutated (the record holds both versions)."""
    if not PENDING.exists():
        return
    record = json.loads(PENDING.read_text(encoding="utf-8"))
    path = ROOT / record["file"]
    if path.read_text(encoding="utf-8") == record["mutated"]:
        path.write_text(record["original"], encoding="utf-8")
        print(f"Restored {record['file']}, left mutated by an earlier run that was killed.")
    else:
        sys.exit(f"{PENDING} names {record['file']}, which has changed since; "
                 "check the file and remove the record.")
    PENDING.unlink()


def dirty():
    # Changed tracked files anywhere, and new files under src/ and tests/ (the build globs them).
    tracked = subprocess.run(["git", "status", "--porcelain", "--untracked-files=no"], cwd=ROOT,
                             check=True, capture_output=True, text=True).stdout
    new = subprocess.run(["git", "status", "--porcelain", "--", "src", "tests"], cwd=ROOT,
                         check=True, capture_output=True, text=True).stdout
    return (tracked + new).strip()


def main():
    parser = argparse.ArgumentParser(prog="scripts/dev.sh mutants",
                                     description="Measure how many small faults in src/ the tests catch.")
    parser.add_argument("globs", nargs="*", metavar="GLOB",
                        help="only these files (e.g. 'src/rom/*.cpp'); default every .cpp under src/")
    parser.add_argument("--sample", type=int, default=40, help="how many mutants (default 40)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    parser.add_argument("--timeout", type=float,
                        help="seconds the suite may take per mutant (default: three times an unmutated run)")
    parser.add_argument("--list", action="store_true", help="list the sample and stop")
    parser.add_argument("--tests", metavar="REGEX",
                        help="run only the tests whose names match (ctest -R): how well one area's "
                             "tests guard the code, before and after changing them")
    args = parser.parse_args()
    global TESTS_REGEX
    TESTS_REGEX = args.tests

    for sig in STOP_SIGNALS:
        signal.signal(sig, on_signal)
    os.chdir(ROOT)
    if PENDING.exists():
        restore_pending()

    sites = [s for f in source_files(args.globs) for s in find_sites(f)]
    if not sites:
        sys.exit("No mutation sites in the files given.")
    chosen = sample(sites, args.sample, args.seed)
    texts = {f: (ROOT / f).read_text(encoding="utf-8") for f in {s[0] for s in chosen}}
    if args.list:
        for s in chosen:
            print(f"{s[0]}:{s[1]}: {describe(s, texts[s[0]])}")
        print(f"{len(chosen)} of {len(sites)} sites, seed {args.seed}")
        return 0
    if dirty():
        sys.exit("The tree has changes (git status); commit or stash them first, "
                 "so that no mutant can be mistaken for your work:\n" + dirty())

    began = time.monotonic()
    print(f"{len(chosen)} mutants of {len(sites)} sites, seed {args.seed}; build in {BUILD.name}/")
    configure()
    ok, out = build()
    if not ok:
        sys.exit("The unmutated tree does not build:\n" + out[-4000:])
    programs = test_programs()
    unmutated = {rel: objects_of(rel) for rel in texts}
    t0 = time.monotonic()
    if run_tests(None, args.timeout or 3600) != "passed":
        sys.exit("The suite fails without any mutant; fix that first "
                 "(cd build-mutants && QT_QPA_PLATFORM=offscreen ctest --output-on-failure).")
    suite_time = time.monotonic() - t0
    timeout = args.timeout or max(60.0, 3 * suite_time)
    print(f"Unmutated suite: {suite_time:.0f} s; timeout per mutant {timeout:.0f} s")

    results = {"caught": [], "timeout": [], "missed": [], "not built": [], "same code": []}
    spent = {"build": 0.0, "tests": 0.0}
    try:
        for i, site in enumerate(chosen, start=1):
            rel = site[0]
            original = texts[rel]
            mutated = mutate(original, site)
            t = time.monotonic()
            t_built = t
            with signals_held():
                PENDING.write_text(json.dumps({"file": rel, "original": original, "mutated": mutated}),
                                   encoding="utf-8")
                (ROOT / rel).write_text(mutated, encoding="utf-8")
            try:
                built, _ = build()
                t_built = time.monotonic()
                if not built:
                    outcome = "not built"
                elif unmutated[rel] is not None and objects_of(rel) == unmutated[rel]:
                    outcome = "same code"
                else:
                    outcome = {"failed": "caught", "timeout": "timeout",
                               "passed": "missed"}[run_suite(rel, programs, timeout)]
            finally:
                with signals_held():
                    (ROOT / rel).write_text(original, encoding="utf-8")
                    PENDING.unlink()
            results[outcome].append(site)
            spent["build"] += t_built - t
            spent["tests"] += time.monotonic() - t_built
            label = "caught (timeout)" if outcome == "timeout" else outcome
            print(f"[{i}/{len(chosen)}] {label:16} {rel}:{site[1]}: {describe(site, original)}"
                  f"  ({time.monotonic() - t:.0f} s)", flush=True)
    except Interrupted as e:
        print(f"\nInterrupted ({e}); the file is restored.", file=sys.stderr)
        return 130

    done = len(chosen)
    if results["missed"]:
        print("\nMissed mutants (the suite passed with them):")
        for s in results["missed"]:
            print(f"  {s[0]}:{s[1]}: {describe(s, texts[s[0]])}")
    caught = len(results["caught"]) + len(results["timeout"])
    judged = caught + len(results["missed"])
    elapsed = time.monotonic() - began
    print(f"\n{caught} caught ({len(results['timeout'])} of them by timeout), {len(results['missed'])} missed, "
          f"{len(results['not built'])} not built and {len(results['same code'])} compiled to the same code "
          f"(both left out of the rate)")
    print(f"A mutant took {(spent['build'] + spent['tests']) / done:.1f} s on average "
          f"({spent['build'] / done:.1f} s building, {spent['tests'] / done:.1f} s testing)")
    rate = f"{100 * caught / judged:.1f}% ({caught}/{judged})" if judged else "n/a"
    print(f"Catch rate: {rate}, seed {args.seed}, sample {done}, in {elapsed / 60:.1f} min")
    return 0


if __name__ == "__main__":
    sys.exit(main())
