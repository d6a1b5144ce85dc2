// Screens: the painting order of every full draw and refresh, and the modal
// Help and About screens driven by clicks pushed onto SDL's queue. Each case
// ends its clicks with a sentinel press that must still be queued afterwards,
// so a screen that reads one event too many or too few is caught.
#include <functional>

#include "ecranTest.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "scenario.h"

namespace {

const std::string B = "image/bouton/bouton";
constexpr Point SENTINELLE{700, 100};
constexpr Uint8 APPUI = SDL_MOUSEBUTTONDOWN, RELACHE = SDL_MOUSEBUTTONUP;

// The screens of a fresh record: the files in the order they are opened,
// the flips, and where each bitmap lands.
const std::vector<Image> boutonsBas{{B + "AideUp.bmp", 6, 425}, {B + "ApropoUp.bmp", 6, 456}};
const std::vector<Image> table{{"image/backgroundJeu.bmp", 0, 0}, {"image/backTexte.bmp", 10, 93}};
const std::vector<Image> boutonCarte{{B + "CarteUp.bmp", 385, 440}};
const std::vector<Image> compteurs{POLICE, POLICE, FLIP};
const std::vector<Image> banderoles{
    {"image/texte/texteMise.bmp", 193, 7}, {"image/texte/texteAide.bmp", 118, 378}, FLIP};
std::vector<Image> rangee(int n, std::function<Image(int)> image)
{
    std::vector<Image> images;
    for (int i = 0; i < n; ++i) images.push_back(image(i));
    return images;
}
const std::vector<Image> jetons = rangee(10, [](int k) { return jeton(k, "Up"); });
const std::vector<Image> garders = rangee(5, [](int i) { return garder(i, B + "GarderUp.bmp"); });
const std::vector<Image> cartes = rangee(5, [](int i) { return carte(i, "image/carte/back.bmp"); });
const std::vector<Image> rafraichiStart = boutonsBas + std::vector<Image>{{B + "NewGameUp.bmp", 282, 143},
                                                                          {B + "ResumeClose.bmp", 282, 202},
                                                                          {B + "OptionUp.bmp", 282, 260},
                                                                          FLIP};
const std::vector<Image> rafraichiMise =
    std::vector<Image>{table[1]} + compteurs + boutonsBas + boutonCarte + jetons + std::vector{FLIP};
const std::vector<Image> rafraichiHand = boutonsBas + boutonCarte + garders + std::vector{FLIP};
const std::vector<Image> start = std::vector<Image>{{"image/backgroundStart.bmp", 0, 0}} + rafraichiStart;
const std::vector<Image> mise = table + boutonsBas + boutonCarte + jetons + compteurs + banderoles;
const std::vector<Image> hand = table + boutonsBas + boutonCarte + garders + cartes + compteurs + banderoles;

using Dessin = void (*)(SDL_Surface*, EtatSurface*, Statistique*);
struct Composition {
    const char* nom;
    Dessin dessine;
    int32_t fond;  // 7: left as it was
    std::vector<Image> attendu;
};

const std::vector<Composition> compositions{
    {"start", [](auto ec, auto e, auto) { affichageMenuStart(ec, e); }, 0, start},
    {"option",
     [](auto ec, auto e, auto) { affichageMenuOption(ec, e); },
     1,
     {{"image/backgroundOption.bmp", 0, 0}, {B + "RetourUp.bmp", 6, 456}, FLIP}},
    {"mise", affichageMenuMise, 2, mise},
    {"hand", affichageMenuHand, 2, hand},
    {"loose",
     [](auto ec, auto e, auto) { affichageMenuLoose(ec, e); },
     5,
     {{"image/backgroundGameOver.bmp", 0, 0}, {B + "ContinuerUp.bmp", 6, 456}, FLIP}},
    {"refreshStart", [](auto ec, auto e, auto s) { refreshMenuStart(ec, e, s, ETAT_START); }, 7, rafraichiStart},
    {"refreshMise", [](auto ec, auto e, auto s) { refreshMenuMise(ec, e, s, ETAT_MISE); }, 7, rafraichiMise},
    {"refreshHand", [](auto ec, auto e, auto s) { refreshMenuHand(ec, e, s, ETAT_SECONDHAND); }, 7, rafraichiHand},
    {"aide sans demande", [](auto ec, auto e, auto s) { affichageMenuAide(ec, e, s, ETAT_MISE); }, 7, {}},
    {"apropos a 2",
     [](auto ec, auto e, auto s) { e->boutonApropos = 2, affichageMenuApropos(ec, e, s, ETAT_MISE); },
     7,
     {}},
};

using Clics = std::vector<std::pair<Uint8, Point>>;

class Menus : public EcranTest {
protected:
    EtatSurface etatSurface;
    Statistique stats[NB_STATISTIQUES]{};

    void SetUp() override
    {
        EcranTest::SetUp();
        for (const auto& c : compositions)
            for (const Image& im : c.attendu)
                if (im.x >= 0 && !bitmaps.count(im.chemin)) ecrisBmp(im.chemin);
        for (const char* f : {"AideDown", "ApropoDown", "RetourDown"}) ecrisBmp(B + f + ".bmp");
        for (const char* f : {"Aide", "Apropos"}) ecrisBmp(std::string("image/background") + f + ".bmp");
        initEtatSurface(&etatSurface);
        etatSurface.fond = 7;
    }

    using Ecran = void (*)(SDL_Surface*, EtatSurface*, Statistique*, int32_t);

    // Opens Help or About as a press on its button does, with the clicks
    // queued, directly or through a screen's refresh.
    void ouvre(bool aide, const Clics& clics, int32_t etat, Ecran par = nullptr)
    {
        for (auto [type, point] : clics) pousseBouton(type, point);
        presse(SENTINELLE);
        (aide ? etatSurface.boutonAide : etatSurface.boutonApropos) = 1;
        (par ? par : aide ? affichageMenuAide : affichageMenuApropos)(ecran, &etatSurface, stats, etat);
    }

    void verifieSentinelle()
    {
        SDL_Event e;
        int lu;
        while ((lu = SDL_PollEvent(&e)) && e.type != APPUI && e.type != RELACHE) {
        }
        ASSERT_TRUE(lu) << "the sentinel was read";
        EXPECT_TRUE(e.type == APPUI && e.button.x == SENTINELLE.x) << "clicks left unread";
    }

    // Help or About: its own button pressed, the background, Back as the
    // first wait left it, the text; then Back pressed.
    static std::vector<Image> modal(bool aide, bool retourPresse = false)
    {
        return {{B + (aide ? "AideDown.bmp" : "ApropoDown.bmp"), 6, aide ? 425 : 456},
                FLIP,
                {aide ? "image/backgroundAide.bmp" : "image/backgroundApropos.bmp", 0, 0},
                {B + (retourPresse ? "RetourDown.bmp" : "RetourUp.bmp"), 6, 456},
                POLICE,
                FLIP,
                FLIP,
                {B + "RetourDown.bmp", 6, 456},
                FLIP};
    }
};

// Also: with both flags 0 the refreshes and the modal screens read no input.
TEST_F(Menus, OrdreDePeintureDesEcrans)
{
    for (const Composition& c : compositions) {
        SCOPED_TRACE(c.nom);
        efface();
        initEtatSurface(&etatSurface);
        etatSurface.fond = 7;
        presse(SENTINELLE);
        c.dessine(ecran, &etatSurface, stats);
        EXPECT_EQ(etatSurface.fond, c.fond);
        verifieEcran(c.attendu);
        verifieSentinelle();
    }
}

TEST_F(Menus, AttentesDesEcransAideEtApropos)
{
    const Point dehors{300, 300};
    struct {
        const char* nom;
        bool aide;
        Clics clics;
        int32_t retour;
        bool retourPresse = false;  // by the first wait
    } cas[] = {
        {"aide, trois attentes", true, {{RELACHE, AIDE}, {APPUI, RETOUR}, {RELACHE, RETOUR}}, 0},
        {"double clic sur apropos", false, {{RELACHE, APROPOS}, {APPUI, APROPOS}, {RELACHE, APROPOS}}, 0},
        {"retour des la premiere attente", true, {{APPUI, RETOUR}, {RELACHE, RETOUR}}, 0, true},
        {"double clic sur aide: reste ouvert",
         true,
         {{RELACHE, AIDE}, {APPUI, AIDE}, {RELACHE, AIDE}, {APPUI, RETOUR}, {RELACHE, RETOUR}},
         0},
        {"glisse dehors, second appui sur retour",
         false,
         {{RELACHE, dehors}, {APPUI, RETOUR}, {RELACHE, dehors}, {APPUI, RETOUR}},
         1,
         true},
    };
    for (auto& c : cas) {
        SCOPED_TRACE(c.nom);
        efface();
        initEtatSurface(&etatSurface);
        ouvre(c.aide, c.clics, ETAT_LOOSE);
        verifieSentinelle();
        EXPECT_EQ(etatSurface.boutonAide + etatSurface.boutonApropos, 0);
        EXPECT_EQ(etatSurface.boutonRetour, c.retour);
        EXPECT_EQ(etatSurface.fond, c.aide ? 4 : 3);
        verifieEcran(modal(c.aide, c.retourPresse));
    }
}

// Opened from a refresh: the screen of etat is drawn whole, then the
// refresh's own widgets over it.
TEST_F(Menus, RetourRedessineLEcranDEtat)
{
    const Ecran refreshes[] = {refreshMenuStart, refreshMenuMise, refreshMenuHand, refreshMenuHand};
    const std::vector<Image> ecrans[] = {start + rafraichiStart, mise + rafraichiMise, hand + rafraichiHand,
                                         hand + rafraichiHand};
    for (int32_t etat = ETAT_START; etat <= ETAT_SECONDHAND; ++etat) {
        SCOPED_TRACE(etat);
        const bool aide = etat % 2 == 0;
        efface();
        ouvre(aide, {{RELACHE, aide ? AIDE : APROPOS}, {APPUI, RETOUR}, {RELACHE, RETOUR}}, etat, refreshes[etat]);
        verifieSentinelle();
        EXPECT_EQ(etatSurface.fond, etat == ETAT_START ? 0 : 2);
        verifieEcran(modal(aide) + ecrans[etat]);
    }
}

// In each of the three waits, Escape or the close request ends the process.
TEST_F(Menus, EchapOuFermetureQuittentAussitot)
{
    struct {
        bool aide, echap;
        Clics avant;
    } cas[] = {{true, true, {}},
               {true, false, {{RELACHE, AIDE}}},
               {false, true, {{RELACHE, APROPOS}, {APPUI, RETOUR}}},
               {false, false, {{APPUI, RETOUR}}}};
    for (auto& c : cas) {
        EXPECT_EXIT(
            {
                for (auto [type, point] : c.avant) pousseBouton(type, point);
                c.echap ? pousseTouche(SDLK_ESCAPE) : pousseQuitter();
                ouvre(c.aide, {}, ETAT_MISE);
            },
            testing::ExitedWithCode(0), "");
    }
}

}  // namespace
