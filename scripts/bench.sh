#!/usr/bin/env bash
# Installs what is missing, builds (RelWithDebInfo) and runs the whole-report benchmark: the demo
# back office at scales 1, 10 and 100 through SQLite and ODBC, each also in the naive mode, with
# the review and the grid. Arguments go to bench-report (e.g. --large adds scale 1000).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_project
"$BUILD/bench-report" "$@"
