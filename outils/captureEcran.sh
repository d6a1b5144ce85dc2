#!/usr/bin/env bash
# Plays the start of a hand in a real window on a private Xvfb display and
# saves a screenshot of the table: ./outils/captureEcran.sh docs/partie.png
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
sortie=$(realpath -m "${1:-$racine/docs/partie.png}")
ecran=:$((90 + RANDOM % 100))
Xvfb "$ecran" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $jeu $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$ecran
unset SDL_VIDEODRIVER
(cd "$racine/build/donnees" && exec ../velmora) &
jeu=$!
fenetre=$(timeout 20 xdotool search --sync --name '^Velmora$')
clic() { xdotool mousemove --window "$fenetre" "$1" "$2" click 1; sleep 0.3; }
clic 434 162            # New game
clic 329 243; clic 163 243   # chips 10 and 2
clic 461 459            # deal
clic 182 329; clic 364 329   # exchange the second and fourth cards
sleep 0.5
mkdir -p "$(dirname "$sortie")"
import -window "$fenetre" "$sortie"
xdotool key --window "$fenetre" Escape
wait $jeu
echo "$sortie"
