#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# with one apt-get call and only when something is missing.
set -euo pipefail

paquets=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev libsdl-ttf2.0-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libpng-dev zlib1g-dev
  libfreetype-dev fonts-liberation fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-xkb-utils
  dpkg-dev file lintian appstream desktop-file-utils
)

manquants=()
for p in "${paquets[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    manquants+=("$p")
  fi
done
[ ${#manquants[@]} -eq 0 ] && exit 0

echo "Installing: ${manquants[*]}"
sudo_=""
[ "$(id -u)" -ne 0 ] && sudo_="sudo"
$sudo_ apt-get update
DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y --no-install-recommends "${manquants[@]}"
