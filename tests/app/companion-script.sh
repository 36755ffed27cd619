#!/bin/sh
# The README's companion script against the real program: vorna offscreen on this (private)
# session bus with a profile of its own, the script run with vorna-fp, its answers checked.
#   companion-script.sh VORNA VORNA_FP DEMO_SCRIPT SPECTRUM
set -eu
VORNA="$1"; FP="$2"; DEMO="$3"; SPECTRUM="$4"
WORK="$(mktemp -d)"
trap 'kill "${VORNA_PID:-0}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/config/Quorix"
printf '[Standard]\nstart_dlg_show=0\nsave_on_exit=0\n' > "$WORK/config/Quorix/Lumo.ini"
HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" \
    QT_QPA_PLATFORM=offscreen VORNA_SIMULATE= "$VORNA" >"$WORK/vorna.log" 2>&1 &
VORNA_PID=$!
VORNA_FP="$FP" "$DEMO" "$SPECTRUM" > "$WORK/out.txt"
cat "$WORK/out.txt"
# Two ROIs, then their data: start and end in keV first.
printf '21\t2\n' > "$WORK/expected-count.txt"
head -n 1 "$WORK/out.txt" | cmp - "$WORK/expected-count.txt"
sed -n 2p "$WORK/out.txt" | grep -q "^23	2:5.70,6.10,"
# A refused request is told by the exit status and the error answer.
if "$FP" copy-data 31 "$WORK/missing.mca" --answer > "$WORK/err.txt"; then
    echo "a missing file was not refused"; exit 1
fi
grep -q "^100	File not found - CMD_LUMO_LOAD_SPECTRUM.$" "$WORK/err.txt"
echo "companion script: ok"
