#!/usr/bin/env bash
# Installs what is missing, builds, and starts VORNA against the simulated KestrelA unless
# VORNA_SIMULATE is already set (set it empty for a real device). Without a simulated Kestrel the
# example spectrum is opened; a file named on the command line is opened in either case.
source "$(dirname "$0")/scripts/common.sh"
export VORNA_SIMULATE="${VORNA_SIMULATE-kestrela}"
ensure_packages
configure_and_build
if [[ $# -gt 0 ]]; then
    exec "$BUILD_DIR/src/app/vorna" "$@"
fi
# With a simulated Kestrel the live spectrum stays the active one, so F2 and F3 show it growing.
if [[ "$VORNA_SIMULATE" == *kestrel* ]]; then
    exec "$BUILD_DIR/src/app/vorna"
fi
exec "$BUILD_DIR/src/app/vorna" "$ROOT/examples/fe55.mca"
