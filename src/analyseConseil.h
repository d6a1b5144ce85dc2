// Exact odds of the draw: the expected payout of each of the 32 ways to hold
// a dealt hand, and the return of the game when the best hold is always
// played, with the distribution of final hands. Everything is counted in
// integers; a probability is a numerator over a stated denominator.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "analyseCarte.h"

constexpr int32_t NB_GARDES = 32;        // subsets of the five dealt cards
constexpr int32_t NB_MAINS = 2598960;    // five-card hands of a 52-card deck
constexpr int32_t NB_INCONNUES = 47;     // cards left to draw from after the deal

// Final hands by combination code.
using Decompte = std::array<uint32_t, NB_COMBINAISONS>;

// For every set of 0 to 5 of the 52 cards, how the five-card hands that
// contain it are distributed among the combinations. A card is numbered
// id - 1; a set of k cards is found at its colex rank in the table of its size.
struct TablesConseil {
    std::vector<uint8_t> combinaisonMain;           // the class of each hand, by analyseCarte
    std::array<std::vector<Decompte>, 5> decompte;  // sets of 0 to 4 cards
};

// One way to play a dealt hand, over every draw of the exchanged cards from
// the 47 unseen ones. Expected payout per credit staked = gain / nbTirages.
struct Garde {
    int32_t garde;      // bit i set: the card in deal position i is kept
    int32_t nbTirages;  // C(47, cards exchanged)
    int64_t gain;       // sum of the pay-table multipliers over those draws
    Decompte decompte;  // final hands by combination over those draws
};

// The game over all deals. Probabilities and returns are numerators over
// `denominateur` (every deal weighs the same, every draw of a deal the same).
struct RetourConseil {
    uint64_t denominateur;
    uint64_t gainMeilleur;                     // return under the best hold
    std::array<uint64_t, NB_COMBINAISONS> distribution;  // final hands under the best hold
    uint64_t gainMainServie;                   // return when the dealt hand is kept, over NB_MAINS
    Decompte mainsServies;                     // dealt hands by combination
    int32_t nbClasses;                         // deals that differ other than by a change of suits
};

// Builds the tallies, classifying every five-card hand with analyseCarte.
void initTablesConseil(TablesConseil* tables);

// The class that the tables hold for the hand of these five distinct ids (1 to 52, any order).
int32_t combinaisonConseil(const TablesConseil* tables, const int32_t* ids);

// The 32 holds of the hand dealt as ids[0..4] (distinct ids 1 to 52, in deal
// order); gardes[g] receives the hold whose mask is g.
void analyseGardes(const TablesConseil* tables, const int32_t* ids, Garde* gardes);

// Whether hold a is to be played rather than b. The higher expected payout
// wins; equal payouts go to the better chance of the higher combinations,
// then to the hold that keeps more cards, then to the lower mask. The first
// two criteria do not depend on how suits are named, so ties never change the
// distribution of final hands.
bool gardeMeilleure(const Garde* a, const Garde* b);

// The mask of the hold to play among gardes[0..31].
int32_t meilleureGarde(const Garde* gardes);

// The whole game: the best hold of every deal, one deal per class of suit
// exchange, weighted by the size of its class.
void analyseRetour(const TablesConseil* tables, RetourConseil* retour);
