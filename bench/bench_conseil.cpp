// The exact analysis: the whole game (tables and every deal's best hold) and
// the 32 holds of one hand once the tables are built.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>

#include "analyseConseil.h"
#include "gestionConseil.h"

namespace {

void analyseComplete(benchmark::State& state)
{
    for (auto _ : state) {
        TablesConseil tables;
        initTablesConseil(&tables);
        RetourConseil retour;
        analyseRetour(&tables, &retour);
        benchmark::DoNotOptimize(retour.gainMeilleur);
    }
}
BENCHMARK(analyseComplete)->Unit(benchmark::kMillisecond);

void construitTables(benchmark::State& state)
{
    for (auto _ : state) {
        TablesConseil tables;
        initTablesConseil(&tables);
        benchmark::DoNotOptimize(tables.decompte[0][0][Rien]);
    }
}
BENCHMARK(construitTables)->Unit(benchmark::kMillisecond);

void retourSurTables(benchmark::State& state)
{
    TablesConseil tables;
    initTablesConseil(&tables);
    for (auto _ : state) {
        RetourConseil retour;
        analyseRetour(&tables, &retour);
        benchmark::DoNotOptimize(retour.gainMeilleur);
    }
}
BENCHMARK(retourSurTables)->Unit(benchmark::kMillisecond);

// 10 of Pique, jack of Pique, queen of Coeur, 3 of Trefle, 3 of Carreau:
// a low pair, three to a royal and a straight draw in one hand.
void gardesUneMain(benchmark::State& state)
{
    TablesConseil tables;
    initTablesConseil(&tables);
    const int32_t ids[5] = {36, 40, 43, 5, 6};
    for (auto _ : state) {
        std::array<Garde, NB_GARDES> gardes;
        analyseGardes(&tables, ids, gardes.data());
        std::sort(gardes.begin(), gardes.end(), [](const Garde& a, const Garde& b) { return gardeMeilleure(&a, &b); });
        benchmark::DoNotOptimize(gardes[0].gain);
    }
}
BENCHMARK(gardesUneMain)->Unit(benchmark::kMicrosecond);

// The coach's work at each press on a hold button: the hold as marked, its
// value, and the line the player reads.
// The coach on one dealt hand, its tables built once.
struct CoachPret {
    TablesConseil tables;
    const int32_t ids[5] = {36, 40, 43, 5, 6};
    Conseil conseil;
    CoachPret()
    {
        initTablesConseil(&tables);
        initConseil(&conseil);
    }
};

void parPression(benchmark::State& state)
{
    CoachPret c;
    Conseil& conseil = c.conseil;
    gestionDonneConseil(&conseil, &c.tables, c.ids, 10);
    int32_t garder[5] = {0, 0, 0, 0, 0};
    int32_t presse = 0;
    for (auto _ : state) {
        garder[presse] ^= 1;
        presse = (presse + 1) % 5;
        gestionChoixConseil(&conseil, garder);
        TextesConseil textes;
        textesConseil(&conseil, &textes);
        benchmark::DoNotOptimize(textes.bas[0]);
    }
}
BENCHMARK(parPression)->Unit(benchmark::kMicrosecond);

// Once per deal: the 32 holds and the best one.
void parDonne(benchmark::State& state)
{
    CoachPret c;
    for (auto _ : state) {
        gestionDonneConseil(&c.conseil, &c.tables, c.ids, 10);
        benchmark::DoNotOptimize(c.conseil.meilleure);
    }
}
BENCHMARK(parDonne)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
