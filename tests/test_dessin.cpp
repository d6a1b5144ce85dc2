// Drawing: every widget's file and place read back from the screen, the rows
// of cards, hold buttons and chips, the chips' transparent green, and what an
// unknown code or a missing file leaves.
#include <cstring>

#include "ecranTest.h"
#include "gestionCarte.h"
#include "interfaceGraphique.h"

namespace {

using Dessin = EcranTest;
const std::string B = "image/bouton/bouton";

// Files by code; "" for a code without a picture.
std::vector<std::string> fichiers(const std::string& prefixe, std::vector<std::string> noms)
{
    for (std::string& nom : noms)
        if (!nom.empty()) nom = prefixe + nom + ".bmp";
    return noms;
}

struct Widget {
    void (*dessine)(SDL_Surface*, const EtatSurface*);
    int32_t EtatSurface::*champ;
    int x, y;
    std::vector<std::string> fichiers;
};

const std::vector<Widget> widgets{
    {affichageBackground, &EtatSurface::fond, 0, 0,
     fichiers("image/background", {"Start", "Option", "Jeu", "Apropos", "Aide", "GameOver"})},
    {affichageBoutonAide, &EtatSurface::boutonAide, 6, 425, fichiers(B + "Aide", {"Up", "Down"})},
    {affichageBoutonApropos, &EtatSurface::boutonApropos, 6, 456, fichiers(B + "Apropo", {"Up", "Down"})},
    {affichageBoutonRetour, &EtatSurface::boutonRetour, 6, 456, fichiers(B + "Retour", {"Up", "Down"})},
    {affichageBoutonContinuer, &EtatSurface::boutonContinuer, 6, 456, fichiers(B + "Continuer", {"Up", "Down"})},
    {affichageBoutonCarte, &EtatSurface::boutonCarte, 385, 440,
     fichiers(B,
              {"", "", "CarteUp", "CarteDown", "RejouerUp", "RejouerDown", "", "", "", "", "", "", "CarteDisa"})},
    {affichageTexteHaut, &EtatSurface::texteHaut, 193, 7,
     fichiers("image/texte/texte", {"Mise", "FirstHand", "Win", "Loose"})},
    {affichageTexteBas, &EtatSurface::texteBas, 118, 378,
     fichiers("image/texte/", {"combinaison/texteRien", "combinaison/textePaire", "combinaison/texteDoublePaire",
                               "combinaison/texteBrelan", "combinaison/texteSuite", "combinaison/texteCouleur",
                               "combinaison/texteFullHouse", "combinaison/texteCarre",
                               "combinaison/texteQuinteFlush", "combinaison/texteQuinteFlushRoyal", "texteAide"})},
    {affichageBoutonStart, &EtatSurface::boutonNewGame, 282, 143, fichiers(B + "NewGame", {"Up", "Down"})},
    {affichageBoutonStart, &EtatSurface::boutonResume, 282, 202,
     fichiers(B + "Resume", {"Up", "Down", "", "", "", "", "", "", "", "", "", "", "Close"})},
    {affichageBoutonStart, &EtatSurface::boutonOption, 282, 260, fichiers(B + "Option", {"Up", "Down"})},
};

EtatSurface neuf()
{
    EtatSurface e;
    initEtatSurface(&e);
    return e;
}

TEST(EtatSurface, InitEcraseToutLeRecord)
{
    EtatSurface e, attendu{};
    std::memset(&e, 0x5A, sizeof e);
    initEtatSurface(&e);
    attendu.boutonCarte = 2, attendu.texteBas = 10, attendu.boutonResume = 12;
    EXPECT_EQ(std::memcmp(&e, &attendu, sizeof e), 0);
}

// Codes from -1 to one past the table: a listed one opens and draws its file
// with its corner exactly at the place, the others open nothing.
TEST_F(Dessin, ChaqueCodeDessineSonFichierASaPlace)
{
    for (const Widget& w : widgets)
        for (const std::string& f : w.fichiers)
            if (!f.empty()) ecrisBmp(f);
    for (const Widget& w : widgets) {
        for (int32_t code = -1; code <= static_cast<int32_t>(w.fichiers.size()); ++code) {
            const std::string f =
                code >= 0 && code < static_cast<int32_t>(w.fichiers.size()) ? w.fichiers[code] : "";
            SCOPED_TRACE(std::to_string(code) + " " + f);
            EtatSurface e;  // every other field holds a code without a picture
            std::memset(&e, 0x7F, sizeof e);
            e.*w.champ = code;
            efface();
            w.dessine(ecran, &e);
            verifieEcran(f.empty() ? std::vector<Image>{} : std::vector<Image>{{f, w.x, w.y}});
        }
    }
}

// Each face is named from rank and suit, reached from the card's id; 53 and
// -1 have no picture.
TEST_F(Dessin, ChaqueCarteDessineSaFace)
{
    const char* rangs[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"};
    const char* couleurs[] = {"Trefle", "Carreau", "Coeur", "Pique"};
    std::vector<std::pair<int32_t, std::string>> cartes{{0, "image/carte/back.bmp"}};
    for (int32_t v = 2; v <= 14; ++v)
        for (int32_t c = Trefle; c <= Pique; ++c)
            cartes.push_back({idCarte(v, c), std::string("image/carte/") + rangs[v - 2] + couleurs[c] + ".bmp"});
    for (auto& [id, f] : cartes) ecrisBmp(f, 20, 30);
    cartes.push_back({53, ""}), cartes.push_back({-1, ""});
    for (size_t debut = 0; debut < cartes.size(); debut += 5) {
        EtatSurface e = neuf();
        std::vector<Image> attendu;
        for (int i = 0; i < 5; ++i) {
            auto& [id, f] = cartes[debut + i];
            e.carte[i] = id;
            if (!f.empty()) attendu.push_back(carte(i, f));
        }
        efface();
        affichageTapis(ecran, &e);
        verifieEcran(attendu);
    }
}

TEST_F(Dessin, BoutonsGarderEtJetonsEnRangee)
{
    EtatSurface e = neuf();
    const int32_t marques[] = {1, 0, 2, -1, 1}, jetons[] = {0, 1, 0, 1, 7, 1, 0, 1, 1, 0};
    std::memcpy(e.garder, marques, sizeof marques), std::memcpy(e.jeton, jetons, sizeof jetons);
    std::vector<Image> attendu;
    for (int i : {0, 1, 4}) attendu.push_back(garder(i, B + (marques[i] ? "GarderDown.bmp" : "GarderUp.bmp")));
    for (auto& im : attendu) ecrisBmp(im.chemin);
    affichageBoutonGarder(ecran, &e);
    verifieEcran(attendu);
    attendu.clear();
    for (int k = 0; k < 10; ++k) {
        ecrisBmp(jeton(k, "Up").chemin), ecrisBmp(jeton(k, "Down").chemin);
        if (k != 4) attendu.push_back(jeton(k, jetons[k] ? "Down" : "Up"));
    }
    efface();
    affichageJetons(ecran, &e);
    verifieEcran(attendu);
}

// Green 0, 150, 0 is see-through on a chip only; 0, 151, 0 is drawn.
TEST_F(Dessin, VertTransparentDesJetons)
{
    const std::vector<std::pair<SDL_Rect, uint32_t>> taches{{{1, 1, 1, 1}, 0x009600}, {{2, 2, 1, 1}, 0x009700}};
    ecrisBmp("image/jeton/jeton1Up.bmp", 10, 10, taches);
    ecrisBmp("image/carte/back.bmp", 10, 10, taches);
    const EtatSurface e = neuf();
    affichageJetons(ecran, &e);
    affichageTapis(ecran, &e);
    EXPECT_EQ(pixel(47, 210), FOND_ECRAN);
    EXPECT_EQ(pixel(48, 211), 0x009700u);
    EXPECT_EQ(pixel(62, 222), 0x009600u);
    EXPECT_EQ(pixel(63, 223), 0x009700u);
}

// Without its file a widget is left out; the others of its row are drawn.
TEST_F(Dessin, FichierManquantNeDessineRien)
{
    EtatSurface e = neuf();
    for (auto dessine : {affichageBackground, affichageBoutonAide, affichageBoutonApropos, affichageBoutonRetour,
                         affichageBoutonContinuer, affichageBoutonCarte, affichageTexteHaut, affichageTexteBas,
                         affichageBoutonStart, affichageTapis, affichageBoutonGarder, affichageJetons})
        dessine(ecran, &e);
    affichageBackTexte(ecran);
    journal.clear();
    verifieEcran({});
    ecrisBmp(B + "GarderDown.bmp");
    e.garder[1] = e.garder[3] = 1;
    affichageBoutonGarder(ecran, &e);
    const Image haut{B + "GarderUp.bmp"};  // tried, not drawn
    verifieEcran({haut, garder(1, B + "GarderDown.bmp"), haut, garder(3, B + "GarderDown.bmp"), haut});
}

}  // namespace
