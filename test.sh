#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./outils/installe.sh
./outils/construit.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
# The Debian package, built in Release, checked and started unpacked.
./paquet.sh
tests/test_paquet.sh build-paquet/velmora_*.deb
# The soak, the saved-game and the statistics files again, built with
# AddressSanitizer and UndefinedBehaviorSanitizer in their own directory
# (only what they need).
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON >/dev/null
cmake --build build-asan --parallel "$(nproc)" --target test_endurance test_sauvegarde test_bilan
ctest --test-dir build-asan -L robustesse --output-on-failure --parallel "$(nproc)"
