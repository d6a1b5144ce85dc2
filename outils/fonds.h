// The six backgrounds, the counters' backdrop and the banners.
#pragma once

#include "theme.h"

#include <string>

Image backgroundStart();
Image backgroundOption();
Image backgroundJeu();
Image backgroundApropos();
// `retour`: the return to the player under the best play, as text; empty
// leaves its line out.
Image backgroundAide(const std::string& retour);
Image backgroundGameOver();
Image backgroundBilan();
// The statistics screen under the game's veil with the question over it,
// the whole window: the answers are cut from it.
Image fondConfirmation(const Image& bilan);
// The question alone, keyed on the chips' green outside its rounded corners.
Image confirmation(const Image& fond);
Image backTexte();

// The Option screen's setting buttons: one column, a row per setting.
constexpr int X_REGLAGE = 298, LARGEUR_REGLAGE = 122, HAUTEUR_REGLAGE = 38;
constexpr int NB_REGLAGES = 5, PAS_REGLAGES = 64;
constexpr int Y_REGLAGES[NB_REGLAGES] = {135, 199, 263, 327, 391};

// The coach's pictures on the table, cut from it: a mark above each card the
// best hold keeps, the strip under the hold buttons and the one above the cards.
constexpr int X_MARQUE = 61, Y_MARQUE = 202, LARGEUR_MARQUE = 62, HAUTEUR_MARQUE = 16;
constexpr int X_BANDEAU = 44, LARGEUR_BANDEAU = 464;
constexpr int Y_BANDEAU_BAS = 342, HAUTEUR_BANDEAU_BAS = 25;
constexpr int Y_BANDEAU_HAUT = 199, HAUTEUR_BANDEAU_HAUT = 20;
Image marqueConseil(const Image& jeu);
Image bandeauConseil(const Image& jeu, int y, int hauteur, const std::string& etiquette);

// The pay table's row of a combination lit, with two pixels of the table
// around it: drawn at (X_LIGNE_GAIN, yLigneGain(combinaison)).
constexpr int X_LIGNE_GAIN = 573, LARGEUR_LIGNE_GAIN = 280, HAUTEUR_LIGNE_GAIN = 30;
int yLigneGain(int combinaison);
Image ligneGain(int combinaison);

// The table under the five card slots, one strip from the first slot's corner:
// what a turning card uncovers.
constexpr int X_PLACES = 61, Y_PLACES = 221, LARGEUR_PLACES = 4 * 91 + 62, HAUTEUR_PLACES = 100;
Image placesCartes(const Image& jeu);

// Window positions of the two banners.
constexpr int X_TEXTE_HAUT = 193, Y_TEXTE_HAUT = 7;
constexpr int X_TEXTE_BAS = 118, Y_TEXTE_BAS = 378;

// The banner above the table: a title and a line that says what to do.
Image banniereHaut(const std::string& titre, const std::string& consigne, Couleur accent);
// The banner below the table: a name and a smaller line under it.
Image banniereBas(const std::string& titre, const std::string& detail);
// The help hint below the table: two short lines.
Image banniereAide(const std::string& ligne1, const std::string& ligne2);

// Combination names as the player reads them, by combination code.
extern const char* const nomsCombinaisons[10];
