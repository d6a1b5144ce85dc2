// Soak: a long seeded stream of random input through the real game loop, on
// the dummy display, in the directory of the real pictures and font. The
// program is linked with --wrap=SDL_WaitEvent: whenever SDL's queue is empty,
// the wrapper below makes up the next event and pushes it, so the game reads
// one event at a time, single-threaded and repeatable from its seed.
//
//   VELMORA_GRAINE     seed of the stream and of the game (printed)
//   VELMORA_EVENEMENTS number of random events before the game is ended
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"

namespace {

// Screens, as the stream sees them, for the choice of a button.
enum Ecran : uint8_t { START = 1, OPTION = 2, MISE = 4, MAIN = 8, LOOSE = 16, MODAL = 32 };

struct Zone {
    int x1, x2, y1, y2;
    int poids;     // weight on the screens where the button answers
    uint8_t ecrans;
};

// Every button of every screen, bounds included. Most clicks go to a button
// of the screen shown, so that hands get played; Help and About are seldom
// pressed, since each one opens a modal screen that waits for Back. Points
// are drawn up to 2 pixels outside each rectangle, across its bounds.
constexpr std::array<Zone, 21> boutons = {{
    {386, 537, 441, 477, 10, MISE | MAIN},                       // deal, replay
    {283, 586, 144, 180, 6, START},                              // new game
    {283, 586, 261, 297, 1, START},                              // option
    {283, 586, 203, 239, 1, START},                              // resume, dead
    {7, 114, 457, 483, 6, OPTION | LOOSE | MODAL},               // back, continue
    {7, 114, 457, 483, 1, START | MISE | MAIN},                  // about
    {7, 114, 426, 452, 1, START | MISE | MAIN | LOOSE | MODAL},  // help; release of continue and back
    {47, 114, 210, 277, 2, MISE},   {130, 197, 210, 277, 2, MISE}, {213, 280, 210, 277, 2, MISE},  // 1, 2, 5
    {296, 363, 210, 277, 2, MISE},  {401, 468, 210, 277, 1, MISE},                                 // 10, allin
    {47, 114, 293, 360, 2, MISE},   {130, 197, 293, 360, 2, MISE}, {213, 280, 293, 360, 2, MISE},  // 20, 50, 100
    {296, 363, 293, 360, 2, MISE},  {401, 468, 293, 360, 2, MISE},                                 // 200, reset
    {57, 126, 322, 336, 2, MAIN},   {148, 217, 322, 336, 2, MAIN}, {239, 308, 322, 336, 2, MAIN},  // holds 1 to 3
    {330, 490, 322, 336, 4, MAIN},                                // holds 4, 5 and between
}};

// The records of main, owned by the test; the wrapper reads them.
struct Partie {
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START;
    int32_t continuer = 1;
    int32_t combinaison = Rien;
};

class Flux {
public:
    Flux(uint64_t graine, uint64_t total, const Partie* partie) : alea_(graine), total_(total), partie_(partie) {}

    SDL_Event suivant()
    {
        const bool modal = partie_->etatSurface.fond == FOND_AIDE || partie_->etatSurface.fond == FOND_APROPOS;
        if (modal && !dansModal_) {
            ++modaux;
        }
        dansModal_ = modal;
        if (partie_->etat == ETAT_MISE && creditMise >= 0 &&
            partie_->statistiques[credit].valeur + partie_->statistiques[mise].valeur != creditMise && erreur.empty()) {
            erreur = "betting screen: credit + mise != " + std::to_string(creditMise) + " at event " +
                     std::to_string(produits);
        }
        if (produits >= total_) {
            return fin(modal);
        }
        ++produits;
        if (relachePrevue_) {
            relachePrevue_ = false;
            return bouton(SDL_MOUSEBUTTONUP, boutonPrevu_, pointPrevu_, alea_() % 100 < 85);
        }
        const uint32_t tirage = alea_() % 100;
        if (tirage < 55) {
            return clicSurBouton(alea_() % 5 != 0 ? ecran(modal) : 0xff);
        }
        if (tirage < 65) {
            return bouton(alea_() % 2 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, static_cast<Uint8>(1 + alea_() % 5),
                          pointQuelconque(), true);
        }
        if (tirage < 82) {
            SDL_Event e{};
            e.type = e.motion.type = SDL_MOUSEMOTION;
            const auto [x, y] = pointQuelconque();
            e.motion.x = x;
            e.motion.y = y;
            e.motion.xrel = static_cast<Sint16>(alea_() % 41) - 20;
            e.motion.state = static_cast<Uint8>(alea_() % 8);
            return e;
        }
        if (tirage < 95) {
            return touche();
        }
        SDL_Event e{};
        constexpr std::array<Uint8, 3> autres = {SDL_ACTIVEEVENT, SDL_VIDEOEXPOSE, SDL_USEREVENT};
        e.type = autres[alea_() % autres.size()];
        return e;
    }

    uint64_t produits = 0;
    uint64_t finales = 0;
    uint64_t modaux = 0;
    int32_t creditMise = -1;  // credit + mise on the betting screen of this pass; -1 unknown
    std::string erreur;

private:
    using Point = std::pair<Uint16, Uint16>;

    // Once the budget is spent: leave a modal screen by Back, then Escape.
    // Escape is never sent inside a modal screen, which would end the process.
    SDL_Event fin(bool modal)
    {
        if (++finales > 1000) {
            std::fprintf(stderr, "the game did not end after 1000 closing events\n");
            std::abort();
        }
        if (modal) {
            pressionRetour_ = !pressionRetour_;
            return bouton(pressionRetour_ ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, {60, 470}, true);
        }
        SDL_Event e{};
        e.type = e.key.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = SDLK_ESCAPE;
        return e;
    }

    SDL_Event bouton(Uint8 type, Uint8 numero, Point p, bool surPlace)
    {
        SDL_Event e{};
        e.type = e.button.type = type;
        e.button.button = numero;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        const auto [x, y] = surPlace ? p : pointQuelconque();
        e.button.x = x;
        e.button.y = y;
        return e;
    }

    uint8_t ecran(bool modal) const
    {
        if (modal) {
            return MODAL;
        }
        switch (partie_->etat) {
            case ETAT_START: return START;
            case ETAT_OPTION: return OPTION;
            case ETAT_MISE: return MISE;
            case ETAT_LOOSE: return LOOSE;
            default: return MAIN;
        }
    }

    // A left press on a weighted button of the given screens; most often its
    // release follows.
    SDL_Event clicSurBouton(uint8_t ecrans)
    {
        int total = 0;
        for (const Zone& z : boutons) {
            total += (z.ecrans & ecrans) != 0 ? z.poids : 0;
        }
        int choix = static_cast<int>(alea_() % static_cast<uint64_t>(total));
        const Zone* zone = boutons.data();
        while ((zone->ecrans & ecrans) == 0 || choix >= zone->poids) {
            choix -= (zone->ecrans & ecrans) != 0 ? zone->poids : 0;
            ++zone;
        }
        const auto coordonnee = [this](int a, int b) {
            return static_cast<Uint16>(std::max(0, a - 2 + static_cast<int>(alea_() % static_cast<uint64_t>(b - a + 5))));
        };
        const Point p{coordonnee(zone->x1, zone->x2), coordonnee(zone->y1, zone->y2)};
        relachePrevue_ = alea_() % 100 < 90;
        boutonPrevu_ = SDL_BUTTON_LEFT;
        pointPrevu_ = p;
        return bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, p, true);
    }

    // Anywhere in the window and around it, now and then at the far end of
    // the coordinate range.
    Point pointQuelconque()
    {
        if (alea_() % 50 == 0) {
            return {static_cast<Uint16>(65535 - alea_() % 3), static_cast<Uint16>(alea_() % 65536)};
        }
        return {static_cast<Uint16>(alea_() % 1000), static_cast<Uint16>(alea_() % 600)};
    }

    SDL_Event touche()
    {
        SDL_Event e{};
        e.type = e.key.type = alea_() % 2 ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = e.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDLKey sym = SDLK_ESCAPE;
        while (sym == SDLK_ESCAPE) {
            sym = static_cast<SDLKey>(1 + alea_() % (SDLK_LAST - 1));
        }
        e.key.keysym.sym = sym;
        e.key.keysym.mod = static_cast<SDLMod>(alea_() % 0x10000 & KMOD_SHIFT);
        return e;
    }

    std::mt19937_64 alea_;
    uint64_t total_;
    const Partie* partie_;
    bool dansModal_ = false;
    bool relachePrevue_ = false;
    Uint8 boutonPrevu_ = 0;
    Point pointPrevu_{};
    bool pressionRetour_ = false;
};

Flux* flux = nullptr;

uint64_t variable(const char* nom, uint64_t defaut)
{
    const char* texte = std::getenv(nom);
    return texte != nullptr && *texte != '\0' ? std::strtoull(texte, nullptr, 10) : defaut;
}

long memoireResidente()
{
    long taille = 0, residente = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f != nullptr) {
        if (std::fscanf(f, "%ld %ld", &taille, &residente) != 2) {
            residente = 0;
        }
        std::fclose(f);
    }
    return residente * sysconf(_SC_PAGESIZE);
}

// Walks a list from its head; its size and tail must agree, and the hand
// stays ascending by id.
::testing::AssertionResult listeCoherente(const Liste& liste, std::multiset<int32_t>& ids, bool parId = false)
{
    int32_t n = 0;
    const Carte* derniere = nullptr;
    for (const Carte* c = liste.tete; c != nullptr; c = c->suivant) {
        if (++n > NB_CARTES) {
            return ::testing::AssertionFailure() << "more than 52 links: a cycle";
        }
        if (parId && derniere != nullptr && derniere->id > c->id) {
            return ::testing::AssertionFailure() << "out of order at card " << c->id;
        }
        ids.insert(c->id);
        derniere = c;
    }
    if (n != liste.taille || derniere != liste.queue) {
        return ::testing::AssertionFailure() << "taille " << liste.taille << " for " << n << " cards, or a stale queue";
    }
    return ::testing::AssertionSuccess();
}

// The compatibility layer never frees the records of the video mode, even at
// SDL_Quit: the leak checker is told to look away from that one call.
SDL_Surface* ouvreEcran()
{
#if defined(__SANITIZE_ADDRESS__)
    __lsan_disable();
#endif
    SDL_Surface* ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
    return ecran;
}

class Endurance : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(chdir(VELMORA_DONNEES), 0);
        ASSERT_EQ(access("image/backgroundJeu.bmp", R_OK), 0) << "the soak draws with the real pictures";
        ASSERT_EQ(access("arial.ttf", R_OK), 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ecran = ouvreEcran();
        ASSERT_NE(ecran, nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        flux = nullptr;
        SDL_Quit();
    }
    SDL_Surface* ecran = nullptr;
};

TEST_F(Endurance, FluxAleatoireDansLaBoucleDuJeu)
{
    const uint64_t graine = variable("VELMORA_GRAINE", 20261206);
    const uint64_t evenements = variable("VELMORA_EVENEMENTS", VELMORA_EVENEMENTS_DEFAUT);
    std::printf("VELMORA_GRAINE=%" PRIu64 " VELMORA_EVENEMENTS=%" PRIu64 "\n", graine, evenements);
    RecordProperty("graine", std::to_string(graine));

    Partie p;
    initJeu(p.cartes, &p.sabot, &p.mainJoueur, &p.defausse, p.statistiques, static_cast<uint32_t>(graine));
    Flux fluxPartie(graine, evenements, &p);
    flux = &fluxPartie;

    constexpr std::array<int32_t, 7> etats = {ETAT_QUITTER, ETAT_START,  ETAT_MISE, ETAT_FIRSTHAND,
                                              ETAT_SECONDHAND, ETAT_OPTION, ETAT_LOOSE};
    uint64_t passes = 0, mains = 0, finsDePartie = 0, options = 0;
    long memoire1000 = 0;
    while (p.continuer == 1) {
        const int32_t creditAvant = p.statistiques[credit].valeur;
        const int32_t mainsAvant = p.statistiques[nbGagne].valeur + p.statistiques[nbPerdu].valeur;
        const bool depuisStart = p.etat == ETAT_START;
        // The start screen resets the counters before the betting screen opens.
        fluxPartie.creditMise = creditAvant == 0 ? -1 : depuisStart ? CREDIT_INITIAL : creditAvant;

        passeJeu(ecran, &p.sabot, &p.mainJoueur, &p.defausse, p.statistiques, &p.etatSurface, &p.etat, &p.continuer,
                 &p.combinaison);
        ++passes;
        const std::string ici = "pass " + std::to_string(passes) + ", seed " + std::to_string(graine);

        ASSERT_EQ(fluxPartie.erreur, "") << ici;
        std::multiset<int32_t> ids;
        ASSERT_TRUE(listeCoherente(p.sabot, ids)) << "sabot, " << ici;
        ASSERT_TRUE(listeCoherente(p.mainJoueur, ids, true)) << "main, " << ici;
        ASSERT_TRUE(listeCoherente(p.defausse, ids)) << "defausse, " << ici;
        ASSERT_EQ(ids.size(), 52u) << ici;
        ASSERT_EQ(std::set<int32_t>(ids.begin(), ids.end()).size(), 52u) << ici;
        ASSERT_TRUE(*ids.begin() == 1 && *ids.rbegin() == 52) << ici;

        const int32_t c = p.statistiques[credit].valeur;
        const int32_t m = p.statistiques[mise].valeur;
        const int32_t g = p.statistiques[gain].valeur;
        ASSERT_GE(c, 0) << ici;
        ASSERT_GE(m, 0) << ici;
        ASSERT_NE(std::find(etats.begin(), etats.end(), p.etat), etats.end()) << p.etat << ", " << ici;
        if (p.continuer == 1) {
            ASSERT_TRUE(p.etat == ETAT_START || p.etat == ETAT_MISE) << "a pass ends on start or betting, " << ici;
        } else {
            ASSERT_TRUE(p.etat == ETAT_QUITTER && p.continuer == -1 && fluxPartie.produits == evenements)
                << "quit only at the end, " << ici;
        }

        const bool mainJouee = p.etatSurface.texteHaut == TEXTE_WIN || p.etatSurface.texteHaut == TEXTE_LOOSE;
        if (mainJouee) {
            ++mains;
            ASSERT_EQ(p.combinaison, analyseCarte(&p.mainJoueur)) << ici;
            ASSERT_EQ(g, multiplicateurs[p.combinaison] * m) << ici;
            ASSERT_EQ(c, fluxPartie.creditMise - m + g) << ici;
            ASSERT_EQ(p.statistiques[nbGagne].valeur + p.statistiques[nbPerdu].valeur,
                      (depuisStart ? 0 : mainsAvant) + 1)
                << ici;
        } else if (creditAvant == 0) {
            ++finsDePartie;
            ASSERT_TRUE(c == 1 && m == 0) << "game over keeps credit 1 until the start screen, " << ici;
        } else {
            options += p.etatSurface.fond == FOND_OPTION;
            ASSERT_EQ(c + m, fluxPartie.creditMise) << ici;
        }
        if (passes == 1000) {
            memoire1000 = memoireResidente();
        }
    }
    const long memoireFin = memoireResidente();
    std::printf("events %" PRIu64 " (+%" PRIu64 " to end), passes %" PRIu64 ", hands %" PRIu64 ", game overs %" PRIu64
                ", option screens %" PRIu64 ", help/about screens %" PRIu64 "\n",
                fluxPartie.produits, fluxPartie.finales, passes, mains, finsDePartie, options, fluxPartie.modaux);
    std::printf("resident memory after pass 1000: %.2f MiB, at the end: %.2f MiB\n", memoire1000 / 1048576.0,
                memoireFin / 1048576.0);
    if (evenements >= 10000) {
        // The stream reaches every screen; otherwise the soak proves little.
        EXPECT_GT(mains, 100u);
        EXPECT_GT(finsDePartie, 0u);
        EXPECT_GT(options, 0u);
        EXPECT_GT(fluxPartie.modaux, 10u);
    }
    EXPECT_LE(fluxPartie.finales, 10u) << "Back closes a modal screen, then Escape ends the game";
#if !defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer the quarantine of freed blocks makes up most of
    // the resident memory; leaks are the leak checker's business there.
    if (passes >= 2000) {
        EXPECT_LE(memoireFin - memoire1000, 2L * 1048576) << "resident memory grows";
    }
#endif
}

}  // namespace

extern "C" int __real_SDL_WaitEvent(SDL_Event* event);

// The game's only way to read input: keep one event ready in SDL's queue.
extern "C" int __wrap_SDL_WaitEvent(SDL_Event* event)
{
    SDL_Event vu;
    if (flux != nullptr && SDL_PeepEvents(&vu, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) {
        SDL_Event e = flux->suivant();
        SDL_PushEvent(&e);
    }
    return __real_SDL_WaitEvent(event);
}
