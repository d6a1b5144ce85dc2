// Chips, Allin and Reset, the pay table and the end-of-hand statistics.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "analyseCarte.h"
#include "gestionMiseGain.h"

namespace {

using Valeurs = std::array<int32_t, NB_STATISTIQUES>;

struct Bloc {
    Statistique s[NB_STATISTIQUES] = {};
    explicit Bloc(const Valeurs& v)
    {
        for (int i = 0; i < NB_STATISTIQUES; ++i) {
            s[i].valeur = v[i];
        }
    }
    Valeurs valeurs() const
    {
        Valeurs v{};
        for (int i = 0; i < NB_STATISTIQUES; ++i) {
            v[i] = s[i].valeur;
        }
        return v;
    }
};

TEST(Mise, JetonsAllinEtReset)
{
    struct Cas {
        int32_t credit, mise;
        int32_t jeton;  // a chip amount, or -1 Allin, -2 Reset
        int32_t creditApres, miseApres;
    };
    const Cas cas[] = {
        {50, 0, 10, 40, 10}, {3, 0, 5, 0, 3},    {5, 0, 5, 0, 5},     {0, 7, 200, 0, 7},
        {30, 20, -1, 0, 50}, {0, 50, -1, 0, 50}, {10, 40, -2, 50, 0}, {50, 0, -2, 50, 0},
    };
    for (const Cas& c : cas) {
        Bloc bloc({c.credit, c.mise, 0, 0, 0, 0, 0});
        if (c.jeton == -1) {
            gestionAllin(bloc.s);
        } else if (c.jeton == -2) {
            gestionReset(bloc.s);
        } else {
            gestionMise(bloc.s, c.jeton);
        }
        EXPECT_EQ(bloc.s[credit].valeur, c.creditApres) << c.credit << " / " << c.jeton;
        EXPECT_EQ(bloc.s[mise].valeur, c.miseApres) << c.credit << " / " << c.jeton;
    }
}

TEST(Gain, TableDesPaiementsEtStatistiquesDeFinDeMain)
{
    struct Cas {
        int32_t combinaison, mise;
        Valeurs apres;  // starting from credit 100, best payout 25, total 300
    };
    const Cas cas[] = {
        {Rien, 10, {100, 10, 0, 4, 9, 25, 300}},
        {Paire, 10, {110, 10, 10, 5, 8, 25, 300}},
        {DoublePaire, 10, {120, 10, 20, 5, 8, 25, 320}},
        {Brelan, 10, {130, 10, 30, 5, 8, 30, 330}},
        {Suite, 10, {140, 10, 40, 5, 8, 40, 340}},
        {Couleur, 10, {150, 10, 50, 5, 8, 50, 350}},
        {FullHouse, 10, {160, 10, 60, 5, 8, 60, 360}},
        {Carre, 10, {190, 10, 90, 5, 8, 90, 390}},
        {QuinteFlush, 10, {210, 10, 110, 5, 8, 110, 410}},
        {QuinteFlushRoyal, 50, {1150, 50, 1050, 5, 8, 1050, 1350}},
        {DoublePaire, 12, {124, 12, 24, 5, 8, 25, 324}},  // equal to the best is not better
        {-1, 10, {100, 10, 0, 5, 8, 25, 300}},             // no such combination: nothing paid
        {10, 10, {100, 10, 0, 5, 8, 25, 300}},
    };
    for (const Cas& c : cas) {
        Bloc bloc({100, c.mise, 0, 4, 8, 25, 300});
        gestionGain(bloc.s, c.combinaison);
        gestionFinMain(bloc.s, c.combinaison);
        EXPECT_EQ(bloc.valeurs(), c.apres) << "combination " << c.combinaison;
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
