#!/usr/bin/env python3
"""The mutation check of morlo: applies each mutant, rebuilds, runs the suite that must catch it.

Usage: scripts/mutate.py [--only ID,...] [--mutants FILE] [options]

It works on the clone it lives in, whose build trees must exist (bash scripts/setup.sh once),
and edits that clone's sources while it runs. The mutants (default tests/mutants.json) are a
JSON list of objects:

    {"id": "...", "file": "src/...", "find": "exact unique text", "replace": "text", "suite": "core"}

Suites (build trees are under $MORLO_BUILD, default build/ in this clone):
  core  rebuilds the check tree (native, sanitizers) and runs ctest there.
  cli   rebuilds the check, the native and the windows tree, runs the core tests (morlo-cli's
        arguments and texts are tested there) and every tests/scripts/*.sh whose name does not
        contain "fuzz", one after the other, in a private Xvfb display, up to the first that fails.
  gui   rebuilds the windows tree and runs ctest there under Wine in a private Xvfb display.
Each suite builds its whole trees, so the runner follows the project's layout.

For each mutant: the suite's build is brought up to date first (so that the next build shows
exactly what the mutant changed), the text is replaced, the suite's trees are rebuilt, the
suite runs with a time limit, and the file is restored with git checkout (also on Ctrl-C,
SIGTERM, SIGHUP or any error). Results:
  KILLED    the suite failed
  SURVIVED  the suite passed
  TIMEOUT   the suite ran past its limit (counted as killed in the score)
  NOBUILD   the mutated sources did not compile (not counted in the score)
  UNBUILT   the build compiled nothing from the mutated file: it is no part of that suite's
            build (not counted in the score; pick another suite). Files outside src/ and res/
            (build rules, completions, manual pages) are compiled by nothing and always run.
  INVALID   the file is missing, not clean in git, or find is not exactly once in it
With --any-suite a mutant that survives its own suite is run on the other suites that compile
its file, and is KILLED when one of them fails (a blind round's writer cannot know which suite
sees a fault: src/cli's argument reading, for one, is tested by the core suite).
Score: killed = KILLED + TIMEOUT; valid = KILLED + TIMEOUT + SURVIVED.
At the end the restored sources are built again. Exit status: 0 when the run completed
(whatever the score), 2 for bad usage or a broken baseline build, 130 when interrupted.
"""

import argparse
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SUITES = {
    "core": {"trees": ["check"], "display": False},
    "cli": {"trees": ["check", "native", "windows"], "display": True, "runs": ["core"]},
    "gui": {"trees": ["windows"], "display": True},
}
DEFAULT_TIMEOUTS = {"core": 120, "cli": 300, "gui": 900}
BUILD_TIMEOUT = 1800


class Interrupted(Exception):
    pass


def on_signal(number, _frame):
    raise Interrupted(signal.Signals(number).name)


def log(text=""):
    print(text, flush=True)


class Runner:
    def __init__(self, repo, build, jobs, timeouts, logs, any_suite=False):
        self.repo = repo
        self.any_suite = any_suite
        self.build = build
        self.jobs = jobs
        self.timeouts = timeouts
        self.logs = logs
        self.env = dict(os.environ)
        self.env["MORLO_BUILD"] = build
        self.env["WINEPREFIX"] = os.path.join(build, "wineprefix")
        self.env.setdefault("WINEDEBUG", "-all")
        self.env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
        self.env.setdefault("WINEARCH", "win64")
        self.child = None
        self.xvfb = None
        self.used_trees = set()
        # What each tree compiled since the mutant was applied: a later suite sharing a tree
        # finds the file already built there.
        self.mutant_compiled = {}

    # --- processes -------------------------------------------------------------------------

    def run(self, command, timeout, env=None):
        """Runs command in its own process group; returns (rc or None on timeout, output)."""
        out = tempfile.TemporaryFile()
        try:
            self.child = subprocess.Popen(command, cwd=self.repo, env=env or self.env, stdin=subprocess.DEVNULL,
                                          stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
            try:
                rc = self.child.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                self.kill_child()
                rc = None
            self.child = None
            out.seek(0)
            return rc, out.read().decode("utf-8", "replace")
        finally:
            if self.child is not None:
                self.kill_child()
                self.child = None
            out.close()

    def kill_child(self):
        """Ends the running command and everything left in its process group."""
        child = self.child
        if child is None:
            return
        for sig, wait in ((signal.SIGTERM, 5), (signal.SIGKILL, 5)):
            try:
                os.killpg(child.pid, sig)
            except ProcessLookupError:
                return
            try:
                child.wait(timeout=wait)
                break
            except subprocess.TimeoutExpired:
                continue
        # The command may have ended on SIGTERM while its children (a test program) did not.
        try:
            os.killpg(child.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

    def start_display(self):
        for n in range(90, 121):
            if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
                continue
            self.xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                         start_new_session=True)
            for _ in range(100):
                if os.path.exists(f"/tmp/.X11-unix/X{n}") or self.xvfb.poll() is not None:
                    break
                time.sleep(0.1)
            if self.xvfb.poll() is None and os.path.exists(f"/tmp/.X11-unix/X{n}"):
                self.env["DISPLAY"] = f":{n}"
                return True
            self.stop_xvfb()
        return False

    def stop_xvfb(self):
        if self.xvfb is not None:
            try:
                os.killpg(self.xvfb.pid, signal.SIGTERM)
                self.xvfb.wait(timeout=10)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass
            self.xvfb = None

    def stop_display(self):
        # This prefix's Wine server first, so that the next run starts a fresh one.
        try:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60, check=False)
        except subprocess.TimeoutExpired:
            pass
        self.stop_xvfb()
        self.env.pop("DISPLAY", None)

    # --- git -------------------------------------------------------------------------------

    def git(self, *arguments):
        return subprocess.run(["git", "-C", self.repo, *arguments], capture_output=True, text=True, check=False)

    def restore(self, path, original):
        relative = os.path.relpath(path, self.repo)
        result = self.git("checkout", "--", relative)
        if result.returncode != 0 or self.git("diff", "--quiet", "HEAD", "--", relative).returncode != 0:
            with open(path, "wb") as f:
                f.write(original)
        return self.git("diff", "--quiet", "HEAD", "--", relative).returncode == 0

    # --- builds ----------------------------------------------------------------------------

    def build_tree(self, tree):
        """Returns (rc or None on timeout, output)."""
        return self.run(["cmake", "--build", os.path.join(self.build, tree), "-j", str(self.jobs)], BUILD_TIMEOUT)

    def build_suite(self, suite):
        """Builds the suite's trees; returns (ok, seconds, compiled sources, output)."""
        started = time.monotonic()
        compiled = []
        output = []
        for tree in SUITES[suite]["trees"]:
            self.used_trees.add(tree)
            rc, text = self.build_tree(tree)
            output.append(f"== build {tree}\n{text}")
            compiled += compiled_sources(text)
            self.mutant_compiled.setdefault(tree, []).extend(compiled_sources(text))
            if rc != 0:
                return False, time.monotonic() - started, compiled, "\n".join(output)
        return True, time.monotonic() - started, compiled, "\n".join(output)

    def test_suite(self, suite):
        """Runs the suite; returns (rc or None on timeout, seconds, output)."""
        if suite == "core":
            command = ["ctest", "--test-dir", os.path.join(self.build, "check"), "--output-on-failure"]
        elif suite == "cli":
            # The first failure decides: the rest would only take time.
            command = ["bash", "-c", 'ctest --test-dir "$MORLO_BUILD/check" --output-on-failure || '
                       '{ echo "script failed: the core tests"; exit 1; }; for s in tests/scripts/*.sh; do case "$(basename "$s")" in *fuzz*) continue;; esac; '
                       'echo "== $s"; bash "$s" || { echo "script failed: $s"; exit 1; }; done']
        else:
            command = ["ctest", "--test-dir", os.path.join(self.build, "windows"), "--output-on-failure"]
        started = time.monotonic()
        display = SUITES[suite]["display"]
        if display and not self.start_display():
            return -1, 0.0, "no free X display"
        try:
            rc, text = self.run(command, self.timeouts[suite])
        finally:
            if display:
                self.stop_display()
        return rc, time.monotonic() - started, text

    # --- one mutant ------------------------------------------------------------------------

    def mutate(self, mutant):
        """Returns (status, seconds, note)."""
        suite = mutant["suite"]
        path = os.path.join(self.repo, mutant["file"])
        relative = mutant["file"]
        if not os.path.isfile(path):
            return "INVALID", 0.0, "no such file"
        if self.git("ls-files", "--error-unmatch", "--", relative).returncode != 0:
            return "INVALID", 0.0, "file not tracked by git"
        if self.git("diff", "--quiet", "HEAD", "--", relative).returncode != 0:
            return "INVALID", 0.0, "file has local changes; not touched"
        with open(path, "rb") as f:
            original = f.read()
        try:
            text = original.decode("utf-8")
        except UnicodeDecodeError:
            return "INVALID", 0.0, "file is not UTF-8"
        count = text.count(mutant["find"])
        if count != 1 or mutant["find"] == mutant["replace"]:
            return "INVALID", 0.0, f"find occurs {count} times" if count != 1 else "replace equals find"

        started = time.monotonic()
        ok, sync_seconds, _, sync_output = self.build_suite(suite)
        if not ok:
            raise BaselineBroken(f"the unmutated {suite} build fails:\n{tail(sync_output, 40)}")
        try:
            with open(path, "wb") as f:
                f.write(text.replace(mutant["find"], mutant["replace"]).encode("utf-8"))
            self.mutant_compiled = {}
            ok, build_seconds, compiled, build_output = self.build_suite(suite)
            self.save_log(mutant, build_output)
            if not ok:
                return "NOBUILD", time.monotonic() - started, first_error(build_output)
            if not mutated_file_compiled(relative, compiled):
                return "UNBUILT", time.monotonic() - started, f"nothing from {relative} compiled for suite {suite}"
            rc, test_seconds, test_output = self.test_suite(suite)
            self.save_log(mutant, build_output + "\n== test\n" + test_output)
            timing = f"sync {sync_seconds:.0f}s build {build_seconds:.0f}s test {test_seconds:.0f}s"
            if rc is None:
                return "TIMEOUT", time.monotonic() - started, f"{timing}; over {self.timeouts[suite]}s"
            if rc == 0:
                return self.other_suites(mutant, started, timing)
            return "KILLED", time.monotonic() - started, f"{timing}; {failure_summary(suite, test_output)}"
        finally:
            # A second Ctrl-C must not stop the restore half-way: signals wait until it is done.
            blocked = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM, signal.SIGHUP})
            try:
                if not self.restore(path, original):
                    log(f"!! could not restore {relative}; fix it by hand")
            finally:
                signal.pthread_sigmask(signal.SIG_SETMASK, blocked)

    def other_suites(self, mutant, started, timing):
        """With --any-suite, a mutant its own suite missed is tried on every other suite that builds its file."""
        done = [mutant["suite"]] + SUITES[mutant["suite"]].get("runs", [])
        for other in [s for s in SUITES if s not in done] if self.any_suite else []:
            ok, _, _, build_output = self.build_suite(other)
            compiled = [c for tree in SUITES[other]["trees"] for c in self.mutant_compiled.get(tree, [])]
            if not ok or not mutated_file_compiled(mutant["file"], compiled):
                continue
            rc, _, test_output = self.test_suite(other)
            self.save_log(mutant, build_output + f"\n== test {other}\n" + test_output)
            if rc != 0:
                return "KILLED", time.monotonic() - started, f"{timing}; by the {other} suite: {failure_summary(other, test_output)}"
        return "SURVIVED", time.monotonic() - started, timing

    def save_log(self, mutant, text):
        if not self.logs:
            return
        os.makedirs(self.logs, exist_ok=True)
        with open(os.path.join(self.logs, f"{mutant['id']}.log"), "w", encoding="utf-8") as f:
            f.write(text)

    def final_sync(self):
        """Builds the restored sources, so that no tree is left holding the last mutant."""
        for tree in sorted(self.used_trees):
            self.build_tree(tree)


class BaselineBroken(Exception):
    pass


BUILDING = re.compile(r"Building (?:CXX|C|RC) object (\S+)")


def compiled_sources(output):
    """Source paths (relative to the source tree) of the objects a make run compiled."""
    sources = []
    for match in BUILDING.finditer(output):
        obj = match.group(1)
        obj = re.sub(r"CMakeFiles/[^/]+\.dir/", "", obj)
        obj = re.sub(r"\.(o|obj)$", "", obj)
        sources.append(obj)
    return sources


def mutated_file_compiled(relative, compiled):
    if not relative.startswith(("src/", "res/")):
        return True  # a build rule, a completion or a page: the build or the suite reads it as it is
    if not relative.endswith((".cpp", ".c", ".cc", ".rc")):
        return bool(compiled)  # a header: something that includes it was compiled
    base = os.path.basename(relative)
    return any(c == relative or relative.endswith("/" + c) or c.endswith("/" + relative) or
               os.path.basename(c) == base for c in compiled)


def first_error(output):
    for line in output.splitlines():
        if "error" in line:
            return line.strip()[:200]
    return tail(output, 1)[:200]


def failure_summary(suite, output):
    failed = []
    for match in re.finditer(r"^\[  FAILED  \] (\w+\.\w+)", output, re.M):
        if match.group(1) not in failed:
            failed.append(match.group(1))
    if failed:
        more = f" +{len(failed) - 3}" if len(failed) > 3 else ""
        return "failed: " + ", ".join(failed[:3]) + more
    if "Timeout" in output or "***Timeout" in output:
        return "a test timed out inside ctest"
    lines = [line for line in output.splitlines() if line.strip()]
    for line in reversed(lines):
        if suite == "cli" and line.startswith("script failed:"):
            return line.strip()[:200]
    for line in reversed(lines):
        if "Exception" in line or "SEGFAULT" in line or "Failed" in line or "ERROR" in line:
            return line.strip()[:200]
    return (lines[-1].strip() if lines else "no output")[:200]


def tail(text, count):
    return "\n".join(text.splitlines()[-count:])


def parse_timeouts(values):
    timeouts = dict(DEFAULT_TIMEOUTS)
    for value in values or []:
        for item in value.split(","):
            suite, _, seconds = item.partition("=")
            if suite not in SUITES or not seconds.isdigit():
                raise SystemExit(f"mutate.py: bad --timeout {item!r} (want SUITE=SECONDS)")
            timeouts[suite] = int(seconds)
    return timeouts


def load_mutants(path, only):
    with open(path, encoding="utf-8") as f:
        mutants = json.load(f)
    if not isinstance(mutants, list):
        raise SystemExit("mutate.py: the mutants file must hold a JSON list")
    seen = set()
    for m in mutants:
        missing = [k for k in ("id", "file", "find", "replace", "suite") if not isinstance(m.get(k), str)]
        if missing:
            raise SystemExit(f"mutate.py: mutant {m.get('id', '?')} lacks {', '.join(missing)}")
        if m["suite"] not in SUITES:
            raise SystemExit(f"mutate.py: mutant {m['id']}: unknown suite {m['suite']!r}")
        if m["id"] in seen:
            raise SystemExit(f"mutate.py: duplicate id {m['id']}")
        seen.add(m["id"])
    if only:
        wanted = [i for i in only.split(",") if i]
        unknown = [i for i in wanted if i not in seen]
        if unknown:
            raise SystemExit(f"mutate.py: no mutant with id {', '.join(unknown)}")
        mutants = [m for m in mutants if m["id"] in wanted]
    return mutants


def main():
    parser = argparse.ArgumentParser(description="Applies each mutant, rebuilds, runs its suite, restores.")
    parser.add_argument("--mutants", default=os.path.join(REPO, "tests", "mutants.json"),
                        help="the mutants file (default tests/mutants.json)")
    parser.add_argument("--only", help="comma-separated mutant ids")
    parser.add_argument("--build", help="build folder (default $MORLO_BUILD or build/ in this clone)")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", action="append", help="SUITE=SECONDS[,...]; defaults core=120,cli=300,gui=900")
    parser.add_argument("--logs", help="folder for each mutant's build and test output")
    parser.add_argument("--baseline", action="store_true",
                        help="first run every needed suite unmutated; stop if one fails")
    parser.add_argument("--any-suite", action="store_true",
                        help="a mutant its own suite misses is tried on the other suites too (for blind rounds, "
                             "whose writer cannot know which suite sees a fault)")
    args = parser.parse_args()

    repo = REPO
    if subprocess.run(["git", "-C", repo, "rev-parse", "--show-toplevel"], capture_output=True).returncode != 0:
        raise SystemExit(f"mutate.py: {repo} is not a git work tree")
    build = os.path.abspath(args.build or os.environ.get("MORLO_BUILD") or os.path.join(repo, "build"))
    mutants = load_mutants(args.mutants, args.only)
    runner = Runner(repo, build, args.jobs, parse_timeouts(args.timeout), args.logs and os.path.abspath(args.logs),
                    args.any_suite)
    for suite in SUITES if args.any_suite else {m["suite"] for m in mutants}:
        for tree in SUITES[suite]["trees"]:
            if not os.path.isfile(os.path.join(build, tree, "CMakeCache.txt")):
                raise SystemExit(f"mutate.py: {build}/{tree} is not configured; run scripts/setup.sh in {repo}")

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)

    results = []
    width = max([len(m["id"]) for m in mutants] + [10])
    started = time.monotonic()
    log(f"mutate: {len(mutants)} mutants from {args.mutants} in {repo} (builds in {build})")
    try:
        if args.baseline:
            for suite in [s for s in SUITES if any(m["suite"] == s for m in mutants)]:
                ok, build_seconds, _, build_output = runner.build_suite(suite)
                if not ok:
                    raise BaselineBroken(f"the unmutated {suite} build fails:\n{tail(build_output, 40)}")
                rc, test_seconds, test_output = runner.test_suite(suite)
                state = "passes" if rc == 0 else "TIMES OUT" if rc is None else "FAILS"
                log(f"baseline {suite}: {state} (build {build_seconds:.0f}s, test {test_seconds:.0f}s)")
                if rc != 0:
                    raise BaselineBroken(f"the unmutated {suite} suite fails:\n{tail(test_output, 40)}")
        for mutant in mutants:
            status, seconds, note = runner.mutate(mutant)
            results.append((mutant, status, seconds))
            log(f"{mutant['id']:<{width}} {mutant['suite']:<4} {status:<8} {seconds:6.1f}s  {mutant['file']}  {note}")
        runner.final_sync()
    except Interrupted as e:
        runner.kill_child()
        runner.stop_display()
        log(f"mutate: interrupted ({e}); the mutated file was restored")
        summarize(results, started)
        return 130
    except BaselineBroken as e:
        runner.stop_display()
        log(f"mutate: stopped: {e}")
        summarize(results, started)
        return 2
    summarize(results, started)
    return 0


def summarize(results, started):
    def score(rows):
        killed = sum(1 for _, s, _ in rows if s in ("KILLED", "TIMEOUT"))
        survived = sum(1 for _, s, _ in rows if s == "SURVIVED")
        return killed, killed + survived, survived

    log("")
    for suite in SUITES:
        rows = [r for r in results if r[0]["suite"] == suite]
        if not rows:
            continue
        killed, valid, survived = score(rows)
        counts = {s: sum(1 for _, x, _ in rows if x == s) for s in ("TIMEOUT", "NOBUILD", "UNBUILT", "INVALID")}
        timed = [sec for _, s, sec in rows if s in ("KILLED", "TIMEOUT", "SURVIVED")]
        mean = sum(timed) / len(timed) if timed else 0.0
        extra = ", ".join(f"{v} {k.lower()}" for k, v in counts.items() if v)
        log(f"suite {suite}: {killed} killed of {valid} valid ({survived} survived{', ' + extra if extra else ''}); "
            f"{mean:.0f}s per mutant")
    survivors = [m["id"] for m, s, _ in results if s == "SURVIVED"]
    if survivors:
        log("survived: " + ", ".join(survivors))
    log(f"time: {time.monotonic() - started:.0f}s")
    killed, valid, survived = score(results)
    log(f"score: {killed} killed of {valid} valid ({survived} survived)")


if __name__ == "__main__":
    sys.exit(main())
