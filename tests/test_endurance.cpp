// Soak: a long seeded stream of random input through the real game loop, on
// the dummy display, with the real pictures and font. The program is linked
// with --wrap=SDL_WaitEvent: whenever SDL's queue is empty, the wrapper below
// checks the game's records and pushes the next event, so the game reads one
// event at a time, repeatably from the seed.
//
//   VELMORA_GRAINE     seed of the stream and of the game (printed)
//   VELMORA_EVENEMENTS number of random events before the game is ended
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <iostream>
#include <random>

#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "scenario.h"

// The leak checker's switches, present in sanitized builds only.
extern "C" void __lsan_disable() __attribute__((weak)), __lsan_enable() __attribute__((weak));

namespace {

// Where clicks go: around a button (half its width and height, a little
// beyond its edges) or a group of them. Back, Continue and About share the
// first place, Help the second; they are seldom aimed at where there are
// other buttons, since Help and About open a modal screen and a full redraw.
// Then New game, Option, the deal button, the value chips, Allin and Reset,
// the holds, Statistiques; last the coach and same-stake settings (the two
// first rows) and the animations' speed (the last), not the window size
// between them, whose buffers the heap keeps after each change: a leak to the
// memory check, and a slow new video mode; now and then the sound's, which
// closes the audio device and opens it again; on the statistics screen,
// Effacer and the answers to its question.
struct Vise : Point { int dx, dy; };
constexpr Vise vises[] = {{RETOUR, 56, 15}, {AIDE, 56, 15}, {NOUVELLE_PARTIE, 154, 20}, {OPTION, 154, 20},
                          {DISTRIBUER, 78, 20}, {{205, 285}, 160, 77}, {{434, 285}, 35, 77}, {{273, 329}, 220, 9},
                          {{358, 185}, 64, 50}, {{358, 410}, 64, 20}, {{358, 345}, 60, 17},
                          {STATISTIQUES, 154, 20}, {EFFACER, 56, 15}, {{436, 289}, 160, 18}};

// Keys: every one that names a button somewhere (the AZERTY number row
// among them), but not F (the window size, as above), and two that name
// none. F1 and F2 come seldom, for the reason above.
constexpr SDLKey touches[] = {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_7, SDLK_8, SDLK_KP1, SDLK_KP5,
    SDLK_KP8, SDLK_AMPERSAND, SDLK_WORLD_73, SDLK_QUOTEDBL, SDLK_QUOTE, SDLK_LEFTPAREN, SDLK_MINUS, SDLK_WORLD_72,
    SDLK_UNDERSCORE, SDLK_t, SDLK_a, SDLK_BACKSPACE, SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE, SDLK_n, SDLK_r,
    SDLK_o, SDLK_c, SDLK_m, SDLK_s, SDLK_e, SDLK_z, SDLK_q, SDLK_F1, SDLK_F2};

// The records of main, owned by the test, and the stream of input.
struct Endurance {
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique stats[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START, continuer = 1, combinaison = Rien, creditDebut = CREDIT_INITIAL;
    // The coach, the same stake and the sound on (dummy driver), the cards'
    // flicks told by the animations; the stream changes them on the Option screen.
    Complements complements{
        {1, 1, FENETRE_X1, 1}, {}, {}, {nullptr, nullptr, entendRetournees, &complements.ecoute}, {}, {}};
    const uint64_t graine = std::getenv("VELMORA_GRAINE") ? std::stoull(std::getenv("VELMORA_GRAINE")) : 20261206;
    const uint64_t total = std::getenv("VELMORA_EVENEMENTS") ? std::stoull(std::getenv("VELMORA_EVENEMENTS"))
                                                              : VELMORA_EVENEMENTS_DEFAUT;
    std::mt19937_64 alea{graine};
    uint64_t produits = 0, mains = 0;  // events pushed, hands scored
    uint32_t temps = 0;                // the animations' clock
    uint64_t interruptions = 0;        // events pushed during an animation
    const char* erreur = nullptr;  // the first fault seen
    std::bitset<7> fondsVus = 0;

    // What must hold whenever the game waits for input; null when it all does.
    // creditDebut is the credit the counters account for in the current pass.
    const char* defaut() const
    {
        std::bitset<NB_CARTES + 1> vues;
        for (const Liste* l : {&sabot, &mainJoueur, &defausse}) {
            const Carte *c = l->tete, *derniere = nullptr;
            for (int32_t n = 0; n < l->taille; ++n, derniere = c, c = c->suivant) {
                if (c == nullptr || c->id < 1 || c->id > NB_CARTES || vues[c->id]) return "a card missing or twice";
                vues.set(c->id);
            }
            if (c != nullptr || derniere != l->queue) return "a list's taille or queue does not match its links";
        }
        // Once the hand is scored its payout is in the credit; until then (on
        // the betting screen) credit + mise is the credit the pass began with.
        const bool jouee = etatSurface.texteHaut == TEXTE_WIN || etatSurface.texteHaut == TEXTE_LOOSE;
        const int32_t c = stats[credit].valeur, m = stats[mise].valeur, g = jouee ? stats[gain].valeur : 0;
        if (vues.count() != NB_CARTES) return "cards lost from the lists";
        if (c < 0 || m < 0 || c != creditDebut - m + g) return "credit, mise and gain do not add up";
        return etatSurface.fond == FOND_PERDU ? "a screen waits with the window's picture lost" : nullptr;
    }

    // Left clicks around the buttons, a tenth of them a press alone; a
    // quarter of the events keys, typed, down alone or up alone; the window
    // exposed now and then. Escape and the close request once the budget is
    // spent. The input tests try other events on each screen.
    void pousseSuivant()
    {
        fondsVus.set(size_t(std::clamp(etatSurface.fond, 0, 6)));
        if (erreur == nullptr && (erreur = defaut()) != nullptr) ADD_FAILURE() << erreur << " at event " << produits;
        // About, Help and game over have only Back or Continue.
        const Vise& c = vises[etatSurface.fond == FOND_BILAN ? (alea() % 4 ? 12 + alea() % 2 : 0)
                              : etatSurface.fond >= FOND_APROPOS ? 0
                              : etat == ETAT_OPTION ? (alea() % 4 ? (alea() % 8 ? 8 + alea() % 2 : 10) : 0)
                              : alea() % 50 ? (alea() % 8 ? 2 + alea() % 6 : 11) : alea() % 2];
        const Point ici{uint16_t(c.x - c.dx + alea() % (2 * c.dx + 1)), uint16_t(c.y - c.dy + alea() % (2 * c.dy + 1))};
        if (SDL_Event e{.expose = {SDL_VIDEOEXPOSE}}; alea() % 50 == 0) SDL_PushEvent(&e);
        if (produits++ >= total) {
            if (produits > total + 100) std::cerr << "the game does not end\n", std::abort();
            produits % 2 ? pousseTouche(SDLK_ESCAPE) : pousseQuitter();
        } else if (const SDLKey t = touches[alea() % (std::size(touches) - (alea() % 10 ? 2 : 0))]; alea() % 4 == 0) {
            const auto sorte = alea() % 6;  // 0 up alone, 1 down alone, else typed
            if (sorte > 0) pousseTouche(t);
            if (sorte != 1) pousseTouche(t, SDL_KEYUP);
        } else {
            alea() % 10 ? clic(ici) : presse(ici);
        }
    }
};

Endurance* endurance = nullptr;

// The cards' animations run on a clock that moves by their own waits only;
// at about one wait in twenty the next event comes, in the middle of one.
uint32_t horlogeEndurance() { return endurance->temps; }
void attenteEndurance(uint32_t millisecondes)
{
    endurance->temps += millisecondes;
    SDL_Event e;
    if (endurance->alea() % 20 == 0 && SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) {
        ++endurance->interruptions;
        endurance->pousseSuivant();
    }
}

TEST(Endurance, FluxAleatoireDansLaBoucleDuJeu)
{
    ASSERT_EQ(chdir(VELMORA_DONNEES), 0);
    SDL_Surface* icone = nullptr;
    if (__lsan_disable) __lsan_disable();  // the compatibility layer never frees the video mode's records
    SDL_Surface* ecran = initFenetre(&icone);
    if (__lsan_enable) __lsan_enable();

    Endurance e;
    std::cout << "VELMORA_GRAINE=" << e.graine << " VELMORA_EVENEMENTS=" << e.total << std::endl;
    initJeu(e.cartes, &e.sabot, &e.mainJoueur, &e.defausse, e.stats, static_cast<uint32_t>(e.graine));
    endurance = &e;
    e.complements.deroulement = {horlogeEndurance, attenteEndurance, nullptr, nullptr};
    while (e.continuer == 1) {
        // The start screen resets the counters; a game over leaves credit 1 until it does.
        e.creditDebut = e.etat == ETAT_START ? CREDIT_INITIAL : std::max(e.stats[credit].valeur, 1);
        passeJeu(ecran, &e.sabot, &e.mainJoueur, &e.defausse, e.stats, &e.etatSurface, &e.etat, &e.continuer,
                 &e.combinaison, nullptr, &e.complements);
        // A fault, reported as it is seen, or the game ending before the stream is spent.
        ASSERT_TRUE(e.erreur == nullptr && (e.continuer == 1 || e.produits > e.total)) << "at event " << e.produits;
        e.mains += e.etatSurface.texteHaut == TEXTE_WIN || e.etatSurface.texteHaut == TEXTE_LOOSE;
    }
    std::cout << e.mains << " hands, " << e.interruptions << " events in the middle of an animation" << std::endl;
    EXPECT_TRUE(e.total < 10000 || (e.mains > e.total / 1000 && e.interruptions > e.total / 1000 && e.fondsVus.all()))
        << "too few hands, animations cut short or screens for the soak to prove much: " << e.mains << " hands, "
        << e.interruptions << " cut short, backgrounds " << e.fondsVus;
    SDL_FreeSurface(icone);
    SDL_Quit();
}

}  // namespace

extern "C" int __real_SDL_WaitEvent(SDL_Event* event);

// The game's only way to read input: keep one event ready in SDL's queue.
extern "C" int __wrap_SDL_WaitEvent(SDL_Event* event)
{
    if (endurance != nullptr && SDL_PeepEvents(event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) endurance->pousseSuivant();
    return __real_SDL_WaitEvent(event);
}
