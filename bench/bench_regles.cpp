// One whole hand of rules work: shuffle, deal, exchange of all five cards,
// classification and payout. No SDL.
#include <benchmark/benchmark.h>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"

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

}  // namespace

BENCHMARK_MAIN();
