#!/usr/bin/env bash
# Keeps the tree in layers: each folder includes only from the folders below it, the core stays
# free of Qt (tests, tools, benchmarks and fuzzers link it without Qt), and nothing below the
# program includes its Qt side (app/).
#   common                      at the bottom
#   spectrum                    on common
#   analysis, settings          on spectrum
#   dpp                         on common alone
#   kestrel                     on common, spectrum, analysis, settings, dpp
#   sim                         on those and kestrel (it stands behind the ports defined there)
#   display                     on common, spectrum, analysis
#   external                    on common, spectrum, analysis, settings
#   appcore                     on every core folder, still without Qt
#   output/core                 on common (the printing and capture builders)
#   <folder>/ui, dppui, output  Qt widgets of one subsystem: their core, never the program
#   platform                    Qt and system backends of the ports
#   tools                       the command-line tools (no Qt) and the window gallery
#   app                         the program: everything
set -euo pipefail
ROOT="$1"

core="common spectrum analysis settings dpp kestrel sim display external appcore"
declare -A allowed=(
    [common]="common"
    [external]="common spectrum analysis settings external"
    [spectrum]="common spectrum"
    [analysis]="common spectrum analysis"
    [settings]="common spectrum settings"
    [dpp]="common dpp"
    [kestrel]="common spectrum analysis settings dpp kestrel"
    [sim]="common spectrum analysis settings dpp kestrel sim"
    [display]="common spectrum analysis display"
    [appcore]="$core"
    [pekto]="pekto"
    [output/core]="common"
    [display/ui]="common spectrum analysis display"
    [kestrel/ui]="$core"
    [external/ui]="$core"
    [dppui]="$core dppui"
    [output]="$core output output/core"
    [platform]="common spectrum settings dpp kestrel platform"
    [tools/vorna-cli]="$core tools"
    [tools/gallery]="$core display/ui kestrel/ui external/ui dppui output output/core platform app tools"
    [app]="$core display/ui kestrel/ui external/ui dppui output output/core platform app"
)
# Folders whose code may use Qt.
qt_ok=" display/ui kestrel/ui external/ui dppui output platform tools/gallery app "

# The unit an include names: "display/ui/X.h" -> display/ui, "output/core/X.h" -> output/core,
# "kestrel/CAcq.h" -> kestrel.
unit_of() {
    local path="$1"
    local first="${path%%/*}" rest="${path#*/}"
    if [[ "$rest" == ui/* ]]; then
        echo "$first/ui"
    elif [[ "$rest" == core/* ]]; then
        echo "$first/core"
    else
        echo "$first"
    fi
}

project_dirs="$(cd "$ROOT/src" && ls -d */ | tr -d /)"
status=0
for unit in "${!allowed[@]}"; do
    dir="$ROOT/src/$unit"
    [[ -d "$dir" ]] || continue
    # A folder's ui/ and core/ subfolders are units of their own.
    prune=()
    [[ "$unit" == */ui || "$unit" == */core ]] || prune=(-not -path '*/ui/*' -not -path '*/core/*')
    files=$(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.y' \) "${prune[@]}" | sort)
    [[ -n "$files" ]] || continue
    if [[ "$qt_ok" != *" $unit "* ]]; then
        if hits=$(grep -nE '#include\s*[<"]Q[A-Za-z]+' $files); then
            echo "Qt header in core folder src/$unit:"
            echo "$hits"
            status=1
        fi
    fi
    while IFS= read -r hit; do
        [[ -n "$hit" ]] || continue
        path=$(sed -E 's/.*#include\s*"([^"]+)".*/\1/' <<<"$hit")
        top="${path%%/*}"
        grep -qxF "$top" <<<"$project_dirs" || continue
        target=$(unit_of "$path")
        [[ "$target" == tools ]] && target=tools
        ok=0
        for a in ${allowed[$unit]}; do
            if [[ "$a" == "$target" || ( "$a" == "$top" && "$target" != */ui && "$target" != */core ) ]]; then
                ok=1
                break
            fi
        done
        [[ "$target" == "$unit" ]] && ok=1
        # A subsystem's own ui folder may use that subsystem.
        [[ "$unit" == "$top/ui" && "$target" == "$top" ]] && ok=1
        if [[ $ok -eq 0 ]]; then
            echo "src/$unit may not include $path: ${hit#$ROOT/}"
            status=1
        fi
    done < <(grep -nE '#include\s*"[^/"]+/' $files || true)
done
[[ $status -eq 0 ]] && echo "layering clean"
exit $status
