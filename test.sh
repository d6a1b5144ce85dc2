#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./outils/installe.sh
./outils/construit.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
