// Drawing: the screen state record that input writes and drawing reads, and
// the widgets drawn from the bitmap files under "image/". No function here
// flips the screen; the screens do.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct Reglages;
struct Conseil;

// What every widget looks like right now: 32 small codes.
struct EtatSurface {
    int32_t fond;        // background: 0 start, 1 option, 2 table, 3 about, 4 help, 5 game over, 6 statistics
    int32_t carte[5];    // 0 card back, 1 to 52 a card id, in deal order
    int32_t garder[5];   // 1 = the card of this slot is exchanged at the draw
    int32_t jeton[10];   // chips 1, 2, 5, 10, 20, 50, 100, 200, Allin, Reset: 0 up, 1 pressed
    int32_t boutonAide;
    int32_t boutonApropos;
    int32_t boutonCarte;  // 2 deal up, 3 deal pressed, 4 replay up, 5 replay pressed, 12 disabled
    int32_t texteHaut;    // 0 betting, 1 first hand, 2 win, 3 loss
    int32_t texteBas;     // 0 to 9 a combination, 10 the hint
    int32_t boutonRetour;
    int32_t boutonNewGame;
    int32_t boutonResume;  // 12 closed, the only code ever stored
    int32_t boutonOption;
    int32_t boutonContinuer;
    int32_t boutonStatistiques;  // the start screen's fourth button
};

static_assert(sizeof(EtatSurface) == 32 * sizeof(int32_t), "EtatSurface is 32 plain integers");

// The statistics screen's own buttons, and the question it asks before it
// clears the record.
struct EtatBilan {
    int32_t boutonEffacer;  // 0 up, 1 pressed, like boutonOui and boutonNon
    int32_t confirmation;   // 1 while the question is on the screen
    int32_t boutonOui;
    int32_t boutonNon;
    int32_t effacer;        // 1 once the player said yes: the loop clears the record
};

constexpr int32_t FOND_START = 0;
constexpr int32_t FOND_OPTION = 1;
constexpr int32_t FOND_JEU = 2;
constexpr int32_t FOND_APROPOS = 3;
constexpr int32_t FOND_AIDE = 4;
constexpr int32_t FOND_GAMEOVER = 5;
constexpr int32_t FOND_BILAN = 6;
// Stored by input when the window has lost its picture (shown again after
// being hidden or covered): the screen is then composed whole again.
constexpr int32_t FOND_PERDU = -1;

constexpr int32_t CARTE_UP = 2;
constexpr int32_t CARTE_DOWN = 3;
constexpr int32_t REJOUER_UP = 4;
constexpr int32_t REJOUER_DOWN = 5;
constexpr int32_t BOUTON_FERME = 12;  // the disabled deal button, the closed Resume button

constexpr int32_t TEXTE_MISE = 0;
constexpr int32_t TEXTE_FIRSTHAND = 1;
constexpr int32_t TEXTE_WIN = 2;
constexpr int32_t TEXTE_LOOSE = 3;
constexpr int32_t TEXTE_AIDE = 10;

// The five card slots, left to right, 91 pixels apart: each card picture is
// LARGEUR_CARTE x HAUTEUR_CARTE with its corner at (X_CARTE + PAS_CARTES i, Y_CARTE).
constexpr int16_t X_CARTE = 61;
constexpr int16_t PAS_CARTES = 91;
constexpr int16_t Y_CARTE = 221;
constexpr uint16_t LARGEUR_CARTE = 62;
constexpr uint16_t HAUTEUR_CARTE = 100;
// A slot code with no picture: the table shows through.
constexpr int32_t PLACE_VIDE = -1;

// A card slot while its card turns: the card of code carte (0 its back, 1 to
// 52 a face, any other none) squeezed to largeur columns about the slot's middle.
struct PlaceCarte {
    int32_t carte;
    int32_t largeur;
};

void initEtatSurface(EtatSurface* etatSurface);

void affichageBackground(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageBackTexte(SDL_Surface* ecran);
void affichageBoutonAide(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageBoutonApropos(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageBoutonRetour(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageBoutonContinuer(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageBoutonCarte(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageTexteHaut(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageTexteBas(SDL_Surface* ecran, const EtatSurface* etatSurface);
// The start screen's buttons: New game, Resume, Option and Statistics.
void affichageBoutonStart(SDL_Surface* ecran, const EtatSurface* etatSurface);
// The statistics screen's Back and Clear buttons or, while it asks, the
// question and its two answers.
void affichageBoutonsBilan(SDL_Surface* ecran, const EtatSurface* etatSurface, const EtatBilan* etatBilan);

void affichageTapis(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageBoutonGarder(SDL_Surface* ecran, const EtatSurface* etatSurface);
void affichageJetons(SDL_Surface* ecran, const EtatSurface* etatSurface);

// The slots whose bit is set in places (slot 0 the lowest), in slot order:
// the table under each, then its card as it turns.
void affichagePlaces(SDL_Surface* ecran, const PlaceCarte* places, int32_t masque);
// The pay table's row of a combination lit, drawn over the table; nothing for
// Rien or any other code.
void affichageLigneGain(SDL_Surface* ecran, int32_t combinaison);

// The Option screen's setting buttons, each showing its setting's state.
void affichageReglages(SDL_Surface* ecran, const Reglages* reglages);
// The coach on the hand screens: on the first hand a mark above every card
// that the best hold keeps and the strip its line goes on; on the final hand
// the strips of the verdict and of the tally.
void affichageConseil(SDL_Surface* ecran, const Conseil* conseil);
