# shellcheck shell=bash
# What the benchmarks of the real program share, sourced after `cd` to the project's root with
# `dir` set to the benchmark's own folder: the program, the driver and the simulated station
# built, a Wine prefix of the benchmark's own with COM1 on its station, windows unmanaged (without
# a window manager Wine waits two seconds whenever a top-level window such as the wait bar is
# hidden; run.sh does the same), a private Xvfb, and a cleanup that stops all of it. The caller
# may set app_pid to a program to kill on exit.
tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev \
    g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb xdotool x11-utils
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target velquist velquist_ui >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target velquist-sim-station >/dev/null

exe=build/windows/src/app/velquist.exe
ui_exe=build/windows/tests/windows/ui_driver/velquist_ui.exe
source tools/wine-env.sh
export WINEPREFIX=$dir/wineprefix
read -r DISPLAY xvfb_pid < <(tools/xvfb.sh 1024x768x24)
export DISPLAY
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    tools/sim-station-ctl.sh stop "$dir"
    "$VELQUIST_WINESERVER" -k
    kill "$xvfb_pid"
}
trap cleanup EXIT
tools/wine-prefix.sh "$WINEPREFIX" "$dir/com1"
tools/wine-run.sh reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
tools/sim-station-ctl.sh start build/native/tools/sim_station/velquist-sim-station "$dir"

ui() { tools/wine-run.sh "$ui_exe" "$@" </dev/null | tr -d '\r'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
