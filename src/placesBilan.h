// Where the statistics screen's pieces lie, in window pixels: the game
// draws its numbers, bars and curve there, and the picture generator its
// panels and labels around them. Constants only, no SDL.
#pragma once

#include <array>
#include <cstdint>

// Every number that the statistics screen prints, in the rows of its panels.
enum LigneBilan : int32_t {
    LIGNE_MAINS,
    LIGNE_MISEES,
    LIGNE_PAYEES,
    LIGNE_RETOUR_REEL,
    LIGNE_RETOUR_CHOIX,
    LIGNE_RETOUR_MEILLEUR,
    LIGNE_CHANCE,
    LIGNE_COUT,
    LIGNE_MEILLEURS,
    LIGNE_PARTIES,
    LIGNE_PERDUES,
    LIGNE_GAIN_MAX,
    LIGNE_CREDIT_MAX,
    LIGNE_SERIES,
    NB_LIGNES_BILAN,
};

struct Cadre {
    int32_t x, y, largeur, hauteur;
};

// The three panels: the record, the hands by class, the curve.
constexpr Cadre PANNEAU_BILAN{16, 64, 284, 384};
constexpr Cadre PANNEAU_MAINS{312, 64, 544, 212};
constexpr Cadre PANNEAU_COURBE{312, 286, 544, 162};

// The record's rows, by LigneBilan: the baseline of each; labels start at
// X_ETIQUETTE_BILAN, values end at X_VALEUR_BILAN.
constexpr std::array<int32_t, NB_LIGNES_BILAN> LIGNES_BILAN = {116, 137, 158, 189, 210, 231, 262,
                                                               283, 304, 335, 356, 377, 398, 419};
constexpr int32_t X_ETIQUETTE_BILAN = 30;
constexpr int32_t X_VALEUR_BILAN = 288;
constexpr int32_t TAILLE_VALEUR_BILAN = 14;

// The hands by class, strongest first as in the pay table: row r holds the
// combination NB_LIGNES_MAINS - 1 - r. Columns end at their x.
constexpr int32_t NB_LIGNES_MAINS = 10;
constexpr int32_t Y_PREMIERE_MAIN = 112;
constexpr int32_t HAUTEUR_MAIN = 16;
constexpr int32_t X_NOM_MAIN = 326;
constexpr int32_t X_NOMBRE_MAIN = 498;
constexpr int32_t X_PART_MAIN = 568;
constexpr int32_t X_PART_EXACTE = 634;
constexpr int32_t TAILLE_MAIN = 12;
constexpr int32_t Y_TITRES_COLONNES = 106;  // baseline of the column titles
// Bars on a logarithmic scale: from 10^-DECADES (0,001 %) at the left end to 1 at the right.
constexpr int32_t X_BARRES = 656;
constexpr int32_t LARGEUR_BARRES = 190;
constexpr int32_t DECADES = 5;
constexpr int32_t Y_BARRE_JOUEUR = 3, HAUTEUR_BARRE_JOUEUR = 6;  // within a row
constexpr int32_t Y_BARRE_EXACTE = 10, HAUTEUR_BARRE_EXACTE = 4;

// The curve's plot; tick labels left of it and under it.
constexpr Cadre ZONE_COURBE{374, 322, 468, 98};
constexpr int32_t X_GRADUATIONS_Y = 368;  // the values end there
constexpr int32_t Y_GRADUATIONS_X = 435;  // baseline of the hand numbers
constexpr int32_t TAILLE_GRADUATION = 11;

// The buttons of the screen and of its confirmation.
constexpr Cadre BOUTON_EFFACER{756, 456, 110, 29};
constexpr Cadre CONFIRMATION{236, 164, 400, 160};
constexpr Cadre BOUTON_OUI{CONFIRMATION.x + 50, CONFIRMATION.y + 108, 140, 34};
constexpr Cadre BOUTON_NON{CONFIRMATION.x + 210, CONFIRMATION.y + 108, 140, 34};

// Colours, as 0xRRGGBB: the player's bars and credit line, the exact bars
// and the expected path, and the plot's axes and grid.
constexpr uint32_t COULEUR_JOUEUR = 0xF7C911;
constexpr uint32_t COULEUR_EXACTE = 0x8CBEF0;
constexpr uint32_t COULEUR_AXE = 0xC8A550;
constexpr uint32_t COULEUR_GRILLE = 0x2E4A3C;
constexpr uint32_t COULEUR_VOILE = 0x000000;
constexpr uint8_t OPACITE_VOILE = 150;

