#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with ctest.
source "$(dirname "$0")/scripts/common.sh"
ensure_packages
ensure_comma_locale
configure_and_build
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
