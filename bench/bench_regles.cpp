// One whole hand of rules work: shuffle, deal, exchange of all five cards,
// classification and payout. No SDL.
#include <benchmark/benchmark.h>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionMiseGain.h"
#include "fichiers.h"
#include "interfaceGraphique.h"
#include "sauvegarde.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void uneMain(benchmark::State& state)
{
    Carte cartes[NB_CARTES];
    Liste sabot{}, mainJoueur{}, defausse{};
    for (int32_t i = 0; i < NB_CARTES; ++i) {
        initCarte(&cartes[i], i / 4 + 2, i % 4, i + 1);
        addListeRandom(&defausse, &cartes[i]);
    }
    std::srand(20261206);
    attributionIndice(&defausse);
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int64_t gagnees = 0;
    for (auto _ : state) {
        initStatistiques(statistiques);
        statistiques[mise].valeur = 10;
        melangeSabot(&sabot, &defausse, &mainJoueur);
        premierTirage(&sabot, &mainJoueur, &etatSurface);
        for (int32_t& marque : etatSurface.garder) {
            marque = 1;
        }
        secondTirage(&sabot, &mainJoueur, &defausse, &etatSurface);
        const int32_t combinaison = analyseCarte(&mainJoueur);
        gestionGain(statistiques, combinaison);
        gagnees += combinaison != Rien;
        benchmark::DoNotOptimize(statistiques[credit].valeur);
    }
    state.counters["gagnees"] = benchmark::Counter(static_cast<double>(gagnees), benchmark::Counter::kAvgIterations);
}
BENCHMARK(uneMain)->Name("regles/une_main")->Unit(benchmark::kMicrosecond);

// A saved game with a hand on the table, in a directory of its own.
struct PartieEcrite {
    std::string dossier;
    std::string chemin;
    Partie partie{};
    PartieEcrite()
    {
        char modele[] = "/tmp/velmora_bench_XXXXXX";
        dossier = mkdtemp(modele);
        chemin = dossier + "/partie";
        partie.compteurs = {38, 12, 0, 4, 9, 60, 75};
        partie.mainEnJeu = 1;
        partie.carte = {1, 2, 3, 4, 5};
        for (int32_t i = 0; i < NB_CARTES_SABOT; ++i) {
            partie.sabot[i] = i + 6;
        }
    }
    ~PartieEcrite()
    {
        std::remove(chemin.c_str());
        std::remove(dossier.c_str());
    }
};

// The save made at each deal and score: text, temporary file, fsync, rename.
void ecritureSauvegarde(benchmark::State& state)
{
    PartieEcrite p;
    std::string erreur;
    for (auto _ : state) {
        if (!ecritFichier(p.chemin, textePartie(&p.partie), &erreur)) {
            state.SkipWithError(erreur.c_str());
        }
    }
}
BENCHMARK(ecritureSauvegarde)->Name("sauvegarde/ecriture")->Unit(benchmark::kMicrosecond);

// What start-up adds when a saved game is there: the bounded read and the checks.
void lectureSauvegarde(benchmark::State& state)
{
    PartieEcrite p;
    std::string erreur;
    ecritFichier(p.chemin, textePartie(&p.partie), &erreur);
    for (auto _ : state) {
        std::string texte;
        Partie lue{};
        litFichier(p.chemin, TAILLE_MAX_PARTIE, &texte, &erreur);
        benchmark::DoNotOptimize(lecturePartie(texte, &lue, &erreur));
    }
}
BENCHMARK(lectureSauvegarde)->Name("sauvegarde/lecture")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
