// Input: events are pushed onto SDL's queue, then one event function runs.
// Each case pushes its event and then a sentinel that the screen handles: a
// handled event leaves the sentinel queued, an ignored one lets the call go
// on to it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <tuple>

#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"

namespace {

// What an event function may change: the 31 fields of the screen record,
// then etat, continuer, credit and mise.
using Instantane = std::array<int32_t, 35>;
constexpr int champ(std::size_t decalage) { return static_cast<int>(decalage / sizeof(int32_t)); }
constexpr int GARDER = champ(offsetof(EtatSurface, garder)), JETON = champ(offsetof(EtatSurface, jeton)),
              AIDE = champ(offsetof(EtatSurface, boutonAide)), APROPOS = champ(offsetof(EtatSurface, boutonApropos)),
              CARTE = champ(offsetof(EtatSurface, boutonCarte)), RETOUR = champ(offsetof(EtatSurface, boutonRetour)),
              NEWGAME = champ(offsetof(EtatSurface, boutonNewGame)), OPTION = champ(offsetof(EtatSurface, boutonOption)),
              CONTINUER = champ(offsetof(EtatSurface, boutonContinuer));
constexpr int ETAT = 31, CONTINUE = 32, CREDIT = 33, MISE = 34;

struct Changement {
    int indice = -1;  // -1: unused
    int32_t valeur = 0;
};
struct Effet {
    bool traite = false;
    std::array<Changement, 3> changements{};
};
constexpr Effet ignore{};
constexpr Effet fait(Changement a, Changement b = {}, Changement c = {}) { return {true, {a, b, c}}; }
constexpr Effet quitte = fait({ETAT, -1}, {CONTINUE, -1});

template <typename Changements>
void applique(Instantane& v, const Changements& changements)
{
    for (const Changement& c : changements) {
        if (c.indice >= 0) v[c.indice] = c.valeur;
    }
}

enum Ecran { Start, Option, Mise, FirstHand, SecondHand, Loose, APropos };
constexpr std::array<int32_t, 7> codes{ETAT_START, ETAT_OPTION, ETAT_MISE, ETAT_FIRSTHAND, ETAT_SECONDHAND, ETAT_LOOSE, 4};

// Every field starts at 7, a code no input writes, so every write shows.
Instantane depart(Ecran ecran, std::initializer_list<Changement> avant = {})
{
    Instantane v;
    v.fill(7);
    applique(v, std::initializer_list<Changement>{{ETAT, codes[ecran]}, {CONTINUE, 1}, {CREDIT, 50}, {MISE, 20}});
    applique(v, avant);
    return v;
}

void appelle(Ecran ecran, Instantane& v)
{
    EtatSurface s;
    std::memcpy(&s, v.data(), sizeof s);
    int32_t* etat = &v[ETAT];
    int32_t* continuer = &v[CONTINUE];
    Statistique stats[NB_STATISTIQUES]{{v[CREDIT], ""}, {v[MISE], ""}};
    switch (ecran) {
    case Start: gestionEventStart(etat, continuer, &s); break;
    case Option: gestionEventOption(etat, continuer, &s); break;
    case Mise: gestionEventMise(etat, continuer, &s, stats); break;
    case FirstHand: gestionEventFirstHand(etat, continuer, &s); break;
    case SecondHand: gestionEventSecondHand(etat, continuer, &s); break;
    case Loose: gestionEventLoose(etat, continuer, &s); break;
    case APropos: gestionEventAPropos(&s); break;
    }
    std::memcpy(v.data(), &s, sizeof s);
    v[CREDIT] = stats[credit].valeur;
    v[MISE] = stats[mise].valeur;
}

SDL_Event evenement(uint8_t type, uint16_t x = 0, uint16_t y = 0, uint8_t bouton = SDL_BUTTON_LEFT)
{
    SDL_Event e{};
    e.type = type;
    e.button = {type, 0, bouton, type == SDL_MOUSEBUTTONDOWN ? uint8_t(SDL_PRESSED) : uint8_t(SDL_RELEASED), x, y};
    return e;
}
SDL_Event touche(uint8_t type, SDLKey sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    return e;
}

// Runs `appels` calls over the queued events; returns how many are left.
int joue(Ecran ecran, Instantane& v, std::initializer_list<SDL_Event> evenements, int appels = 1)
{
    for (SDL_Event e : evenements) EXPECT_EQ(SDL_PushEvent(&e), 0);
    for (int i = 0; i < appels; ++i) appelle(ecran, v);
    SDL_Event e;
    int restants = 0;
    while (SDL_PollEvent(&e)) ++restants;
    return restants;
}

// A close request would end the modal screens' process, so their sentinel is a press on Back.
SDL_Event sentinelle(Ecran e) { return e == APropos ? evenement(SDL_MOUSEBUTTONDOWN, 50, 470) : evenement(SDL_QUIT); }

void verifie(Ecran ecran, const SDL_Event& e, const Effet& effet, std::initializer_list<Changement> avant = {})
{
    Instantane v = depart(ecran, avant), attendu = v;
    applique(attendu, (effet.traite ? effet : ecran == APropos ? fait({RETOUR, 1}) : quitte).changements);
    EXPECT_EQ(joue(ecran, v, {e, sentinelle(ecran)}), effet.traite ? 1 : 0) << "events left after the call";
    EXPECT_EQ(v, attendu);
}

// A call that ends the process where it should return must fail the test
// rather than end it quietly with status 0; so must a call that hangs.
bool sortieAttendue = false;
void gardeSortie()
{
    if (!sortieAttendue && ::testing::UnitTest::GetInstance()->current_test_info() != nullptr) {
        std::fputs("the process ended inside a test\n", stderr);
        std::_Exit(1);
    }
}
void finAttendue()
{
    sortieAttendue = true;
    alarm(60);
}

class Evenements : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool garde = std::atexit(gardeSortie) == 0;
        ASSERT_TRUE(garde);
        alarm(60);
        if (avecSdl) {
            ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
            ASSERT_NE(SDL_SetVideoMode(872, 488, 32, 0), nullptr) << SDL_GetError();
        }
    }
    void TearDown() override
    {
        SDL_Quit();
        alarm(0);
    }
    bool avecSdl = true;
};

struct Zone {
    Ecran ecran;
    uint16_t x1, x2, y1, y2;
    Effet appui, relache;
};
constexpr Effet jeton(int i, int v)  // from credit 50 and bet 20
{
    return fait({JETON + i, 1}, {CREDIT, v < 50 ? 50 - v : 0}, {MISE, 20 + (v < 50 ? v : 50)});
}
constexpr Effet leve(int i) { return fait({JETON + i, 0}); }
constexpr Zone zones[] = {
    {Start, 7, 114, 426, 452, fait({AIDE, 1}), fait({AIDE, 0})},
    {Start, 7, 114, 457, 483, fait({APROPOS, 1}), fait({APROPOS, 0})},
    {Start, 283, 586, 144, 180, fait({NEWGAME, 1}), fait({NEWGAME, 0}, {ETAT, ETAT_MISE})},
    {Start, 283, 586, 203, 239, ignore, ignore},  // Resume
    {Start, 283, 586, 261, 297, fait({OPTION, 1}), fait({OPTION, 0}, {ETAT, ETAT_OPTION})},
    {Option, 7, 114, 457, 483, fait({RETOUR, 1}), fait({RETOUR, 0}, {ETAT, ETAT_START})},
    {Option, 7, 114, 426, 452, ignore, ignore},
    {Mise, 386, 537, 441, 477, fait({CARTE, 3}), fait({CARTE, 2}, {ETAT, ETAT_FIRSTHAND})},
    {Mise, 7, 114, 426, 452, fait({AIDE, 1}), fait({AIDE, 0})},
    {Mise, 7, 114, 457, 483, fait({APROPOS, 1}), fait({APROPOS, 0})},
    {Mise, 47, 114, 210, 277, jeton(0, 1), leve(0)},
    {Mise, 130, 197, 210, 277, jeton(1, 2), leve(1)},
    {Mise, 213, 280, 210, 277, jeton(2, 5), leve(2)},
    {Mise, 296, 363, 210, 277, jeton(3, 10), leve(3)},
    {Mise, 401, 468, 210, 277, jeton(8, 50), leve(8)},  // Allin
    {Mise, 47, 114, 293, 360, jeton(4, 20), leve(4)},
    {Mise, 130, 197, 293, 360, jeton(5, 50), leve(5)},
    {Mise, 213, 280, 293, 360, jeton(6, 100), leve(6)},
    {Mise, 296, 363, 293, 360, jeton(7, 200), leve(7)},
    {Mise, 401, 468, 293, 360, fait({JETON + 9, 1}, {CREDIT, 70}, {MISE, 0}), leve(9)},  // Reset
    {FirstHand, 386, 537, 441, 477, fait({CARTE, 3}), fait({CARTE, 4}, {ETAT, ETAT_SECONDHAND})},
    {FirstHand, 7, 114, 426, 452, fait({AIDE, 1}), fait({AIDE, 0})},
    {FirstHand, 7, 114, 457, 483, fait({APROPOS, 1}), fait({APROPOS, 0})},
    {FirstHand, 57, 126, 322, 336, fait({GARDER + 0, 0}), ignore},  // a mark of 7 toggles to 0
    {FirstHand, 148, 217, 322, 336, fait({GARDER + 1, 0}), ignore},
    {FirstHand, 239, 308, 322, 336, fait({GARDER + 2, 0}), ignore},
    {FirstHand, 330, 399, 322, 336, fait({GARDER + 3, 0}), ignore},
    {FirstHand, 421, 490, 322, 336, fait({GARDER + 4, 0}), ignore},
    {SecondHand, 386, 537, 441, 477, fait({CARTE, 5}), fait({CARTE, 4}, {ETAT, ETAT_MISE})},
    {SecondHand, 7, 114, 426, 452, fait({AIDE, 1}), fait({AIDE, 0})},
    {SecondHand, 7, 114, 457, 483, fait({APROPOS, 1}), fait({APROPOS, 0})},
    {Loose, 7, 114, 457, 483, fait({CONTINUER, 1}), fait({CONTINUER, 0}, {ETAT, ETAT_START})},
    {Loose, 7, 114, 426, 452, ignore, fait({CONTINUER, 0}, {ETAT, ETAT_START})},
    {APropos, 7, 114, 457, 483, fait({RETOUR, 1}), fait({RETOUR, 0})},
    {APropos, 7, 114, 426, 452, ignore, fait({RETOUR, 0})},
};

// Corners hit; one pixel beyond each side does not; other buttons never count.
TEST_F(Evenements, RectanglesAreInclusiveAndOnlyTheLeftButtonCounts)
{
    for (const Zone& z : zones) {
        const uint16_t x0 = z.x1 - 1, x3 = z.x2 + 1, y0 = z.y1 - 1, y3 = z.y2 + 1;
        for (uint8_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            const Effet& effet = type == SDL_MOUSEBUTTONDOWN ? z.appui : z.relache;
            for (uint8_t bouton : {1, 2, 3, 4, 5}) {
                for (auto [x, y, dedans] : std::initializer_list<std::tuple<uint16_t, uint16_t, bool>>{
                         {z.x1, z.y1, true}, {z.x2, z.y2, true}, {z.x1, z.y2, true}, {z.x2, z.y1, true},
                         {x0, z.y1, false}, {x3, z.y2, false}, {z.x1, y0, false}, {z.x2, y3, false}}) {
                    SCOPED_TRACE(::testing::Message() << "screen " << z.ecran << " type " << int(type) << " button "
                                                      << int(bouton) << " at " << x << ", " << y);
                    verifie(z.ecran, evenement(type, x, y, bouton), dedans && bouton == 1 ? effet : ignore);
                }
            }
        }
    }
}

TEST_F(Evenements, EscapeAndCloseQuitEveryGameScreenAndOtherInputIsIgnored)
{
    for (Ecran ecran : {Start, Option, Mise, FirstHand, SecondHand, Loose, APropos}) {
        SCOPED_TRACE(::testing::Message() << "screen " << ecran);
        if (ecran != APropos) {
            verifie(ecran, evenement(SDL_QUIT), quitte);
            verifie(ecran, touche(SDL_KEYDOWN, SDLK_ESCAPE), quitte);
        }
        for (const SDL_Event& e : {touche(SDL_KEYDOWN, SDLK_a), touche(SDL_KEYDOWN, SDLK_RETURN),
                                   touche(SDL_KEYUP, SDLK_ESCAPE), evenement(SDL_MOUSEMOTION, 50, 470),
                                   evenement(SDL_ACTIVEEVENT), evenement(SDL_VIDEOEXPOSE)}) {
            verifie(ecran, e, ignore);
        }
    }
}

TEST_F(Evenements, DisabledDealShortCreditEmptyAllinAndResetAndHoldToggles)
{
    verifie(Mise, evenement(SDL_MOUSEBUTTONDOWN, 400, 450), ignore, {{CARTE, 12}});
    verifie(Mise, evenement(SDL_MOUSEBUTTONUP, 400, 450), ignore, {{CARTE, 12}});
    verifie(FirstHand, evenement(SDL_MOUSEBUTTONDOWN, 400, 450), fait({CARTE, 3}), {{CARTE, 12}});
    verifie(Mise, evenement(SDL_MOUSEBUTTONDOWN, 213, 210), fait({JETON + 2, 1}, {CREDIT, 0}, {MISE, 3}),
            {{CREDIT, 3}, {MISE, 0}});
    verifie(Mise, evenement(SDL_MOUSEBUTTONDOWN, 401, 210), fait({JETON + 8, 1}), {{CREDIT, 0}});
    verifie(Mise, evenement(SDL_MOUSEBUTTONDOWN, 401, 293), fait({JETON + 9, 1}), {{MISE, 0}});
    verifie(FirstHand, evenement(SDL_MOUSEBUTTONDOWN, 239, 322), fait({GARDER + 2, 1}), {{GARDER + 2, 0}});
    verifie(FirstHand, evenement(SDL_MOUSEBUTTONDOWN, 239, 322), fait({GARDER + 2, 0}), {{GARDER + 2, 1}});
}

TEST_F(Evenements, CallsStopAtTheFirstHandledEventAndLeaveTheRestQueued)
{
    // A drag from chip 1 to chip 2: the press stakes, the release clears chip 2 only.
    Instantane v = depart(Mise);
    EXPECT_EQ(joue(Mise, v, {evenement(SDL_MOUSEBUTTONDOWN, 50, 220), evenement(SDL_MOUSEBUTTONUP, 150, 220)}, 2), 0);
    EXPECT_EQ(v, depart(Mise, {{JETON + 0, 1}, {JETON + 1, 0}, {CREDIT, 49}, {MISE, 21}}));
    // The disabled deal button is passed over; the chip ends the call; Help stays queued.
    v = depart(Mise, {{CARTE, 12}});
    EXPECT_EQ(joue(Mise, v,
                   {evenement(SDL_MOUSEBUTTONDOWN, 386, 441), evenement(SDL_MOUSEBUTTONUP, 537, 477),
                    evenement(SDL_MOUSEBUTTONDOWN, 300, 220), evenement(SDL_MOUSEBUTTONDOWN, 50, 430)}),
              1);
    EXPECT_EQ(v, depart(Mise, {{CARTE, 12}, {JETON + 3, 1}, {CREDIT, 40}, {MISE, 30}}));
    // A hold's release is passed over by the next call; two presses: 7 -> 0 -> 1.
    v = depart(FirstHand);
    EXPECT_EQ(joue(FirstHand, v,
                   {evenement(SDL_MOUSEBUTTONDOWN, 60, 330), evenement(SDL_MOUSEBUTTONUP, 60, 330),
                    evenement(SDL_MOUSEBUTTONDOWN, 60, 330), evenement(SDL_MOUSEBUTTONDOWN, 50, 430)},
                   2),
              1);
    EXPECT_EQ(v, depart(FirstHand, {{GARDER + 0, 1}}));
}

TEST_F(Evenements, EscapeOrCloseOnTheModalScreensEndsTheProcessWithStatusZero)
{
    for (const SDL_Event& fin : {evenement(SDL_QUIT), touche(SDL_KEYDOWN, SDLK_ESCAPE)}) {
        Instantane v = depart(APropos);
        EXPECT_EXIT((finAttendue(), joue(APropos, v, {evenement(SDL_MOUSEBUTTONDOWN, 50, 430), fin})),
                    ::testing::ExitedWithCode(0), "");
    }
}

// Without SDL there is no queue: a failed wait is a quit request on the game
// screens (waiting again would fail again at once), and on the modal screens
// it ends the process as a close request does.
class EvenementsSansSdl : public Evenements {
    void SetUp() override
    {
        avecSdl = false;
        Evenements::SetUp();
    }
};
TEST_F(EvenementsSansSdl, AFailedWaitIsAQuitRequest)
{
    for (Ecran ecran : {Start, Option, Mise, FirstHand, SecondHand, Loose}) {
        Instantane v = depart(ecran);
        appelle(ecran, v);
        EXPECT_EQ(v, depart(ecran, {{ETAT, -1}, {CONTINUE, -1}})) << "screen " << ecran;
    }
    Instantane v = depart(APropos);
    EXPECT_EXIT((finAttendue(), appelle(APropos, v)), ::testing::ExitedWithCode(0), "");
}

}  // namespace
