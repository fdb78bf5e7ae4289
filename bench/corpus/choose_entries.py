#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Chooses the elements of the shipped tag table by measuring, not by taste.

    bench/corpus/choose_entries.py STEPWELL [CORPUS] [--most-drifting 0.03]

Only elements whose end tag HTML requires are candidates: one whose end tag may be left out
(<p>, <li>, <td> ...) opens a level that nothing closes. Each candidate (its opening tag at
+1, its closing tag at -1) is first measured alone against the empty table with
bench/corpus/measure.py's rules: how many pages it helps and how many it harms. Then,
starting from raw blocks alone, the candidates are added in the order of the pages they
harm (fewest first, the pages they help deciding ties), each kept only when the median
share of counted lines reproduced does not fall and at most 3 % of the pages drift. Prints
each step and the table it ends with.
"""

import argparse
import os
import re
import statistics
import sys
import tempfile

import measure

CANDIDATES = """HTML HEAD BODY HEADER FOOTER MAIN NAV SECTION ARTICLE ASIDE ADDRESS DIV CENTER
BLOCKQUOTE FIGURE DETAILS DIALOG PICTURE UL OL DL TABLE CAPTION TBODY TFOOT FORM FIELDSET
LABEL LEGEND SELECT BUTTON VIDEO AUDIO SVG OBJECT MAP MENU TEMPLATE SUMMARY NOSCRIPT IFRAME
H1 H2 H3 H4 H5 H6 SPAN""".split()
# Comments, <pre> and <textarea> keep their content; so do <script> and <style>, whose lines
# do not count in the measure, so that a script keeps its own indentation.
RAW = ["<!--,raw:-->", "<PRE,raw:</PRE>", "<TEXTAREA,raw:</TEXTAREA>",
       "<SCRIPT,raw:</SCRIPT>", "<STYLE,raw:</STYLE>"]
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def element_names():
    """The element names the learner knows, from engine/core/element_names.cpp."""
    with open(os.path.join(SOURCE, "engine", "core", "element_names.cpp")) as file:
        return re.findall(r'"([A-Z0-9]+)"', file.read())


def guards(tag, names, taken):
    """Zero entries that keep `tag` (`<E` or `</E`) from counting longer element names: the
    tag and the next letter of each such name (`<MENUI` for `<MENU`)."""
    start = "</" if tag.startswith("</") else "<"
    element = tag[len(start):]
    found = set()
    for name in names:
        if name != element and name.startswith(element) and start + name not in taken:
            found.add(start + name[:len(element) + 1])
    return found - taken


def table_text(elements, names):
    """The tag file: raw blocks, openings and zero entries (a longer tag before a shorter one
    it starts with), then closings."""
    openings = {f"<{e}": "1" for e in elements}
    # A closing tag that longer names start with carries its '>' (`</MENU>`).
    closings = {f"</{e}>" if guards(f"</{e}", names, set()) else f"</{e}": "-1"
                for e in elements}
    for tag in list(openings):
        for guard in guards(tag, names, set(openings)):
            openings[guard] = "0"
    lines = RAW + [f"{t},{openings[t]}" for t in sorted(openings, reverse=True)]
    lines += [f"{t},{closings[t]}" for t in sorted(closings, reverse=True)]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("stepwell")
    parser.add_argument("corpus", nargs="?", default="build-corpus/root")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--most-drifting", type=float, default=0.03)
    args = parser.parse_args()

    names = element_names()
    pages = []
    for package, paths in measure.find_pages(args.corpus).items():
        for path in paths:
            page = measure.Page(package, path, args.corpus)
            if page.indented:
                pages.append(page)
    print(f"{len(pages)} indented pages", flush=True)

    def judge(elements):
        with tempfile.NamedTemporaryFile("w", suffix=".tags") as table:
            table.write(table_text(elements, names))
            table.flush()
            _, drifting, _, results = measure.measure_table(args.stepwell, table.name, pages,
                                                            args.jobs)
        shares = [r[0] if r else 0.0 for r in results]
        return shares, len(drifting) / len(pages)

    base, _ = judge(set())
    print(f"raw blocks alone: median {statistics.median(base):.4f}", flush=True)
    effect = {}
    for element in CANDIDATES:
        shares, drifting = judge({element})
        helped = sum(1 for a, b in zip(shares, base) if a > b + 1e-9)
        harmed = sum(1 for a, b in zip(shares, base) if a < b - 1e-9)
        effect[element] = (harmed, -helped)
        print(f"  {element:10} alone: median {statistics.median(shares):.4f}, helps {helped}, "
              f"harms {harmed}, drifting {drifting:.3f}", flush=True)

    chosen = set()
    best = statistics.median(base)
    for element in sorted(CANDIDATES, key=lambda e: effect[e]):
        shares, drifting = judge(chosen | {element})
        median = statistics.median(shares)
        kept = median >= best and drifting <= args.most_drifting
        print(f"add {element:10} median {median:.4f}, mean {statistics.mean(shares):.4f}, "
              f"drifting {drifting:.3f}: {'kept' if kept else 'left out'}", flush=True)
        if kept:
            chosen.add(element)
            best = median
    print(table_text(chosen, names), end="")
    return 0


if __name__ == "__main__":
    sys.exit(main())
