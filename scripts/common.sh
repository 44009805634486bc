# Shared by the set-up scripts: installs what is missing and builds into build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TEVRA_BUILD_DIR:-$ROOT/build}"
JOBS="${TEVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}"

PACKAGES=(build-essential cmake pkg-config git qt6-base-dev qt6-charts-dev libqt6sql6-sqlite libqt6sql6-odbc
  libgl-dev libxlsxwriter-dev libshp-dev pxlib-dev unixodbc-dev unixodbc libsqliteodbc libsqlite3-dev sqlite3
  libgtest-dev poppler-utils python3-openpyxl xvfb)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_project() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$BUILD" -j"$JOBS"
}
