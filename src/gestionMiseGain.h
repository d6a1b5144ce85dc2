// Bets and payouts: the seven counters, the chips, the pay table and the
// end-of-hand statistics.
#pragma once

#include <array>
#include <cstdint>

struct Statistique {
    int32_t valeur;
    char texte[20];  // decimal text of valeur, written when the counter is drawn
};

// Fixed indices of the counters in the statistiques block; also their drawing order.
enum IndiceStatistique : int32_t {
    credit = 0,
    mise,
    gain,
    nbGagne,
    nbPerdu,
    gainMax,
    gainTotal,
};

constexpr int32_t NB_STATISTIQUES = 7;
constexpr int32_t CREDIT_INITIAL = 50;

// Payout multiplier of each combination code; the stake is included.
constexpr std::array<int32_t, 10> multiplicateurs = {0, 1, 2, 3, 4, 5, 6, 9, 11, 21};

// Amounts of the eight value chips, in the order of their jeton flags.
constexpr std::array<int32_t, 8> valeursJetons = {1, 2, 5, 10, 20, 50, 100, 200};

void initStatistiques(Statistique* statistiques);
void gestionMise(Statistique* statistiques, int32_t montant);
void gestionGain(Statistique* statistiques, int32_t combinaison);
// The Allin chip: the whole credit onto the bet.
void gestionAllin(Statistique* statistiques);
// The Reset chip: the whole bet back to the credit.
void gestionReset(Statistique* statistiques);
// Hands won and lost, best and total payout, once the hand is paid.
void gestionFinMain(Statistique* statistiques, int32_t combinaison);
