#!/usr/bin/env python3
"""Corvane's start to first paint against a bare QWidget program, both offscreen.

Usage: bench/startup/run.py [BUILD_DIR] [RUNS]   (defaults: build, 10)
Each run passes its launch time in CORVANE_BENCH_T0_NS; the program prints the milliseconds
to its first paint and quits. Prints the median of the runs for each program.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def measure(exe, cwd, env, runs):
    values = []
    for _ in range(runs):
        run_env = dict(env)
        run_env["CORVANE_BENCH_T0_NS"] = str(time.time_ns())
        out = subprocess.run([exe], cwd=cwd, env=run_env, capture_output=True, text=True, timeout=60)
        line = next((l for l in out.stdout.splitlines() if l.startswith("first-paint-ms:")), None)
        if out.returncode != 0 or line is None:
            sys.exit(f"{exe} failed ({out.returncode}): {out.stdout} {out.stderr}")
        values.append(float(line.split(":")[1]))
    return values


def main():
    build = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    bindir = os.path.join(build, "bin")
    with tempfile.TemporaryDirectory(prefix="corvane-bench-") as tmp:
        for sub in ("config", "log", "runtime"):
            os.makedirs(os.path.join(tmp, sub), mode=0o700)
        env = dict(os.environ)
        env.update({
            "QT_QPA_PLATFORM": "offscreen",
            "CORVANE_CONFIG_DIR": os.path.join(tmp, "config"),
            "CORVANE_LOG_DIR": os.path.join(tmp, "log"),
            "XDG_RUNTIME_DIR": os.path.join(tmp, "runtime"),
            "CORVANE_EXIT_AFTER_FIRST_PAINT": "1",
            # No fixture here: a closed loopback port, never the fixture's own address.
            "CORVANE_FIXTURE_HOST": "127.0.0.1",
            "CORVANE_FIXTURE_PORT": "1",
        })
        bare = measure(os.path.join(bindir, "bench_bare_qwidget"), bindir, env, runs)
        corvane = measure(os.path.join(bindir, "corvane"), bindir, env, runs)
    bm, cm = statistics.median(bare), statistics.median(corvane)
    print(f"bare QWidget   median {bm:8.1f} ms  (runs: {', '.join(f'{v:.1f}' for v in bare)})")
    print(f"Corvane        median {cm:8.1f} ms  (runs: {', '.join(f'{v:.1f}' for v in corvane)})")
    print(f"Corvane - bare        {cm - bm:8.1f} ms  ({cm / bm:.2f}x)")


if __name__ == "__main__":
    main()
