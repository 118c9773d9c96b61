# What the end-to-end scripts share: checks that count failures, and the program's registry
# values. Sourced; the script sets `set -uo pipefail` itself and ends with [ "$failures" -eq 0 ].
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
source "$tools/wine-env.sh"
wine=$VELQUIST_WINE
failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
check_equal() { # check_equal DESCRIPTION EXPECTED ACTUAL: shows both when they differ
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        echo "FAILED: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}
registry() { # registry VALUE -> "TYPE DATA"
    "$wine" reg query 'HKCU\Software\Quenby\DCC' /v "$1" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { $1 = ""; sub(/^ +/, ""); print }'
}
