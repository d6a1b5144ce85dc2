#include "gestionEvent.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "placesBilan.h"
#include "reglages.h"

namespace {

// Hit rectangle in window pixels, bounds included. Event coordinates are
// unsigned 16-bit, so the test is comparisons only.
struct Rectangle {
    uint16_t x1, x2, y1, y2;
};

constexpr bool contient(const Rectangle& zone, uint16_t x, uint16_t y)
{
    return zone.x1 <= x && x <= zone.x2 && zone.y1 <= y && y <= zone.y2;
}

// Everything an event may change. The Help and About screens' wait has no
// etat, continuer or counters; only the Option screen has the settings.
struct Cible {
    int32_t* etat;
    int32_t* continuer;
    EtatSurface* etatSurface;
    Statistique* statistiques;
    Reglages* reglages = nullptr;
    EtatBilan* bilan = nullptr;
};

using Action = void (*)(const Cible&);
using Condition = bool (*)(const Cible&);

// The keys of a button, SDLK_UNKNOWN filling the rest. SDL 1.2 names a key by
// what it types without Shift on the current layout, so a letter is the
// letter it types. The digits come from the number row and the keypad; the
// number row of an AZERTY keyboard arrives as the digits under the
// compatibility library, and elsewhere as & é " ' ( - è _.
using Touches = std::array<SDLKey, 4>;

constexpr std::array<SDLKey, 8> chiffresAzerty{SDLK_AMPERSAND, SDLK_WORLD_73, SDLK_QUOTEDBL, SDLK_QUOTE,
                                               SDLK_LEFTPAREN, SDLK_MINUS,    SDLK_WORLD_72, SDLK_UNDERSCORE};

constexpr Touches chiffre(int n)
{
    return {static_cast<SDLKey>(SDLK_0 + n), static_cast<SDLKey>(SDLK_KP0 + n), chiffresAzerty[n - 1]};
}

// Enter (either one) or Space, and another key.
constexpr Touches entree(SDLKey autre = SDLK_UNKNOWN)
{
    return {SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE, autre};
}

// One row of a screen's table: a button's rectangle and its keys. A key down
// is a press and a key up a release, like the left button's in the
// rectangle. A missing action means that presses (or releases) are ignored;
// a button whose condition is false ignores both, and the rows after it may
// take the key.
struct Bouton {
    Rectangle zone;
    Touches touches;
    Action appui;
    Action relache;
    Condition actif = nullptr;
};

constexpr Rectangle zoneAide{7, 114, 426, 452};
constexpr Rectangle zoneBas{7, 114, 457, 483};  // About, Back and Continue
constexpr Rectangle zoneCarte{386, 537, 441, 477};
constexpr Rectangle zoneNewGame{283, 586, 144, 180};
constexpr Rectangle zoneResume{283, 586, 203, 239};
constexpr Rectangle zoneOption{283, 586, 261, 297};
constexpr Rectangle zoneStatistiques{283, 586, 319, 355};

// A button drawn with its corner at x, y is hit from one pixel right of and
// below that corner to two pixels short of its size.
constexpr Rectangle zoneDe(const Cadre& c)
{
    return {static_cast<uint16_t>(c.x + 1), static_cast<uint16_t>(c.x + c.largeur - 2), static_cast<uint16_t>(c.y + 1),
            static_cast<uint16_t>(c.y + c.hauteur - 2)};
}
constexpr Rectangle zoneEffacer = zoneDe(BOUTON_EFFACER);
constexpr Rectangle zoneOui = zoneDe(BOUTON_OUI);
constexpr Rectangle zoneNon = zoneDe(BOUTON_NON);

template <int32_t EtatSurface::*champ, int32_t valeur>
void pose(const Cible& cible)
{
    cible.etatSurface->*champ = valeur;
}

template <int32_t EtatSurface::*champ, int32_t valeur, int32_t etat>
void poseEtPasse(const Cible& cible)
{
    cible.etatSurface->*champ = valeur;
    *cible.etat = etat;
}

template <std::size_t i>
void appuiJeton(const Cible& cible)
{
    cible.etatSurface->jeton[i] = 1;
    gestionMise(cible.statistiques, valeursJetons[i]);
}

template <std::size_t i>
void relacheJeton(const Cible& cible)
{
    cible.etatSurface->jeton[i] = 0;
}

constexpr std::size_t JETON_ALLIN = 8;
constexpr std::size_t JETON_RESET = 9;

void appuiAllin(const Cible& cible)
{
    cible.etatSurface->jeton[JETON_ALLIN] = 1;
    gestionAllin(cible.statistiques);
}

void appuiReset(const Cible& cible)
{
    cible.etatSurface->jeton[JETON_RESET] = 1;
    gestionReset(cible.statistiques);
}

template <std::size_t i>
void basculeGarder(const Cible& cible)
{
    int32_t& garder = cible.etatSurface->garder[i];
    garder = garder == 0 ? 1 : 0;
}

template <int32_t EtatBilan::*champ, int32_t valeur>
void poseBilan(const Cible& cible)
{
    cible.bilan->*champ = valeur;
}

void relacheEffacer(const Cible& cible)
{
    cible.bilan->boutonEffacer = 0;
    cible.bilan->confirmation = 1;
}

void relacheOui(const Cible& cible)
{
    cible.bilan->boutonOui = 0;
    cible.bilan->confirmation = 0;
    cible.bilan->effacer = 1;
}

void relacheNon(const Cible& cible)
{
    cible.bilan->boutonNon = 0;
    cible.bilan->confirmation = 0;
}

// While the statistics screen asks, only its answers respond.
bool sansQuestion(const Cible& cible)
{
    return cible.bilan->confirmation == 0;
}

bool question(const Cible& cible)
{
    return cible.bilan->confirmation != 0;
}

// Resume is closed unless a saved game can be resumed.
bool resumeActif(const Cible& cible)
{
    return cible.etatSurface->boutonResume != BOUTON_FERME;
}

// A setting steps through its nbCodes values, back to the first after the last.
template <int32_t Reglages::*champ, int32_t nbCodes>
void basculeReglage(const Cible& cible)
{
    int32_t& code = cible.reglages->*champ;
    code = code >= 0 && code < nbCodes - 1 ? code + 1 : 0;
}

bool reglagesPresents(const Cible& cible)
{
    return cible.reglages != nullptr;
}

// The deal button sleeps while the bet is 0.
bool carteActive(const Cible& cible)
{
    return cible.etatSurface->boutonCarte != BOUTON_FERME;
}

constexpr Touches toucheRetour{SDLK_BACKSPACE, SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE};

constexpr Bouton boutonAide{zoneAide, {SDLK_F1}, pose<&EtatSurface::boutonAide, 1>,
                            pose<&EtatSurface::boutonAide, 0>};
constexpr Bouton boutonApropos{zoneBas, {SDLK_F2}, pose<&EtatSurface::boutonApropos, 1>,
                               pose<&EtatSurface::boutonApropos, 0>};

// Enter and Space resume a live game, else start a new one: Resume, when
// closed, leaves them to New game below it.
constexpr std::array boutonsStart{
    boutonAide,
    boutonApropos,
    Bouton{zoneResume, entree(SDLK_r), pose<&EtatSurface::boutonResume, 1>,
           poseEtPasse<&EtatSurface::boutonResume, 0, ETAT_REPRISE>, resumeActif},
    Bouton{zoneNewGame, entree(SDLK_n), pose<&EtatSurface::boutonNewGame, 1>,
           poseEtPasse<&EtatSurface::boutonNewGame, 0, ETAT_MISE>},
    Bouton{zoneOption, {SDLK_o}, pose<&EtatSurface::boutonOption, 1>,
           poseEtPasse<&EtatSurface::boutonOption, 0, ETAT_OPTION>},
    Bouton{zoneStatistiques, {SDLK_s}, pose<&EtatSurface::boutonStatistiques, 1>,
           poseEtPasse<&EtatSurface::boutonStatistiques, 0, ETAT_BILAN>},
};

// While the question is on the screen, Enter and Space answer No, the
// answer that loses nothing; O alone answers Yes.
constexpr std::array boutonsBilan{
    Bouton{zoneBas, toucheRetour, pose<&EtatSurface::boutonRetour, 1>,
           poseEtPasse<&EtatSurface::boutonRetour, 0, ETAT_START>, sansQuestion},
    Bouton{zoneEffacer, {SDLK_e}, poseBilan<&EtatBilan::boutonEffacer, 1>, relacheEffacer, sansQuestion},
    Bouton{zoneOui, {SDLK_o}, poseBilan<&EtatBilan::boutonOui, 1>, relacheOui, question},
    Bouton{zoneNon, entree(SDLK_n), poseBilan<&EtatBilan::boutonNon, 1>, relacheNon, question},
};

// The settings act on the press, like the hold buttons; each one's key is
// its initial.
constexpr std::array boutonsOption{
    Bouton{zoneBas, toucheRetour, pose<&EtatSurface::boutonRetour, 1>,
           poseEtPasse<&EtatSurface::boutonRetour, 0, ETAT_START>},
    Bouton{{299, 418, 136, 171}, {SDLK_c}, basculeReglage<&Reglages::conseil, 2>, nullptr, reglagesPresents},
    Bouton{{299, 418, 200, 235}, {SDLK_m}, basculeReglage<&Reglages::memeMise, 2>, nullptr, reglagesPresents},
    Bouton{{299, 418, 264, 299}, {SDLK_f}, basculeReglage<&Reglages::fenetre, 3>, nullptr, reglagesPresents},
    Bouton{{299, 418, 328, 363}, {SDLK_s}, basculeReglage<&Reglages::son, 2>, nullptr, reglagesPresents},
    Bouton{{299, 418, 392, 427}, {SDLK_a}, basculeReglage<&Reglages::animations, 3>, nullptr, reglagesPresents},
};

// The chips' keys count from 1 in the order they read, row by row.
constexpr std::array boutonsMise{
    Bouton{zoneCarte, entree(), pose<&EtatSurface::boutonCarte, CARTE_DOWN>,
           poseEtPasse<&EtatSurface::boutonCarte, CARTE_UP, ETAT_FIRSTHAND>, carteActive},
    boutonAide,
    boutonApropos,
    Bouton{{47, 114, 210, 277}, chiffre(1), appuiJeton<0>, relacheJeton<0>},
    Bouton{{130, 197, 210, 277}, chiffre(2), appuiJeton<1>, relacheJeton<1>},
    Bouton{{213, 280, 210, 277}, chiffre(3), appuiJeton<2>, relacheJeton<2>},
    Bouton{{296, 363, 210, 277}, chiffre(4), appuiJeton<3>, relacheJeton<3>},
    Bouton{{401, 468, 210, 277}, {SDLK_t}, appuiAllin, relacheJeton<JETON_ALLIN>},
    Bouton{{47, 114, 293, 360}, chiffre(5), appuiJeton<4>, relacheJeton<4>},
    Bouton{{130, 197, 293, 360}, chiffre(6), appuiJeton<5>, relacheJeton<5>},
    Bouton{{213, 280, 293, 360}, chiffre(7), appuiJeton<6>, relacheJeton<6>},
    Bouton{{296, 363, 293, 360}, chiffre(8), appuiJeton<7>, relacheJeton<7>},
    Bouton{{401, 468, 293, 360}, {SDLK_a, SDLK_BACKSPACE}, appuiReset, relacheJeton<JETON_RESET>},
};

// Hold buttons act on the press only.
constexpr std::array boutonsFirstHand{
    Bouton{zoneCarte, entree(), pose<&EtatSurface::boutonCarte, CARTE_DOWN>,
           poseEtPasse<&EtatSurface::boutonCarte, REJOUER_UP, ETAT_SECONDHAND>},
    boutonAide,
    boutonApropos,
    Bouton{{57, 126, 322, 336}, chiffre(1), basculeGarder<0>, nullptr},
    Bouton{{148, 217, 322, 336}, chiffre(2), basculeGarder<1>, nullptr},
    Bouton{{239, 308, 322, 336}, chiffre(3), basculeGarder<2>, nullptr},
    Bouton{{330, 399, 322, 336}, chiffre(4), basculeGarder<3>, nullptr},
    Bouton{{421, 490, 322, 336}, chiffre(5), basculeGarder<4>, nullptr},
};

constexpr std::array boutonsSecondHand{
    Bouton{zoneCarte, entree(), pose<&EtatSurface::boutonCarte, REJOUER_DOWN>,
           poseEtPasse<&EtatSurface::boutonCarte, REJOUER_UP, ETAT_MISE>},
    boutonAide,
    boutonApropos,
};

// Continue is released in its own rectangle or in the one above it.
constexpr std::array boutonsLoose{
    Bouton{zoneBas, entree(), pose<&EtatSurface::boutonContinuer, 1>,
           poseEtPasse<&EtatSurface::boutonContinuer, 0, ETAT_START>},
    Bouton{zoneAide, {}, nullptr, poseEtPasse<&EtatSurface::boutonContinuer, 0, ETAT_START>},
};

// Back on the Help and About screens: also released where the Help button
// that opened the screen stands, and by the release of F1 or F2 that opened it.
constexpr std::array boutonsAPropos{
    Bouton{zoneBas, toucheRetour, pose<&EtatSurface::boutonRetour, 1>, pose<&EtatSurface::boutonRetour, 0>},
    Bouton{zoneAide, {SDLK_F1, SDLK_F2}, nullptr, pose<&EtatSurface::boutonRetour, 0>},
};

bool demandeFin(const SDL_Event& evenement)
{
    return evenement.type == SDL_QUIT ||
           (evenement.type == SDL_KEYDOWN && evenement.key.keysym.sym == SDLK_ESCAPE);
}

// The window shown again, after being hidden or covered, has lost its picture.
bool fenetreRevelee(const SDL_Event& evenement)
{
    return evenement.type == SDL_VIDEOEXPOSE ||
           (evenement.type == SDL_ACTIVEEVENT && evenement.active.gain == 1 &&
            (evenement.active.state & SDL_APPACTIVE) != 0);
}

bool estClic(const SDL_Event& evenement)
{
    return (evenement.type == SDL_MOUSEBUTTONDOWN || evenement.type == SDL_MOUSEBUTTONUP) &&
           evenement.button.button == SDL_BUTTON_LEFT;
}

bool estTouche(const SDL_Event& evenement)
{
    return evenement.type == SDL_KEYDOWN || evenement.type == SDL_KEYUP;
}

// Does the left-button click or the key name this row?
bool designe(const Bouton& bouton, const SDL_Event& evenement)
{
    if (estClic(evenement)) {
        return contient(bouton.zone, evenement.button.x, evenement.button.y);
    }
    const SDLKey touche = evenement.key.keysym.sym;
    return touche != SDLK_UNKNOWN && std::ranges::find(bouton.touches, touche) != bouton.touches.end();
}

// Applies a left-button press or release, or a key down or up, to the first
// row that takes it; false when the event means nothing on this screen.
bool appliqueEvenement(std::span<const Bouton> boutons, const Cible& cible, const SDL_Event& evenement)
{
    if (!estClic(evenement) && !estTouche(evenement)) {
        return false;
    }
    const bool appui = evenement.type == SDL_MOUSEBUTTONDOWN || evenement.type == SDL_KEYDOWN;
    for (const Bouton& bouton : boutons) {
        const Action action = appui ? bouton.appui : bouton.relache;
        if (action != nullptr && designe(bouton, evenement) && (bouton.actif == nullptr || bouton.actif(cible))) {
            action(cible);
            return true;
        }
    }
    return false;
}

// Waits until one event is handled; false when it was a request to quit. A
// failed wait (SDL 1.2 says 0, the compatibility library returns -1) leaves
// nothing to read and would fail again at once, so it ends the game as a
// close request would.
bool attendUnEvenement(std::span<const Bouton> boutons, const Cible& cible, Action quitter)
{
    SDL_Event evenement;
    for (;;) {
        if (SDL_WaitEvent(&evenement) <= 0 || demandeFin(evenement)) {
            quitter(cible);
            return false;
        }
        if (fenetreRevelee(evenement)) {
            cible.etatSurface->fond = FOND_PERDU;
            return true;
        }
        if (appliqueEvenement(boutons, cible, evenement)) {
            return true;
        }
    }
}

void quitteJeu(const Cible& cible)
{
    *cible.etat = ETAT_QUITTER;
    *cible.continuer = -1;
}

void renvoieFermeture(const Cible&)
{
    SDL_Event fermeture{};
    fermeture.type = SDL_QUIT;
    SDL_PushEvent(&fermeture);
}

}  // namespace

void gestionEventStart(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface)
{
    attendUnEvenement(boutonsStart, {etat, continuer, etatSurface, nullptr}, quitteJeu);
}

void gestionEventOption(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface)
{
    gestionEventOption(etat, continuer, etatSurface, nullptr);
}

void gestionEventOption(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface, Reglages* reglages)
{
    attendUnEvenement(boutonsOption, {etat, continuer, etatSurface, nullptr, reglages}, quitteJeu);
}

void gestionEventMise(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface, Statistique* statistiques)
{
    attendUnEvenement(boutonsMise, {etat, continuer, etatSurface, statistiques}, quitteJeu);
}

void gestionEventFirstHand(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface)
{
    attendUnEvenement(boutonsFirstHand, {etat, continuer, etatSurface, nullptr}, quitteJeu);
}

void gestionEventSecondHand(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface)
{
    attendUnEvenement(boutonsSecondHand, {etat, continuer, etatSurface, nullptr}, quitteJeu);
}

void gestionEventLoose(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface)
{
    attendUnEvenement(boutonsLoose, {etat, continuer, etatSurface, nullptr}, quitteJeu);
}

void gestionEventBilan(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface, EtatBilan* etatBilan)
{
    attendUnEvenement(boutonsBilan, {etat, continuer, etatSurface, nullptr, nullptr, etatBilan}, quitteJeu);
}

bool gestionEventAPropos(EtatSurface* etatSurface)
{
    return attendUnEvenement(boutonsAPropos, {nullptr, nullptr, etatSurface, nullptr}, renvoieFermeture);
}
