// Screens: the painting order of every full draw and refresh, and the modal
// Help and About screens driven by clicks queued before the call. A press on
// Back is queued last as a sentinel: it must be the only click left
// afterwards, so a screen that waits once too often or too seldom is caught.
#include <SDL_ttf.h>

#include "ecranTest.h"
#include "gestionConseil.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "reglages.h"
#include "scenario.h"

namespace {

using Menus = EcranTest;

// The point size of each font opened goes into the journal too: it tells the
// Help text (12) from the About text (20).
extern "C" TTF_Font* TTF_OpenFont(const char* fichier, int taille)
{
    journal.push_back(std::to_string(taille) + "pt");
    return reinterpret_cast<TTF_Font* (*)(const char*, int)>(dlsym(RTLD_NEXT, "TTF_OpenFont"))(fichier, taille);
}

// The bitmaps of a fresh record's widgets, a letter each, so that a
// screen's painting order reads as a word. The rows (chips, hold buttons,
// cards) have no file here: their places are the drawing tests' concern.
const std::string B = "image/bouton/bouton", F = "image/background", J = "image/jeton/jeton";
const std::map<char, std::vector<Image>> lettres{
    {'S', {{F + "Start.bmp", 0, 0}}}, {'O', {{F + "Option.bmp", 0, 0}}}, {'J', {{F + "Jeu.bmp", 0, 0}}},
    {'G', {{F + "GameOver.bmp", 0, 0}}}, {'X', {{F + "Aide.bmp", 0, 0}}}, {'Y', {{F + "Apropos.bmp", 0, 0}}},
    {'t', {{"image/backTexte.bmp", 10, 93}}}, {'h', {{"image/texte/texteMise.bmp", 193, 7}}},
    {'b', {{"image/texte/texteAide.bmp", 118, 378}}}, {'d', {{B + "CarteUp.bmp", 385, 440}}},
    {'a', {{B + "AideUp.bmp", 6, 425}}}, {'A', {{B + "AideDown.bmp", 6, 425}}}, {'p', {{B + "ApropoUp.bmp", 6, 456}}},
    {'P', {{B + "ApropoDown.bmp", 6, 456}}}, {'r', {{B + "RetourUp.bmp", 6, 456}}}, {'f', {{"12pt"}, POLICE, FLIP}},
    {'R', {{B + "RetourDown.bmp", 6, 456}}}, {'c', {{B + "ContinuerUp.bmp", 6, 456}}}, {'|', {FLIP}},
    {'s', {{B + "NewGameUp.bmp", 282, 143}, {B + "ResumeClose.bmp", 282, 202}, {B + "OptionUp.bmp", 282, 260},
           {B + "StatistiquesUp.bmp", 282, 318}}},
    {'j', {{J + "1Up.bmp"}, {J + "2Up.bmp"}, {J + "5Up.bmp"}, {J + "10Up.bmp"}, {J + "20Up.bmp"}, {J + "50Up.bmp"},
           {J + "100Up.bmp"}, {J + "200Up.bmp"}, {J + "AllinUp.bmp"}, {J + "ResetUp.bmp"}}},
    {'g', std::vector<Image>(5, {B + "GarderUp.bmp"})}, {'k', std::vector<Image>(5, {"image/carte/back.bmp"})},
    // The counters; the Help text is f, the About texts F.
    {'v', {{"14pt"}, POLICE, {"18pt"}, POLICE, FLIP}}, {'F', {{"20pt"}, POLICE, FLIP}},
    // The settings; the coach's mark over slot 0, its strip and its lines.
    {'o', {{B + "ConseilOui.bmp", 298, 135}, {B + "MemeMiseOui.bmp", 298, 199}, {B + "Fenetre15.bmp", 298, 263},
           {B + "SonNon.bmp", 298, 327}, {B + "AnimationsAucune.bmp", 298, 391}}},
    {'m', {{"image/conseil/marque.bmp", 61, 202}}}, {'K', {{"image/conseil/choix.bmp", 44, 342}}},
    {'T', {{"14pt"}, POLICE}}};  // the first hand's line only, flipped with the screen

const Reglages reglages{1, 1, FENETRE_X1_5, 0, ANIMATIONS_AUCUNE};
const Conseil conseil = [] { Conseil c{}; c.etape = CONSEIL_CHOIX; c.meilleure = 1; return c; }();

std::vector<Image> dessins(const std::string& mot)
{
    std::vector<Image> images;
    for (char c : mot) images.insert(images.end(), lettres.at(c).begin(), lettres.at(c).end());
    return images;
}

using Clics = std::vector<std::pair<Uint8, Point>>;
constexpr Uint8 APPUI = SDL_MOUSEBUTTONDOWN, RELACHE = SDL_MOUSEBUTTONUP;
constexpr Point SENTINELLE{100, 480};
void pousse(const Clics& clics) { for (auto [type, p] : clics) pousseBouton(type, p); }

// Help (or About) requested, then the refresh of etat, which restores its
// screen after the modal one; for any other etat the modal screen alone.
template <bool aide, int32_t etat>
void ouvre(SDL_Surface* ecran, EtatSurface* e, Statistique* s)
{
    constexpr void (*ecrans[])(SDL_Surface*, EtatSurface*, Statistique*, int32_t) = {refreshMenuStart, refreshMenuMise,
        refreshMenuHand, refreshMenuHand, aide ? affichageMenuAide : affichageMenuApropos};
    (aide ? e->boutonAide : e->boutonApropos) = 1;
    ecrans[std::min(etat, 4)](ecran, e, s, etat);
}

const Clics aide{{RELACHE, AIDE}, {APPUI, RETOUR}, {RELACHE, RETOUR}};
const Clics apropos{{RELACHE, APROPOS}, {APPUI, RETOUR}, {RELACHE, RETOUR}};
const std::tuple<void (*)(SDL_Surface*, EtatSurface*, Statistique*), Clics, std::string> cas[] = {
    {[](auto ec, auto e, auto) { affichageMenuOption(ec, e); }, {}, "Or|"},
    {[](auto ec, auto e, auto) { affichageMenuLoose(ec, e); }, {}, "Gc|"},
    {[](auto ec, auto e, auto) { affichageMenuOption(ec, e, &reglages); }, {}, "Oro|"},
    {[](auto ec, auto e, auto s) { affichageMenuHand(ec, e, s, &conseil); }, {}, "JtapdgkmKvThb|"},
    {[](auto ec, auto e, auto s) { refreshMenuHand(ec, e, s, ETAT_FIRSTHAND, &conseil); }, {}, "apdgmKT|"},
    {[](auto ec, auto e, auto s) { affichageMenuAide(ec, e, s, ETAT_MISE); }, {}, ""},  // not requested
    {[](auto ec, auto e, auto s) { e->boutonApropos = 2, affichageMenuApropos(ec, e, s, ETAT_MISE); }, {}, ""},
    // The three waits, then the full draw of etat's screen and the refresh's
    // own widgets over it.
    {ouvre<true, ETAT_START>, aide, "A|Xrf|R|Saps|aps|"},
    {ouvre<false, ETAT_MISE>, apropos, "P|YrF|R|Jtapdjvhb|tvapdj|"},
    {ouvre<true, ETAT_FIRSTHAND>, aide, "A|Xrf|R|Jtapdgkvhb|apdg|"},
    {ouvre<false, ETAT_SECONDHAND>, apropos, "P|YrF|R|Jtapdgkvhb|apdg|"},
    // Another etat: no screen is restored. A double click on About closes it.
    {ouvre<false, ETAT_LOOSE>, {{RELACHE, APROPOS}, {APPUI, APROPOS}, {RELACHE, APROPOS}}, "P|YrF|R|"},
    {ouvre<true, ETAT_LOOSE>, {{APPUI, RETOUR}, {RELACHE, RETOUR}}, "A|XRf|R|"},  // Back pressed in the first wait
    {ouvre<true, ETAT_LOOSE>, {{RELACHE, AIDE}, {APPUI, AIDE}, {RELACHE, AIDE}, {APPUI, RETOUR}, {RELACHE, RETOUR}},
     "A|Xrf|R|"},  // double click on Help: still open
    // The window lost its picture: a refresh composes the whole screen; the
    // modal screen is drawn again within its wait.
    {[](auto ec, auto e, auto s) { e->fond = FOND_PERDU, refreshMenuMise(ec, e, s, ETAT_MISE); }, {}, "Jtapdjvhb|"},
    {ouvre<true, ETAT_LOOSE>, {{RELACHE, AIDE}, {SDL_VIDEOEXPOSE, {}}, {APPUI, RETOUR}, {RELACHE, RETOUR}}, "A|Xrf|Xrf|R|"},
};

// Each screen from a fresh record. (A full draw that does not set its own
// background code draws another one: Start's, or once restored Help's.)
TEST_F(Menus, OrdreDePeintureEtAttentes)
{
    for (const Image& im : dessins("SOJGXYthbdaApPrRcsomK")) ecrisBmp(im.chemin);
    for (auto& [dessine, clics, mot] : cas) {
        SCOPED_TRACE(mot);
        EtatSurface e;
        Statistique stats[NB_STATISTIQUES]{};
        initEtatSurface(&e);
        efface();
        pousse(clics);
        presse(SENTINELLE);
        dessine(ecran, &e, stats);
        verifieEcran(dessins(mot));
        SDL_Event reste[2];  // queued last, the sentinel is read last
        EXPECT_EQ(SDL_PeepEvents(reste, 2, SDL_GETEVENT, SDL_MOUSEEVENTMASK), 1) << "clicks left or the sentinel read";
    }
}

// In each of the three waits, Escape or the close request leaves the modal
// screen at once, restores nothing and leaves one close request queued for
// the screen underneath, which saves the game and ends it.
TEST_F(Menus, EchapOuFermetureDansChaqueAttente)
{
    for (const Image& im : dessins("XRrA")) ecrisBmp(im.chemin);
    const Clics avant[] = {{}, {{RELACHE, AIDE}}, {{RELACHE, AIDE}, {APPUI, RETOUR}}};
    const char* mots[] = {"A|", "A|Xrf|", "A|Xrf|R|"};
    for (int attente = 0; attente < 3; ++attente)
        for (auto fin : {pousseQuitter, +[] { pousseTouche(SDLK_ESCAPE); }}) {
            SCOPED_TRACE(attente);
            EtatSurface e;
            initEtatSurface(&e);
            efface();
            pousse(avant[attente]);
            fin();
            ouvre<true, ETAT_LOOSE>(ecran, &e, nullptr);
            verifieEcran(dessins(mots[attente]));
            SDL_Event reste[2];
            ASSERT_EQ(SDL_PeepEvents(reste, 2, SDL_GETEVENT, SDL_ALLEVENTS), 1);
            EXPECT_EQ(reste[0].type, SDL_QUIT);
        }
}

}  // namespace
