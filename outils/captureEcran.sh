#!/usr/bin/env bash
# Plays the start of a hand in a real window on a private Xvfb display and
# saves a screenshot of the table: ./outils/captureEcran.sh docs/partie.png
# A second argument is the settings file to play with, for example
# ./outils/captureEcran.sh docs/conseil.png 'conseil=1'. A third argument,
# "statistiques", plays 60 hands instead (stake 1, a card or two exchanged now
# and then, without animations), quits, starts again and shows the statistics screen:
# ./outils/captureEcran.sh docs/statistiques.png '' statistiques. The game runs
# with a home of its own: the player's saved game and settings are left alone.
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
sortie=$(realpath -m "${1:-$racine/docs/partie.png}")
maison=$(mktemp -d)
mkdir -p "$maison/.config/velmora"
[ -n "${2:-}" ] && printf '%s\n' "$2" >"$maison/.config/velmora/options"
# Sixty hands are clicked faster than the cards' animations would let them.
[ "${3:-}" = statistiques ] && printf 'animations=aucune\nson=0\n' >>"$maison/.config/velmora/options"
ecran=:$((90 + RANDOM % 100))
Xvfb "$ecran" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $jeu $xvfb 2>/dev/null || true; rm -rf "$maison"' EXIT
sleep 1
export DISPLAY=$ecran HOME=$maison
unset SDL_VIDEODRIVER XDG_CONFIG_HOME XDG_DATA_HOME
lance() {
  (cd "$racine/build/donnees" && exec ../velmora) &
  jeu=$!
  fenetre=$(timeout 20 xdotool search --sync --name '^Velmora$')
}
lance
clic() { xdotool mousemove --window "$fenetre" "$1" "$2" click 1; sleep "${3:-0.3}"; }
if [ "${3:-}" = statistiques ]; then
  clic 434 162            # New game
  for main in $(seq 60); do
    clic 80 243 0.02; clic 461 459 0.05    # chip 1, deal
    [ $((main % 3)) = 0 ] && clic $((91 + 91 * (main % 5))) 329 0.02
    [ $((main % 4)) = 0 ] && clic $((91 + 91 * ((main + 2) % 5))) 329 0.02
    clic 461 459 0.1; clic 461 459 0.05    # draw, next hand
  done
  sleep 1
  # The game may close its window before xdotool has sent the key's release.
  xdotool key --window "$fenetre" Escape 2>/dev/null || true
  wait $jeu
  lance
  clic 434 337 1          # Statistiques
  import -window "$fenetre" "$sortie"
  xdotool key --window "$fenetre" Escape 2>/dev/null || true
  wait $jeu
  echo "$sortie"
  exit 0
fi
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
