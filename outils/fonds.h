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
Image backTexte();

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
