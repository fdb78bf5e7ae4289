#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Whole-program benchmarks for `make bench`.

Converts generated 100 MiB pages (LF, CR LF and minified) with the program, each run paired
with a run of the plain line copier on the same input, which reads lines, drops their leading
blanks and writes them to a file that it syncs, as a conversion does. Reports the medians of
wall time and processor time and of their ratios. Then a site of 10,000 small pages: checked
against a check of their concatenation, converted against the copier writing each page's
.ident with one fsync and one rename, each with one job and with two. Then the peak memory of
each mode on a 200 MiB page that is one line, and the start-up cost of a 1 KB conversion.

usage: bench/run.py BUILD_DIR
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "bench", "data")
RUNS = int(os.environ.get("RUNS", "7"))


def run(command, stdin=None, stdout=subprocess.DEVNULL, cwd=None):
    """Runs a command; returns (wall seconds, processor seconds, peak KiB)."""
    with open(stdin or os.devnull, "rb") as source:
        begin = time.perf_counter()
        process = subprocess.Popen(command, stdin=source, stdout=stdout,
                                   stderr=subprocess.DEVNULL, cwd=cwd)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.perf_counter() - begin
    if os.waitstatus_to_exitcode(status) not in (0, 1):
        sys.exit(f"failed: {' '.join(command)}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def ensure_data():
    os.makedirs(DATA, exist_ok=True)
    if not os.path.exists(os.path.join(DATA, "site.html")):
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "generate.py"), "--site",
                        DATA, "10000"], check=True)
    big = os.path.join(DATA, "big.html")
    if not os.path.exists(big) or not os.path.exists(os.path.join(DATA, "big-min.html")):
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "generate.py"), DATA, "100"],
                       check=True)
    crlf = os.path.join(DATA, "big-crlf.html")
    if not os.path.exists(crlf):
        with open(big, "rb") as source, open(crlf, "wb") as target:
            for chunk in iter(lambda: source.read(1 << 20), b""):
                target.write(chunk.replace(b"\n", b"\r\n"))
    line = os.path.join(DATA, "line-200.html")
    if not os.path.exists(line):
        with open(os.path.join(DATA, "big-min.html"), "rb") as source:
            markup = source.read(1 << 20).replace(b"\n", b"")
        with open(line, "wb") as target:
            for _ in range(200):
                target.write(markup[: 1 << 20])
            target.write(b"\n")


def paired(build, work, name):
    page = os.path.join(work, name)
    shutil.copyfile(os.path.join(DATA, name), page)
    copy = os.path.join(work, "copy")
    rows = []
    for _ in range(RUNS):
        for path in (page + ".ident", copy):
            if os.path.exists(path):
                os.unlink(path)
        converted = run([os.path.join(build, "stepwell"), page])
        copied = run([os.path.join(build, "bench", "line_copier"), page, copy])
        rows.append((converted, copied))
    os.unlink(page)
    median = lambda values: statistics.median(values)
    wall = median(r[0][0] for r in rows)
    cpu = median(r[0][1] for r in rows)
    copier_wall = median(r[1][0] for r in rows)
    copier_cpu = median(r[1][1] for r in rows)
    wall_ratio = median(r[0][0] / r[1][0] for r in rows)
    cpu_ratio = median(r[0][1] / r[1][1] for r in rows)
    size = os.path.getsize(os.path.join(DATA, name)) / (1 << 20)
    print(f"{name:15} stepwell {wall:6.3f} s wall {cpu:6.3f} s cpu ({size / wall:4.0f} MiB/s); "
          f"copier {copier_wall:6.3f} s wall {copier_cpu:6.3f} s cpu; "
          f"ratios wall {wall_ratio:4.2f} cpu {cpu_ratio:4.2f}")
    return wall_ratio, cpu_ratio


def medians(rows, name, base=None, size=None):
    """Prints the medians of the runs `name` of `rows` and of their wall time ratio to the
    paired runs `base`; returns that ratio."""
    median = statistics.median
    wall = median(r[name][0] for r in rows)
    cpu = median(r[name][1] for r in rows)
    ratio = median(r[name][0] / r[base][0] for r in rows) if base else 1
    rate = f" ({size / wall:4.0f} MB/s)" if size else ""
    against = f"; {ratio:4.2f} x {base}" if base else ""
    print(f"  {name:30} {wall:6.3f} s wall{rate} {cpu:6.3f} s cpu{against}")
    return ratio


def site(build, work):
    """The 10,000 small pages, checked and converted, each against its floor in the same run."""
    stepwell = os.path.join(build, "stepwell")
    copier = os.path.join(build, "bench", "line_copier")
    pages = "site/**/*.html"
    size = os.path.getsize(os.path.join(DATA, "site.html")) / 1e6
    runs = RUNS
    print(f"10,000 small pages ({size:.0f} MB), {runs} runs each, medians")
    checks = []
    for _ in range(runs):
        checks.append({
            "check -j1 of the pages": run([stepwell, "-j1", "--check", pages], cwd=DATA),
            "check of their concatenation": run([stepwell, "--check", "site.html"], cwd=DATA),
            "check -j2 of the pages": run([stepwell, "-j2", "--check", pages], cwd=DATA),
        })
    per_file = medians(checks, "check -j1 of the pages", "check of their concatenation", size)
    medians(checks, "check of their concatenation", size=size)
    check_gain = 1 / medians(checks, "check -j2 of the pages", "check -j1 of the pages", size)

    shutil.copytree(os.path.join(DATA, "site"), os.path.join(work, "site"))
    files = sorted(os.path.relpath(os.path.join(folder, name), work)
                   for folder, _, names in os.walk(os.path.join(work, "site"))
                   for name in names if name.endswith(".html"))
    conversions = {
        "convert -j2 --yes": [stepwell, "-j2", "--yes", pages],
        "copier, fsync and rename each": [copier, "--ident"] + files,
        "convert -j1 --yes": [stepwell, "-j1", "--yes", pages],
    }
    # Once each first, so that every timed run replaces outputs that are there, as a run
    # over a site that was converted before does. Each run starts with nothing waiting to be
    # written (os.sync), so that none pays for what the one before left to the system.
    def timed(command):
        os.sync()
        return run(command, cwd=work)
    for command in conversions.values():
        timed(command)
    rows = [{name: timed(command) for name, command in conversions.items()}
            for _ in range(runs)]
    grouped = medians(rows, "convert -j2 --yes", "copier, fsync and rename each")
    medians(rows, "copier, fsync and rename each")
    convert_gain = 1 / medians(rows, "convert -j2 --yes", "convert -j1 --yes")
    medians(rows, "convert -j1 --yes")
    return per_file, check_gain, grouped, convert_gain


def memory(build, work):
    line = os.path.join(DATA, "line-200.html")
    size_kib = os.path.getsize(line) / 1024
    stepwell = os.path.join(build, "stepwell")
    page = os.path.join(work, "line.html")
    modes = {
        "file": lambda: run([stepwell, page]),
        "replace": lambda: run([stepwell, "--yes", "--replace", page]),
        "filter": lambda: run([stepwell, "-"], stdin=line),
        "check": lambda: run([stepwell, "--check", page]),
    }
    worst = 0.0
    for mode, measure in modes.items():
        shutil.copyfile(line, page)
        if os.path.exists(page + ".ident"):
            os.unlink(page + ".ident")
        _, _, peak = measure()
        worst = max(worst, peak / size_kib)
        print(f"one 200 MiB line, {mode:7}: peak {peak / 1024:6.1f} MiB = "
              f"{peak / size_kib:4.2f} x the line")
    os.unlink(page)
    return worst


def startup(build, work):
    small = os.path.join(work, "small.html")
    with open(os.path.join(ROOT, "samples", "page.html"), "rb") as source:
        open(small, "wb").write(source.read(1024))
    stepwell = os.path.join(build, "stepwell")
    results = os.path.join(work, "startup.json")
    subprocess.run(["hyperfine", "-N", "--style", "none", "--warmup", "20", "--runs", "200",
                    "--export-json", results, "--prepare", f"rm -f '{small}.ident'",
                    f"'{stepwell}' --version", f"'{stepwell}' '{small}'"],
                   check=True, stdout=subprocess.DEVNULL)
    import json
    version, convert = (r["median"] * 1000 for r in json.load(open(results))["results"])
    print(f"start-up: --version {version:.2f} ms, a 1 KB conversion {convert:.2f} ms "
          f"(+{convert - version:.2f} ms; target at most 3 ms)")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    ensure_data()
    with tempfile.TemporaryDirectory(dir=DATA, prefix="run.") as work:
        print(f"{RUNS} paired runs each, medians")
        plain, plain_cpu = paired(build, work, "big.html")
        crlf, crlf_cpu = paired(build, work, "big-crlf.html")
        minified, minified_cpu = paired(build, work, "big-min.html")
        per_file, check_gain, grouped, convert_gain = site(build, work)
        worst = memory(build, work)
        startup(build, work)
    print(f"ratios to the plain loop: wall {plain:.2f} (CR LF {crlf:.2f}, minified "
          f"{minified:.2f}), cpu {plain_cpu:.2f} (CR LF {crlf_cpu:.2f}, minified "
          f"{minified_cpu:.2f}); targets: peak memory at most 1.5 x the line ({worst:.2f} x "
          f"at the most); "
          f"10,000 pages: check -j1 at most 1.5 x their concatenation ({per_file:.2f}), "
          f"conversion at most 1 x the copier ({grouped:.2f}), -j2 at least 1.6 x as fast "
          f"as -j1 (check {check_gain:.2f}, conversion {convert_gain:.2f})")


if __name__ == "__main__":
    main()
