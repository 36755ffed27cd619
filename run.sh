#!/usr/bin/env bash
# Installs what is missing, builds, and starts VORNA with the example spectrum open, against
# the simulated KestrelA unless VORNA_SIMULATE is already set (set it empty for a real device).
source "$(dirname "$0")/scripts/common.sh"
export VORNA_SIMULATE="${VORNA_SIMULATE-kestrela}"
ensure_packages
configure_and_build
if [[ $# -gt 0 ]]; then
    exec "$BUILD_DIR/src/app/vorna" "$@"
fi
exec "$BUILD_DIR/src/app/vorna" "$ROOT/examples/fe55.mca"
