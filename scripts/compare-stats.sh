#!/usr/bin/env bash
# Runs `vorna-cli stats` on many generated ROIs with two builds and lists the ROIs whose output
# differs, so that a change to an exact routine (statistics, the Gaussian fit) can show which
# results it moves and that it moves nothing else.
#
#   scripts/compare-stats.sh [--rois N] [--seed S] [--keep DIR] A B
#
# A and B are each a vorna-cli binary (a path to an executable file) or a git commit of this
# repository; a commit is checked out into a scratch worktree and its vorna-cli is built there
# with the build type test.sh uses (ccache makes the second run cheap).
#
# The spectra (.mca, 512 to 2048 channels) are generated from the seed (default 1) in a scratch
# folder: Gaussian peaks of varied height and width over flat, sloped, empty and very high
# backgrounds with counting noise, plus small bumps on levels near 1e8 to 1e9 counts. Each ROI
# (default 12000) lies around a peak or anywhere, and gets its own background channels, good peak
# level and FWHM, smoothing and centroid methods. Every ROI is one `vorna-cli stats FILE --roi
# START:END ...` run; stdout, stderr and the exit status must be equal byte for byte.
#
# Output: one line per differing ROI (case number, file, ROI, options, then the JSON members that
# differ as A -> B), then the counts. Each differing ROI is run again with the Gaussian and the
# normal centroid method, which shows where each build's fit ended: a fit centroid outside the
# fit window (START + background .. END - background) marks a wandered fit; a build that used
# fit values but kept the moment centroid had its fit end at a centroid at or below 0 (or the
# other build refused a fit that one took, as a guard does).
# Exit status: 0 all equal, 1 some differ, 2 bad command line or a build failed.
# --keep DIR keeps the generated spectra and the case list in DIR.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ROIS=12000
SEED=1
KEEP=""
ARGS=()
while (($#)); do
    case "$1" in
    --rois) ROIS="$2"; shift 2 ;;
    --seed) SEED="$2"; shift 2 ;;
    --keep) KEEP="$2"; shift 2 ;;
    -h | --help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) ARGS+=("$1"); shift ;;
    esac
done
if ((${#ARGS[@]} != 2)); then
    echo "usage: $0 [--rois N] [--seed S] [--keep DIR] A B (binaries or commits)" >&2
    exit 2
fi
PYTHON="${PYTHON:-/usr/bin/python3}"
[[ -x "$PYTHON" ]] || PYTHON="$(command -v python3)" || { echo "python3 is missing (scripts/packages.txt)" >&2; exit 2; }

WORK="$(mktemp -d /tmp/vorna-compare-stats.XXXXXX)"
# The scratch worktrees are found by name: resolve runs in a subshell.
cleanup() {
    local t
    for t in "$WORK"/tree-*; do
        [[ -d "$t" ]] && git -C "$ROOT" worktree remove --force "$t" >/dev/null 2>&1
    done
    rm -rf "$WORK"
    git -C "$ROOT" worktree prune >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Prints the path of a vorna-cli for $1 (a binary, or a commit built in a scratch worktree).
resolve() {
    local what="$1" n="$2"
    if [[ -f "$what" && -x "$what" ]]; then
        realpath "$what"
        return
    fi
    local commit
    if ! commit="$(git -C "$ROOT" rev-parse --verify --quiet "$what^{commit}")"; then
        echo "neither an executable nor a commit: $what" >&2
        return 2
    fi
    local tree="$WORK/tree-$n" build="$WORK/build-$n"
    git -C "$ROOT" worktree add --detach "$tree" "$commit" >/dev/null 2>&1
    echo "building vorna-cli at ${commit:0:12} ..." >&2
    (
        export CCACHE_BASEDIR="$tree" CCACHE_NOHASHDIR=1
        cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$build" --target vorna-cli >"$WORK/build-$n.log" 2>&1
    ) || { tail -20 "$WORK/build-$n.log" >&2; return 2; }
    echo "$build/src/tools/vorna-cli/vorna-cli"
}

CLI_A="$(resolve "${ARGS[0]}" a)" || exit 2
CLI_B="$(resolve "${ARGS[1]}" b)" || exit 2
[[ -x "$CLI_A" && -x "$CLI_B" ]] || { echo "no vorna-cli built" >&2; exit 2; }

DATA="${KEEP:-$WORK/data}"
mkdir -p "$DATA"
status=0
"$PYTHON" - "$CLI_A" "$CLI_B" "$DATA" "$ROIS" "$SEED" <<'PY' || status=$?
import concurrent.futures
import json
import math
import os
import random
import subprocess
import sys

cli_a, cli_b, data, total, seed = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
rng = random.Random(seed)
ROIS_PER_FILE = 24


def noisy(mu):
    # Counting noise; the normal approximation keeps it fast and deterministic.
    if mu <= 0:
        return 0
    if mu < 30:
        # Knuth's method for small means.
        limit, k, p = math.exp(-mu), 0, 1.0
        while True:
            p *= rng.random()
            if p <= limit:
                return k
            k += 1
    return max(0, int(round(mu + rng.gauss(0.0, math.sqrt(mu)))))


def make_spectrum(index):
    gain = rng.choice([1, 2, 2, 3])
    n = 256 << gain
    kind = rng.random()
    if kind < 0.08:
        level, slope = 0.0, 0.0  # empty background
    elif kind < 0.16:
        level, slope = 10 ** rng.uniform(8, 9), 0.0  # a huge level: where fits wander
    else:
        level = 10 ** rng.uniform(0, 4)
        slope = rng.uniform(-0.5, 0.5) * level / n
    mu = [max(0.0, level + slope * k) for k in range(n)]
    peaks = []
    for _ in range(rng.randint(3, 10)):
        centre = rng.uniform(10, n - 10)
        sigma = 10 ** rng.uniform(math.log10(0.4), math.log10(12))
        if level > 1e7:
            height = level * 10 ** rng.uniform(-3, -1)
        else:
            height = 10 ** rng.uniform(0.5, 6)
        peaks.append((centre, sigma))
        lo, hi = max(0, int(centre - 8 * sigma)), min(n, int(centre + 8 * sigma) + 1)
        for k in range(lo, hi):
            mu[k] += height * math.exp(-((k - centre) ** 2) / (2 * sigma * sigma))
    counts = [noisy(m) if level < 1e7 else int(round(m)) for m in mu]
    name = os.path.join(data, "s%04d.mca" % index)
    lines = ["<<LUMO SPECTRUM>>", "TAG - s%04d" % index, "DESCRIPTION - generated",
             "GAIN - %d" % gain, "THRESHOLD - 0", "LIVE_MODE - 0", "PRESET_TIME - 100",
             "LIVE_TIME - 100.000000", "REAL_TIME - 100.000000",
             "START_TIME - 12/11/2026 10:00:00", "SERIAL_NUMBER - 0"]
    if rng.random() < 0.5:
        lines += ["<<CALIBRATION>>", "LABEL - keV", "0 0", "%d %.4f" % (n - 1, rng.uniform(5, 60))]
    lines.append("<<DATA>>")
    lines += ["%d" % c for c in counts]
    lines.append("<<END>>")
    with open(name, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
    return name, n, peaks


def make_roi(n, peaks):
    if peaks and rng.random() < 0.85:
        centre, sigma = rng.choice(peaks)
        left = centre - rng.uniform(1.0, 5.0) * sigma - rng.randint(0, 4)
        right = centre + rng.uniform(1.0, 5.0) * sigma + rng.randint(0, 4)
        start, end = int(math.floor(left)), int(math.ceil(right))
    else:
        start = rng.randint(0, n - 2)
        end = start + rng.randint(1, 80)
    start = min(max(start, 0), n - 2)
    end = min(max(end, start + 1), n - 1)
    return start, end


def make_options():
    fwhm = rng.choice([0, 1, 2, 3, 3, 4])
    centroid = rng.choice([0, 1, 2, 2])
    opts = ["--background-channels", str(rng.choice([0, 1, 1, 2, 3, 4])),
            "--fwhm-method", str(fwhm), "--centroid-method", str(centroid),
            "--good-peak-level", str(rng.choice([0, 10, 100, 100, 1000]))]
    if fwhm == 1:
        opts += ["--fwhm-smooths", str(rng.randint(0, 1))]
    if rng.random() < 0.2:
        opts += ["--calibrate-enable", "0"]
    return opts


cases = []
index = 0
while len(cases) < total:
    name, n, peaks = make_spectrum(index)
    index += 1
    for _ in range(min(ROIS_PER_FILE, total - len(cases))):
        start, end = make_roi(n, peaks)
        cases.append((os.path.basename(name), ["--roi", "%d:%d" % (start, end)] + make_options()))

with open(os.path.join(data, "cases.txt"), "w") as f:
    for i, (name, opts) in enumerate(cases):
        f.write("%d %s %s\n" % (i, name, " ".join(opts)))


def run(cli, name, opts):
    p = subprocess.run([cli, "stats", name] + opts, cwd=data, capture_output=True)
    return p.returncode, p.stdout, p.stderr


def roi_json(out):
    try:
        return json.loads(out)["rois"][0]
    except (ValueError, KeyError, IndexError):
        return None


def centroid_with(cli, name, opts, method):
    probe = list(opts)
    probe[probe.index("--centroid-method") + 1] = method
    roi = roi_json(run(cli, name, probe)[1])
    return None if roi is None else roi["centroid"]


def fit_window(opts):
    start, end = (int(v) for v in opts[opts.index("--roi") + 1].split(":"))
    b = int(opts[opts.index("--background-channels") + 1])
    return start + b, end - b


def run_both(case):
    name, opts = case
    return run(cli_a, name, opts), run(cli_b, name, opts)


differ = 0
wandered = 0
below = 0
with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
    results = list(pool.map(run_both, cases, chunksize=64))
for i, ((name, opts), (ra, rb)) in enumerate(zip(cases, results)):
    if ra == rb:
        continue
    differ += 1
    ja, jb = roi_json(ra[1]), roi_json(rb[1])
    notes = []
    if ja is None or jb is None:
        notes.append("status %d -> %d" % (ra[0], rb[0]))
    else:
        for key in ja:
            if ja[key] != jb.get(key):
                notes.append("%s %s -> %s" % (key, json.dumps(ja[key]), json.dumps(jb.get(key))))
    # Where each build's fit ended: the Gaussian centroid method takes a fit centroid above 0,
    # else the moment centroid stays. A fit outside its window (in either build) wandered; a
    # build that used fit values while keeping the moment centroid had a fit at or below 0.
    r, t = fit_window(opts)
    fits = [centroid_with(cli_a, name, opts, "2"), centroid_with(cli_b, name, opts, "2")]
    moment = centroid_with(cli_a, name, opts, "0")
    shown = "fit centroid %s / %s, moment %s, window %d..%d" % (
        json.dumps(fits[0]), json.dumps(fits[1]), json.dumps(moment), r, t)
    if any(c is not None and c != moment and not (r <= c <= t) for c in fits):
        wandered += 1
        notes.append("wandered fit (%s)" % shown)
    elif fits[0] == moment or fits[1] == moment:
        below += 1
        notes.append("fit not taken as centroid in one build (%s)" % shown)
    else:
        notes.append("fit in its window (%s)" % shown)
    print("case %d %s %s: %s" % (i, name, " ".join(opts), "; ".join(notes)))

print("ROIs: %d in %d spectra; equal: %d; different: %d (wandered fits: %d; fit centroid not "
      "taken in one build: %d; fits in their window: %d)"
      % (len(cases), index, len(cases) - differ, differ, wandered, below,
         differ - wandered - below))
sys.exit(1 if differ else 0)
PY
exit "$status"
