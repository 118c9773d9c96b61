#!/bin/bash
# The locomotive page's Read and Write All in the real velquist.exe under Wine against the
# simulated station, through the ASCII driver and then the binary one: wall time from the click to
# the closed wait bar, beside its floor (the station's latency for every read or write, 250 ms as
# the wait bar closes, and for ASCII 100 ms before every command line, 1 s after each M and 9E),
# at no latency and at 700 ms, with the read retries at their default (a sound station never needs
# one, so the cost is that of no retries). Reports medians and the overhead per bound CV.
# Usage: bench/cv_page_bench.sh [RUNS]   (builds what it needs; runs on its own Xvfb)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-5}
dir=$root/build/bench-cv-page
bindings=18
source bench/wine_bench_setup.sh

# time_action BUTTON LATENCY PROTOCOL: prints "wall floor" in ms for one click, the floor from
# the lines the station received meanwhile.
time_action() {
    local before lines slow paced settles times
    before=$(wc -l <"$dir/station.log")
    # The first search for a control costs the driver a few milliseconds; it stays outside.
    times=$(ui get "$1" clock click "$1" clock | tail -2 | tr '\n' ' ')
    lines=$(tail -n +"$((before + 1))" "$dir/station.log" | cut -d' ' -f2-)
    if [ "$3" = binary ]; then
        slow=$(grep -c '^A[89] ' <<<"$lines" || true)
        paced=0
        settles=$(grep -c '^9E$' <<<"$lines" || true)
    else
        slow=$(grep -c '^[RP]' <<<"$lines" || true)
        paced=$(wc -l <<<"$lines")
        settles=$(grep -c '^M$' <<<"$lines" || true)
    fi
    awk -v t="$times" -v n="$paced" -v s="$slow" -v l="$2" -v e="$settles" \
        'BEGIN { split(t, c, " "); printf "%.1f %d\n", c[2] - c[1], n * 100 + s * l + e * 1000 + 250 }'
}

# choose_driver PROTOCOL: the program's stored choice, read at its next start.
choose_driver() {
    tools/wine-run.sh reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1 || true
    [ "$1" = binary ] || return 0
    tools/wine-run.sh reg add 'HKCU\Software\Quenby\DCC' /v CmdSt_IDX /t REG_DWORD \
        /d 0x6245434e /f </dev/null >/dev/null 2>&1
    tools/wine-run.sh reg add 'HKCU\Software\Quenby\DCC' /v CmdSt_CFG /t REG_SZ /d '9600|COM1' \
        /f </dev/null >/dev/null 2>&1
}

for protocol in ascii binary; do
    for latency in 0 700; do
        tools/sim-station-ctl.sh start build/native/tools/sim_station/velquist-sim-station "$dir" \
            --latency-ms "$latency" --protocol "$protocol"
        choose_driver "$protocol"
        tools/wine-run.sh "$exe" </dev/null >/dev/null 2>&1 &
        pid=$!
        ui main 60 >/dev/null
        : >"$dir/read.times"
        : >"$dir/write.times"
        for _ in $(seq "$runs"); do
            time_action 1052 "$latency" "$protocol" >>"$dir/read.times"
            time_action 1056 "$latency" "$protocol" >>"$dir/write.times"
        done
        ui quit >/dev/null
        wait "$pid" || true
        for action in read write; do
            name=$([ $action = read ] && echo "Read" || echo "Write All")
            echo "$protocol $name at ${latency} ms latency: median wall $(cut -d' ' -f1 "$dir/$action.times" | median) ms," \
                 "floor $(cut -d' ' -f2 "$dir/$action.times" | median) ms, median overhead per CV" \
                 "$(awk -v b=$bindings '{ print ($1 - $2) / b }' "$dir/$action.times" | median) ms ($runs runs)"
        done
    done
done
