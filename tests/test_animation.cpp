// The deal and the draw frame by frame, the lit row of the pay table and the
// queue an animation leaves, on SDL's dummy display with the game's pictures.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "analyseCarte.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "miseEnScene.h"
#include "scenario.h"
#include "table.h"

// The rectangles of the window updated; a flip updates the whole window.
std::vector<SDL_Rect> misesAJour;
extern "C" void SDL_UpdateRects(SDL_Surface* ecran, int n, SDL_Rect* rectangles)
{
    misesAJour.insert(misesAJour.end(), rectangles, rectangles + n);
    reinterpret_cast<void (*)(SDL_Surface*, int, SDL_Rect*)>(dlsym(RTLD_NEXT, "SDL_UpdateRects"))(ecran, n, rectangles);
}

namespace {

using Pixels = std::vector<Uint32>;
constexpr int32_t premiere[5] = {5, 18, 27, 40, 52}, tiree[5] = {1, 2, 3, 4, 6};
uint32_t temps = 0;  // the animations' clock, moved by their waits only

class Animations : public testing::Test {
protected:
    SDL_Surface* ecran = nullptr;
    Statistique stats[NB_STATISTIQUES] = {};
    EtatSurface e{};
    Complements complements{};

    void SetUp() override
    {
        gardeTemps();
        ASSERT_EQ(chdir(VELMORA_DONNEES), 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF)) << SDL_GetError();
        initEtatSurface(&e), e.texteHaut = TEXTE_FIRSTHAND, std::copy(premiere, premiere + 5, e.carte);
        complements.deroulement = {[] { return temps; }, [](uint32_t ms) { temps += ms; }, nullptr, nullptr};
    }
    void TearDown() override { SDL_Quit(); }
    Pixels pixels() const
    {
        Pixels p(static_cast<Uint32*>(ecran->pixels), static_cast<Uint32*>(ecran->pixels) + 872 * 488);
        for (Uint32& v : p) v &= 0xFFFFFF;  // the alpha byte is not seen
        return p;
    }
    Pixels statique(EtatSurface copie) { return affichageMenuHand(ecran, &copie, stats), pixels(); }
};

// What slot i shows: 0 nothing, 1 the back, 2 the face (-1 anything else),
// and over how many columns, each one of that picture's, side by side about the middle.
using Colonne = std::array<Uint32, HAUTEUR_CARTE>;
Colonne colonne(const Uint32* p, int pas, int i, int x)
{
    Colonne c;
    for (int y = 0; y < HAUTEUR_CARTE; ++y) c[y] = p[(Y_CARTE + y) * pas + X_CARTE + PAS_CARTES * i + x] & 0xFFFFFF;
    return c;
}
std::pair<int, int> vue(SDL_Surface* s, int i, std::map<Colonne, int>& connues)
{
    int image = 0, debut = -1, n = 0;
    for (int x = 0; x < LARGEUR_CARTE; ++x) {
        const auto k = connues.find(colonne(static_cast<Uint32*>(s->pixels), s->pitch / 4, i, x));
        if (k == connues.end() || (k->second > 0 && ((image > 0 && k->second != image) || (n > 0 && debut + n != x))))
            return {-1, 0};
        if (k->second > 0) image = k->second, debut = n > 0 ? debut : x, ++n;
    }
    return std::abs(2 * debut + n - LARGEUR_CARTE) <= 1 || n == 0 ? std::pair{image, n} : std::pair{-1, 0};
}

// At every millisecond of the deal and of three draws, at either speed, only
// the turning slots are drawn, updated and reported, never the whole window.
// A slot only goes forward, by a few columns at a time: (when dealt) nothing,
// the back narrowing to nothing, then the face widening; it is never ahead of
// a turning slot on its left. The first frame shows the first card of a deal,
// the back of every card drawn; the last is the screen drawn whole. The deal
// lasts about 0.3 s, a third of that when fast.
TEST_F(Animations, DosPuisFacesDansLOrdreDesPlacesJusquALEcranEntier)
{
    for (auto [vitesse, fois] : {std::pair{ANIMATIONS_NORMALES, 1}, {ANIMATIONS_RAPIDES, 3}})  // fois: how much faster
        for (auto [genre, tournent] : {std::pair{ANIMATION_DONNE, 0b11111}, {ANIMATION_TIRAGE, 0b00001},
                                       {ANIMATION_TIRAGE, 0b10100}, {ANIMATION_TIRAGE, 0b01110}}) {
            SCOPED_TRACE(std::to_string(vitesse) + " " + std::to_string(genre) + " " + std::to_string(tournent));
            for (int i = 0; i < 5; ++i) e.garder[i] = genre == ANIMATION_TIRAGE && (tournent >> i & 1);
            EtatSurface fin = e, vide = e, dos = e;
            for (int i = 0; i < 5; ++i)
                fin.carte[i] = e.garder[i] ? tiree[i] : premiere[i], vide.carte[i] = PLACE_VIDE, dos.carte[i] = 0;
            std::map<Colonne, int> connues[5];
            for (auto [image, vu] : {std::pair{0, statique(vide)}, {1, statique(dos)}, {2, statique(fin)}})
                for (int i = 0; i < 5; ++i)
                    for (int x = 0; x < LARGEUR_CARTE; ++x) connues[i].emplace(colonne(vu.data(), 872, i, x), image);
            const Pixels attendu = pixels();
            Animation a;
            initAnimation(&a, genre, vitesse, &fin);
            EXPECT_TRUE(genre == ANIMATION_TIRAGE || std::abs(dureeAnimation(&a) * fois - 320) < 30);
            statique(genre == ANIMATION_DONNE ? vide : e), misesAJour.clear();
            int32_t signalees = 0, avances[5] = {-1, -1, -1, -1, -1};
            for (int32_t t = 0, avant = -1; avant < dureeAnimation(&a); avant = t++) {
                signalees |= affichageAnimation(ecran, &a, avant, t);
                for (int i = 0, gauche = 2 * LARGEUR_CARTE; i < 5; ++i) {
                    const auto [image, largeur] = vue(ecran, i, connues[i]);
                    // -1 before the card is dealt, 0 to 61 its back, 62 nothing, 63 to 124 its face.
                    const int avance = image == 1 ? 62 - largeur : image == 2 ? 62 + largeur : avances[i] < 0 ? -1 : 62;
                    ASSERT_TRUE(image >= 0 && avance >= avances[i] && (t == 0 || avance <= avances[i] + 8) &&
                                (!(tournent >> i & 1) || avance <= gauche)) << "slot " << i << " at " << t;
                    EXPECT_TRUE(t > 0 || (avance >= 0) == (genre == ANIMATION_TIRAGE || i == 0)) << "slot " << i;
                    avances[i] = avance, gauche = tournent >> i & 1 ? avance : gauche;
                }
            }
            EXPECT_TRUE(pixels() == attendu) << "the last frame is the screen drawn whole";
            EXPECT_EQ(signalees, tournent);
            for (const SDL_Rect& r : misesAJour)
                EXPECT_TRUE(r.w == LARGEUR_CARTE && (r.x - X_CARTE) % PAS_CARTES == 0 &&
                            tournent >> (r.x - X_CARTE) / PAS_CARTES & 1) << r.x << " " << r.w;
        }
}

// The final hand, once drawn, lights its combination's row of the pay table,
// Rien none, and the refresh after a modal screen lights it again. With
// animations=aucune, or without settings, every entry draws today's screen,
// with no animation.
TEST_F(Animations, LigneAllumeeEtAucuneAnimation)
{
    // The fixture's settings and clock but for aucune: an animation played would move the clock.
    Complements aucune = [this] { Complements c = complements; c.reglages.animations = ANIMATIONS_AUCUNE; return c; }();
    for (const Complements* avec : {&complements, &aucune, static_cast<Complements*>(nullptr)})
        for (int32_t c = Rien; c <= QuinteFlushRoyal; ++c) {
            e.texteHaut = c == Rien ? TEXTE_LOOSE : TEXTE_WIN, e.texteBas = c;
            const Pixels aujourdhui = statique(e);
            temps = 0, ouvreEcranMain(ecran, &e, stats, nullptr, avec, avec == &complements ? ENTREE_TIRAGE : c % 3);
            EXPECT_TRUE(avec == &complements || temps == 0) << "an animation played, entry " << c % 3;
            const Pixels allumee = pixels();
            // The rows are 25.6 pixels apart from y 162, the best first; two pixels around the lit one stay.
            const int haut = static_cast<int>(162 + 25.6f * (9 - c)) - 2;
            for (int p = 0; p < 872 * 488; ++p)
                ASSERT_TRUE(allumee[p] == aujourdhui[p] ||
                            (p % 872 > 573 && p % 872 < 852 && p / 872 > haut && p / 872 < haut + 29)) << c;
            EXPECT_EQ(allumee != aujourdhui, avec == &complements && c != Rien) << c;
            affichageMenuHand(ecran, &e, stats), refreshEcranMain(ecran, &e, stats, ETAT_SECONDHAND, nullptr, avec);
            EXPECT_TRUE(pixels() == allumee) << c;
        }
}

SDL_Event souris(Uint8 type, Uint8 bouton = SDL_BUTTON_LEFT) { return {.button = {type, 0, bouton, 0, 461, 459}}; }
SDL_Event touche(Uint8 type, SDLKey cle) { return {.key = {type, 0, 0, {0, cle, KMOD_NONE, 0}}}; }
std::pair<int32_t, int> dit;  // the slots an animation told of, and in how many frames

// Only the first press and its release are taken off the queue; Escape and
// the close request stay and end the animation too; the rest stays in order.
// It ends on the last frame, and frame by frame tells each slot once.
TEST_F(Animations, LaFileApresUneAnimation)
{
    const SDL_Event expose{.expose = {SDL_VIDEOEXPOSE}}, quitter{.quit = {SDL_QUIT}}, bas = souris(SDL_MOUSEBUTTONDOWN),
        haut = souris(SDL_MOUSEBUTTONUP), droit = souris(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT),
        a = touche(SDL_KEYDOWN, SDLK_a), aHaut = touche(SDL_KEYUP, SDLK_a), echap = touche(SDL_KEYDOWN, SDLK_ESCAPE);
    const std::tuple<std::vector<SDL_Event>, int32_t, std::vector<int>> cas[] = {  // pushed, how it ends, left
        {{haut, expose}, ANIMATION_FINIE, {0, 1}}, {{a, haut, aHaut, a}, ANIMATION_ABREGEE, {1, 3}},
        {{expose, bas, droit, haut, bas, haut}, ANIMATION_ABREGEE, {0, 2, 4, 5}},
        {{echap, bas, haut}, ANIMATION_QUITTEE, {0, 1, 2}}, {{bas, quitter, haut}, ANIMATION_QUITTEE, {1, 2}}};
    const Pixels fin = statique(e);
    complements.deroulement.retournees =
        [](void*, int32_t p) { EXPECT_FALSE(dit.first & p) << "told twice"; dit.first |= p, ++dit.second; };
    for (const auto& [pousses, comment, restes] : cas) {
        dit = {};
        for (SDL_Event ev : pousses) SDL_PushEvent(&ev);
        Animation anim;
        initAnimation(&anim, ANIMATION_DONNE, ANIMATIONS_NORMALES, &e);
        EXPECT_EQ(joueAnimation(ecran, &anim, &complements.deroulement), comment);
        EXPECT_TRUE(pixels() == fin && dit.first == 0b11111 && (dit.second > 1) == (comment == ANIMATION_FINIE));
        SDL_Event lus[8];
        ASSERT_EQ(SDL_PeepEvents(lus, 8, SDL_GETEVENT, SDL_ALLEVENTS), int(restes.size())) << comment;
        for (size_t k = 0; k < restes.size(); ++k) EXPECT_EQ(std::memcmp(&lus[k], &pousses[restes[k]], sizeof *lus), 0);
    }
}

}  // namespace
