// Soak: a long seeded stream of random input through the real game loop, on
// the dummy display, with the real pictures and font. The program is linked
// with --wrap=SDL_WaitEvent: whenever SDL's queue is empty, the wrapper below
// checks the game's records and pushes the next event, so the game reads one
// event at a time, repeatably from the seed.
//
//   VELMORA_GRAINE     seed of the stream and of the game (printed)
//   VELMORA_EVENEMENTS number of random events before the game is ended
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "scenario.h"

// The leak checker's switches, present in sanitized builds only.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace {

// The records of main, owned by the test, and the credit the counters must
// account for in the current pass.
struct Partie {
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique stats[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START, continuer = 1, combinaison = Rien, creditDebut = CREDIT_INITIAL;
};

constexpr std::array etats = {ETAT_QUITTER,    ETAT_START,  ETAT_MISE, ETAT_FIRSTHAND,
                              ETAT_SECONDHAND, ETAT_OPTION, ETAT_LOOSE};

// What must hold whenever the game waits for input; null when it all does.
const char* defaut(const Partie& p)
{
    std::bitset<NB_CARTES + 1> vues;
    for (const Liste* l : {&p.sabot, &p.mainJoueur, &p.defausse}) {
        int32_t n = 0;
        const Carte* derniere = nullptr;
        for (const Carte* c = l->tete; c != nullptr; derniere = c, c = c->suivant, ++n) {
            if (c->id < 1 || c->id > NB_CARTES || vues[c->id]) return "a card twice in the lists, or a cycle";
            if (l == &p.mainJoueur && derniere != nullptr && derniere->id > c->id) return "the hand out of order";
            vues.set(c->id);
        }
        if (n != l->taille || derniere != l->queue) return "a list's taille or queue does not match its links";
    }
    if (vues.count() != NB_CARTES) return "cards lost from the lists";
    const int32_t c = p.stats[credit].valeur, m = p.stats[mise].valeur, g = p.stats[gain].valeur;
    if (c < 0 || m < 0 || std::ranges::find(etats, p.etat) == etats.end()) return "a counter < 0 or an unknown etat";
    // Once the hand is scored, its payout is the pay table's; until then (on
    // the betting screen) credit + mise is the credit the pass began with.
    const bool jouee = p.etatSurface.texteHaut == TEXTE_WIN || p.etatSurface.texteHaut == TEXTE_LOOSE;
    if (jouee && (p.combinaison != analyseCarte(&p.mainJoueur) || g != multiplicateurs.at(p.combinaison) * m))
        return "the hand misjudged or mispaid";
    if (c != p.creditDebut - m + (jouee ? g : 0)) return "credit, mise and gain do not add up";
    if (p.etatSurface.fond == FOND_PERDU) return "a screen waits with the window's picture lost";
    return nullptr;
}

// Where clicks go: around a button (half its width and height, a little
// beyond its edges) or a group of them. Back, Continue and About share the
// first place, Help the second; they are seldom aimed at where there are
// other buttons, since Help and About open a modal screen and a full redraw.
struct Vise { Point centre; int dx, dy; };
constexpr std::array<Vise, 8> vises = {{{RETOUR, 56, 15}, {AIDE, 56, 15}, {NOUVELLE_PARTIE, 154, 20}, {OPTION, 154, 20},
                                        {DISTRIBUER, 78, 20}, {{205, 285}, 160, 77} /* the value chips */,
                                        {{434, 285}, 35, 77} /* Allin and Reset */, {{273, 329}, 220, 9} /* holds */}};
// The coach and same-stake settings; not the window size, whose buffers the
// heap keeps after each change, which the memory check would take for a leak.
constexpr Vise reglages{{358, 224}, 64, 76};

// Left clicks on buttons, other presses and releases, the window exposed,
// motion and keys anywhere in and around the window. Never Escape nor a close request until
// the budget is spent: on Help and About either would end the process.
struct Flux {
    const Partie* p;
    std::mt19937_64 alea;
    uint64_t total, produits = 0, finales = 0, evenementErreur = 0;
    const char* erreur = nullptr;  // the first fault seen
    std::bitset<6> fondsVus = 0;
    // Exposes come from a stream of their own: they change nothing, so the
    // game plays as without them, with whole screens drawn in between.
    std::mt19937_64 aleaExpose{5489};

    Point nImporteOu()  // in and around the window, now and then at the far end of the range
    {
        return alea() % 50 ? Point{uint16_t(alea() % 1000), uint16_t(alea() % 600)}
                           : Point{uint16_t(65535 - alea() % 3), uint16_t(alea())};
    }
    void pousseSuivant()
    {
        const bool modal = p->etatSurface.fond == FOND_AIDE || p->etatSurface.fond == FOND_APROPOS;
        fondsVus.set(size_t(std::clamp(p->etatSurface.fond, 0, 5)));
        if (erreur == nullptr && (erreur = defaut(*p)) != nullptr) evenementErreur = produits;
        if (SDL_Event e{.expose = {SDL_VIDEOEXPOSE}}; produits < total && aleaExpose() % 50 == 0) SDL_PushEvent(&e);
        const uint64_t tirage = alea() % 100;
        if (produits++ >= total) {  // the budget is spent: Back while Help or About shows, then Escape
            if (++finales > 100) std::cerr << "the game does not end\n", std::abort();
            if (modal) pousseBouton(finales % 2 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, RETOUR);
            else pousseTouche(SDLK_ESCAPE);
        } else if (tirage < 40) {
            const bool seulRetour = modal || p->etat == ETAT_OPTION || p->etat == ETAT_LOOSE;
            const Vise& v = p->etat == ETAT_OPTION && !modal && alea() % 4 ? reglages
                            : vises[seulRetour ? 0 : alea() % 50 == 0 ? alea() % 2 : 2 + alea() % (vises.size() - 2)];
            const Point b{uint16_t(v.centre.x - v.dx + int(alea() % (2 * v.dx + 1))),
                          uint16_t(v.centre.y - v.dy + int(alea() % (2 * v.dy + 1)))};
            alea() % 10 != 0 ? clic(b) : presse(b);
        } else if (tirage < 60) {
            const Uint8 type = alea() % 2 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, numero = 1 + alea() % 5;
            pousseBouton(type, nImporteOu(), numero);
        } else if (tirage < 80) {
            const Point m = nImporteOu();
            SDL_Event e{.motion = {SDL_MOUSEMOTION, 0, Uint8(alea() % 8), m.x, m.y, Sint16(int(alea() % 41) - 20), 0}};
            SDL_PushEvent(&e);
        } else {
            const auto touche = static_cast<SDLKey>(1 + alea() % (SDLK_LAST - 1));
            pousseTouche(touche == SDLK_ESCAPE ? SDLK_SPACE : touche);
        }
    }
};

Flux* flux = nullptr;

TEST(Endurance, FluxAleatoireDansLaBoucleDuJeu)
{
    const auto variable = [](const char* nom, uint64_t defaut) {
        const char* texte = std::getenv(nom);
        return texte != nullptr && *texte != '\0' ? std::stoull(texte) : defaut;
    };
    const uint64_t graine = variable("VELMORA_GRAINE", 20261206);
    const uint64_t total = variable("VELMORA_EVENEMENTS", VELMORA_EVENEMENTS_DEFAUT);
    std::cout << "VELMORA_GRAINE=" << graine << " VELMORA_EVENEMENTS=" << total << std::endl;
    const auto memoireResidente = [] {
        long pages = 0, residentes = 0;
        std::ifstream("/proc/self/statm") >> pages >> residentes;
        return residentes * sysconf(_SC_PAGESIZE);
    };
    ASSERT_EQ(chdir(VELMORA_DONNEES), 0);
    SDL_Surface* icone = nullptr;
    if (__lsan_disable) __lsan_disable();  // the compatibility layer never frees the video mode's records
    SDL_Surface* ecran = initFenetre(&icone);
    if (__lsan_enable) __lsan_enable();
    ASSERT_NE(icone, nullptr) << "the soak runs on the real game data";

    Partie p;
    initJeu(p.cartes, &p.sabot, &p.mainJoueur, &p.defausse, p.stats, static_cast<uint32_t>(graine));
    Complements complements{};  // the stream changes them on the Option screen
    complements.reglages = {1, 1, FENETRE_X1};
    Flux f{&p, std::mt19937_64(graine), total};
    flux = &f;
    // Nothing may end the process before the stream is spent.
    std::atexit([] { if (flux != nullptr) std::cerr << "the process ended before the stream\n", std::_Exit(1); });
    long passes = 0, mains = 0, memoire1000 = 0;
    while (p.continuer == 1) {
        // The start screen resets the counters; a game over leaves credit 1 until it does.
        p.creditDebut = p.etat == ETAT_START ? CREDIT_INITIAL : std::max(p.stats[credit].valeur, 1);
        passeJeu(ecran, &p.sabot, &p.mainJoueur, &p.defausse, p.stats, &p.etatSurface, &p.etat, &p.continuer,
                 &p.combinaison, nullptr, &complements);
        if (++passes == 1000) memoire1000 = memoireResidente();
        ASSERT_STREQ(f.erreur, nullptr) << "at event " << f.evenementErreur << " (pass " << passes << ")";
        ASSERT_TRUE(p.continuer == 1 ? p.etat == ETAT_START || p.etat == ETAT_MISE
                                     : p.etat == ETAT_QUITTER && f.produits > total)
            << "pass " << passes << ": a pass ends on start or betting, the game once the stream is spent";
        mains += p.etatSurface.texteHaut == TEXTE_WIN || p.etatSurface.texteHaut == TEXTE_LOOSE;
    }
    flux = nullptr;
    EXPECT_TRUE(total < 10000 || (mains > long(total / 1000) && f.fondsVus.all()))
        << "too few hands or screens for the soak to prove much: " << mains << " hands, backgrounds " << f.fondsVus;
    // Under AddressSanitizer its quarantine of freed blocks fills the resident
    // memory; leaks are the leak checker's business there.
    const long fin = memoireResidente();  // 0 if unreadable
    EXPECT_TRUE(passes < 1500 || __lsan_disable != nullptr || (fin > 0 && fin - memoire1000 < 2L << 20))
        << "resident memory: " << memoire1000 << " bytes after pass 1000, " << fin << " at the end";
    SDL_FreeSurface(icone);
    SDL_Quit();
}

}  // namespace

extern "C" int __real_SDL_WaitEvent(SDL_Event* event);

// The game's only way to read input: keep one event ready in SDL's queue.
extern "C" int __wrap_SDL_WaitEvent(SDL_Event* event)
{
    if (flux != nullptr && SDL_PeepEvents(event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) flux->pousseSuivant();
    return __real_SDL_WaitEvent(event);
}
