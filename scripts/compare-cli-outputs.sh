#!/usr/bin/env bash
# Records vorna-cli's outputs on the example spectrum and the test data, or compares them with a
# recording, so that a refactor can show that no result changed by a single byte.
#
#   scripts/compare-cli-outputs.sh record DIR    run every case, store stdout, stderr, status
#   scripts/compare-cli-outputs.sh compare DIR   run every case again, diff against DIR
#
# VORNA_CLI names the binary (default build/src/tools/vorna-cli/vorna-cli); VORNA_COMPARE_WORK the
# scratch folder (default /tmp/vorna-cli-compare).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CLI="${VORNA_CLI:-$ROOT/build/src/tools/vorna-cli/vorna-cli}"
MODE="${1:-}"
DIR="${2:-}"
if [[ ! "$MODE" =~ ^(record|compare)$ || -z "$DIR" ]]; then
    echo "usage: $0 record|compare DIR" >&2
    exit 2
fi
[[ -x "$CLI" ]] || { echo "no vorna-cli at $CLI" >&2; exit 2; }

# The tool prints absolute file names, so the cases always run in the same folder.
WORK="${VORNA_COMPARE_WORK:-/tmp/vorna-cli-compare}"
rm -rf "$WORK"
mkdir -p "$WORK"
trap 'rm -rf "$WORK"' EXIT
OUT="$WORK/out"
mkdir -p "$OUT"

mkdir -p "$WORK/files"
cp "$ROOT/examples/fe55.mca" "$WORK/files/fe55.mca"
cp -r "$ROOT/tests/data/dpp" "$WORK/dpp"
cd "$WORK"
FE55="files/fe55.mca"
DPP="dpp"

# Runs one case: NAME then the arguments. Files the case writes go under $WORK/files.
run() {
    local name="$1"
    shift
    local status=0
    "$CLI" "$@" >"$OUT/$name.out" 2>"$OUT/$name.err" || status=$?
    echo "$status" >"$OUT/$name.status"
}

# Stores a file a case wrote, under the case's name.
keep() {
    local name="$1" file="$2"
    if [[ -f "$file" ]]; then cp "$file" "$OUT/$name.file"; else echo missing >"$OUT/$name.file"; fi
}

F="files"

# Derived inputs made by the tool itself: a smoothed copy and a copy saved as a DPP file spectrum.
run make-sm5 smooth "$FE55" --kind 5 --out "$F/sm5.mca"
run make-dpp convert "$FE55" "$F/dpp.mca" --device-type 1
keep make-sm5 "$F/sm5.mca"
keep make-dpp "$F/dpp.mca"
SPECTRA=("$FE55" "$F/sm5.mca" "$F/dpp.mca")

i=0
for s in "${SPECTRA[@]}"; do
    i=$((i + 1))
    run "info-$i" info "$s"
    run "info-data-$i" info "$s" --data
    run "copy-data-$i" copy-data "$s"
    run "copy-data-raw-$i" copy-data "$s" --calibrate-enable 0
    run "stats-$i" stats "$s"
    for fm in 0 1 2 3 4; do
        for cm in 0 1 2; do
            run "stats-$i-f$fm-c$cm" stats "$s" --fwhm-method "$fm" --centroid-method "$cm"
        done
    done
    run "stats-$i-sm5-bg3" stats "$s" --fwhm-method 1 --fwhm-smooths 1 --background-channels 3
    run "stats-$i-rois" stats "$s" --roi 500:700 --roi 100:120 --roi 580:600 --good-peak-level 10
    run "stats-$i-badroi" stats "$s" --roi 0:3 --roi 1000:1023
    run "peaks-$i" peaks "$s"
    run "peaks-$i-narrow" peaks "$s" --width 3 --sensitivity 2.5
    run "peaks-$i-range" peaks "$s" --first 500 --last 700 --width 8 --sensitivity 10
    run "peaks-$i-gauss" peaks "$s" --fwhm-method 3 --centroid-method 2 --equation 0
    run "convert-$i" convert "$s" "$F/conv-$i.mca"
    keep "convert-$i" "$F/conv-$i.mca"
    run "convert-dpp-$i" convert "$s" "$F/convdpp-$i.mca" --device-type 4
    keep "convert-dpp-$i" "$F/convdpp-$i.mca"
done

run expr-sub expr 'A-B' "$FE55" "$F/sm5.mca"
run expr-mul expr '(A-B)*2' "$FE55" "$F/sm5.mca" --gain 2
run expr-div expr 'A/B' "$FE55" "$F/sm5.mca"
run expr-sm expr 'SM5(A)+SM3(B)' "$FE55" "$F/sm5.mca"
run expr-three expr 'A+B-C*0.5' "$FE55" "$F/sm5.mca" "$F/dpp.mca" --gain 3
run expr-same-tag expr 'A+B' "$FE55" "$FE55"
run expr-out expr 'A*3' "$FE55" --out "$F/expr.mca"
keep expr-out "$F/expr.mca"
run expr-invalid expr 'A+' "$FE55"
run expr-empty expr '' "$FE55"
run missing-file info "$F/does-not-exist.mca"

for cfg in "$DPP"/*.cfg; do
    base="$(basename "$cfg" .cfg)"
    for t in 1 2 3 4; do
        run "dpp-strings-$base-$t" dpp-strings "$cfg" --device-type "$t"
        run "dpp-text-$base-$t" dpp-text "$cfg" --device-type "$t"
        run "dpp-image-$base-$t" dpp-image "$cfg" --device-type "$t" --clock80
    done
done

if [[ "$MODE" == record ]]; then
    rm -rf "$DIR"
    mkdir -p "$DIR"
    cp -r "$OUT/." "$DIR/"
    echo "recorded $(ls "$DIR" | wc -l) files in $DIR"
else
    if diff -r "$DIR" "$OUT" >"$WORK/diff.txt"; then
        echo "identical: $(ls "$OUT" | wc -l) files"
    else
        head -50 "$WORK/diff.txt"
        echo "DIFFERENT from $DIR" >&2
        exit 1
    fi
fi
