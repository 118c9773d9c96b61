#!/bin/bash
# An hour of a user's work with the real velquist.exe under Wine, in minutes, against the
# simulated station: 1,000 tab changes over all nine tabs, ten Reads on each page that reads
# decoders, the speed table's thumbs dragged, a save and a load on Load/Save. The program's
# windows, GDI objects, heap in use and memory are taken after a minute of the same work as a
# warm-up and at the end; any growth fails. Ends with a PASS or FAIL line.
# Usage: bench/hour_of_use.sh [ROUNDS]   (default 10; builds what it needs; runs on its own Xvfb)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rounds=${1:-10}
dir=$root/build/bench-hour-of-use
source bench/wine_bench_setup.sh
tools/wine-run.sh reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1 || true
windows_path() { echo "Z:${1//\//\\}"; }

# The C library's malloc under Wine's Unix side raises its threshold for giving a block a mapping
# of its own whenever such a block is freed (most likely window surfaces, as wait bars come and
# go), and its heap then grows by some 500 kB once, at a moment that varies from run to run. A
# fixed threshold keeps that out, so that growth in private memory means something was kept.
GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072 tools/wine-run.sh "$exe" </dev/null >/dev/null 2>&1 &
app_pid=$!
ui main 60 >/dev/null
# The Unix process of velquist.exe: the one in this prefix (other users may run theirs).
unix_pid=
for pid in $(pgrep -f 'velquist\.exe' || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
        tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q 'velquist\.exe'; then
        unix_pid=$pid
    fi
done
[ -n "$unix_pid" ] || { echo "FAIL: the Wine process of velquist.exe was not found"; exit 1; }

# sample: "windows W gdi G heap_kb H rss_kb R data_kb D", always on Load/Save: each page has its
# own windows.
sample() {
    local resources
    resources=$(ui tab 6 resources)
    echo "$resources $(awk '/^VmRSS/ { r = $2 } /^VmData/ { d = $2 } END { print "rss_kb " r " data_kb " d }' \
        "/proc/$unix_pid/status")"
}

tab_changes=0 reads=0 drags=0
# One round: 100 tab changes over all nine tabs, a Read on each page that reads (0 Locomotive,
# 1 Speed Table, 3 Function Map, 4 Consist, 5 Accessory; 1052 is Read on all), every speed
# table thumb dragged through five values (1400 + k is thumb k; WM_USER sets the value as the
# user's), and on the last round a save and a load on Load/Save (tab 6: 1248 Save, 1247 Load).
round() {
    local commands=() k value
    for k in $(seq 0 99); do commands+=(tab $((k % 9))); done
    tab_changes=$((tab_changes + 100))
    for k in 0 1 3 4 5; do commands+=(tab "$k" click 1052 idle 120); done
    reads=$((reads + 5))
    commands+=(tab 1)
    for value in 40 120 200 90 10; do
        for k in $(seq 28); do commands+=(send $((1400 + k)) 1024 "$value" 1); done
    done
    drags=$((drags + 140))
    ui "${commands[@]}" >/dev/null
    if [ "$1" = last ]; then
        rm -f "$dir/saved.vqd"
        ui tab 6 click 1248 save "$(windows_path "$dir/saved.vqd")" idle \
            click 1247 open "$(windows_path "$dir/saved.vqd")" idle >/dev/null
    fi
}

started=$(date +%s)
# The warm-up, about a minute: every page, dialog and Read, four times over, so that Wine's caches
# have settled.
for _ in 1 2 3; do round more; done
round last
sample >/dev/null # the first count pages in what the count itself uses
read -r _ windows0 _ gdi0 _ heap0 _ rss0 _ data0 < <(sample)
tab_changes=0 reads=0 drags=0
for r in $(seq "$rounds"); do
    round "$([ "$r" = "$rounds" ] && echo last || echo more)"
    [ "$r" = $((rounds / 2)) ] && read -r _ windows_mid _ gdi_mid _ heap_mid _ rss_mid _ data_mid < <(sample)
done
read -r _ windows1 _ gdi1 _ heap1 _ rss1 _ data1 < <(sample)
ui quit >/dev/null
wait "$app_pid" || true
app_pid=
elapsed=$(($(date +%s) - started))

echo "work after the warm-up: $tab_changes tab changes, $reads Reads, $drags thumb moves, a save and a load"
echo "time: ${elapsed} s in all, warm-up included; station commands: $(wc -l <"$dir/station.log")"
printf '%-22s %10s %10s %10s\n' "" "warm-up" "halfway" "end"
printf '%-22s %10s %10s %10s\n' "windows" "$windows0" "${windows_mid:--}" "$windows1"
printf '%-22s %10s %10s %10s\n' "GDI objects" "$gdi0" "${gdi_mid:--}" "$gdi1"
printf '%-22s %10s %10s %10s\n' "heap in use (kB)" "$heap0" "${heap_mid:--}" "$heap1"
printf '%-22s %10s %10s %10s\n' "resident memory (kB)" "$rss0" "${rss_mid:--}" "$rss1"
printf '%-22s %10s %10s %10s\n' "private data (kB)" "$data0" "${data_mid:--}" "$data1"

# Windows must come back to their count. GDI objects, the heaps' blocks in use (what the program
# and Wine's Windows side hold) and private memory (all writable mappings, Wine's Unix side
# included) may move a little with Wine's own caches, but a leak in any of the thousands of
# actions would add at least 50 objects or 100 kB. Resident memory is shown, not judged: Wine's
# shared libraries page in and out with the machine's load.
if [ "$windows1" -le "$windows0" ] && [ "$gdi1" -le $((gdi0 + 5)) ] &&
    [ "$heap1" -le $((heap0 + 16)) ] && [ "$data1" -le $((data0 + 128)) ]; then
    echo "PASS: no growth after the warm-up"
else
    echo "FAIL: growth after the warm-up (windows $windows0 -> $windows1, GDI objects $gdi0 -> $gdi1," \
         "heap in use $heap0 -> $heap1 kB, private data $data0 -> $data1 kB)"
    exit 1
fi
