#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with ctest.
#   ./test.sh [ctest args]   the whole suite (ctest arguments pass through, e.g. -R kestrel)
#   ./test.sh --tsan         the threaded tests (upload, command and update workers, the Kestrel
#                            stack, repeated series) built
#                            with ThreadSanitizer in build-tsan/
source "$(dirname "$0")/scripts/common.sh"
ensure_packages
ensure_comma_locale
if [[ "${1:-}" == "--tsan" ]]; then
    shift
    export VORNA_BUILD_DIR="${VORNA_BUILD_DIR_TSAN:-$ROOT/build-tsan}"
    BUILD_DIR="$VORNA_BUILD_DIR"
    THREADED="vorna_kestrel_acq_tests|vorna_appcore_tests"
    configure_only -DVORNA_SANITIZE=thread -DVORNA_BUILD_BENCH=OFF -DVORNA_BUILD_PEKTO_DLL=OFF
    cmake --build "$BUILD_DIR" -j "$(nproc)" --target $(tr '|' ' ' <<<"$THREADED")
    cd "$BUILD_DIR"
    # Qt's own threads are not built for TSan; their reports are not ours (see the suppressions).
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$ROOT/tests/tsan.supp"
    ctest --output-on-failure -R "^($THREADED)\$" "$@"
    exit
fi
configure_and_build
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
