#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Measures how closely Stepwell reproduces the indentation real authors gave their pages.

    bench/corpus/measure.py STEPWELL [--corpus CORPUS] [--tags TABLE] [--learn]

CORPUS is the folder bench/corpus/fetch.sh fills (default build-corpus/root): one folder a
Debian package; a site is one folder of pages within a package. Each page is converted by
the real program (`STEPWELL --tags TABLE -`, TABLE an empty table when none is given), and
each counted line's leading tabs are compared with the level its author gave it:

- the page's indent unit is tabs, or 8, 4, 3, 2 or 1 spaces (the largest that nine in ten
  indented lines are a multiple of), found per page; a line's level is its indentation
  over the unit;
- blank lines, lines that start inside a comment, <pre>, <textarea>, <script> or <style>,
  and lines whose indentation is not a whole number of units do not count; pages with no
  counted line above level 0 are left out;
- a page drifts when the level after its last line is above 1 (a blank line is appended to
  the input: its tabs are that level) or some line is written past level 20.

With --learn, each page also learns a table (`STEPWELL --learn PAGE`, timed), which is then
applied to the page itself and to other pages of its site. A folder may hold pages that no
author indented alike (the hand-written pages of a manual beside its generated ones), so the
figures are also given per kind of page (templates, which hold template syntax, and
documents) and for the other pages that are alike: indented with the same unit and made by
the same generator (the content of <meta name="generator">, without its version; none for
pages that do not name one).
"""

import argparse
import gzip
import hashlib
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

PAGE_SUFFIXES = (".html", ".htm", ".xhtml", ".shtml", ".tmpl", ".tpl", ".twig", ".jinja",
                 ".jinja2", ".j2", ".html.var", ".mustache", ".hbs", ".html.gz", ".htm.gz")
PAGES_PER_PACKAGE = 120
LARGEST_PAGE = 2 << 20
REGIONS = [(b"<!--", b"-->", False), (b"<pre", b"</pre", True),
           (b"<textarea", b"</textarea", True), (b"<script", b"</script", True),
           (b"<style", b"</style", True)]
NAME_BYTE = re.compile(rb"[A-Za-z0-9:_-]")
TEMPLATE_SYNTAX = re.compile(rb"\{%|\{\{|\{#|<\?php|<tmpl_|<roundcube:|\[%", re.IGNORECASE)
GENERATOR = re.compile(rb"<meta[^>]*name=[\"']?generator[\"']?[^>]*>", re.IGNORECASE)
GENERATOR_CONTENT = re.compile(rb"content=[\"']([^\"']*)", re.IGNORECASE)
LINE_BREAK = re.compile(rb"\r\n|\r|\n")


def split_lines(data):
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    lines = LINE_BREAK.split(data)
    if lines and lines[-1] == b"":
        lines.pop()
    return lines


def follow_regions(lower, open_region):
    """The region (index into REGIONS, or -1) the line `lower` ends in."""
    at = 0
    while True:
        if open_region >= 0:
            end = lower.find(REGIONS[open_region][1], at)
            if end < 0:
                return open_region
            at = end + len(REGIONS[open_region][1])
            open_region = -1
        first, which = -1, -1
        for index, (opener, _, element) in enumerate(REGIONS):
            found = lower.find(opener, at)
            while found >= 0:
                after = found + len(opener)
                if not element or after == len(lower) or not NAME_BYTE.match(lower, after):
                    break
                found = lower.find(opener, found + 1)
            if found >= 0 and (first < 0 or found < first):
                first, which = found, index
        if first < 0:
            return -1
        open_region = which
        at = first + len(REGIONS[which][0])


def leading(line):
    tabs = spaces = width = 0
    for byte in line:
        if byte == 9:
            tabs += 1
            width = (width // 8 + 1) * 8
        elif byte == 32:
            spaces += 1
            width += 1
        else:
            return tabs, spaces, width, False
    return tabs, spaces, width, True


def author_levels(lines):
    """The unit (0 for tabs) and each line's level, None for a line that does not count."""
    open_region = -1
    found = []
    for line in lines:
        outside = open_region < 0
        open_region = follow_regions(line.lower(), open_region)
        tabs, spaces, width, blank = leading(line)
        found.append((tabs, spaces, width) if outside and not blank else None)
    by_tabs = sum(1 for f in found if f and f[0] and not f[1])
    by_spaces = sum(1 for f in found if f and f[1] and not f[0])
    unit = 0
    if by_spaces > by_tabs:
        widths = [f[2] for f in found if f and f[2]]
        unit = next((u for u in (8, 4, 3, 2)
                     if sum(1 for w in widths if w % u == 0) * 10 >= len(widths) * 9), 1)
    levels = []
    for f in found:
        if f is None:
            levels.append(None)
        elif unit == 0:
            levels.append(f[0] if not f[1] else None)
        else:
            levels.append(f[2] // unit if f[2] % unit == 0 else None)
    return unit, levels


def find_pages(corpus, packages=None):
    """{package: [path]}, at most PAGES_PER_PACKAGE a package, picked by a hash of the path;
    only the packages named in `packages`, when given."""
    pages = {}
    for package in sorted(os.listdir(corpus)):
        if packages and package not in packages:
            continue
        found = []
        for folder, _, files in os.walk(os.path.join(corpus, package)):
            for name in files:
                path = os.path.join(folder, name)
                squid = "/squid-langpack/en/" in path and name.startswith("ERR_")
                if not (name.lower().endswith(PAGE_SUFFIXES) or squid):
                    continue
                if os.path.islink(path) or os.path.getsize(path) > LARGEST_PAGE:
                    continue
                found.append(path)
        found.sort(key=lambda p: hashlib.sha1(p.encode()).hexdigest())
        if found:
            pages[package] = found[:PAGES_PER_PACKAGE]
    return pages


def read_page(path):
    with open(path, "rb") as file:
        data = file.read()
    return gzip.decompress(data) if path.endswith(".gz") else data


class Page:
    def __init__(self, package, path, corpus):
        self.package = package
        self.path = path
        self.site = package + ":" + os.path.relpath(os.path.dirname(path), corpus)
        self.data = read_page(path)
        # The input ends with a line break, so that the blank line appended to it is a line
        # of its own; a byte-order mark is not part of the first line.
        if self.data and not self.data.endswith((b"\n", b"\r")):
            self.data += b"\n"
        self.lines = split_lines(self.data)
        self.unit, self.levels = author_levels(self.lines)
        counted = [level for level in self.levels if level is not None]
        self.counted = len(counted)
        self.indented = any(level > 0 for level in counted)
        self.kind = "templates" if TEMPLATE_SYNTAX.search(self.data) else "documents"
        generator = GENERATOR.search(self.data)
        content = generator and GENERATOR_CONTENT.search(generator.group(0))
        self.generator = re.split(rb"[\s\d]", content.group(1))[0] if content else b""

    def alike(self, other):
        """Whether the two pages are indented with the same unit by the same generator."""
        return self.unit == other.unit and self.generator == other.generator


def convert(stepwell, table, data):
    run = subprocess.run([stepwell, "--tags", table, "-"], input=data + b"\n",
                         capture_output=True, check=False)
    if run.returncode != 0:
        return None
    return split_lines(run.stdout)


def score(page, output):
    """(share of counted lines reproduced, whether the level drifts); None when not converted."""
    if output is None or len(output) != len(page.lines) + 1:
        return None
    tabs = [len(line) - len(line.lstrip(b"\t")) for line in output]
    drifts = tabs[-1] > 1 or max(tabs) > 20
    same = sum(1 for level, t in zip(page.levels, tabs) if level is not None and level == t)
    return same / page.counted, drifts


def percent(value):
    return f"{100 * value:.1f} %"


def median(values):
    return statistics.median(values) if values else 0.0


def measure_table(stepwell, table, pages, jobs):
    with ThreadPoolExecutor(jobs) as pool:
        results = list(pool.map(lambda p: score(p, convert(stepwell, table, p.data)), pages))
    shares = [r[0] for r in results if r]
    drifting = [p for p, r in zip(pages, results) if r and r[1]]
    failed = sum(1 for r in results if r is None)
    return shares, drifting, failed, results


def learn(stepwell, page, folder):
    table = os.path.join(folder, hashlib.sha1(page.path.encode()).hexdigest() + ".tags")
    source = page.path
    if source.endswith(".gz"):
        source = table + ".html"
        with open(source, "wb") as file:
            file.write(page.data)
    started = time.perf_counter()
    run = subprocess.run([stepwell, "--learn", source], capture_output=True, check=False)
    took = time.perf_counter() - started
    if run.returncode != 0:
        return None, took
    with open(table, "wb") as file:
        file.write(run.stdout)
    return table, took


def measure_learner(stepwell, pages, jobs, others_per_page, learners_per_site, pairs=None):
    by_site = {}
    for page in pages:
        by_site.setdefault(page.site, []).append(page)
    learners = []
    for site_pages in by_site.values():
        learners.extend(site_pages[:learners_per_site])
    with tempfile.TemporaryDirectory() as folder:
        def one(page):
            table, took = learn(stepwell, page, folder)
            if table is None:
                return None
            own = score(page, convert(stepwell, table, page.data))
            others = [p for p in by_site[page.site] if p is not page][:others_per_page]
            applied = [(p, score(p, convert(stepwell, table, p.data))) for p in others]
            return own, [a for _, a in applied if a], took, [(p, a) for p, a in applied if a]

        with ThreadPoolExecutor(jobs) as pool:
            results = list(pool.map(one, learners))
    same = [r[0][0] for r in results if r and r[0]]
    same_drift = sum(1 for r in results if r and r[0] and r[0][1])
    other_pairs = [a for r in results if r for a in r[1]]
    # Each learning page's score on its site's other pages is the median over those pages.
    other = [median([a[0] for a in r[1]]) for r in results if r and r[1]]
    times = [r[2] for r in results if r]
    if pairs:
        # One line a pair, the worst first, to read what a learned table gets wrong elsewhere:
        # the share, whether the pages are alike, whether the level drifts, the learning page
        # and the page the table was applied to.
        rows = sorted((a[0], "alike" if page.alike(p) else "-", "drifts" if a[1] else "-",
                       page.path, p.path)
                      for page, r in zip(learners, results) if r for p, a in r[3])
        with open(pairs, "w", encoding="utf-8") as file:
            for share, *rest in rows:
                file.write(f"{100 * share:5.1f}\t" + "\t".join(rest) + "\n")
    print(f"learner: {len(learners)} pages learned from ({len(times)} gave a table)")
    print(f"  same page: median {percent(median(same))}, drifting {same_drift}")
    print(f"  other pages of the site: median {percent(median(other))} (mean "
          f"{percent(statistics.mean(other) if other else 0)}) over {len(other)} "
          f"learning pages ({len(other_pairs)} pairs, pair median "
          f"{percent(median([a[0] for a in other_pairs]))}, "
          f"{sum(1 for a in other_pairs if a[1])} drifting)")
    def others_of(kept):
        return [median([a[0] for _, a in r[3]]) for r in kept if r[3]]

    learned = [(page, r) for page, r in zip(learners, results) if r and r[0]]
    for kind in ("documents", "templates"):
        kept = [r for page, r in learned if page.kind == kind]
        if kept:
            print(f"    {kind}: same page median {percent(median([r[0][0] for r in kept]))} "
                  f"of {len(kept)}, other pages median {percent(median(others_of(kept)))} "
                  f"(mean {percent(statistics.mean(others_of(kept)) if others_of(kept) else 0)})")
    alike = [(r[0], r[1], r[2], [(p, a) for p, a in r[3] if p.alike(page)]) for page, r in learned]
    print(f"    other pages alike (same unit, same generator): median "
          f"{percent(median(others_of(alike)))} over {len(others_of(alike))} learning pages "
          f"({sum(len(r[3]) for r in alike)} pairs)")
    if times:
        print(f"  time of --learn: median {median(times) * 1000:.0f} ms, "
              f"90th percentile {sorted(times)[int(0.9 * (len(times) - 1))] * 1000:.0f} ms, "
              f"longest {max(times) * 1000:.0f} ms")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("stepwell")
    parser.add_argument("corpus", nargs="?", default="build-corpus/root")
    parser.add_argument("--corpus", dest="corpus_folder", metavar="CORPUS",
                        help="the folder fetch.sh filled, its root/ (default build-corpus/root)")
    parser.add_argument("--tags", help="the tag table to measure (default: an empty one)")
    parser.add_argument("--learn", action="store_true", help="measure the learner too")
    parser.add_argument("--sites", action="store_true", help="print the median of each site")
    parser.add_argument("--drifting", action="store_true", help="list the drifting pages")
    parser.add_argument("--pairs", metavar="FILE",
                        help="with --learn, write each pair's share to FILE, the worst first")
    parser.add_argument("--packages", help="only these packages, separated by commas")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--others", type=int, default=5,
                        help="other pages of the site each learned table is applied to")
    parser.add_argument("--learners", type=int, default=3,
                        help="pages of each site that learn a table")
    args = parser.parse_args()

    corpus = args.corpus_folder or args.corpus
    found = find_pages(corpus, args.packages.split(",") if args.packages else None)
    pages = []
    for package, paths in found.items():
        for path in paths:
            page = Page(package, path, corpus)
            if page.indented:
                pages.append(page)
    sites = {p.site for p in pages}
    print(f"corpus: {sum(len(p) for p in found.values())} pages from {len(found)} packages; "
          f"{len(pages)} indented pages in {len(sites)} sites "
          f"({sum(p.counted for p in pages)} counted lines)")

    with tempfile.NamedTemporaryFile("wb", suffix=".tags") as empty:
        table = args.tags or empty.name
        shares, drifting, failed, results = measure_table(args.stepwell, table, pages, args.jobs)
    name = args.tags or "the empty table"
    print(f"{name}: median {percent(median(shares))} of counted lines reproduced; "
          f"{len(drifting)} of {len(shares)} pages drift ({percent(len(drifting) / max(1, len(shares)))})"
          + (f"; {failed} pages not converted" if failed else ""))
    if args.sites:
        by_site = {}
        for page, result in zip(pages, results):
            if result:
                by_site.setdefault(page.site, []).append(result)
        for site in sorted(by_site):
            values = by_site[site]
            print(f"  {percent(median([v[0] for v in values])):>8}  "
                  f"{sum(1 for v in values if v[1]):3} drifting of {len(values):3}  {site}")
    if args.drifting:
        for page in drifting:
            print(f"  drifts: {page.path}")
    if args.learn:
        measure_learner(args.stepwell, pages, args.jobs, args.others, args.learners,
                         args.pairs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
