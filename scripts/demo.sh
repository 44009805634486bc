#!/usr/bin/env bash
# Installs what is missing, builds, creates the embedded demo back office and produces the report
# of the previous month headless. Prints where the workbook and the trace files are.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_project

mkdir -p "$BUILD/demo" "$BUILD/out"
"$BUILD/tevra-demo" --out "$BUILD/demo/backoffice.db" --seed 1 --scale 1

FROM=$(date -d "$(date +%Y-%m-01) -1 month" +%Y-%m-%d)
TO=$(date -d "$(date +%Y-%m-01) -1 day" +%Y-%m-%d)
OUT="$BUILD/out/TEVRA_$(date -d "$FROM" +%Y%m).xlsx"
echo "Report for $FROM to $TO on the demo back office (alias LB):"
set +e
"$BUILD/tevra" --batch --from "$FROM" --to "$TO" --out "$OUT" --unsectored continue
status=$?
set -e
echo "Statement trace files (_*.sql) and TEVRA.TXT are in $BUILD/"
[ $status -eq 0 ] && echo "Workbook: $OUT"
exit $status
