#!/usr/bin/env bash
# Regenerates docs/screenshot.png: starts vorna with the example spectrum on a virtual X screen
# (Xvfb) with settings of its own, and takes the screen with ImageMagick's import.
# --acquire: against the simulated KestrelA, connected and acquiring for a few seconds.
# --acquire-dpp: the same against a simulated Plover.
# --fault: the simulated KestrelA acquiring until its cable is pulled (VORNA_SIMULATE's
#          unplug option): the program's message over the acquiring window.
# --windows DIR [NAME...]: pictures of the program's windows (the window gallery), one PNG each.
# --prints DIR: the pages that the printing tests print (plot, ROI list, ROI report, keyboard map,
#   a two-page list), as PDF and as one PNG per page.
source "$(dirname "$0")/common.sh"
ACQUIRE=0
if [[ "${1:-}" == "--prints" ]]; then
    DIR="$(realpath -m "${2:?usage: screenshot.sh --prints DIR}")"
    mkdir -p "$DIR"
    ensure_packages
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" --target vorna_output_window_tests -j 2
    (cd "$BUILD_DIR/tests" && QT_QPA_PLATFORM=offscreen VORNA_PRINT_DIR="$DIR" ./vorna_output_window_tests >/dev/null)
    for pdf in "$DIR"/*.pdf; do
        pdftoppm -r 60 -png "$pdf" "${pdf%.pdf}"
    done
    ls "$DIR"
    exit 0
fi
if [[ "${1:-}" == "--windows" ]]; then
    shift
    DIR="${1:?usage: screenshot.sh --windows DIR [NAME...]}"
    shift
    ensure_packages
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" --target vorna_window_gallery -j 2
    WORK="$(mktemp -d)"
    trap 'kill "${XVFB_PID:-0}" 2>/dev/null || true; rm -rf "$WORK"' EXIT
    # Each run takes its own display number so that several can run side by side.
    DISPLAY_NUM=":$((100 + $$ % 100))"
    Xvfb "$DISPLAY_NUM" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
    DISPLAY="$DISPLAY_NUM" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK" \
        QT_QPA_PLATFORM=xcb VORNA_SIMULATE= "$BUILD_DIR/src/tools/gallery/vorna_window_gallery" "$DIR" "$@"
    exit $?
fi
if [[ "${1:-}" == "--acquire" ]]; then
    ACQUIRE=1
    shift
elif [[ "${1:-}" == "--acquire-dpp" ]]; then
    ACQUIRE=2
    shift
elif [[ "${1:-}" == "--fault" ]]; then
    ACQUIRE=3
    shift
fi
ensure_packages
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" --target vorna -j 2
OUT="${1:-$ROOT/docs/screenshot.png}"
WORK="$(mktemp -d)"
trap 'kill "${VORNA_PID:-0}" "${XVFB_PID:-0}" 2>/dev/null || true; rm -rf "$WORK"' EXIT

# A profile that skips the start dialog and places the window on the whole screen.
mkdir -p "$WORK/config/Quorix"
cat > "$WORK/config/Quorix/Lumo.ini" <<'INI'
[Standard]
start_dlg_show=0
save_on_exit=0
plot_autoscale=1
placement_left=0
placement_top=0
placement_right=10000
placement_bottom=10000
INI
if [[ $ACQUIRE == 2 ]]; then
    # The Plover with a quick refresh, so a few seconds show the spectrum growing.
    printf 'device_type=2\ndata_refresh=500\n' >> "$WORK/config/Quorix/Lumo.ini"
fi

DISPLAY_NUM=:97
Xvfb "$DISPLAY_NUM" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
sleep 1
if [[ $ACQUIRE == 1 ]]; then
    # No file opened: the live spectrum stays the active one.
    export VORNA_SIMULATE=kestrela VORNA_AUTOSTART=1
    WAIT=12
    FILES=()
elif [[ $ACQUIRE == 2 ]]; then
    export VORNA_SIMULATE=plover VORNA_AUTOSTART=1
    WAIT=12
    FILES=()
elif [[ $ACQUIRE == 3 ]]; then
    export VORNA_SIMULATE=kestrela:unplug=8 VORNA_AUTOSTART=1
    WAIT=16
    FILES=()
else
    WAIT=3
    FILES=("$ROOT/examples/fe55.mca")
fi
DISPLAY="$DISPLAY_NUM" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK" \
    QT_QPA_PLATFORM=xcb "$BUILD_DIR/src/app/vorna" "${FILES[@]}" &
VORNA_PID=$!
sleep "$WAIT"
if [[ $ACQUIRE == 2 ]]; then
    # A DPP's plot keeps the vertical range it had at connect (the running autoscale is the
    # Kestrel's); the Down key widens it, as a user would, until the peaks show (60 steps of
    # 2^0.1 make it 64 times as tall).
    DISPLAY="$DISPLAY_NUM" xdotool search --onlyvisible --name "VORNA" windowfocus --sync \
        key --repeat 60 --delay 10 Down
    sleep 1
fi
DISPLAY="$DISPLAY_NUM" import -window root "$OUT"
echo "wrote $OUT"
