#!/usr/bin/env bash
# Whole-program benchmark: converts a generated 100 MiB page and its minified variant with
# the command-line run and the shipped tag table, times the plain line copier on the same
# input, and compares start-up with a 1 KB conversion. Best of several runs each.
#
# usage: bench/run.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
data=$root/bench/data
runs=${RUNS:-3}

if [ ! -f "$data/big.html" ] || [ ! -f "$data/big-min.html" ]; then
    python3 "$root/bench/generate.py" "$data" 100
fi
work=$(mktemp -d "$data/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
ln "$data/big.html" "$work/big.html"
ln "$data/big-min.html" "$work/big-min.html"

# Prints "seconds peak-KiB" of the fastest of $runs runs of a command; $clean runs before
# each one.
best() {
    local fastest="" line
    for _ in $(seq "$runs"); do
        eval "$clean"
        local begin end kib
        begin=$(date +%s%N)
        kib=$(/usr/bin/time -f "%M" "$@" </dev/null 2>&1 >/dev/null | tail -n 1)
        end=$(date +%s%N)
        line="$(awk -v b="$begin" -v e="$end" 'BEGIN { printf "%.3f", (e - b) / 1e9 }') $kib"
        if [ -z "$fastest" ] || awk -v a="${line% *}" -v b="${fastest% *}" 'BEGIN { exit !(a < b) }'; then
            fastest=$line
        fi
    done
    echo "$fastest"
}

mib() { awk -v bytes="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", bytes / 1048576 }'; }
rate() { awk -v size="$1" -v s="$2" 'BEGIN { printf "%.0f", size / (s > 0 ? s : 0.001) }'; }

report() { # label file seconds-and-KiB
    local size seconds kib
    size=$(mib "$2")
    seconds=${3% *}
    kib=${3#* }
    printf "%-34s %6.3f s %6s MiB/s  peak %6.1f MiB\n" "$1" "$seconds" "$(rate "$size" "$seconds")" \
        "$(awk -v k="$kib" 'BEGIN { print k / 1024 }')"
}

echo "Input: $(mib "$work/big.html") MiB, $(wc -l <"$work/big.html") lines;" \
    "minified $(mib "$work/big-min.html") MiB, $(wc -l <"$work/big-min.html") lines"

clean='rm -f "$work/big.html.ident"'
convert=$(best "$build/stepwell" "$work/big.html")
clean='rm -f "$work/copy"'
copy=$(best "$build/bench/line_copier" "$work/big.html" "$work/copy")
copyNoSync=$(best "$build/bench/line_copier" "$work/big.html" "$work/copy" --no-sync)
clean='rm -f "$work/big-min.html.ident"'
minified=$(best "$build/stepwell" "$work/big-min.html")
clean='rm -f "$work/copy"'
copyMinified=$(best "$build/bench/line_copier" "$work/big-min.html" "$work/copy")

report "stepwell big.html" "$work/big.html" "$convert"
report "line_copier big.html" "$work/big.html" "$copy"
report "line_copier big.html, no sync" "$work/big.html" "$copyNoSync"
report "stepwell big-min.html" "$work/big-min.html" "$minified"
report "line_copier big-min.html" "$work/big-min.html" "$copyMinified"
awk -v c="${convert% *}" -v p="${copy% *}" -v n="${copyNoSync% *}" -v m="${minified% *}" \
    -v sb="$(stat -c %s "$work/big.html")" -v sm="$(stat -c %s "$work/big-min.html")" 'BEGIN {
    printf "time ratio, conversion / copier:             %.2f (target at most 2.0)\n", c / p
    printf "time ratio, conversion / copier without sync: %.2f\n", c / n
    printf "minified throughput / ordinary throughput:    %.2f (target at least 0.33)\n", (sm / m) / (sb / c)
}'

# Start-up: the same process with nothing to do, and with a 1 KB page to convert.
head -c 1024 "$root/samples/page.html" >"$work/small.html"
hyperfine -N --style basic --warmup 20 --runs 200 --export-json "$work/startup.json" \
    --prepare "rm -f '$work/small.html.ident'" \
    "'$build/stepwell' --version" "'$build/stepwell' '$work/small.html'" >/dev/null
python3 - "$work/startup.json" <<'PY'
import json, sys
version, convert = (r["mean"] * 1000 for r in json.load(open(sys.argv[1]))["results"])
print(f"start-up: --version {version:.2f} ms, 1 KB conversion {convert:.2f} ms, "
      f"difference {convert - version:.2f} ms (target at most 3 ms)")
PY
