// Input: events are queued, then one event function runs. Most cases queue
// one event and then a sentinel that the screen handles: a handled event
// leaves the sentinel queued, an ignored one lets the call go on to it.
#include <bit>
#include <optional>
#include <set>
#include <tuple>

#include "ecranTest.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "reglages.h"

namespace {

using Evenements = EcranTest;

// What a call may change: the 32 codes of the screen record, then etat,
// continuer (FIN), credit and mise; compared as 36 integers, by index.
struct Jeu { EtatSurface s; int32_t etat, continuer, credit, mise; };
using Etat = std::array<int32_t, 36>;
enum { GARDER = 6, JETON = 11, AIDE = 21, APROPOS, CARTE, RETOUR = 26, NEWGAME, RESUME, OPTION, CONT, STATS };
enum { ETAT = 32, FIN, CREDIT, MISE };
enum Ecran { Start, Option, Mise, FirstHand, SecondHand, Loose, APropos };
constexpr Uint8 APPUI = SDL_MOUSEBUTTONDOWN, RELACHE = SDL_MOUSEBUTTONUP;

// Every code starts at 7, which no input writes, so every write shows; the
// game screens with continuer 1, credit 1000 and bet 20.
const Etat SEPT = [] { Etat v; v.fill(7); v[FIN] = 1, v[CREDIT] = 1000, v[MISE] = 20; return v; }();
Etat depart(Ecran ecran, std::initializer_list<std::pair<int, int32_t>> changements = {})
{
    Etat v = SEPT;
    v[ETAT] = std::array{ETAT_START, ETAT_OPTION, ETAT_MISE, ETAT_FIRSTHAND, ETAT_SECONDHAND, ETAT_LOOSE, 7}[ecran];
    for (auto [i, valeur] : changements) v[i] = valeur;
    return v;
}

SDL_Event souris(Uint8 t, int x, int y, Uint8 b = 1) { return {.button = {t, 0, b, t == APPUI, Uint16(x), Uint16(y)}}; }
SDL_Event touche(Uint8 type, SDLKey sym) { return {.key = {type, 0, type == SDL_KEYDOWN, {0, sym, KMOD_NONE, 0}}}; }
SDL_Event active(Uint8 gain, Uint8 etat) { return {.active = {SDL_ACTIVEEVENT, gain, etat}}; }
const SDL_Event FERMETURE{SDL_QUIT}, ECHAP = touche(SDL_KEYDOWN, SDLK_ESCAPE);

// Queues the events, makes one call and returns what it left.
Etat joue(Ecran ecran, const Etat& v, std::initializer_list<SDL_Event> evenements)
{
    for (SDL_Event e : evenements) SDL_PushEvent(&e);
    constexpr void (*simples[])(int32_t*, int32_t*, EtatSurface*) = {gestionEventStart, gestionEventOption, nullptr,
        gestionEventFirstHand, gestionEventSecondHand, gestionEventLoose};
    Jeu j = std::bit_cast<Jeu>(v);
    Statistique stats[NB_STATISTIQUES]{{j.credit, ""}, {j.mise, ""}};
    if (ecran == Mise) gestionEventMise(&j.etat, &j.continuer, &j.s, stats);
    else if (ecran == APropos) gestionEventAPropos(&j.s);
    else simples[ecran](&j.etat, &j.continuer, &j.s);
    j.credit = stats[credit].valeur, j.mise = stats[mise].valeur;
    return std::bit_cast<Etat>(j);
}
int restants() { SDL_Event e[8]; return SDL_PeepEvents(e, 8, SDL_GETEVENT, SDL_ALLEVENTS); }

// One call over the event then a sentinel: a close request on the game
// screens, a press on Back on the modal ones. Without `attendu` the event
// must be ignored, and the sentinel handled.
void verifie(Ecran ecran, Etat v, const SDL_Event& e, std::optional<Etat> attendu = {})
{
    Etat ignore = v;
    if (ecran == APropos) ignore[RETOUR] = 1; else ignore[ETAT] = ignore[FIN] = -1;
    v = joue(ecran, v, {e, ecran == APropos ? souris(APPUI, 50, 470) : FERMETURE});
    EXPECT_EQ(restants(), attendu.has_value()) << "events left";
    EXPECT_EQ(v, attendu.value_or(ignore));
}

// The keys of a button, 0 for none: the digits of the number row, of the
// keypad and of an AZERTY number row (& é " ' ( - è _); Enter or Space.
using Touches = std::array<SDLKey, 4>;
constexpr SDLKey azerty[] = {SDLK_AMPERSAND, SDLK_WORLD_73, SDLK_QUOTEDBL, SDLK_QUOTE,
                             SDLK_LEFTPAREN, SDLK_MINUS, SDLK_WORLD_72, SDLK_UNDERSCORE};
constexpr Touches chiffre(int n) { return {SDLKey(SDLK_0 + n), SDLKey(SDLK_KP0 + n), azerty[n - 1]}; }
constexpr Touches ENTREE{SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE};
constexpr Touches RETOUR_{SDLK_BACKSPACE, SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE};
constexpr Touches F1{SDLK_F1}, F2{SDLK_F2};

// A button's keys and rectangle on one screen; the code its press and its
// release write in its field (-1: ignored), etat after its release (-2:
// kept), the credits its press moves to the bet (from credit 1000 and bet
// 20) and the field's code before. A key down acts as the press, a key up
// as the release.
struct Zone {
    Ecran ecran;
    Touches touches;
    int x1, x2, y1, y2, champ, appui, relache, etat = -2, mise = 0, avant = 7;
};
const Zone zones[] = {
    {Start, F1, 7, 114, 426, 452, AIDE, 1, 0}, {Start, F2, 7, 114, 457, 483, APROPOS, 1, 0},
    {Start, {SDLK_n}, 283, 586, 144, 180, NEWGAME, 1, 0, ETAT_MISE},
    {Start, {SDLK_r, SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE}, 283, 586, 203, 239, RESUME, 1, 0, ETAT_REPRISE},
    {Start, {SDLK_r}, 283, 586, 203, 239, RESUME, -1, -1, -2, 0, 12},  // Resume closed: no saved game
    {Start, {SDLK_o}, 283, 586, 261, 297, OPTION, 1, 0, ETAT_OPTION},
    {Start, {SDLK_s}, 283, 586, 319, 355, STATS, 1, 0, ETAT_BILAN},
    {Option, RETOUR_, 7, 114, 457, 483, RETOUR, 1, 0, ETAT_START},
    {Option, {}, 7, 114, 426, 452, 0, -1, -1},  // Back is released in its own rectangle only
    // The settings, without settings to change.
    {Option, {SDLK_c}, 299, 418, 136, 171, 0, -1, -1}, {Option, {SDLK_m}, 299, 418, 200, 235, 0, -1, -1},
    {Option, {SDLK_f}, 299, 418, 264, 299, 0, -1, -1}, {Option, {SDLK_s}, 299, 418, 328, 363, 0, -1, -1},
    {Option, {SDLK_a}, 299, 418, 392, 427, 0, -1, -1},
    {Mise, ENTREE, 386, 537, 441, 477, CARTE, 3, 2, ETAT_FIRSTHAND},
    {Mise, ENTREE, 386, 537, 441, 477, CARTE, -1, -1, -2, 0, 12},  // disabled
    {Mise, F1, 7, 114, 426, 452, AIDE, 1, 0}, {Mise, F2, 7, 114, 457, 483, APROPOS, 1, 0},
    {Mise, chiffre(1), 47, 114, 210, 277, JETON, 1, 0, -2, 1},
    {Mise, chiffre(2), 130, 197, 210, 277, JETON + 1, 1, 0, -2, 2},
    {Mise, chiffre(3), 213, 280, 210, 277, JETON + 2, 1, 0, -2, 5},
    {Mise, chiffre(4), 296, 363, 210, 277, JETON + 3, 1, 0, -2, 10},
    {Mise, chiffre(5), 47, 114, 293, 360, JETON + 4, 1, 0, -2, 20},
    {Mise, chiffre(6), 130, 197, 293, 360, JETON + 5, 1, 0, -2, 50},
    {Mise, chiffre(7), 213, 280, 293, 360, JETON + 6, 1, 0, -2, 100},
    {Mise, chiffre(8), 296, 363, 293, 360, JETON + 7, 1, 0, -2, 200},
    {Mise, {SDLK_t}, 401, 468, 210, 277, JETON + 8, 1, 0, -2, 1000},
    {Mise, {SDLK_a, SDLK_BACKSPACE}, 401, 468, 293, 360, JETON + 9, 1, 0, -2, -20},
    {FirstHand, ENTREE, 386, 537, 441, 477, CARTE, 3, 4, ETAT_SECONDHAND, 0, 12},
    {FirstHand, F1, 7, 114, 426, 452, AIDE, 1, 0}, {FirstHand, F2, 7, 114, 457, 483, APROPOS, 1, 0},
    // Hold buttons toggle on a press: 0 becomes 1, anything else 0.
    {FirstHand, chiffre(1), 57, 126, 322, 336, GARDER, 1, -1, -2, 0, 0},
    {FirstHand, chiffre(2), 148, 217, 322, 336, GARDER + 1, 0, -1},
    {FirstHand, chiffre(3), 239, 308, 322, 336, GARDER + 2, 0, -1, -2, 0, 1},
    {FirstHand, chiffre(4), 330, 399, 322, 336, GARDER + 3, 0, -1},
    {FirstHand, chiffre(5), 421, 490, 322, 336, GARDER + 4, 0, -1},
    {SecondHand, ENTREE, 386, 537, 441, 477, CARTE, 5, 4, ETAT_MISE},
    {SecondHand, F1, 7, 114, 426, 452, AIDE, 1, 0}, {SecondHand, F2, 7, 114, 457, 483, APROPOS, 1, 0},
    // Continue, and Back on Help and About: also released in the rectangle
    // above; Help and About also by the release of the key that opened them.
    {Loose, ENTREE, 7, 114, 457, 483, CONT, 1, 0, ETAT_START}, {Loose, {}, 7, 114, 426, 452, CONT, -1, 0, ETAT_START},
    {APropos, RETOUR_, 7, 114, 457, 483, RETOUR, 1, 0}, {APropos, {SDLK_F1, SDLK_F2}, 7, 114, 426, 452, RETOUR, -1, 0}};

// Every rectangle: its four corners hit, one pixel beyond each side does not,
// only the left button counts; every key of a button acts as the click.
// Escape and close quit every game screen; the window exposed or shown again
// marks the picture lost; other keys and events are ignored on every screen.
// A drag.
TEST_F(Evenements, EntreesDeChaqueEcran)
{
    for (const Zone& z : zones)
        for (Uint8 type : {APPUI, RELACHE}) {
            const int valeur = type == APPUI ? z.appui : z.relache, mise = type == APPUI ? z.mise : 0;
            const Etat avant = depart(z.ecran, {{z.champ, z.avant}});
            Etat effet = depart(z.ecran, {{z.champ, valeur}, {CREDIT, 1000 - mise}, {MISE, 20 + mise}});
            if (type == RELACHE && z.etat != -2) effet[ETAT] = z.etat;
            for (SDLKey k : z.touches)
                if (k != SDLK_UNKNOWN) {
                    SCOPED_TRACE(testing::Message() << "zone " << &z - zones << " type " << int(type) << " key " << k);
                    verifie(z.ecran, avant, touche(type == APPUI ? SDL_KEYDOWN : SDL_KEYUP, k),
                            valeur >= 0 ? effet : std::optional<Etat>{});
                }
            const int p[8][2] = {{z.x1, z.y1}, {z.x2, z.y2}, {z.x1, z.y2}, {z.x2, z.y1},
                                 {z.x1 - 1, z.y1}, {z.x2 + 1, z.y2}, {z.x1, z.y1 - 1}, {z.x2, z.y2 + 1}};
            for (int n = 0; n < 40; ++n) {  // buttons 1 to 5, eight points each
                const int bouton = n / 8 + 1, i = n % 8;
                SCOPED_TRACE(testing::Message() << "zone " << &z - zones << " type " << int(type) << " n " << n);
                const bool traite = i < 4 && bouton == SDL_BUTTON_LEFT && valeur >= 0;
                verifie(z.ecran, avant, souris(type, p[i][0], p[i][1], bouton), traite ? effet : std::optional<Etat>{});
            }
        }
    for (Ecran ecran : {Start, Option, Mise, FirstHand, SecondHand, Loose, APropos}) {
        SCOPED_TRACE(ecran);
        for (const SDL_Event& e : {FERMETURE, ECHAP})
            if (ecran != APropos) verifie(ecran, depart(ecran), e, depart(ecran, {{ETAT, -1}, {FIN, -1}}));
        for (const SDL_Event& e : {SDL_Event{SDL_VIDEOEXPOSE}, active(1, SDL_APPACTIVE | SDL_APPINPUTFOCUS)})
            verifie(ecran, depart(ecran), e, depart(ecran, {{0, FOND_PERDU}}));
        for (const SDL_Event& e : {touche(SDL_KEYDOWN, SDLK_z), touche(SDL_KEYUP, SDLK_ESCAPE),
                                   souris(SDL_MOUSEMOTION, 50, 470), active(0, SDL_APPACTIVE), active(1, SDL_APPINPUTFOCUS)})
            verifie(ecran, depart(ecran), e);
    }
    // Each call returns at its first handled event: a chip pressed and dragged
    // to another one stays pressed, the release clears the other; Help stays queued.
    Etat v = joue(Mise, depart(Mise), {souris(APPUI, 50, 220), souris(RELACHE, 150, 220), souris(APPUI, 50, 430)});
    v = joue(Mise, v, {});
    EXPECT_EQ(restants(), 1);
    EXPECT_EQ(v, depart(Mise, {{JETON, 1}, {JETON + 1, 0}, {CREDIT, 999}, {MISE, 21}}));
}

// Keys that name no button of a screen change nothing there, down or up.
// With Resume closed, Enter and Space start a new game.
TEST_F(Evenements, ToucheSansBouton)
{
    for (Ecran ecran : {Start, Option, Mise, FirstHand, SecondHand, Loose, APropos}) {
        std::set<int> nommees{SDLK_ESCAPE};
        for (const Zone& z : zones)
            if (z.ecran == ecran) nommees.insert(z.touches.begin(), z.touches.end());
        for (int k = SDLK_FIRST + 1; k < SDLK_LAST; ++k)
            for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP})
                if (!nommees.contains(k)) {
                    SCOPED_TRACE(testing::Message() << "screen " << ecran << " key " << k << " type " << int(type));
                    verifie(ecran, depart(ecran), touche(type, SDLKey(k)));
                }
    }
    const Etat ferme = depart(Start, {{RESUME, 12}});
    for (SDLKey k : {SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE}) {
        verifie(Start, ferme, touche(SDL_KEYDOWN, k), depart(Start, {{RESUME, 12}, {NEWGAME, 1}}));
        verifie(Start, ferme, touche(SDL_KEYUP, k), depart(Start, {{RESUME, 12}, {NEWGAME, 0}, {ETAT, ETAT_MISE}}));
    }
}

// The Option screen's settings step at their key down as at a click, each
// from its last value back to its first; the key up changes nothing.
TEST_F(Evenements, ReglagesAuClavier)
{
    const std::tuple<SDLKey, Point, int32_t Reglages::*, int32_t> reglages[] = {
        {SDLK_c, {358, 153}, &Reglages::conseil, 1}, {SDLK_m, {358, 217}, &Reglages::memeMise, 1},
        {SDLK_f, {358, 281}, &Reglages::fenetre, 2}, {SDLK_s, {358, 345}, &Reglages::son, 1},
        {SDLK_a, {358, 409}, &Reglages::animations, 2}};
    for (auto [touche_, point, champ, dernier] : reglages)
        for (int32_t avant : {0, dernier}) {
            Reglages r{}, attendu{};
            r.*champ = avant;
            attendu.*champ = avant == dernier ? 0 : avant + 1;
            for (const SDL_Event& e : {touche(SDL_KEYDOWN, touche_), souris(APPUI, point.x, point.y)}) {
                Reglages essai = r;
                EtatSurface s{};
                int32_t etat = ETAT_OPTION, continuer = 1;
                for (SDL_Event f : {e, touche(SDL_KEYUP, touche_), FERMETURE}) SDL_PushEvent(&f);
                gestionEventOption(&etat, &continuer, &s, &essai);
                EXPECT_EQ(essai, attendu) << touche_;
                gestionEventOption(&etat, &continuer, &s, &essai);  // the key up passes, the close request ends it
                EXPECT_EQ(essai, attendu) << touche_;
                EXPECT_EQ(etat, ETAT_QUITTER);
            }
        }
}

// A failed wait (no SDL video) is a quit request on the game screens, since
// a second wait would fail at once; the modal ones return without a change.
TEST_F(Evenements, AttenteRatee)
{
    SDL_Quit();
    for (Ecran ecran : {Start, Option, Mise, FirstHand, SecondHand, Loose, APropos})
        EXPECT_EQ(joue(ecran, depart(ecran), {}),
                  ecran == APropos ? depart(ecran) : depart(ecran, {{ETAT, -1}, {FIN, -1}})) << ecran;
}

}  // namespace
