#!/usr/bin/env bash
# Installs what is missing, builds, and starts VORNA with the example spectrum open.
source "$(dirname "$0")/scripts/common.sh"
ensure_packages
configure_and_build
if [[ $# -gt 0 ]]; then
    exec "$BUILD_DIR/src/app/vorna" "$@"
fi
exec "$BUILD_DIR/src/app/vorna" "$ROOT/examples/fe55.mca"
