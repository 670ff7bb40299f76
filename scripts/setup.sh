#!/usr/bin/env bash
# Shared set-up of ./run.sh and ./test.sh: installs the missing Debian packages,
# then configures and builds the program into build/.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-charts-dev libgl-dev
  libsqlite3-dev sqlite3 libxlsxwriter-dev
  fonts-noto-cjk
  poppler-utils unzip xdg-utils
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$top/build" -j"$(nproc)"
