// The saved game: what a game is between two runs (the counters and, when a
// hand is on the table, its cards, marks and the order of the deck), to and
// from a short text with a checksum. No SDL.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "gestionCarte.h"
#include "gestionConseil.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"

struct EtatSurface;

constexpr int32_t NB_CARTES_SABOT = NB_CARTES - NB_CARTES_MAIN;

struct Partie {
    std::array<int32_t, NB_STATISTIQUES> compteurs;
    int32_t mainEnJeu;                               // 1: a dealt hand waits for its draw
    std::array<int32_t, NB_CARTES_MAIN> carte;       // card ids, in deal order
    std::array<int32_t, NB_CARTES_MAIN> garder;      // 1 = exchanged at the draw
    std::array<int32_t, NB_CARTES_SABOT> sabot;      // the deck from its head
    BilanConseil bilan;                              // the coach's tally of this game
};

// The game as it stands when the screen `ecran` is left, and so exactly the
// money the player has: from the betting screen (ETAT_MISE) a stake not yet
// dealt goes back to the credit; from the first hand (ETAT_FIRSTHAND) the
// stake stays with the hand on the table; once the hand is paid
// (ETAT_SECONDHAND) the payout has settled the stake, and the credit is the
// one the final hand shows. The payout itself is never kept.
void capturePartie(const Statistique* statistiques, const Liste* sabot, const EtatSurface* etatSurface,
                   int32_t ecran, Partie* partie);

// Puts a checked game back: the counters and, with a hand on the table, the
// cards of the hand, the deck in its saved order and an empty discard pile.
// The 52 cards are those of the three lists, wherever they lie.
void restaurePartie(const Partie* partie, Liste* sabot, Liste* mainJoueur, Liste* defausse,
                    Statistique* statistiques, EtatSurface* etatSurface);

std::string textePartie(const Partie* partie);

// Reads and checks a saved text; on failure *raison says what is wrong.
bool lecturePartie(std::string_view texte, Partie* partie, std::string* raison);

// Where the game is saved, and the last game read or written there.
struct Sauvegarde {
    std::string chemin;  // empty: nothing is saved
    bool reprise;        // the start screen offers to resume partie
    Partie partie;
};

constexpr std::size_t TAILLE_MAX_PARTIE = 4096;

// Finds the saved game of this player. A damaged one is set aside, and
// temporary files that a killed save left beside it are removed.
void chargeSauvegarde(Sauvegarde* sauvegarde);
// Writes the game; a failure is said on standard error and the game goes on.
void enregistrePartie(Sauvegarde* sauvegarde, const Partie* partie);
// The game is over: nothing is left to resume.
void effaceSauvegarde(Sauvegarde* sauvegarde);
