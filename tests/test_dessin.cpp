// Drawing: every widget alone on the screen, for each code from -1 to one
// past its last, with and without its files; the chips' transparent green.
#include <array>
#include <bit>

#include "ecranTest.h"
#include "gestionConseil.h"
#include "interfaceGraphique.h"
#include "reglages.h"

namespace {

using Dessin = EcranTest;
using Fichiers = std::map<int32_t, std::string>;  // by code
using Codes = std::array<int32_t, 32>;             // the record, field by field
// The drawing function, the index of its code in the record, its place, its files.
using Widget = std::tuple<void (*)(SDL_Surface*, const EtatSurface*), int, int, int, Fichiers>;

// The files of consecutive codes from `code` on, added to f.
Fichiers liste(std::string debut, std::vector<std::string> noms = {"Up", "Down"}, int32_t code = 0, Fichiers f = {})
{
    for (const std::string& nom : noms) f[code++] = debut + nom + ".bmp";
    return f;
}

std::vector<Widget> widgets()
{
    const std::string B = "image/bouton/bouton", T = "image/texte/texte";
    const Fichiers combinaisons = liste("image/texte/combinaison/texte", {"Rien", "Paire", "DoublePaire", "Brelan",
                                        "Suite", "Couleur", "FullHouse", "Carre", "QuinteFlush", "QuinteFlushRoyal"});
    std::vector<Widget> w{
        {affichageBackground, 0, 0, 0,
         liste("image/background", {"Start", "Option", "Jeu", "Apropos", "Aide", "GameOver", "Bilan"})},
        {affichageBoutonAide, 21, 6, 425, liste(B + "Aide")},
        {affichageBoutonApropos, 22, 6, 456, liste(B + "Apropo")},
        {affichageBoutonCarte, 23, 385, 440,
         liste(B, {"CarteUp", "CarteDown", "RejouerUp", "RejouerDown"}, 2, {{12, B + "CarteDisa.bmp"}})},
        {affichageTexteHaut, 24, 193, 7, liste(T, {"Mise", "FirstHand", "Win", "Loose"})},
        {affichageTexteBas, 25, 118, 378, liste(T, {"Aide"}, 10, combinaisons)},
        {affichageBoutonRetour, 26, 6, 456, liste(B + "Retour")},
        {affichageBoutonContinuer, 30, 6, 456, liste(B + "Continuer")},
        {affichageBoutonStart, 27, 282, 143, liste(B + "NewGame")},
        {affichageBoutonStart, 28, 282, 202, liste(B + "Resume", {"Up", "Down"}, 0, {{12, B + "ResumeClose.bmp"}})},
        {affichageBoutonStart, 29, 282, 260, liste(B + "Option")},
        {affichageBoutonStart, 31, 282, 318, liste(B + "Statistiques")}};
    Fichiers cartes{{0, "image/carte/back.bmp"}};  // then the ids by rank, the suits of a rank in this order
    for (std::string rang : {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"})
        cartes = liste("image/carte/" + rang, {"Trefle", "Carreau", "Coeur", "Pique"}, cartes.size(), cartes);
    for (int i = 0; i < 5; ++i)
        w.insert(w.end(), {{affichageTapis, 1 + i, 61 + 91 * i, 221, cartes},
                           {affichageBoutonGarder, 6 + i, 56 + 91 * i, 321, liste(B + "Garder")}});
    const char* jetons[] = {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"};
    for (int k = 0; k < 10; ++k)  // two rows of four, Allin and Reset in a fifth column
        w.push_back({affichageJetons, 11 + k, k < 8 ? 46 + 83 * (k % 4) : 400, (k < 8 ? k / 4 : k - 8) ? 292 : 209,
                     liste(std::string("image/jeton/jeton") + jetons[k])});
    return w;
}

// A listed code opens its file and draws it with its corner at the widget's
// place (without the file: opens it and draws nothing); any other code opens
// nothing. Every other field holds a code without a picture.
TEST_F(Dessin, ChaqueCodeDessineSonFichierASaPlace)
{
    Codes codes = [] { Codes c; c.fill(99); return c; }();
    for (bool presents : {false, true})
        for (auto& [dessine, champ, x, y, fichiers] : widgets())
            for (codes[champ] = -1; codes[champ] <= fichiers.rbegin()->first + 1; ++codes[champ]) {
                const EtatSurface e = std::bit_cast<EtatSurface>(codes);
                const std::string f = fichiers.contains(codes[champ]) ? fichiers.at(codes[champ]) : "";
                if (presents && !f.empty()) ecrisBmp(f);
                efface();
                dessine(ecran, &e);
                SCOPED_TRACE(std::to_string(champ) + ": " + std::to_string(codes[champ]) + " " + f);
                verifieEcran(std::vector<Image>(!f.empty(), {f, presents ? x : -1, y}));  // its file alone, or nothing
            }
}

// On a chip, green 0, 150, 0 lets the table show through and 0, 151, 0 is
// drawn; a card copies every pixel.
TEST_F(Dessin, VertTransparentDesJetonsSeulement)
{
    for (auto f : {"image/jeton/jeton1Up.bmp", "image/carte/back.bmp"})
        ecrisBmp(f, {{{1, 1, 1, 1}, 0x009600}, {{2, 2, 1, 1}, 0x009700}});
    const EtatSurface e{};
    affichageJetons(ecran, &e);
    affichageTapis(ecran, &e);
    for (auto [x, y, vu] : {std::array{47, 210, 0x203040}, {48, 211, 0x9700}, {62, 222, 0x9600}, {63, 223, 0x9700}})
        EXPECT_EQ(rgb(ecran, x, y), Uint32(vu)) << x << ", " << y;
}

// Each setting's picture for its code at its place, nothing for a code
// without one; the coach's marks over the kept slots and its strips.
TEST_F(Dessin, ReglagesEtConseilASaPlace)
{
    const std::string B = "image/bouton/bouton", C = "image/conseil/";
    const Image oui{B + "ConseilOui.bmp", 298, 135}, non{B + "MemeMiseNon.bmp", 298, 199}, fois2{B + "Fenetre2.bmp", 298, 263},
        muet{B + "SonNon.bmp", 298, 327}, rapides{B + "AnimationsRapides.bmp", 298, 391},
        memeOui{B + "MemeMiseOui.bmp", 298, 199}, choix{C + "choix.bmp", 44, 342}, bilan{C + "bilan.bmp", 44, 199};
    const auto marque = [&](int slot) { return Image{C + "marque.bmp", 61 + 91 * slot, 202}; };
    for (const Image& im : {oui, non, fois2, muet, rapides, memeOui, choix, bilan, marque(0)}) ecrisBmp(im.chemin);
    for (auto [r, attendu] : {std::pair{Reglages{1, 0, FENETRE_X2, 0, ANIMATIONS_RAPIDES}, std::vector{oui, non, fois2, muet, rapides}},
                              {{2, 1, 3, 2, 3}, {memeOui}}})
        affichageReglages(ecran, &r), verifieEcran(attendu);
    for (auto [etape, attendu] : {std::pair{CONSEIL_MUET, std::vector<Image>{}},
                                  {CONSEIL_CHOIX, {marque(0), marque(2), marque(4), choix}}, {CONSEIL_VERDICT, {bilan, choix}}}) {
        const Conseil c{etape, 0b10101, 0, 0, {}, {}};
        efface(), affichageConseil(ecran, &c), verifieEcran(attendu);
    }
}

}  // namespace
