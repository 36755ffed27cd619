#!/usr/bin/env bash
# Core folders stay free of Qt: they are linked by tests, tools, benchmarks and fuzzers without it.
# A core folder's ui/ subfolder holds its Qt widgets.
set -euo pipefail
ROOT="$1"
status=0
for dir in common spectrum analysis settings dpp kestrel external display pekto; do
    [[ -d "$ROOT/src/$dir" ]] || continue
    if hits=$(grep -rnE '#include\s*[<"]Q[A-Za-z]+' --exclude-dir=ui "$ROOT/src/$dir" --include='*.h' --include='*.cpp' --include='*.y' 2>/dev/null); then
        echo "Qt header in core folder src/$dir:"
        echo "$hits"
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "layering clean"
exit $status
