#!/usr/bin/env bash
# Installs what is missing, builds, and starts VORNA against a simulated KestrelA and a simulated
# Plover unless VORNA_SIMULATE is already set (set it empty for real devices); the start dialog
# chooses between them. Without a simulated device the example spectrum is opened; a file named
# on the command line is opened in either case.
source "$(dirname "$0")/scripts/common.sh"
export VORNA_SIMULATE="${VORNA_SIMULATE-kestrela,plover}"
ensure_packages
configure_and_build
if [[ $# -gt 0 ]]; then
    exec "$BUILD_DIR/src/app/vorna" "$@"
fi
# With a simulated device the live spectrum stays the active one, so F2 and F3 show it growing.
if [[ "$VORNA_SIMULATE" =~ kestrel|heron|plover|osprey ]]; then
    exec "$BUILD_DIR/src/app/vorna"
fi
exec "$BUILD_DIR/src/app/vorna" "$ROOT/examples/fe55.mca"
