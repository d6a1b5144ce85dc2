// The statistics: the screen's full draw with a record of 10^9 hands, on
// SDL's dummy display with the real pictures and font, and what a paid hand
// costs the record: the dealt hand rebuilt and valued by the advisor, the
// sums and the curve, the text of the file; the write itself apart.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>

#include "analyseConseil.h"
#include "bilan.h"
#include "fichiers.h"
#include "gestionCarte.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "suiviBilan.h"

namespace {

const TablesConseil& tables()
{
    static const TablesConseil t = [] { TablesConseil t; initTablesConseil(&t); return t; }();
    return t;
}

const RetourConseil& retour()
{
    static const RetourConseil r = [] { RetourConseil r; analyseRetour(&tables(), &r); return r; }();
    return r;
}

// A billion hands at a stake of 10, played a little worse than best, with
// the exact shares of the classes, and a game of 200 hands on the curve.
Bilan milliardDeMains()
{
    Bilan b;
    initBilan(&b);
    const RetourConseil& r = retour();
    b.mains = 1000000000;
    for (int32_t c = 1; c < NB_COMBINAISONS; ++c) {
        b.combinaisons[c] = static_cast<int64_t>(static_cast<Grand>(r.distribution[c]) * b.mains / r.denominateur);
    }
    b.combinaisons[Rien] = b.mains - std::accumulate(b.combinaisons.begin() + 1, b.combinaisons.end(), int64_t{0});
    b.misees = 10 * b.mains;
    for (int32_t c = 0; c < NB_COMBINAISONS; ++c) b.payees += 10 * multiplicateurs[c] * b.combinaisons[c];
    b.attenduMeilleur = {11902020266, 1234567};
    b.attenduJoue = {11402020266, 7654321};
    b.meilleursChoix = 812345678;
    b.parties = 12345678, b.partiesPerdues = 12345000;
    b.gainMax = 10500, b.creditMax = 987654, b.serie = -3, b.serieGagnante = 31, b.seriePerdante = 27;
    std::mt19937 hasard(20261206);
    b.mainsPartie = 5000, b.nbPoints = NB_POINTS_COURBE, b.creditDepart = 4000;
    b.attenduDepart = 4000 * UNITE_CONSEIL;
    for (int32_t i = 0; i < NB_POINTS_COURBE; ++i) {
        b.credits[i] = (i > 0 ? b.credits[i - 1] : b.creditDepart) + static_cast<int32_t>(hasard() % 61) - 28;
        b.attendus[i] = (i > 0 ? b.attendus[i - 1] : b.attenduDepart) + UNITE_CONSEIL * 2;
    }
    return b;
}

void affichage(benchmark::State& state)
{
    SDL_Surface* ecran = SDL_GetVideoSurface();
    const Bilan b = milliardDeMains();
    EtatSurface e;
    initEtatSurface(&e);
    const EtatBilan etatBilan{};
    for (auto _ : state) {
        affichageMenuBilan(ecran, &e, &etatBilan, &b, &retour());
    }
}

// A hand dealt and drawn with two cards exchanged, on a record already long.
struct MainPayee {
    Carte cartes[NB_CARTES];
    Liste sabot{}, mainJoueur{}, defausse{};
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etat{};
    int32_t combinaison = Rien;
    MainPayee()
    {
        std::srand(20261206);
        for (int32_t i = 0; i < NB_CARTES; ++i) {
            initCarte(&cartes[i], i / 4 + 2, i % 4, i + 1);
            addListeRandom(&defausse, &cartes[i]);
        }
        attributionIndice(&defausse);
        initStatistiques(statistiques);
        gestionMise(statistiques, 10);
        melangeSabot(&sabot, &defausse, &mainJoueur);
        premierTirage(&sabot, &mainJoueur, &etat);
        etat.garder[1] = etat.garder[3] = 1;
        secondTirage(&sabot, &mainJoueur, &defausse, &etat);
        combinaison = analyseCarte(&mainJoueur);
        gestionGain(statistiques, combinaison);
        gestionFinMain(statistiques, combinaison);
    }
};

void miseAJour(benchmark::State& state)
{
    const MainPayee p;
    Bilan b = milliardDeMains();
    for (auto _ : state) {
        MainJouee main;
        mainJouee(&tables(), p.statistiques, &p.etat, &p.defausse, p.combinaison, &main);
        main.mainsPartie = b.mainsPartie + 1;
        ajouteMain(&b, &main);
        benchmark::DoNotOptimize(texteBilan(&b));
    }
}

// The write that follows: temporary file, fsync, rename, fsync of the directory.
void ecriture(benchmark::State& state)
{
    char modele[] = "/tmp/velmora_bench_XXXXXX";
    const std::string dossier = mkdtemp(modele);
    const FichierBilan f{dossier + "/statistiques", milliardDeMains()};
    for (auto _ : state) {
        enregistreBilan(&f);
    }
    std::remove(f.chemin.c_str());
    std::remove(dossier.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (chdir(VELMORA_DONNEES) != 0 || access("image/backgroundBilan.bmp", R_OK) != 0 ||
        access("arial.ttf", R_OK) != 0) {
        std::fprintf(stderr, "bench_bilan: no game data in %s\n", VELMORA_DONNEES);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF) == nullptr) {
        std::fprintf(stderr, "bench_bilan: %s\n", SDL_GetError());
        return 1;
    }
    retour();  // the advisor's tables and return, outside the timings
    benchmark::RegisterBenchmark("bilan/affichageMenuBilan", affichage)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bilan/mise_a_jour", miseAJour)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bilan/ecriture", ecriture)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
