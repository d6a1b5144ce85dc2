// Hand evaluation: the class of a five-card hand sorted by rank.
#pragma once

#include <cstdint>

struct Liste;

// Hand classes in ascending value; the code also indexes the pay table and
// the bottom banner.
enum Combinaison : int32_t {
    Rien = 0,
    Paire,
    DoublePaire,
    Brelan,
    Suite,
    Couleur,
    FullHouse,
    Carre,
    QuinteFlush,
    QuinteFlushRoyal,
};

constexpr int32_t NB_COMBINAISONS = 10;

// Reads the first five cards from the head; they must be ascending by rank.
int32_t analyseCarte(const Liste* mainJoueur);
