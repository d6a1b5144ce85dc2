// The statistics in the game loop: the record brought up to date when a hand
// is paid, whether or not the coach is shown, and the statistics screen's
// wait. The loop calls one function at each of these two moments.
#pragma once

#include <cstdint>

#include "analyseConseil.h"
#include "bilan.h"

struct SDL_Surface;
struct TableDeJeu;
struct Oreille;
struct Statistique;
struct EtatSurface;
struct Liste;

struct SuiviBilan {
    FichierBilan fichier;
    bool lu;               // the file has been read in this run
    RetourConseil retour;  // the exact shares under the best play, once computed
    bool retourCalcule;
};

// The hand just paid, as the record takes it: the stake, the payout and the
// class from the counters; the values of the hold played and of the best hold
// from the advisor. The dealt hand is the final one with each exchanged card
// put back in its slot: the exchanged cards are those of the discard pile,
// which the deal leaves empty (the slot each came from does not change any
// value). False when the hand cannot be rebuilt.
bool mainJouee(const TablesConseil* tables, const Statistique* statistiques, const EtatSurface* etatSurface,
               const Liste* defausse, int32_t combinaison, MainJouee* main);

// A hand has just been paid: it goes into the record, which is written.
// Without complements, nothing is recorded.
void noteMainBilan(const TableDeJeu* table, int32_t combinaison);

// When etat names the statistics screen: the screen until Back or a quit.
// Clear, once the player confirms, empties the record and writes it. Its
// buttons click, through the ear when there is one.
void ecranStatistiques(SDL_Surface* ecran, const TableDeJeu* table, int32_t* etat, int32_t* continuer,
                       const Oreille* oreille = nullptr);
