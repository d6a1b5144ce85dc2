// Chips, Allin and Reset, the pay table and the end-of-hand statistics.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

#include "analyseCarte.h"
#include "gestionMiseGain.h"

namespace {

using Valeurs = std::array<int32_t, NB_STATISTIQUES>;

struct Bloc {
    Statistique s[NB_STATISTIQUES] = {};
    explicit Bloc(const Valeurs& v) { for (int i = 0; i < NB_STATISTIQUES; ++i) s[i].valeur = v[i]; }
    Valeurs valeurs() const
    {
        Valeurs v{};
        for (int i = 0; i < NB_STATISTIQUES; ++i) v[i] = s[i].valeur;
        return v;
    }
};

// A chip stakes what the credit allows; Allin stakes it all; Reset takes the stake back.
TEST(Mise, JetonsAllinEtReset)
{
    constexpr int32_t ALLIN = -1, RESET = -2;
    // Credit, stake, the chip's amount (or Allin, Reset), credit and stake after.
    const std::array<int32_t, 5> cas[] = {
        {50, 0, 10, 40, 10}, {3, 0, 5, 0, 3},       {5, 0, 5, 0, 5},        {0, 7, 200, 0, 7},
        {30, 20, ALLIN, 0, 50}, {0, 50, ALLIN, 0, 50}, {10, 40, RESET, 50, 0}, {50, 0, RESET, 50, 0},
    };
    for (auto [avant, miseAvant, jeton, apres, miseApres] : cas) {
        Bloc bloc({avant, miseAvant, 0, 0, 0, 0, 0});
        jeton == ALLIN ? gestionAllin(bloc.s) : jeton == RESET ? gestionReset(bloc.s) : gestionMise(bloc.s, jeton);
        EXPECT_EQ(bloc.s[credit].valeur, apres) << avant << " / " << jeton;
        EXPECT_EQ(bloc.s[mise].valeur, miseApres) << avant << " / " << jeton;
    }
}

TEST(Gain, TableDesPaiementsEtStatistiquesDeFinDeMain)
{
    // The combination, the stake, the counters after, from credit 100, best payout 25, total 300.
    const std::tuple<int32_t, int32_t, Valeurs> cas[] = {
        {Rien, 10, {100, 10, 0, 4, 9, 25, 300}},           {Paire, 10, {110, 10, 10, 5, 8, 25, 300}},
        {DoublePaire, 10, {120, 10, 20, 5, 8, 25, 320}},   {Brelan, 10, {130, 10, 30, 5, 8, 30, 330}},
        {Suite, 10, {140, 10, 40, 5, 8, 40, 340}},         {Couleur, 10, {150, 10, 50, 5, 8, 50, 350}},
        {FullHouse, 10, {160, 10, 60, 5, 8, 60, 360}},     {Carre, 10, {190, 10, 90, 5, 8, 90, 390}},
        {QuinteFlush, 10, {210, 10, 110, 5, 8, 110, 410}}, {QuinteFlushRoyal, 50, {1150, 50, 1050, 5, 8, 1050, 1350}},
        {DoublePaire, 12, {124, 12, 24, 5, 8, 25, 324}},  // equal to the best is not better
        {-1, 10, {100, 10, 0, 5, 8, 25, 300}}, {10, 10, {100, 10, 0, 5, 8, 25, 300}},  // no such combination: nothing paid
    };
    for (const auto& [combinaison, miseJouee, apres] : cas) {
        Bloc bloc({100, miseJouee, 0, 4, 8, 25, 300});
        gestionGain(bloc.s, combinaison);
        gestionFinMain(bloc.s, combinaison);
        EXPECT_EQ(bloc.valeurs(), apres) << "combination " << combinaison;
    }
}

TEST(Gain, LesCompteursSaturentAuLieuDeDeborder)
{
    Bloc bloc({INT_MAX - 5, 200000000, 0, INT_MAX, 0, 0, INT_MAX - 1});
    gestionGain(bloc.s, QuinteFlushRoyal);  // pays 4.2 billion
    gestionFinMain(bloc.s, QuinteFlushRoyal);
    EXPECT_EQ(bloc.valeurs(), Valeurs({INT_MAX, 200000000, INT_MAX, INT_MAX, 0, INT_MAX, INT_MAX}));

    Bloc grosseMise({INT_MAX, 0, 0, 0, 0, 0, 0});
    gestionAllin(grosseMise.s);
    gestionMise(grosseMise.s, 200);
    gestionReset(grosseMise.s);
    EXPECT_EQ(grosseMise.s[credit].valeur, INT_MAX);
}

}  // namespace
