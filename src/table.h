// The glue between the loop and what the player has added to the game: the
// saved game, the settings and the coach. The loop hands over the table as
// it stands, so that a new feature adds a field here, not a parameter to
// every call.
#pragma once

#include <cstdint>

#include "animation.h"
#include "bruitage.h"
#include "gestionConseil.h"
#include "reglages.h"
#include "suiviBilan.h"

struct Liste;
struct Statistique;
struct EtatSurface;
struct Sauvegarde;

// The settings, the coach with the advisor's tables, which are built once,
// while the start screen is first shown, how the cards' animations are
// played, the sound, opened at the first wait for input when its setting is
// on, and the statistics.
struct Complements {
    Reglages reglages;
    TablesConseil tables;
    Conseil conseil;
    Deroulement deroulement;
    Ecoute ecoute;
    SuiviBilan suivi;
};

// Every record of the game, by address. Without a sauvegarde nothing is
// saved; without complements the game is played as it always was.
struct TableDeJeu {
    Liste* sabot;
    Liste* mainJoueur;
    Liste* defausse;
    Statistique* statistiques;
    EtatSurface* etatSurface;
    Sauvegarde* sauvegarde;
    Complements* complements;
};

// Saves the game as it stands when the screen `ecran` (ETAT_MISE,
// ETAT_FIRSTHAND or ETAT_SECONDHAND) is left, with the coach's tally.
void sauveTable(const TableDeJeu* table, int32_t ecran);
// The same, only when etat says the player quit.
void sauveSiQuitte(const TableDeJeu* table, int32_t ecran, int32_t etat);

// Resume: the saved counters and coach's tally, and the saved hand when there
// was one; etat becomes the screen to show. True when a hand is back on the table.
bool reprendTable(const TableDeJeu* table, int32_t* etat);

// A new game: every counter and the coach's tally from their first values.
void nouvellePartie(const TableDeJeu* table);

bool conseilActif(const Complements* complements);
// The advisor's tables take about a tenth of a second: built once, at the
// first moment the coach or the statistics may need them.
void prepareConseil(Complements* complements);
// The coach of a hand just dealt, or none.
Conseil* conseilDonne(const TableDeJeu* table);
// The coach's verdict on the hold about to be drawn, or none.
Conseil* conseilTire(const TableDeJeu* table);
