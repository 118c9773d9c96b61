# shellcheck shell=bash
# Sourced: a process named by its id and its start time, so that an id kept in a file or a
# variable is never used to kill a process the system has since given that id.

# process_stamp PID: prints "PID START", or fails when no such process runs.
process_stamp() {
    local start
    # The command name (field 2) may hold spaces: count fields after its closing parenthesis.
    # A zombie has ended already.
    start=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | awk '$1 != "Z" { print $20 }') || return 1
    [ -n "$start" ] && echo "$1 $start"
}

# stop_stamped "PID START" [SECONDS]: ends that process if it still runs (TERM, then KILL after
# SECONDS, default 5) and waits for it to go; anything else with that id is left alone.
stop_stamped() {
    local pid start tries
    read -r pid start <<<"$1"
    [ -n "$pid" ] && [ "$(process_stamp "$pid")" = "$pid $start" ] || return 0
    kill "$pid" 2>/dev/null
    for ((tries = ${2:-5} * 10; tries > 0; tries--)); do
        [ "$(process_stamp "$pid")" = "$pid $start" ] || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    return 0
}
