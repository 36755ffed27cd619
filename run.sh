#!/usr/bin/env bash
# Installs what is missing, builds, and runs VORNA.
source "$(dirname "$0")/scripts/common.sh"
ensure_packages
configure_and_build
# Until the window exists, the program's face is vorna-cli on the example spectrum.
exec "$BUILD_DIR/src/tools/vorna-cli/vorna-cli" info "$ROOT/examples/fe55.mca" "$@"
