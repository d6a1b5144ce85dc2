// The strategy coach: for the hand on the table, the cards that the best hold
// keeps and what the hold as marked is worth; after the draw, whether the hold
// played was the best, what it cost, and the tally of the game. Exact, from
// the hold advisor, for the game's pay table. No SDL.
#pragma once

#include <array>
#include <cstdint>

#include "analyseConseil.h"

// Values are counted in units of 1/UNITE_CONSEIL of a credit: a multiple of
// every C(47, k), so that the expected payout of any hold per credit staked
// is a whole number of units and sums of such values stay exact.
constexpr int64_t UNITE_CONSEIL = 7669695;

// The coach's tally for the current game.
struct BilanConseil {
    int32_t mainsJouees;  // holds played with the coach on
    int32_t meilleures;   // of which the best; a hold worth as much as the best counts
    int64_t cedes;        // credits given away by worse holds, in units
};

// Beyond this the tally of credits given away stops growing (it stays exact
// far beyond any credit a game can reach, and its tenths fit in 64 bits).
constexpr int64_t CEDES_MAX = INT64_MAX / 16;

constexpr int32_t CONSEIL_MUET = 0;     // nothing to show
constexpr int32_t CONSEIL_CHOIX = 1;    // first hand: the best hold and the marked one
constexpr int32_t CONSEIL_VERDICT = 2;  // final hand: the hold played against the best

struct Conseil {
    int32_t etape;      // CONSEIL_MUET, CONSEIL_CHOIX or CONSEIL_VERDICT
    int32_t meilleure;  // bit i set: the best hold keeps the card in slot i
    int32_t choix;      // the same for the hold as marked, then as played
    int32_t mise;       // the stake the values are given for
    std::array<int64_t, NB_GARDES> valeurs;  // expected payout per credit of each hold, in units
    BilanConseil bilan;
};

// What the coach prints, in UTF-8; an empty line prints nothing.
struct TextesConseil {
    char haut[160];  // final hand: the tally, above the cards
    char bas[160];    // under the hold buttons
};

// Silent, with an empty tally.
void initConseil(Conseil* conseil);
void initBilanConseil(BilanConseil* bilan);

// A hand is on the table: cartes holds its five ids in slot order, mise the
// stake. Every card is kept until the player marks it.
void gestionDonneConseil(Conseil* conseil, const TablesConseil* tables, const int32_t* cartes, int32_t mise);

// The marks as they stand (garder[i] == 1: slot i is exchanged at the draw).
void gestionChoixConseil(Conseil* conseil, const int32_t* garder);

// The marked hold is played: it goes into the tally, once per hand.
void gestionTirageConseil(Conseil* conseil);

// Whether the hold as marked is worth as much as the best one.
bool choixMeilleur(const Conseil* conseil);

// A value in units, times a stake, in tenths of a credit, rounded.
int64_t dixiemesDeCredit(int64_t unites, int64_t mise);

void textesConseil(const Conseil* conseil, TextesConseil* textes);
