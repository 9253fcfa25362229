#!/usr/bin/env python3
"""Mutation runner: plants one-token faults in the logic folders, one at a
time, and counts how many the logic tests catch.

Each mutant is a single change in a randomly chosen source line (a flipped or
shifted comparison, && for ||, true for false, a dropped !, + 1 for - 1,
++ for --). Every test folder has its own small test program
(folianto_tests_<folder>): a mutant first relinks and runs the tests of its own
folder, and only when those pass the programs of the test folders that
include its headers and of the folders that build on it.
Each run has a time limit; the file is put back whatever happens, Ctrl+C
included. A mutant that does not compile is not counted.

    tools/mutate.py --count 100 --seed 7
    tools/mutate.py --folders exchange,history --count 40 --sanitize
"""

import argparse
import collections
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# In the order of the README's layout table: a folder builds on those before it.
LOGIC_FOLDERS = ["core", "platform", "diag", "config", "history", "workspace",
                 "selection", "editor", "spreadsheet", "exchange", "lookup",
                 "shell", "application"]
# Test folders that use every logic folder.
TOP_TEST_FOLDERS = ["cli", "robustness", "dist"]
BACKUP_SUFFIX = ".mutate-original"

# (name, pattern, replacement). Patterns run on a line whose comments and
# string literals are blanked out, so they only ever match code.
OPERATORS = [
    ("eq", re.compile(r"(?<![=!<>])==(?!=)"), "!="),
    ("ne", re.compile(r"!=(?!=)"), "=="),
    ("le", re.compile(r"(?<![<>])<=(?!>)"), "<"),
    ("ge", re.compile(r"(?<![<>-])>="), ">"),
    ("lt", re.compile(r"(?<=\s)<(?=\s)"), "<="),
    ("gt", re.compile(r"(?<=\s)>(?=\s)"), ">="),
    ("lt-flip", re.compile(r"(?<=\s)<(?=\s)"), ">"),
    ("gt-flip", re.compile(r"(?<=\s)>(?=\s)"), "<"),
    ("and", re.compile(r"&&"), "||"),
    ("or", re.compile(r"\|\|"), "&&"),
    ("true", re.compile(r"\btrue\b"), "false"),
    ("false", re.compile(r"\bfalse\b"), "true"),
    ("not", re.compile(r"!(?=[\w(*])"), ""),
    ("plus1", re.compile(r"\+ 1\b"), "- 1"),
    ("minus1", re.compile(r"- 1\b"), "+ 1"),
    ("inc", re.compile(r"\+\+"), "--"),
    ("dec", re.compile(r"--"), "++"),
]
RUNNING = None  # the build or test run in progress, killed on Ctrl+C
OFF_BY_ONE = {"le", "ge", "lt", "gt", "plus1", "minus1", "inc", "dec"}


def blank_code(lines):
    """The lines with comments, string and character literals replaced by
    blanks of the same length; preprocessor lines blanked whole."""
    out = []
    in_block = False
    for line in lines:
        chars = list(line)
        i, n = 0, len(line)
        if not in_block and line.lstrip().startswith("#"):
            out.append(" " * n)
            continue
        while i < n:
            if in_block:
                end = line.find("*/", i)
                stop = n if end < 0 else end + 2
                chars[i:stop] = " " * (stop - i)
                in_block = end < 0
                i = stop
                continue
            c = line[i]
            if line.startswith("//", i):
                chars[i:] = " " * (n - i)
                break
            if line.startswith("/*", i):
                in_block = True
                continue
            raw = re.match(r'R"([^(\s]*)\(', line[i:])
            if raw:
                end = line.find(")" + raw.group(1) + '"', i)
                stop = n if end < 0 else end + len(raw.group(1)) + 2
                chars[i:stop] = " " * (stop - i)
                i = stop
                continue
            if c in "\"'":
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                stop = min(j + 1, n)
                chars[i:stop] = " " * (stop - i)
                i = stop
                continue
            i += 1
        out.append("".join(chars))
    return out


def candidate_sites(folders):
    """Every (path, line index, operator, column) where a mutant can go,
    grouped by line: {(path, index): [(op, start, end, replacement)]}."""
    sites = collections.OrderedDict()
    for folder in folders:
        base = os.path.join(ROOT, "src", folder)
        for name in sorted(os.listdir(base)):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(base, name)
            with open(path, encoding="utf-8", errors="surrogateescape") as f:
                lines = f.read().split("\n")
            for index, code in enumerate(blank_code(lines)):
                found = []
                for op, pattern, replacement in OPERATORS:
                    for m in pattern.finditer(code):
                        found.append((op, m.start(), m.end(), replacement))
                if found:
                    sites[(path, index)] = found
    return sites


class Interrupted(Exception):
    """Ctrl+C or SIGTERM: the figures so far are still reported."""


class Restorer:
    """Puts a mutated file back on exit, on Ctrl+C and on SIGTERM. A backup
    beside the file survives even a kill of this script; the next run restores
    it first."""

    def __init__(self):
        self.path = None
        signal.signal(signal.SIGINT, self._signal)
        signal.signal(signal.SIGTERM, self._signal)

    def _signal(self, signum, _frame):
        kill_running()
        self.restore()
        print("\ninterrupted; source restored", file=sys.stderr)
        raise Interrupted(signum)

    def mutate(self, path, text):
        shutil.copy2(path, path + BACKUP_SUFFIX)
        self.path = path
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(text)

    def restore(self):
        if self.path:
            path, self.path = self.path, None
            if not os.path.exists(path + BACKUP_SUFFIX):
                print("the backup of", os.path.relpath(path, ROOT), "is gone: restored by another run?",
                      file=sys.stderr)
                os.utime(path)  # rebuilt all the same
                return
            os.replace(path + BACKUP_SUFFIX, path)
            os.utime(path)  # newer than the mutant's object file, so it is rebuilt

    @staticmethod
    def restore_leftovers(folders):
        for folder in folders:
            base = os.path.join(ROOT, "src", folder)
            for name in os.listdir(base):
                if name.endswith(BACKUP_SUFFIX):
                    original = os.path.join(base, name[: -len(BACKUP_SUFFIX)])
                    os.replace(os.path.join(base, name), original)
                    os.utime(original)
                    print("restored after an earlier run:", os.path.relpath(original, ROOT))


def listed_mutants(listing, sites):
    """The mutants of lines 'file:line: before => after' in the file LISTING;
    a line whose source has changed since is skipped with a note."""
    mutants = []
    with open(listing, encoding="utf-8") as f:
        for entry in f:
            m = re.match(r"(src/[^:]+):(\d+): (.*) => (.*)$", entry.rstrip("\n"))
            if not m:
                continue
            path, index = os.path.join(ROOT, m.group(1)), int(m.group(2)) - 1
            found = None
            for op, start, end, replacement in sites.get((path, index), []):
                mutant = (path, index, op, start, end, replacement)
                _, _, _, before, after = apply(mutant)
                if before.strip() == m.group(3) and after.strip() == m.group(4):
                    found = mutant
                    break
            if found:
                mutants.append(found)
            else:
                print("no longer in the source:", entry.strip(), file=sys.stderr)
    return mutants


def apply(mutant):
    """The mutated text of the mutant's file, its place and the line before
    and after."""
    path, index, _op, start, end, replacement = mutant
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        lines = f.read().split("\n")
    before = lines[index]
    lines[index] = before[:start] + replacement + before[end:]
    return path, "\n".join(lines), f"{os.path.relpath(path, ROOT)}:{index + 1}", before, lines[index]


def configure(build_dir, sanitize):
    """Configures BUILD_DIR once, with the usual compiler flags (so that ccache
    has most objects already) but thin archives and the gold linker, which
    make a relink quick."""
    if os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
        return
    args = ["cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DCMAKE_CXX_ARCHIVE_CREATE=<CMAKE_AR> qcT <TARGET> <LINK_FLAGS> <OBJECTS>",
            "-DCMAKE_CXX_ARCHIVE_APPEND=<CMAKE_AR> qT <TARGET> <LINK_FLAGS> <OBJECTS>",
            "-DFOLIANTO_GUI=OFF", "-DFOLIANTO_BENCH=OFF",
            "-DFOLIANTO_SANITIZE=" + ("ON" if sanitize else "OFF")]
    if shutil.which("ld.gold"):
        args.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold")
    if shutil.which("ccache"):
        args.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)


def test_folders():
    """The folders under tests/ that have a test program of their own."""
    skip = {"ui", "data", "support"}
    base = os.path.join(ROOT, "tests")
    return [f for f in sorted(os.listdir(base))
            if f not in skip and os.path.isdir(os.path.join(base, f))
            and any(n.endswith(".cpp") for n in os.listdir(os.path.join(base, f)))]


def includers(folder, available):
    """The test folders whose sources include a header of src/FOLDER (tests of
    a lower folder sometimes drive code of a higher one)."""
    found = []
    for test_folder in sorted(available):
        base = os.path.join(ROOT, "tests", test_folder)
        for name in os.listdir(base):
            with open(os.path.join(base, name), encoding="utf-8", errors="replace") as f:
                if f'#include "{folder}/' in f.read():
                    found.append(test_folder)
                    break
    return found


def programs_for(folder, available, quick=False):
    """The test programs that can catch a mutant in src/FOLDER, its own
    folder's first, then those that include its headers, then (unless QUICK)
    the folders that build on it."""
    order = [folder] + includers(folder, available)
    if not quick:
        order += LOGIC_FOLDERS[LOGIC_FOLDERS.index(folder) + 1:]
        order += TOP_TEST_FOLDERS
    return ["folianto_tests_" + f for f in dict.fromkeys(order) if f in available]


def run_group(args, timeout, env=None):
    """The exit code of ARGS, or None when it ran out of time; on a time-out
    the whole process group is killed, so no compiler or linker keeps writing."""
    global RUNNING
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            env=env, start_new_session=True)
    RUNNING = proc
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        kill_running()
        return None
    finally:
        RUNNING = None


def kill_running():
    if RUNNING and RUNNING.poll() is None:
        os.killpg(RUNNING.pid, signal.SIGKILL)
        RUNNING.wait()


def build(build_dir, targets, jobs, timeout):
    """'ok', 'failed' or 'timeout'."""
    code = run_group(["cmake", "--build", build_dir, "-j", str(jobs), "--target"] + targets,
                     timeout)
    return "timeout" if code is None else "ok" if code == 0 else "failed"


def run_tests(build_dir, program, timeout):
    """'pass', 'fail' or 'timeout' for one test program."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               LSAN_OPTIONS="suppressions=" + os.path.join(ROOT, "tests", "lsan.supp"))
    code = run_group([os.path.join(build_dir, "bin", program), "--gtest_brief=1", "--gtest_fail_fast"], timeout, env)
    return "timeout" if code is None else "pass" if code == 0 else "fail"


class Verdicts:
    """Builds and runs the test programs of one build folder, each with a
    time limit of a few times its unmutated run."""

    def __init__(self, build_dir, programs, jobs, build_timeout):
        self.build_dir, self.jobs, self.build_timeout = build_dir, jobs, build_timeout
        self.limits = {}
        if build(build_dir, programs, jobs, 7200) != "ok":
            raise RuntimeError(f"the test programs do not build in {build_dir}")
        for program in programs:
            started = time.time()
            if run_tests(build_dir, program, 1800) != "pass":
                raise RuntimeError(f"{program} does not pass unmutated in {build_dir}")
            self.limits[program] = 10 + 5 * (time.time() - started)

    def catch(self, programs):
        """(verdict, program): 'caught' with the first program that fails or
        runs out of time, 'survived', 'does not compile' or 'build timed out'."""
        for program in programs:
            built = build(self.build_dir, [program], self.jobs, self.build_timeout)
            if built != "ok":
                return ("does not compile" if built == "failed" else "build timed out"), None
            if run_tests(self.build_dir, program, self.limits[program]) != "pass":
                return "caught", program
        return "survived", None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--folders", default=",".join(LOGIC_FOLDERS),
                        help="logic folders under src/, comma-separated")
    parser.add_argument("--count", type=int, default=50, help="mutants to try")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-mutate"))
    parser.add_argument("--sanitize", action="store_true",
                        help="test off-by-one survivors again in an AddressSanitizer build")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--timeout", type=int, default=300, help="seconds for one test run")
    parser.add_argument("--build-timeout", type=int, default=1800,
                        help="seconds for one rebuild (a mutated header rebuilds much)")
    parser.add_argument("--from", dest="first", type=int, default=1, metavar="K",
                        help="start at the K-th mutant of the sample (to go on after a stop)")
    parser.add_argument("--list", action="store_true", help="only print the sampled mutants")
    parser.add_argument("--every-line", action="store_true",
                        help="one mutant in every line of the folders instead of a sample")
    parser.add_argument("--quick", action="store_true",
                        help="a survey: only the tests of the mutant's own folder and of those that "
                             "include its headers (confirm the survivors without --quick)")
    parser.add_argument("--only", metavar="FILE",
                        help="try the mutants listed in FILE as 'file:line: before => after' "
                             "(survivors of an earlier run) instead of a sample")
    args = parser.parse_args()

    folders = [f for f in args.folders.split(",") if f]
    unknown = [f for f in folders if f not in LOGIC_FOLDERS]
    if unknown:
        parser.error("not logic folders: " + ", ".join(unknown))
    Restorer.restore_leftovers(folders)

    sites = candidate_sites(folders)
    if args.only:
        mutants = listed_mutants(args.only, sites)
    else:
        rng = random.Random(args.seed)
        lines = sorted(sites) if args.every_line else rng.sample(list(sites), min(args.count, len(sites)))
        mutants = []
        for path, index in lines:
            op, start, end, replacement = rng.choice(sites[(path, index)])
            mutants.append((path, index, op, start, end, replacement))

    first = max(args.first, 1)
    if args.list:
        for mutant in mutants:
            _, _, where, before, after = apply(mutant)
            print(f"{where}: {before.strip()} => {after.strip()}")
        return 0

    asan_dir = args.build_dir + "-asan"
    available = set(test_folders())
    needed = sorted({p for f in folders for p in programs_for(f, available)})
    restorer = Restorer()  # from here on Ctrl+C also stops the builds
    try:
        configure(args.build_dir, False)
        plain = Verdicts(args.build_dir, needed, args.jobs, args.build_timeout)
        asan = None
        if args.sanitize:
            configure(asan_dir, True)
            asan = Verdicts(asan_dir, needed, args.jobs, args.build_timeout)
    except RuntimeError as error:
        print(error, file=sys.stderr)
        return 2
    except Interrupted as signal_number:
        return 128 + signal_number.args[0]

    per_folder = collections.defaultdict(lambda: [0, 0])  # folder -> [caught, counted]
    survivors, stillborn = collections.defaultdict(list), 0
    interrupted = None
    try:
        for number, mutant in enumerate(mutants, 1):
            if number < first:
                continue
            path, mutated, where, before, after = apply(mutant)
            op = mutant[2]
            folder = os.path.relpath(path, os.path.join(ROOT, "src")).split(os.sep)[0]
            programs = programs_for(folder, available, args.quick)
            started = time.time()
            restorer.mutate(path, mutated)
            try:
                verdict, by = plain.catch(programs)
                if verdict == "survived" and asan and op in OFF_BY_ONE:
                    verdict, by = asan.catch(programs)
                    if verdict not in ("caught", "survived"):
                        verdict = "survived"
                if verdict in ("caught", "survived"):
                    per_folder[folder][1] += 1
                    if verdict == "caught":
                        per_folder[folder][0] += 1
                    else:
                        survivors[folder].append(f"{where}: {before.strip()} => {after.strip()}")
                else:
                    stillborn += 1
            finally:
                restorer.restore()
            by = f" by {by[len('folianto_tests_'):]}" if by else ""
            print(f"[{number}/{len(mutants)}] {where} {op}: {verdict}{by} "
                  f"({time.time() - started:.0f} s)", flush=True)
    except Interrupted as signal_number:
        interrupted = signal_number.args[0]
    finally:
        restorer.restore()

    print()
    if survivors:
        print("Survivors:")
        for folder in sorted(survivors):
            for line in survivors[folder]:
                print(line)
        print()
    for folder in LOGIC_FOLDERS:
        if folder in per_folder:
            k, n = per_folder[folder]
            print(f"{folder:12} caught {k:4} of {n:4} ({100.0 * k / n:.0f} %)")
    if stillborn:
        print(f"did not compile or build in time (not counted): {stillborn}")
    caught = sum(k for k, _ in per_folder.values())
    counted = sum(n for _, n in per_folder.values())
    percent = 100.0 * caught / counted if counted else 0.0
    print(f"caught {caught} of {counted} ({percent:.0f} %)")
    return 128 + interrupted if interrupted else 0


if __name__ == "__main__":
    sys.exit(main())
