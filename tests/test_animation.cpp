// The deal and the draw frame by frame, and the lit row of the pay table, on
// SDL's dummy display with the game's own pictures; the clock is the test's.
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "analyseCarte.h"
#include "animation.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "miseEnScene.h"
#include "scenario.h"

namespace {

std::vector<SDL_Rect> misesAJour;  // every rectangle updated, but by a flip
int flips = 0;
bool dansFlip = false;

}  // namespace

extern "C" void SDL_UpdateRects(SDL_Surface* ecran, int nombre, SDL_Rect* rectangles)
{
    if (!dansFlip) misesAJour.insert(misesAJour.end(), rectangles, rectangles + nombre);
    reinterpret_cast<void (*)(SDL_Surface*, int, SDL_Rect*)>(dlsym(RTLD_NEXT, "SDL_UpdateRects"))(ecran, nombre, rectangles);
}

extern "C" int SDL_Flip(SDL_Surface* ecran)
{
    ++flips;
    dansFlip = true;
    const int resultat = reinterpret_cast<int (*)(SDL_Surface*)>(dlsym(RTLD_NEXT, "SDL_Flip"))(ecran);
    dansFlip = false;
    return resultat;
}

namespace {

using Pixels = std::vector<Uint32>;
constexpr int32_t premiere[5] = {5, 18, 27, 40, 52};  // 3 Trefle, 6 Carreau, 8 Coeur, J Pique, as Pique
constexpr int32_t tiree[5] = {1, 2, 3, 4, 6};

uint32_t temps = 0;
uint32_t horloge() { return temps; }
void attente(uint32_t millisecondes) { temps += millisecondes; }

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
        ASSERT_NE(ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF), nullptr) << SDL_GetError();
        for (SDL_Event ev; SDL_PollEvent(&ev);) continue;
        initStatistiques(stats);
        initEtatSurface(&e);
        e.texteHaut = TEXTE_FIRSTHAND;
        std::copy(premiere, premiere + 5, e.carte);
        complements.deroulement = {horloge, attente, nullptr, nullptr};
        temps = 0;
    }
    void TearDown() override { SDL_Quit(); }

    Pixels pixels() const
    {
        Pixels p(872 * 488);
        for (int y = 0; y < 488; ++y)
            for (int x = 0; x < 872; ++x) p[y * 872 + x] = static_cast<Uint32*>(ecran->pixels)[y * ecran->pitch / 4 + x] & 0xFFFFFF;
        return p;
    }
    // The screen drawn whole as it is today.
    Pixels statique(EtatSurface copie, int32_t ligne = Rien)
    {
        affichageMenuHand(ecran, &copie, stats, nullptr, ligne);
        return pixels();
    }
};

// What a slot shows: an empty slot, the back, the face, squeezed to a width
// about its middle, each of its columns a column of that one picture.
enum Vue { VIDE, DOS, FACE, AUTRE };
struct Place { Vue vue; int largeur; bool operator==(const Place&) const = default; };

using Colonne = std::vector<Uint32>;
Colonne colonne(const Uint32* pixels, int pas, int i, int x)
{
    Colonne c;
    for (int y = Y_CARTE; y < Y_CARTE + HAUTEUR_CARTE; ++y) c.push_back(pixels[y * pas + X_CARTE + PAS_CARTES * i + x] & 0xFFFFFF);
    return c;
}

// The columns of slot i empty, and those of its back and of its face.
struct Modeles {
    std::vector<Colonne> vide;
    std::map<Colonne, Vue> cartes;
    Modeles(int i, const Pixels& vides, const Pixels& dos, const Pixels& face)
    {
        for (int x = 0; x < LARGEUR_CARTE; ++x) {
            vide.push_back(colonne(vides.data(), 872, i, x));
            cartes.emplace(colonne(dos.data(), 872, i, x), DOS);
            cartes.emplace(colonne(face.data(), 872, i, x), FACE);
        }
    }
};

Place place(const Uint32* pixels, int pas, int i, const Modeles& m)
{
    std::vector<int> dessinees;
    Vue vue = VIDE;
    for (int x = 0; x < LARGEUR_CARTE; ++x) {
        const Colonne c = colonne(pixels, pas, i, x);
        if (c == m.vide[x]) continue;
        dessinees.push_back(x);
        const auto trouvee = m.cartes.find(c);
        if (trouvee == m.cartes.end() || (vue != VIDE && trouvee->second != vue)) return {AUTRE, 0};
        vue = trouvee->second;
    }
    const int largeur = static_cast<int>(dessinees.size());
    const bool centree = largeur == 0 || (dessinees.back() - dessinees.front() + 1 == largeur &&
                                          std::abs(dessinees.front() + dessinees.back() + 1 - LARGEUR_CARTE) <= 1);
    return centree ? Place{vue, largeur} : Place{AUTRE, 0};
}

bool dansLesPlaces(const SDL_Rect& r, int32_t places)
{
    for (int i = 0; i < 5; ++i)
        if ((places >> i & 1) && r.x == X_CARTE + PAS_CARTES * i && r.y == Y_CARTE && r.w == LARGEUR_CARTE && r.h == HAUTEUR_CARTE)
            return true;
    return false;
}

// At every millisecond of the deal and of draws of several holds, at either
// speed: only the turning slots are drawn, updated and reported, never a
// flip; each turning slot goes from nothing (deal) or the back to the face,
// the back narrowing, then the face widening, one after the other in slot
// order; the others never change; the last frame is the screen drawn whole.
TEST_F(Animations, ImagesDosPuisFacesDansLOrdreDesPlaces)
{
    EtatSurface dos = e, faces = e, vide = e;
    std::fill_n(dos.carte, 5, 0);
    std::fill_n(vide.carte, 5, PLACE_VIDE);
    const Pixels fondVide = statique(vide), fondDos = statique(dos);
    for (int32_t vitesse : {ANIMATIONS_NORMALES, ANIMATIONS_RAPIDES})
        for (int32_t marques : {-1, 0b00001, 0b10100, 0b01110, 0b11111}) {  // -1: the deal
            SCOPED_TRACE(std::to_string(vitesse) + " " + std::to_string(marques));
            EtatSurface depart = faces;
            for (int i = 0; i < 5; ++i) {
                faces.garder[i] = depart.garder[i] = marques > 0 && (marques >> i & 1);
                faces.carte[i] = faces.garder[i] ? tiree[i] : premiere[i];
                depart.carte[i] = marques < 0 ? PLACE_VIDE : premiere[i];
            }
            const int32_t tournent = marques < 0 ? 0b11111 : marques;
            Animation a;
            initAnimation(&a, marques < 0 ? ANIMATION_DONNE : ANIMATION_TIRAGE, vitesse, &faces);
            const Pixels fin = statique(faces);
            std::vector<Modeles> modeles;
            for (int i = 0; i < 5; ++i) modeles.emplace_back(i, fondVide, fondDos, fin);
            std::vector<Place> vues[5];  // for the deal, from the empty slots on
            const Pixels avant = statique(depart);
            for (int i = 0; i < 5 && marques < 0; ++i) vues[i].push_back(place(avant.data(), 872, i, modeles[i]));
            misesAJour.clear(), flips = 0;
            int32_t signalees = 0, premiereFace[5] = {};
            for (int32_t t = 0, avant = -1; t <= dureeAnimation(&a); avant = t++) {
                const int32_t tournees = affichageAnimation(ecran, &a, avant, t);
                EXPECT_EQ(tournees & signalees, 0) << "a slot reported twice";
                signalees |= tournees;
                for (int i = 0; i < 5; ++i) {
                    const Place v = place(static_cast<Uint32*>(ecran->pixels), ecran->pitch / 4, i, modeles[i]);
                    if (vues[i].empty() || !(vues[i].back() == v)) vues[i].push_back(v);
                    if (v.vue == FACE && v.largeur == LARGEUR_CARTE && premiereFace[i] == 0) premiereFace[i] = t;
                }
            }
            EXPECT_TRUE(pixels() == fin) << "the last frame is the screen drawn whole";
            EXPECT_EQ(signalees, tournent);
            EXPECT_EQ(flips, 0);
            for (const SDL_Rect& r : misesAJour) EXPECT_TRUE(dansLesPlaces(r, tournent)) << r.x << "," << r.y;
            for (int i = 0, precedente = -1; i < 5; ++i) {
                if (!(tournent >> i & 1)) {
                    EXPECT_EQ(vues[i].size(), 1u) << "slot " << i << " moved";
                    continue;
                }
                EXPECT_GT(premiereFace[i], precedente) << "slot " << i << " turned before the one on its left";
                precedente = premiereFace[i];
                // Nothing (deal) or the back, narrowing to nothing, then the face widening.
                int largeur = LARGEUR_CARTE, f = 0;
                for (const Place& v : vues[i]) {
                    ASSERT_NE(v.vue, AUTRE) << "slot " << i;
                    if (v.vue == DOS) {
                        EXPECT_TRUE(v.largeur <= largeur && f == 0) << "slot " << i;
                        largeur = v.largeur;
                    } else if (v.vue == VIDE) {
                        EXPECT_EQ(f, 0) << "slot " << i << " empty after its face showed";
                    } else if (v.vue == FACE) {
                        EXPECT_GT(v.largeur, f) << "slot " << i;
                        f = v.largeur;
                    }
                }
                const size_t k = marques < 0;  // the deal starts from an empty slot, the draw from the back
                EXPECT_TRUE(k == 0 || vues[i][0] == (Place{VIDE, 0})) << "slot " << i;
                EXPECT_EQ(vues[i][k], (Place{DOS, LARGEUR_CARTE})) << "slot " << i;
                EXPECT_EQ(vues[i].back(), (Place{FACE, LARGEUR_CARTE})) << "slot " << i;
                EXPECT_GE(vues[i].size(), 8u) << "slot " << i << ": too few widths to look smooth";
            }
        }
}

// The deal lasts under 350 ms at the normal speed and about three times less
// when fast; a slow machine's few frames end on the same screen.
TEST_F(Animations, DureesEtImagesManquees)
{
    Animation normale, rapide;
    initAnimation(&normale, ANIMATION_DONNE, ANIMATIONS_NORMALES, &e);
    initAnimation(&rapide, ANIMATION_DONNE, ANIMATIONS_RAPIDES, &e);
    EXPECT_LT(dureeAnimation(&normale), 350);
    EXPECT_GT(dureeAnimation(&normale), 250);
    EXPECT_NEAR(dureeAnimation(&normale) / double(dureeAnimation(&rapide)), 3.0, 0.3);
    const Pixels fin = statique(e);
    for (int32_t pas : {7, 37, 160, 1000}) {
        EtatSurface vide = e;
        std::fill_n(vide.carte, 5, PLACE_VIDE);
        statique(vide);
        int32_t signalees = 0;
        for (int32_t avant = -1, t = 0;; avant = t, t += pas) {
            signalees |= affichageAnimation(ecran, &normale, avant, t);
            if (t >= dureeAnimation(&normale)) break;
        }
        EXPECT_EQ(signalees, 0b11111) << pas;
        EXPECT_TRUE(pixels() == fin) << pas;
    }
}

// The row of the final hand's combination is lit for the nine winning
// classes, and stays lit after a modal screen restored the table; Rien lights
// nothing, and with animations=aucune the screen is today's.
TEST_F(Animations, LigneDeLaCombinaisonAllumee)
{
    for (int32_t vitesse : {ANIMATIONS_NORMALES, ANIMATIONS_AUCUNE})
        for (int32_t c = Rien; c <= QuinteFlushRoyal; ++c) {
            complements.reglages.animations = vitesse;
            e.texteHaut = c == Rien ? TEXTE_LOOSE : TEXTE_WIN;
            e.texteBas = c;
            const Pixels aujourdhui = statique(e);
            ouvreEcranMain(ecran, &e, stats, nullptr, &complements, ENTREE_FIXE);
            const Pixels lit = pixels();
            // The pay table's rows are 25.6 pixels apart from y 162, the strongest first; the
            // lit one is drawn with two pixels of the table around it, which must not change.
            const int haut = static_cast<int>(162 + 25.6f * (9 - c)) - 2;
            int changes = 0;
            for (int y = 0; y < 488; ++y)
                for (int x = 0; x < 872; ++x)
                    if (lit[y * 872 + x] != aujourdhui[y * 872 + x]) {
                        ++changes;
                        ASSERT_TRUE(x > 573 && x < 852 && y > haut && y < haut + 29) << x << "," << y << " off row " << c;
                    }
            const bool allumee = vitesse == ANIMATIONS_NORMALES && c != Rien;
            EXPECT_EQ(changes > 250 * 20, allumee) << c << ": " << changes << " pixels changed";
            affichageMenuHand(ecran, &e, stats);  // as the Help screen restores it
            refreshEcranMain(ecran, &e, stats, ETAT_SECONDHAND, nullptr, &complements);
            EXPECT_TRUE(pixels() == lit) << c;
        }
}

// With animations=aucune, or without settings, every entry draws today's
// screen in today's single full draw; with them, the deal starts from empty
// slots and the draw from the first hand on the screen.
TEST_F(Animations, AucuneDonneLEcranDAujourdhui)
{
    e.garder[2] = 1;
    const Pixels aujourdhui = statique(e);
    for (const Complements* c : {static_cast<const Complements*>(nullptr), static_cast<const Complements*>(&complements)})
        for (int32_t entree : {ENTREE_FIXE, ENTREE_DONNE, ENTREE_TIRAGE}) {
            complements.reglages.animations = ANIMATIONS_AUCUNE;
            SDL_FillRect(ecran, nullptr, 0);
            misesAJour.clear(), flips = 0;
            ouvreEcranMain(ecran, &e, stats, nullptr, c, entree);
            EXPECT_TRUE(pixels() == aujourdhui) << entree;
            EXPECT_EQ(flips, 2) << "the counters' flip and the screen's";
            EXPECT_TRUE(misesAJour.empty());
        }
}

// A queue met by the animation: what is pushed, how it ends, what is left.
struct Cas {
    std::vector<SDL_Event> pousses;
    int32_t fin;
    std::vector<int> restes;  // indices into pousses
};

SDL_Event souris(Uint8 type, Uint8 bouton = SDL_BUTTON_LEFT)
{
    return SDL_Event{.button = {type, 0, bouton, type == SDL_MOUSEBUTTONDOWN ? Uint8(SDL_PRESSED) : Uint8(SDL_RELEASED), 461, 459}};
}
SDL_Event touche(Uint8 type, SDLKey cle)
{
    return SDL_Event{.key = {type, 0, type == SDL_KEYDOWN ? Uint8(SDL_PRESSED) : Uint8(SDL_RELEASED), {0, cle, KMOD_NONE, 0}}};
}
const SDL_Event expose{.expose = {SDL_VIDEOEXPOSE}}, quitter{.quit = {SDL_QUIT}},
    mouvement{.motion = {SDL_MOUSEMOTION, 0, 0, 10, 20, 1, 1}};
const SDL_Event appui = souris(SDL_MOUSEBUTTONDOWN), relache = souris(SDL_MOUSEBUTTONUP);

// Only the first press and its release are taken, whatever lies between;
// Escape and the close request are left in their place and end the
// animation too; everything else stays, in its order. Each run ends on the
// last frame and tells the turning slots once each.
TEST_F(Animations, LaFileApresUneAnimation)
{
    const SDL_Event droit = souris(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), droitLache = souris(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    const SDL_Event a = touche(SDL_KEYDOWN, SDLK_a), aLache = touche(SDL_KEYUP, SDLK_a), echap = touche(SDL_KEYDOWN, SDLK_ESCAPE);
    const Cas cas[] = {
        {{}, ANIMATION_FINIE, {}},
        {{expose, mouvement}, ANIMATION_FINIE, {0, 1}},
        {{relache}, ANIMATION_FINIE, {0}},  // a release alone finishes nothing
        {{appui, relache}, ANIMATION_ABREGEE, {}},
        {{expose, appui, mouvement, relache, appui, relache}, ANIMATION_ABREGEE, {0, 2, 4, 5}},
        {{appui, droitLache, relache}, ANIMATION_ABREGEE, {1}},
        {{droit, relache, droitLache}, ANIMATION_ABREGEE, {1}},
        {{a, relache, aLache, a}, ANIMATION_ABREGEE, {1, 3}},
        {{appui}, ANIMATION_ABREGEE, {}},
        {{echap, appui, relache}, ANIMATION_QUITTEE, {0, 1, 2}},
        {{expose, quitter, mouvement}, ANIMATION_QUITTEE, {0, 1, 2}},
        {{appui, quitter, relache}, ANIMATION_QUITTEE, {1, 2}},
    };
    EtatSurface vide = e;
    std::fill_n(vide.carte, 5, PLACE_VIDE);
    const Pixels fin = statique(e);
    struct Ecoute { int32_t places = 0; int fois = 0; } ecoute;
    complements.deroulement.retournees = [](void* ec, int32_t places) {
        auto* x = static_cast<Ecoute*>(ec);
        EXPECT_EQ(x->places & places, 0);
        x->places |= places, ++x->fois;
    };
    complements.deroulement.ecoute = &ecoute;
    for (const Cas& c : cas) {
        SCOPED_TRACE(&c - cas);
        statique(vide);
        ecoute = {};
        for (SDL_Event ev : c.pousses) SDL_PushEvent(&ev);
        Animation anim;
        initAnimation(&anim, ANIMATION_DONNE, ANIMATIONS_NORMALES, &e);
        EXPECT_EQ(joueAnimation(ecran, &anim, &complements.deroulement), c.fin);
        EXPECT_TRUE(pixels() == fin);
        EXPECT_EQ(ecoute.places, 0b11111);
        EXPECT_EQ(ecoute.fois > 1, c.fin == ANIMATION_FINIE) << "frame by frame when played to its end";
        std::vector<SDL_Event> restes(16);
        restes.resize(std::max(0, SDL_PeepEvents(restes.data(), 16, SDL_GETEVENT, SDL_ALLEVENTS)));
        ASSERT_EQ(restes.size(), c.restes.size());
        for (size_t k = 0; k < restes.size(); ++k)
            EXPECT_EQ(std::memcmp(&restes[k], &c.pousses[c.restes[k]], sizeof(SDL_Event)), 0) << k;
    }
}

}  // namespace
