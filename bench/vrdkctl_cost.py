#!/usr/bin/env python3
"""CPU time and peak memory of one `vrdkctl --simulate=FILE dump`.

Usage: bench/vrdkctl_cost.py PATH/TO/vrdkctl [RUNS]
Runs the command RUNS times (default 20) against a simulation file and prints
the median CPU time (user + system) and the largest peak resident set size.
Peak memory comes from GNU time (Debian package "time"), which starts the
program from a small process, so the figure is the program's own.
Goal: at most 20 ms of CPU and 10 MiB of peak memory.
"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile

GNU_TIME = "/usr/bin/time"


def one_run(binary, state, folder):
    report = os.path.join(folder, "rss.txt")
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([GNU_TIME, "-f", "%M", "-o", report, binary, "--simulate=" + state, "dump"],
                   check=True, stdout=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu_ms = ((after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)) * 1000.0
    with open(report) as f:
        peak_mib = int(f.read().split()[-1]) / 1024.0
    return cpu_ms, peak_mib


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if not os.access(GNU_TIME, os.X_OK):
        sys.exit("needs GNU time: apt-get install time")
    binary = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    with tempfile.TemporaryDirectory() as folder:
        state = os.path.join(folder, "mouse.bin")
        subprocess.run([binary, "--simulate=" + state, "info"], check=True,
                       stdout=subprocess.DEVNULL)
        results = [one_run(binary, state, folder) for _ in range(runs)]
    cpu = statistics.median(r[0] for r in results)
    peak = max(r[1] for r in results)
    print(f"vrdkctl --simulate=FILE dump: median CPU {cpu:.1f} ms over {runs} runs, "
          f"peak memory {peak:.1f} MiB")
    print(f"goal: CPU <= 20 ms {'met' if cpu <= 20 else 'MISSED'}, "
          f"memory <= 10 MiB {'met' if peak <= 10 else 'MISSED'}")


if __name__ == "__main__":
    main()
