#!/usr/bin/env bash
# Keeps the core in layers: each folder includes only from the folders below it, and core
# folders stay free of Qt (tests, tools, benchmarks and fuzzers link them without it).
#   common                      at the bottom
#   spectrum                    on common
#   analysis, settings          on spectrum
#   dpp                         on common alone
#   kestrel                     on common, spectrum, analysis, settings, dpp
#   sim                         on those and kestrel (it stands behind the ports defined there)
#   display                     on common, spectrum, analysis
#   appcore                     on every core folder, still without Qt
#   output/core                 on common (the printing and capture builders; output/ is Qt)
#   platform, tools, app        above them all (not checked here)
set -euo pipefail
ROOT="$1"

declare -A allowed=(
    [common]="common"
    [external]="common external"
    [spectrum]="common spectrum"
    [analysis]="common spectrum analysis"
    [settings]="common spectrum settings"
    [dpp]="common dpp"
    [kestrel]="common spectrum analysis settings dpp kestrel"
    [sim]="common spectrum analysis settings dpp kestrel sim"
    [display]="common spectrum analysis display"
    [appcore]="common external spectrum analysis settings dpp kestrel sim display appcore"
    [output/core]="common output"
    [pekto]="pekto"
)
# Every folder under src/ that an include may name; includes of anything else (system and
# third-party headers, a folder's own local headers) are not ours to order.
project_dirs="$(cd "$ROOT/src" && ls -d */ | tr -d /)"

status=0
for dir in "${!allowed[@]}"; do
    [[ -d "$ROOT/src/$dir" ]] || continue
    files=$(find "$ROOT/src/$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.y' \) -not -path '*/ui/*' | sort)
    [[ -n "$files" ]] || continue
    if hits=$(grep -nE '#include\s*[<"]Q[A-Za-z]+' $files); then
        echo "Qt header in core folder src/$dir:"
        echo "$hits"
        status=1
    fi
    while IFS= read -r hit; do
        [[ -n "$hit" ]] || continue
        target=$(sed -E 's/.*#include\s*"([^/"]+)\/.*/\1/' <<<"$hit")
        grep -qxF "$target" <<<"$project_dirs" || continue
        if [[ " ${allowed[$dir]} " != *" $target "* ]]; then
            echo "src/$dir may not include from src/$target: ${hit#$ROOT/}"
            status=1
        fi
    done < <(grep -nE '#include\s*"[^/"]+/' $files || true)
done
[[ $status -eq 0 ]] && echo "layering clean"
exit $status
