// Every full draw and every refresh of the game's screens on SDL's dummy
// display, with the real pictures and font, each beside the same blits made
// from surfaces read and rendered once in advance ("blits_nus"): the
// difference is what reading, decoding and rendering cost on every call.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "animation.h"
#include "gestionConseil.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "reglages.h"

namespace {

SDL_Surface* ecran = nullptr;

// One step of a screen as bare blits: a bitmap at its place (chips keyed on
// the table's green), the seven counters followed by their flip, or a flip.
enum class Genre { bitmap, compteurs, flip };
struct Etape {
    Genre genre;
    const char* fichier = nullptr;
    Sint16 x = 0, y = 0;
    bool cle = false;
};

constexpr Etape flip{Genre::flip};
constexpr Etape compteurs{Genre::compteurs};
constexpr Etape bitmap(const char* fichier, Sint16 x, Sint16 y, bool cle = false)
{
    return Etape{Genre::bitmap, fichier, x, y, cle};
}

// The states drawn: a stake of 10 on chip 10 out of 50 credits, and a first
// hand of five cards with two marked for exchange.
constexpr int32_t cartesMain[5] = {5, 18, 27, 40, 52};  // 3 Trefle, 6 Carreau, 8 Coeur, J Pique, as Pique
constexpr int32_t garderMain[5] = {1, 0, 0, 1, 0};

void etatMise(EtatSurface* e, Statistique* s)
{
    initEtatSurface(e);
    initStatistiques(s);
    gestionMise(s, 10);
    e->jeton[3] = 1;
    e->boutonCarte = CARTE_UP;
}

void etatMain(EtatSurface* e, Statistique* s)
{
    etatMise(e, s);
    e->jeton[3] = 0;
    e->texteHaut = TEXTE_FIRSTHAND;
    for (int i = 0; i < 5; ++i) {
        e->carte[i] = cartesMain[i];
        e->garder[i] = garderMain[i];
    }
}

const Etape aide = bitmap("image/bouton/boutonAideUp.bmp", 6, 425);
const Etape apropos = bitmap("image/bouton/boutonApropoUp.bmp", 6, 456);
const Etape carteUp = bitmap("image/bouton/boutonCarteUp.bmp", 385, 440);
const Etape backTexte = bitmap("image/backTexte.bmp", 10, 93);

std::vector<Etape> boutonsStart()
{
    return {aide, apropos, bitmap("image/bouton/boutonNewGameUp.bmp", 282, 143),
            bitmap("image/bouton/boutonResumeClose.bmp", 282, 202), bitmap("image/bouton/boutonOptionUp.bmp", 282, 260)};
}

std::vector<Etape> jetons()
{
    // Chip 10 (index 3) is pressed.
    constexpr std::array<const char*, 10> chemins = {
        "image/jeton/jeton1Up.bmp",   "image/jeton/jeton2Up.bmp",    "image/jeton/jeton5Up.bmp",
        "image/jeton/jeton10Down.bmp", "image/jeton/jeton20Up.bmp",  "image/jeton/jeton50Up.bmp",
        "image/jeton/jeton100Up.bmp", "image/jeton/jeton200Up.bmp",  "image/jeton/jetonAllinUp.bmp",
        "image/jeton/jetonResetUp.bmp"};
    constexpr std::array<Sint16, 10> x = {46, 129, 212, 295, 46, 129, 212, 295, 400, 400};
    constexpr std::array<Sint16, 10> y = {209, 209, 209, 209, 292, 292, 292, 292, 209, 292};
    std::vector<Etape> etapes;
    for (size_t k = 0; k < chemins.size(); ++k) {
        etapes.push_back(bitmap(chemins[k], x[k], y[k], true));
    }
    return etapes;
}

std::vector<Etape> garder()
{
    std::vector<Etape> etapes;
    for (int i = 0; i < 5; ++i) {
        etapes.push_back(bitmap(garderMain[i] ? "image/bouton/boutonGarderDown.bmp" : "image/bouton/boutonGarderUp.bmp",
                                static_cast<Sint16>(56 + 91 * i), 321));
    }
    return etapes;
}

std::vector<Etape> cartes()
{
    static const std::array<const char*, 5> chemins = {"image/carte/3Trefle.bmp", "image/carte/6Carreau.bmp",
                                                       "image/carte/8Coeur.bmp", "image/carte/JPique.bmp",
                                                       "image/carte/asPique.bmp"};
    std::vector<Etape> etapes;
    for (int i = 0; i < 5; ++i) {
        etapes.push_back(bitmap(chemins[i], static_cast<Sint16>(61 + 91 * i), 221));
    }
    return etapes;
}

std::vector<Etape> suite(std::initializer_list<std::vector<Etape>> parties)
{
    std::vector<Etape> tout;
    for (const auto& p : parties) {
        tout.insert(tout.end(), p.begin(), p.end());
    }
    return tout;
}

// The counters of etatMise, rendered once like affichageVariable does.
struct Textes {
    std::array<SDL_Surface*, NB_STATISTIQUES> rendus{};
    void prepare(Statistique* s)
    {
        constexpr std::array<Sint16, 7> x = {140, 84, 84, 452, 452, 335, 335};
        constexpr std::array<Sint16, 7> y = {108, 131, 155, 108, 127, 144, 162};
        TTF_Init();
        TTF_Font* p14 = TTF_OpenFont("arial.ttf", 14);
        TTF_Font* p18 = TTF_OpenFont("arial.ttf", 18);
        for (int i = 0; i < NB_STATISTIQUES; ++i) {
            char texte[20];
            std::snprintf(texte, sizeof texte, "%d", s[i].valeur);
            rendus[i] = TTF_RenderText_Blended(i < 3 ? p18 : p14, texte, SDL_Color{247, 201, 17, 0});
            positions[i] = {x[i], y[i], 0, 0};
        }
        TTF_CloseFont(p14);
        TTF_CloseFont(p18);
        TTF_Quit();
    }
    void libere()
    {
        for (SDL_Surface* r : rendus) {
            SDL_FreeSurface(r);
        }
    }
    std::array<SDL_Rect, NB_STATISTIQUES> positions{};
};

// The bare version of a screen: everything read once, then only blits and flips.
void blitsNus(benchmark::State& state, const std::vector<Etape>& etapes, void (*prepare)(EtatSurface*, Statistique*))
{
    EtatSurface etatSurface;
    Statistique statistiques[NB_STATISTIQUES] = {};
    prepare(&etatSurface, statistiques);
    std::vector<SDL_Surface*> bitmaps;
    for (const Etape& e : etapes) {
        SDL_Surface* b = e.genre == Genre::bitmap ? SDL_LoadBMP(e.fichier) : nullptr;
        if (e.genre == Genre::bitmap && b == nullptr) {
            state.SkipWithError((std::string("unreadable ") + e.fichier).c_str());
            return;
        }
        if (b != nullptr && e.cle) {
            SDL_SetColorKey(b, SDL_SRCCOLORKEY, SDL_MapRGB(b->format, 0, 150, 0));
        }
        bitmaps.push_back(b);
    }
    Textes textes;
    textes.prepare(statistiques);
    for (auto _ : state) {
        for (size_t i = 0; i < etapes.size(); ++i) {
            switch (etapes[i].genre) {
                case Genre::bitmap: {
                    SDL_Rect destination{etapes[i].x, etapes[i].y, 0, 0};
                    SDL_UpperBlit(bitmaps[i], nullptr, ecran, &destination);
                    break;
                }
                case Genre::compteurs:
                    for (int k = 0; k < NB_STATISTIQUES; ++k) {
                        SDL_Rect destination = textes.positions[k];
                        SDL_UpperBlit(textes.rendus[k], nullptr, ecran, &destination);
                    }
                    SDL_Flip(ecran);
                    break;
                case Genre::flip:
                    SDL_Flip(ecran);
                    break;
            }
        }
    }
    textes.libere();
    for (SDL_Surface* b : bitmaps) {
        SDL_FreeSurface(b);
    }
}

template <typename Appel>
void jeu(benchmark::State& state, void (*prepare)(EtatSurface*, Statistique*), Appel appel)
{
    EtatSurface etatSurface;
    Statistique statistiques[NB_STATISTIQUES] = {};
    prepare(&etatSurface, statistiques);
    for (auto _ : state) {
        appel(&etatSurface, statistiques);
    }
}

void etatStart(EtatSurface* e, Statistique* s)
{
    initEtatSurface(e);
    initStatistiques(s);
}

void etatLoose(EtatSurface* e, Statistique* s) { etatStart(e, s); }

struct Ecran {
    const char* nom;
    void (*prepare)(EtatSurface*, Statistique*);
    void (*appel)(EtatSurface*, Statistique*);
    std::vector<Etape> etapes;
};

std::vector<Ecran> ecrans()
{
    const Etape fondJeu = bitmap("image/backgroundJeu.bmp", 0, 0);
    const Etape texteMise = bitmap("image/texte/texteMise.bmp", 193, 7);
    const Etape texteFirstHand = bitmap("image/texte/texteFirstHand.bmp", 193, 7);
    const Etape texteAide = bitmap("image/texte/texteAide.bmp", 118, 378);
    return {
        {"affichageMenuStart", etatStart, [](EtatSurface* e, Statistique*) { affichageMenuStart(ecran, e); },
         suite({{bitmap("image/backgroundStart.bmp", 0, 0)}, boutonsStart(), {flip}})},
        {"refreshMenuStart", etatStart,
         [](EtatSurface* e, Statistique* s) { refreshMenuStart(ecran, e, s, ETAT_START); },
         suite({boutonsStart(), {flip}})},
        {"affichageMenuMise", etatMise, [](EtatSurface* e, Statistique* s) { affichageMenuMise(ecran, e, s); },
         suite({{fondJeu, backTexte, aide, apropos, carteUp}, jetons(), {compteurs, texteMise, texteAide, flip}})},
        {"refreshMenuMise", etatMise, [](EtatSurface* e, Statistique* s) { refreshMenuMise(ecran, e, s, ETAT_MISE); },
         suite({{backTexte, compteurs, aide, apropos, carteUp}, jetons(), {flip}})},
        {"affichageMenuHand", etatMain, [](EtatSurface* e, Statistique* s) { affichageMenuHand(ecran, e, s); },
         suite({{fondJeu, backTexte, aide, apropos, carteUp}, garder(), cartes(),
                {compteurs, texteFirstHand, texteAide, flip}})},
        {"refreshMenuHand", etatMain,
         [](EtatSurface* e, Statistique* s) { refreshMenuHand(ecran, e, s, ETAT_FIRSTHAND); },
         suite({{aide, apropos, carteUp}, garder(), {flip}})},
        {"affichageMenuLoose", etatLoose, [](EtatSurface* e, Statistique*) { affichageMenuLoose(ecran, e); },
         {bitmap("image/backgroundGameOver.bmp", 0, 0), bitmap("image/bouton/boutonContinuerUp.bmp", 6, 456), flip}},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (chdir(VELMORA_DONNEES) != 0 || access("image/backgroundJeu.bmp", R_OK) != 0 || access("arial.ttf", R_OK) != 0) {
        std::fprintf(stderr, "bench_ecran: no game data in %s\n", VELMORA_DONNEES);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        (ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF)) == nullptr) {
        std::fprintf(stderr, "bench_ecran: %s\n", SDL_GetError());
        return 1;
    }
    // The hand's refresh with the coach on: its marks, its strip and its line
    // drawn again at every press.
    benchmark::RegisterBenchmark("ecran/refreshMenuHand_conseil", [](benchmark::State& s) {
        Conseil conseil;
        initConseil(&conseil);
        conseil.etape = CONSEIL_CHOIX;
        conseil.meilleure = 0b11000;
        conseil.mise = 10;
        for (int32_t g = 0; g < NB_GARDES; ++g) conseil.valeurs[g] = g * 1234567;
        jeu(s, etatMain, [&conseil](EtatSurface* e, Statistique* st) { refreshMenuHand(ecran, e, st, ETAT_FIRSTHAND, &conseil); });
    })->Unit(benchmark::kMicrosecond);
    // Animation frames: each iteration one frame of the deal (or of the draw
    // of etatMain's two marked slots) at 10 ms from the previous one, round
    // and round; the last frame over the first picture, as a press makes it:
    // the five slots at once.
    struct Film {
        const char* nom;
        int32_t genre;
        int32_t pas;
    };
    for (const Film& f : {Film{"ecran/animation_donne_image", ANIMATION_DONNE, 10},
                          Film{"ecran/animation_tirage_image", ANIMATION_TIRAGE, 10},
                          Film{"ecran/animation_derniere_image", ANIMATION_DONNE, 1000}}) {
        benchmark::RegisterBenchmark(f.nom, [f](benchmark::State& s) {
            EtatSurface e;
            Statistique st[NB_STATISTIQUES] = {};
            etatMain(&e, st);
            Animation a;
            initAnimation(&a, f.genre, ANIMATIONS_NORMALES, &e);
            int32_t t = 0;
            for (auto _ : s) {
                benchmark::DoNotOptimize(affichageAnimation(ecran, &a, t == 0 ? -1 : t - f.pas, t));
                t = t >= dureeAnimation(&a) ? 0 : t + f.pas;
            }
        })->Unit(benchmark::kMicrosecond);
    }
    // The final hand's refresh with its row lit.
    benchmark::RegisterBenchmark("ecran/refreshMenuHand_ligne", [](benchmark::State& s) {
        jeu(s, etatMain, [](EtatSurface* e, Statistique* st) { refreshMenuHand(ecran, e, st, ETAT_SECONDHAND, nullptr, 6); });
    })->Unit(benchmark::kMicrosecond);
    static const std::vector<Ecran> liste = ecrans();
    for (const Ecran& e : liste) {
        benchmark::RegisterBenchmark((std::string("ecran/") + e.nom).c_str(),
                                     [&e](benchmark::State& s) { jeu(s, e.prepare, e.appel); })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("ecran/") + e.nom + "/blits_nus").c_str(),
                                     [&e](benchmark::State& s) { blitsNus(s, e.etapes, e.prepare); })
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
