#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the normal build, once more in a
# build under AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the run).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_project
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS" --timeout 600

if [ "${TEVRA_SKIP_SANITIZERS:-0}" != "1" ]; then
  SAN="${BUILD}-sanitize"
  cmake -S "$ROOT" -B "$SAN" -DCMAKE_BUILD_TYPE=Debug -DTEVRA_SANITIZE=ON >/dev/null
  cmake --build "$SAN" -j"$JOBS"
  export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:suppressions=$ROOT/tests/sanitizers/asan.supp"
  export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$ROOT/tests/sanitizers/ubsan.supp"
  # The SQLite ODBC driver keeps what it reads for a DSN until the process ends and is unloaded
  # before the leak check, where nothing can name it; the DSN path is tested in the normal build.
  ctest --test-dir "$SAN" --output-on-failure -j"$JOBS" --timeout 900 -E 'OdbcDsn'
fi
