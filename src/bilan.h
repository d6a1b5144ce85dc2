// The player's record across games: hands, stakes and payouts, the hands by
// class, what the holds played and the best holds were worth (luck against
// skill), and the credit curve of the current game. Aggregates only, so its
// size and its cost per hand never grow with the hands played. Kept as
// "key value" lines with a checksum in $XDG_DATA_HOME/velmora/statistiques.
// No SDL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analyseCarte.h"
#include "gestionConseil.h"
#include "placesBilan.h"

struct RetourConseil;

constexpr int32_t NB_POINTS_COURBE = 200;  // the curve keeps the last 200 hands of the game

// A sum of expected payouts, exact: whole credits and a remainder in the
// coach's units (0 to UNITE_CONSEIL - 1). It reaches as far as a sum of
// credits, where a sum of units alone would stop at about 10^12 credits.
struct MontantExact {
    int64_t credits;
    int64_t unites;
};

struct Bilan {
    int64_t mains;   // hands paid since the last reset
    int64_t misees;  // credits staked on them
    int64_t payees;  // credits paid by them
    std::array<int64_t, NB_COMBINAISONS> combinaisons;  // the hands by final class
    MontantExact attenduJoue;      // sum of stake x expected payout of the hold played
    MontantExact attenduMeilleur;  // the same for the best hold
    int64_t meilleursChoix;        // hands whose hold was worth as much as the best
    int64_t parties;               // games with a hand played
    int64_t partiesPerdues;        // games that ended with the credit at 0
    int64_t gainMax;               // the largest payout of a hand
    int64_t creditMax;             // the highest credit after a hand
    int64_t serie;                 // hands won (positive) or lost (negative) in a row, up to now
    int64_t serieGagnante;         // the longest run of hands won
    int64_t seriePerdante;         // the longest run of hands lost

    // The current game's curve: the credit, and the credit had every hand
    // paid the expected payout of the hold played (in units), after each of
    // its last nbPoints hands, oldest first, and both before the first of them.
    int64_t mainsPartie;  // hands of the current game, the last one included
    int32_t nbPoints;
    int32_t creditDepart;
    int64_t attenduDepart;
    std::array<int32_t, NB_POINTS_COURBE> credits;
    std::array<int64_t, NB_POINTS_COURBE> attendus;
};

// One hand as it was paid.
struct MainJouee {
    int32_t mise;
    int32_t gain;
    int32_t combinaison;
    int32_t credit;           // after the payout
    int64_t valeurJouee;      // expected payout per credit staked of the hold played, in units
    int64_t valeurMeilleure;  // the same for the best hold
    int64_t mainsPartie;      // hands of the game, this one included (1 for a new game's first)
};

void initBilan(Bilan* bilan);

// Adds a paid hand. The first hand of a game, or a hand that does not follow
// the curve's last one, starts a new curve. A hand that would carry one of
// the sums past its limit leaves all of them as they are: nothing wraps, and
// the sums stay true to one another.
void ajouteMain(Bilan* bilan, const MainJouee* main);

// paid - expected of the holds played (luck, positive when lucky) and
// expected of the best holds - expected of the holds played (what the
// choices cost, never negative), in units.
__extension__ typedef __int128 Grand;
Grand chanceUnites(const Bilan* bilan);
Grand coutUnites(const Bilan* bilan);

std::string texteBilan(const Bilan* bilan);
// Reads and checks a text; on failure *raison says what is wrong.
bool lectureBilan(std::string_view texte, Bilan* bilan, std::string* raison);

constexpr std::size_t TAILLE_MAX_BILAN = 16384;

// The record and where it is kept.
struct FichierBilan {
    std::string chemin;  // empty: nothing is kept
    Bilan bilan;
};

// The record of this player, or an empty one. A damaged file, or one from a
// newer version of the game, is set aside as "statistiques.illisible".
void chargeBilan(FichierBilan* fichier);
// Writes the record; a failure is said on standard error and the game goes on.
void enregistreBilan(const FichierBilan* fichier);

// Numbers as a French reader expects them, in UTF-8: "1 234" (no-break
// spaces between thousands), "119,02 %", "−3,5" (a true minus sign).
void ecritEntier(char* texte, std::size_t taille, int64_t n);
// num / den as a percentage, two decimals, or more below 1 % so that a
// rare hand keeps three significant digits; "—" when den is 0.
void ecritPourcentage(char* texte, std::size_t taille, Grand num, Grand den);
// A value in units as credits with one decimal; signe adds "+" before a positive one.
void ecritCredits(char* texte, std::size_t taille, Grand unites, bool signe);

constexpr std::size_t TAILLE_TEXTE = 96;
using TexteNombre = std::array<char, TAILLE_TEXTE>;

struct TextesBilan {
    std::array<TexteNombre, NB_LIGNES_BILAN> lignes;
    int32_t signeChance;  // -1, 0 or 1: the colour of the luck
    std::array<TexteNombre, NB_COMBINAISONS> nombres;      // by combination code
    std::array<TexteNombre, NB_COMBINAISONS> parts;        // share of the player's hands
    std::array<TexteNombre, NB_COMBINAISONS> partsExactes;  // share under the best play; empty without retour
};

// retour: the advisor's return under the best play, or null when not known.
void textesBilan(const Bilan* bilan, const RetourConseil* retour, TextesBilan* textes);
