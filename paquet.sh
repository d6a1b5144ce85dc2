#!/usr/bin/env bash
# Builds the Debian package in Release: build-paquet/velmora_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")"
./outils/installe.sh
# Debian's hardening flags, all of them, as dpkg-buildpackage would give them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-paquet -DCMAKE_BUILD_TYPE=Release -DVELMORA_DEBIAN=ON -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-paquet --parallel "$(nproc)" --target velmora velmora-conseil donnees pages
rm -f build-paquet/velmora_*.deb
(cd build-paquet && cpack >/dev/null)
ls build-paquet/velmora_*.deb
