#!/usr/bin/env bash
# The Debian package as a player gets it: its files and dependencies, lintian,
# the AppStream and menu files, and the game unpacked into a temporary root
# and started from / on a private Xvfb display. Nothing is installed.
#   tests/test_paquet.sh build-paquet/velmora_1.0_amd64.deb
set -uo pipefail
deb=$(realpath "$1")
tmp=$(mktemp -d)
racine=$tmp/racine
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb"; rm -rf "$tmp"' EXIT
export HOME=$tmp/maison XDG_DATA_HOME=$tmp/maison/donnees XDG_CONFIG_HOME=$tmp/maison/config
reussis=0 echecs=0

verifie() {  # what, then the command that must succeed
    local quoi=$1
    shift
    if "$@"; then reussis=$((reussis + 1)); else echecs=$((echecs + 1)) && echo "FAILED: $quoi" && return 1; fi
}
contient() { grep -qxF -- "$2" <<<"$1" || { echo "missing: $2"; return 1; }; }

# Files: Debian's layout for games, and nothing outside /usr.
fichiers=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||')
for f in /usr/games/velmora /usr/games/velmora-conseil /usr/lib/games/velmora/velmora \
    /usr/share/games/velmora/arial.ttf /usr/share/games/velmora/image/icon.png \
    /usr/share/games/velmora/image/carte/asPique.bmp /usr/share/applications/velmora.desktop \
    /usr/share/metainfo/org.example.velmora.metainfo.xml /usr/share/man/man6/velmora.6.gz \
    /usr/share/man/man6/velmora-conseil.6.gz /usr/share/doc/velmora/copyright /usr/share/doc/velmora/changelog.gz; do
    verifie "file $f" contient "$fichiers" "$f"
done
verifie "152 pictures" test "$(grep -c '^/usr/share/games/velmora/image/.*\.bmp$' <<<"$fichiers")" -eq 152
verifie "13 sounds" test "$(grep -c '^/usr/share/games/velmora/son/.*\.wav$' <<<"$fichiers")" -eq 13
verifie "only under /usr" test -z "$(grep -v -e '^/usr' -e '^$' <<<"$fichiers")"
# The font is a link into fonts-liberation, which the package depends on.
lien=$(dpkg-deb -c "$deb" | awk '$6 == "./usr/share/games/velmora/arial.ttf" {print $1 " " $8}')
verifie "arial.ttf is a link" test "${lien:0:1}" = l
police=$(realpath -m "/usr/share/games/velmora/${lien#* }")
verifie "arial.ttf points into fonts-liberation" test "$(dpkg -S "$police" 2>/dev/null | cut -d: -f1)" = fonts-liberation

depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for p in fonts-liberation libc6 libstdc++6 libsdl1.2debian libsdl-ttf2.0-0 libsdl-image1.2 libsdl-mixer1.2; do
    verifie "Depends: $p" contient "$depends" "$p"
done

echo "lintian:"
verifie "lintian reports no error" lintian --fail-on error "$deb"

dpkg-deb -x "$deb" "$racine"
for taille in 32 64 128 256; do
    verifie "icon ${taille}x$taille" grep -q "PNG image data, $taille x $taille," \
        <(file "$racine/usr/share/icons/hicolor/${taille}x$taille/apps/velmora.png")
done
verifie "AppStream metadata" appstreamcli validate --no-net "$racine"/usr/share/metainfo/*.metainfo.xml
verifie "menu entry" desktop-file-validate "$racine/usr/share/applications/velmora.desktop"

# The unpacked game, started from /. The font link resolves in the temporary
# root as it would once fonts-liberation is installed beside the package.
mkdir -p "$racine/usr/share/fonts/truetype" "$HOME"
ln -s /usr/share/fonts/truetype/liberation "$racine/usr/share/fonts/truetype/liberation"
verifie "arial.ttf resolves" test -f "$racine/usr/share/games/velmora/arial.ttf"
sortie() {  # expected status, a pattern one line must match (SDL may add its own lines), the command
    local attendu=$1 ligne=$2
    shift 2
    local texte statut
    texte=$(cd / && DISPLAY= SDL_VIDEODRIVER=nosuchdriver "$@" 2>&1)
    statut=$?
    [ "$statut" -eq "$attendu" ] && grep -qx -- "$ligne" <<<"$texte" || { echo "$* -> $statut: $texte"; return 1; }
}
jeu=$racine/usr/games/velmora
conseil=$racine/usr/games/velmora-conseil
verifie "velmora --version" sortie 0 "velmora 1\.0" "$jeu" --version
verifie "velmora --help" sortie 0 "Usage : velmora \[--help | --version\]" "$jeu" --help
verifie "velmora-conseil --version" sortie 0 "velmora-conseil 1\.0" "$conseil" --version
verifie "unknown video driver" sortie 1 "Erreur d'initialisation de la SDL : .*nosuchdriver.*" "$jeu"
verifie "no display at all" sortie 1 "Erreur d'initialisation de la SDL : .*" \
    env -u SDL_VIDEODRIVER -u DISPLAY -u WAYLAND_DISPLAY "$jeu"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/affichage" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/affichage" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/affichage")
unset SDL_VIDEODRIVER
(cd / && exec "$jeu") 2>"$tmp/erreurs" &
pid=$!
fenetre=$(timeout 20 xdotool search --sync --name '^Velmora$')
verifie "the window opens" test -n "$fenetre"
# The start screen's pictures were found: far more than a few colours.
couleurs() { import -window "$fenetre" png:- 2>/dev/null | identify -format %k -; }
for _ in $(seq 20); do [ "$(couleurs)" -gt 1000 ] 2>/dev/null && break; sleep 0.5; done
verifie "the start screen is drawn" test "$(couleurs)" -gt 1000
xdotool key --window "$fenetre" Escape
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -9 "$pid" 2>/dev/null
wait "$pid"
verifie "Escape ends with status 0" test $? -eq 0 || cat "$tmp/erreurs"

echo "$reussis passed, $echecs failed"
[ "$echecs" -eq 0 ]
