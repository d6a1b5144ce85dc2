#include "analyseCarte.h"

#include <array>

#include "gestionCarte.h"

namespace {

using Rangs = std::array<int32_t, 5>;

bool estSuite(const Rangs& r)
{
    const bool ordinaire = r[1] == r[0] + 1 && r[2] == r[1] + 1 && r[3] == r[2] + 1 && r[4] == r[3] + 1;
    // The five-high straight: the ace, always last once sorted, plays low.
    const bool basse = r[0] == 2 && r[1] == 3 && r[2] == 4 && r[3] == 5 && r[4] == 14;
    return ordinaire || basse;
}

bool estCouleur(const Rangs& s) { return s[0] == s[1] && s[0] == s[2] && s[0] == s[3] && s[0] == s[4]; }

int32_t analyseSuite(const Rangs& r, const Rangs& s)
{
    if (!estCouleur(s)) {
        return Suite;
    }
    const bool royale = r[0] == 10 && r[4] == 14;
    return royale ? QuinteFlushRoyal : QuinteFlush;
}

int32_t analyseBrelan(const Rangs& r)
{
    const bool paireDessous = r[0] == r[1] && r[2] == r[3] && r[3] == r[4];
    const bool paireDessus = r[3] == r[4] && r[0] == r[1] && r[1] == r[2];
    return paireDessous || paireDessus ? FullHouse : Brelan;
}

}  // namespace

int32_t analyseCarte(const Liste* mainJoueur)
{
    Rangs r{};
    Rangs s{};
    const Carte* carte = mainJoueur->tete;
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        r[i] = carte->valeur;
        s[i] = carte->couleur;
        carte = carte->suivant;
    }

    if (estSuite(r)) {
        return analyseSuite(r, s);
    }
    if ((r[0] == r[1] && r[1] == r[2] && r[2] == r[3]) || (r[1] == r[2] && r[2] == r[3] && r[3] == r[4])) {
        return Carre;
    }
    if ((r[0] == r[1] && r[1] == r[2]) || (r[1] == r[2] && r[2] == r[3]) || (r[2] == r[3] && r[3] == r[4])) {
        return analyseBrelan(r);
    }
    if (estCouleur(s)) {
        return Couleur;
    }
    if ((r[0] == r[1] && r[2] == r[3]) || (r[0] == r[1] && r[3] == r[4]) || (r[1] == r[2] && r[3] == r[4])) {
        return DoublePaire;
    }
    if (r[0] == r[1] || r[1] == r[2] || r[2] == r[3] || r[3] == r[4]) {
        return Paire;
    }
    return Rien;
}
