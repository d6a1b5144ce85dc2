#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from its data directory.
set -euo pipefail
cd "$(dirname "$0")"
./outils/installe.sh
./outils/construit.sh
cd build/donnees
exec ../velmora "$@"
