// The deal and the draw frame by frame, the lit row of the pay table and the
// queue an animation leaves, on SDL's dummy display with the game's pictures.
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstring>
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

std::vector<SDL_Rect> misesAJour;  // but those of the flips
int flips = 0;
bool dansFlip = false;
extern "C" void SDL_UpdateRects(SDL_Surface* ecran, int n, SDL_Rect* rectangles)
{
    if (!dansFlip) misesAJour.insert(misesAJour.end(), rectangles, rectangles + n);
    reinterpret_cast<void (*)(SDL_Surface*, int, SDL_Rect*)>(dlsym(RTLD_NEXT, "SDL_UpdateRects"))(ecran, n, rectangles);
}
extern "C" int SDL_Flip(SDL_Surface* ecran)
{
    ++flips, dansFlip = true;
    const int r = reinterpret_cast<int (*)(SDL_Surface*)>(dlsym(RTLD_NEXT, "SDL_Flip"))(ecran);
    return dansFlip = false, r;
}

namespace {

using Pixels = std::vector<Uint32>;
constexpr int32_t premiere[5] = {5, 18, 27, 40, 52}, tiree[5] = {1, 2, 3, 4, 6};
uint32_t temps = 0;

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
        initStatistiques(stats);
        initEtatSurface(&e);
        e.texteHaut = TEXTE_FIRSTHAND;
        std::copy(premiere, premiere + 5, e.carte);
        complements.deroulement = {[] { return temps; }, [](uint32_t ms) { temps += ms; }, nullptr, nullptr};
    }
    void TearDown() override { SDL_Quit(); }
    Pixels pixels() const
    {
        Pixels p;
        for (int y = 0; y < 488; ++y)
            for (int x = 0; x < 872; ++x) p.push_back(static_cast<Uint32*>(ecran->pixels)[y * ecran->pitch / 4 + x] & 0xFFFFFF);
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
    int image = 0, premiere = -1, n = 0;
    for (int x = 0; x < LARGEUR_CARTE; ++x) {
        const auto k = connues.find(colonne(static_cast<Uint32*>(s->pixels), s->pitch / 4, i, x));
        if (k == connues.end() || (k->second > 0 && image > 0 && k->second != image)) return {-1, 0};
        if (k->second == 0) continue;
        if (premiere >= 0 && premiere + n != x) return {-1, 0};
        image = k->second, premiere = premiere < 0 ? x : premiere, ++n;
    }
    return std::abs(2 * premiere + n - LARGEUR_CARTE) <= 1 || n == 0 ? std::pair{image, n} : std::pair{-1, 0};
}

// At every millisecond of the deal and of three draws, at either speed, only
// the turning slots are drawn, updated and reported, once each, never a flip:
// each shows (after nothing, when dealt) the back narrowing to nothing, then
// the face widening, in many steps, one slot after the other from the left;
// the last frame, and that of a slow machine, is the screen drawn whole. The
// deal lasts under 350 ms, about three times less when fast.
TEST_F(Animations, DosPuisFacesDansLOrdreDesPlacesJusquALEcranEntier)
{
    int32_t durees[2] = {};
    for (int32_t vitesse : {ANIMATIONS_NORMALES, ANIMATIONS_RAPIDES})
        for (int32_t marques : {-1, 0b00001, 0b10100, 0b01110}) {
            SCOPED_TRACE(std::to_string(vitesse) + " " + std::to_string(marques));
            const int32_t tournent = marques < 0 ? 0b11111 : marques;
            EtatSurface fin = e, depart = e, dos = e;
            for (int i = 0; i < 5; ++i) {
                fin.garder[i] = depart.garder[i] = dos.garder[i] = marques > 0 && (marques >> i & 1);
                fin.carte[i] = fin.garder[i] ? tiree[i] : premiere[i], depart.carte[i] = PLACE_VIDE, dos.carte[i] = 0;
            }
            std::map<Colonne, int> connues[5];
            for (auto [image, modele] : {std::pair{0, statique(depart)}, {1, statique(dos)}, {2, statique(fin)}})
                for (int i = 0; i < 5; ++i)
                    for (int x = 0; x < LARGEUR_CARTE; ++x) connues[i].emplace(colonne(modele.data(), 872, i, x), image);
            const Pixels attendu = pixels();
            Animation a;
            initAnimation(&a, marques < 0 ? ANIMATION_DONNE : ANIMATION_TIRAGE, vitesse, &fin);
            durees[vitesse] = marques < 0 ? dureeAnimation(&a) : durees[vitesse];
            for (int32_t pas : {1, 37}) {
                if (marques > 0) std::copy(premiere, premiere + 5, depart.carte);
                statique(depart);
                misesAJour.clear(), flips = 0;
                int32_t signalees = 0, premiereFace[5] = {}, arrivee[5] = {-1, -1, -1, -1, -1};
                std::vector<std::pair<int, int>> vues[5];
                for (int32_t t = 0, avant = -1; avant < dureeAnimation(&a); avant = t, t += pas) {
                    const int32_t tournees = affichageAnimation(ecran, &a, avant, t);
                    EXPECT_EQ(tournees & signalees, 0);
                    signalees |= tournees;
                    for (int i = 0; i < 5; ++i) {
                        const auto v = vue(ecran, i, connues[i]);
                        if (vues[i].empty() || vues[i].back() != v) vues[i].push_back(v);
                        if (premiereFace[i] == 0 && v == std::pair{2, int(LARGEUR_CARTE)}) premiereFace[i] = t;
                        if (arrivee[i] < 0 && v.first > 0) arrivee[i] = t;
                    }
                }
                EXPECT_TRUE(pixels() == attendu) << "the last frame is the screen drawn whole";
                EXPECT_EQ(signalees, tournent);
                EXPECT_EQ(flips, 0);
                for (const SDL_Rect& r : misesAJour)
                    EXPECT_TRUE((r.x - X_CARTE) % PAS_CARTES == 0 && (tournent >> (r.x - X_CARTE) / PAS_CARTES & 1) && r.y == Y_CARTE &&
                                r.w == LARGEUR_CARTE && r.h == HAUTEUR_CARTE) << r.x;
                for (int i = 0, gauche = -1; i < 5 && pas == 1; ++i) {
                    if (!(tournent >> i & 1)) {
                        EXPECT_EQ(vues[i].size(), 1u) << "slot " << i << " moved";
                        continue;
                    }
                    EXPECT_GT(premiereFace[i], gauche) << "slot " << i << " before the one on its left";
                    EXPECT_TRUE(marques < 0 ? arrivee[i] > (i > 0 ? arrivee[i - 1] : -1) : arrivee[i] == 0) << "slot " << i;
                    gauche = premiereFace[i];
                    int cle = -2, dosVu = 0;
                    for (auto [image, largeur] : vues[i]) {
                        ASSERT_NE(image, -1) << "slot " << i;
                        dosVu |= image == 1;
                        const int suivante = image == 1 ? 62 - largeur : image == 2 ? 62 + largeur : dosVu ? 62 : -1;
                        EXPECT_GT(suivante, cle) << "slot " << i << ": " << image << " " << largeur;
                        cle = suivante;
                    }
                    EXPECT_TRUE(dosVu && vues[i].size() >= 8) << "slot " << i;
                }
            }
        }
    EXPECT_LT(durees[ANIMATIONS_NORMALES], 350);
    EXPECT_NEAR(durees[ANIMATIONS_NORMALES] / double(durees[ANIMATIONS_RAPIDES]), 3.0, 0.3);
}

// The final hand lights its combination's row of the pay table, Rien none, and
// the refresh after a modal screen lights it again. With animations=aucune, or
// without settings, every entry draws today's screen in today's full draw.
TEST_F(Animations, LigneAllumeeEtAucuneAnimation)
{
    for (int32_t vitesse : {ANIMATIONS_NORMALES, ANIMATIONS_AUCUNE})
        for (int32_t c = Rien; c <= QuinteFlushRoyal; ++c) {
            complements.reglages.animations = vitesse;
            e.texteHaut = c == Rien ? TEXTE_LOOSE : TEXTE_WIN, e.texteBas = c;
            const Pixels aujourdhui = statique(e);
            ouvreEcranMain(ecran, &e, stats, nullptr, &complements, ENTREE_FIXE);
            const Pixels allumee = pixels();
            // The rows are 25.6 pixels apart from y 162, the best first; two pixels around the lit one stay.
            const int haut = static_cast<int>(162 + 25.6f * (9 - c)) - 2;
            int changes = 0;
            for (int p = 0; p < 872 * 488; ++p) {
                changes += allumee[p] != aujourdhui[p];
                ASSERT_TRUE(allumee[p] == aujourdhui[p] || (p % 872 > 573 && p % 872 < 852 && p / 872 > haut && p / 872 < haut + 29)) << c;
            }
            EXPECT_EQ(changes > 5000, vitesse == ANIMATIONS_NORMALES && c != Rien) << c << ": " << changes;
            affichageMenuHand(ecran, &e, stats);
            refreshEcranMain(ecran, &e, stats, ETAT_SECONDHAND, nullptr, &complements);
            EXPECT_TRUE(pixels() == allumee) << c;
        }
    e.garder[2] = 1, e.texteHaut = TEXTE_FIRSTHAND;
    const Pixels aujourdhui = statique(e);
    for (const Complements* c : {static_cast<Complements*>(nullptr), &complements})
        for (int32_t entree : {ENTREE_FIXE, ENTREE_DONNE, ENTREE_TIRAGE}) {
            SDL_FillRect(ecran, nullptr, 0);
            misesAJour.clear(), flips = 0;
            ouvreEcranMain(ecran, &e, stats, nullptr, c, entree);
            EXPECT_TRUE(pixels() == aujourdhui && flips == 2 && misesAJour.empty()) << entree;
        }
}

SDL_Event souris(Uint8 type, Uint8 bouton = SDL_BUTTON_LEFT) { return SDL_Event{.button = {type, 0, bouton, 0, 461, 459}}; }
SDL_Event touche(Uint8 type, SDLKey cle) { return SDL_Event{.key = {type, 0, 0, {0, cle, KMOD_NONE, 0}}}; }

// Only the first press and its release are taken off the queue; Escape and
// the close request stay and end the animation too; the rest stays in order.
// It ends on the last frame, and frame by frame tells each slot once.
TEST_F(Animations, LaFileApresUneAnimation)
{
    const SDL_Event expose{.expose = {SDL_VIDEOEXPOSE}}, quitter{.quit = {SDL_QUIT}}, bas = souris(SDL_MOUSEBUTTONDOWN),
        haut = souris(SDL_MOUSEBUTTONUP), droit = souris(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT), a = touche(SDL_KEYDOWN, SDLK_a),
        aHaut = touche(SDL_KEYUP, SDLK_a), echap = touche(SDL_KEYDOWN, SDLK_ESCAPE);
    const std::tuple<std::vector<SDL_Event>, int32_t, std::vector<int>> cas[] = {  // pushed, how it ends, left
        {{expose}, ANIMATION_FINIE, {0}}, {{haut}, ANIMATION_FINIE, {0}}, {{bas}, ANIMATION_ABREGEE, {}},
        {{expose, bas, droit, haut, bas, haut}, ANIMATION_ABREGEE, {0, 2, 4, 5}}, {{a, haut, aHaut, a}, ANIMATION_ABREGEE, {1, 3}},
        {{echap, bas, haut}, ANIMATION_QUITTEE, {0, 1, 2}}, {{bas, quitter, haut}, ANIMATION_QUITTEE, {1, 2}}};
    const Pixels fin = statique(e);
    std::pair<int32_t, int> ecoute;  // the slots told, and how many times
    complements.deroulement.retournees = [](void* x, int32_t places) {
        auto* ec = static_cast<std::pair<int32_t, int>*>(x);
        EXPECT_EQ(ec->first & places, 0);
        ec->first |= places, ++ec->second;
    };
    complements.deroulement.ecoute = &ecoute;
    for (const auto& [pousses, comment, restes] : cas) {
        ecoute = {};
        for (SDL_Event ev : pousses) SDL_PushEvent(&ev);
        Animation anim;
        initAnimation(&anim, ANIMATION_DONNE, ANIMATIONS_NORMALES, &e);
        EXPECT_EQ(joueAnimation(ecran, &anim, &complements.deroulement), comment);
        EXPECT_TRUE(pixels() == fin && ecoute.first == 0b11111 && (ecoute.second > 1) == (comment == ANIMATION_FINIE));
        SDL_Event lus[8];
        ASSERT_EQ(SDL_PeepEvents(lus, 8, SDL_GETEVENT, SDL_ALLEVENTS), int(restes.size())) << comment;
        for (size_t k = 0; k < restes.size(); ++k) EXPECT_EQ(std::memcmp(&lus[k], &pousses[restes[k]], sizeof(SDL_Event)), 0);
    }
}

}  // namespace
