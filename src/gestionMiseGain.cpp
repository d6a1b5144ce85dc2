#include "gestionMiseGain.h"

#include <algorithm>
#include <limits>

#include "analyseCarte.h"

namespace {

// Counters are signed 32-bit: a sum that would leave that range stops at its
// edge instead of wrapping (and signed overflow would be undefined).
int32_t somme(int32_t a, int64_t b)
{
    constexpr int64_t bas = std::numeric_limits<int32_t>::min();
    constexpr int64_t haut = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(static_cast<int64_t>(a) + b, bas, haut));
}

}  // namespace

void initStatistiques(Statistique* statistiques)
{
    statistiques[credit].valeur = CREDIT_INITIAL;
    for (int32_t i = mise; i < NB_STATISTIQUES; ++i) {
        statistiques[i].valeur = 0;
    }
}

void gestionMise(Statistique* statistiques, int32_t montant)
{
    const int32_t misee = statistiques[credit].valeur < montant ? statistiques[credit].valeur : montant;
    statistiques[mise].valeur = somme(statistiques[mise].valeur, misee);
    statistiques[credit].valeur -= misee;
}

void gestionAllin(Statistique* statistiques)
{
    statistiques[mise].valeur = somme(statistiques[mise].valeur, statistiques[credit].valeur);
    statistiques[credit].valeur = 0;
}

void gestionReset(Statistique* statistiques)
{
    statistiques[credit].valeur = somme(statistiques[credit].valeur, statistiques[mise].valeur);
    statistiques[mise].valeur = 0;
}

void gestionGain(Statistique* statistiques, int32_t combinaison)
{
    if (combinaison < 0 || combinaison >= static_cast<int32_t>(multiplicateurs.size())) {
        return;
    }
    const int64_t paiement = static_cast<int64_t>(multiplicateurs[combinaison]) * statistiques[mise].valeur;
    statistiques[credit].valeur = somme(statistiques[credit].valeur, paiement);
    statistiques[gain].valeur = somme(statistiques[gain].valeur, paiement);
}

void gestionFinMain(Statistique* statistiques, int32_t combinaison)
{
    const int32_t paiement = statistiques[gain].valeur;
    if (combinaison != Rien && combinaison != Paire) {
        statistiques[gainTotal].valeur = somme(statistiques[gainTotal].valeur, paiement);
        statistiques[gainMax].valeur = std::max(statistiques[gainMax].valeur, paiement);
    }
    const int32_t compteur = combinaison == Rien ? nbPerdu : nbGagne;
    statistiques[compteur].valeur = somme(statistiques[compteur].valeur, 1);
}
