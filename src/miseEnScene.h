// The hand screens as the settings show them: the first hand dealt card by
// card, the exchanged cards turned over at the draw, and the pay table's row
// of the final hand's combination lit for as long as that hand is shown.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct EtatSurface;
struct Statistique;
struct Conseil;
struct Complements;

// How a hand screen opens.
constexpr int32_t ENTREE_FIXE = 0;    // at once (a hand resumed)
constexpr int32_t ENTREE_DONNE = 1;   // five cards just dealt
constexpr int32_t ENTREE_TIRAGE = 2;  // the marked slots just drawn, the first hand still on the screen

// The screen's full draw on entry. With animations, the deal draws the screen
// with empty slots and deals the cards into them; the draw turns the exchanged
// slots of the first hand, then draws the final hand whole with its row lit.
// Without complements, or with animations=aucune, affichageMenuHand alone.
void ouvreEcranMain(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, const Conseil* conseil,
                    const Complements* complements, int32_t entree);

// refreshMenuHand, with the row lit.
void refreshEcranMain(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat,
                      const Conseil* conseil, const Complements* complements);

// The pay table's row lit: the combination of a won final hand when
// animations are on; Rien otherwise.
int32_t ligneAllumee(const EtatSurface* etatSurface, const Complements* complements);
