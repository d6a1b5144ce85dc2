#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/) and prints one table: the
# median time of each benchmark and, for the screens, its ratio to the same
# blits from pictures read once in advance. Start-up is timed on a private
# Xvfb display. Never part of the tests.
set -euo pipefail
cd "$(dirname "$0")"
./outils/installe.sh

construction=build-bench
cmake -S . -B "$construction" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$construction" --parallel 2 \
  --target bench_regles bench_ecran bench_bilan bench_demarrage premiere_image bench_conseil bench_son velmora donnees >/dev/null

resultats=$(mktemp -d)
xvfb_pid=""
nettoie() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$resultats"
}
trap nettoie EXIT

# Median over repetitions; each repetition averages as many calls as fit.
lance() {
  local nom=$1
  shift
  "$construction/bench/$nom" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.2 --benchmark_format=csv "$@" >"$resultats/$nom.csv" 2>"$resultats/$nom.err" || {
    cat "$resultats/$nom.err" >&2
    exit 1
  }
}

echo "Running the benchmarks (a few minutes)..." >&2
lance bench_regles
SDL_VIDEODRIVER=dummy lance bench_ecran
SDL_VIDEODRIVER=dummy lance bench_bilan
lance bench_son
"$construction/bench_conseil" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv >"$resultats/bench_conseil.csv" 2>"$resultats/bench_conseil.err"

# A display of our own for the real executable's window.
ecran=99
while [ -e "/tmp/.X11-unix/X$ecran" ] || [ -e "/tmp/.X$ecran-lock" ]; do
  ecran=$((ecran + 1))
done
Xvfb ":$ecran" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  DISPLAY=":$ecran" xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
env -u SDL_VIDEODRIVER DISPLAY=":$ecran" "$construction/bench/bench_demarrage" \
  --benchmark_format=csv >"$resultats/bench_demarrage.csv" 2>"$resultats/bench_demarrage.err" || {
  cat "$resultats/bench_demarrage.err" >&2
  exit 1
}

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo
awk -F, '
  # CSV rows of the medians: "name_median",iterations,real_time,cpu_time,time_unit,
  # ..., error_occurred (9th), error_message. The advisor benchmarks get a prefix.
  $1 ~ /_median"$/ || $9 == "true" {
    nom = $1
    gsub(/"/, "", nom)
    sub(/_median$/, "", nom)
    gsub(/\/(iterations|repeats|min_time):[^\/]*/, "", nom)
    sub(/\/manual_time$/, "", nom)
    if (FILENAME ~ /bench_conseil/) nom = "conseil/" nom
    if (nom in us) next
    facteur = ($5 == "ns") ? 0.001 : ($5 == "ms") ? 1000 : ($5 == "s") ? 1000000 : 1
    us[nom] = $3 * facteur
    erreur[nom] = ($9 == "true") ? $10 : ""
    ordre[++n] = nom
  }
  function duree(t) {
    return t >= 1000 ? sprintf("%.2f ms", t / 1000) : sprintf("%.1f us", t)
  }
  END {
    printf "| %-40s | %12s | %14s |\n", "Benchmark", "Median", "Ratio to bare"
    printf "|%s|%s|%s|\n", "------------------------------------------", "-------------:", "---------------:"
    for (i = 1; i <= n; ++i) {
      nom = ordre[i]
      nu = nom "/blits_nus"
      rapport = (nu in us) ? sprintf("%.1f", us[nom] / us[nu]) : (nom ~ /blits_nus$/ ? "1.0" : "-")
      if (erreur[nom] != "") { printf "| %-40s | %12s | %14s |\n", nom, "error", "-"; echec = echec " " nom ": " erreur[nom]; continue }
      printf "| %-40s | %12s | %14s |\n", nom, duree(us[nom]), rapport
      if (nom ~ /^ecran\/refresh[^\/]*$/ && us[nom] > pireRefresh) { pireRefresh = us[nom]; nomRefresh = nom }
      if (nom ~ /^ecran\/affichage[^\/]*$/ && us[nom] > pireDessin) { pireDessin = us[nom]; nomDessin = nom }
      if (nom ~ /^ecran\/animation[^\/]*$/ && us[nom] > pireImage) { pireImage = us[nom]; nomImage = nom }
      if (nom == "regles/une_main") { main = us[nom] }
      if (nom == "conseil/parPression") { pression = us[nom] }
      if (nom == "bilan/affichageMenuBilan") { bilan = us[nom] }
      if (nom == "bilan/mise_a_jour") { miseAJour = us[nom] }
      if (nom == "bilan/ecriture") { ecriture = us[nom] }
      if (nom ~ /^son\/ouverture\// && us[nom] > ouverture) { ouverture = us[nom] }
      if (nom == "son/latence/disk") { latence = us[nom] }
      if (nom == "demarrage/premiere_image") { sansSon = us[nom] }
      if (nom ~ /^demarrage\/premiere_image_son_/ && us[nom] - sansSon > surcout) { surcout = us[nom] - sansSon }
    }
    print ""
    printf "Targets: every refresh < 4 ms: %s (slowest %s, %s)\n", pireRefresh < 4000 ? "met" : "MISSED", nomRefresh, duree(pireRefresh)
    printf "         every full draw < 8 ms: %s (slowest %s, %s)\n", pireDessin < 8000 ? "met" : "MISSED", nomDessin, duree(pireDessin)
    printf "         every animation frame < 2 ms: %s (slowest %s, %s)\n", pireImage < 2000 ? "met" : "MISSED", nomImage, duree(pireImage)
    printf "         one hand of rules < 50 us: %s (%s)\n", main < 50 ? "met" : "MISSED", duree(main)
    # The coach at a press: its own work, and what it adds to the hand refresh.
    coach = pression + us["ecran/refreshMenuHand_conseil"] - us["ecran/refreshMenuHand"]
    printf "         the coach per press < 1 ms: %s (%s: %s of work, the rest drawing)\n", coach < 1000 ? "met" : "MISSED", duree(coach), duree(pression)
    printf "         the statistics screen, 10^9 hands < 5 ms: %s (%s)\n", bilan < 5000 ? "met" : "MISSED", duree(bilan)
    printf "         the statistics per paid hand < 0.1 ms: %s (%s; the write apart, %s)\n", miseAJour < 100 ? "met" : "MISSED", duree(miseAJour), duree(ecriture)
    printf "         opening the sound < 30 ms: %s (%s, dummy or disk driver); the first frame %s later with it\n", ouverture < 30000 ? "met" : "MISSED", duree(ouverture), duree(surcout)
    printf "         from playing a sound to its first sample < 25 ms: %s (%s, disk driver)\n", latence < 25000 ? "met" : "MISSED", duree(latence)
    if (echec != "") print "Failed:" echec
  }' "$resultats"/bench_regles.csv "$resultats"/bench_ecran.csv "$resultats"/bench_bilan.csv "$resultats"/bench_demarrage.csv \
  "$resultats"/bench_conseil.csv "$resultats"/bench_son.csv
