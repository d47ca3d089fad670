#!/usr/bin/env bash
# Installs the Debian packages that building and testing TRAVENO needs,
# only those that are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  ccache qt6-base-dev libgl-dev qt6-translations-l10n
  libsqlite3-dev libsodium-dev libxlsxwriter-dev
  libcli11-dev nlohmann-json3-dev libfmt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  pxlib-dev
  libpq-dev postgresql
  python3-dbfread
  fonts-dejavu-core poppler-utils
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Se instaleaza: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
