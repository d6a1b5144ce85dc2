// The statistics screen and the loop: the curve's pixels and the bars, the
// screen's buttons and keys, the record kept at each paid hand with the
// coach's values, across a resume, and Effacer.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>

#include "bilanTest.h"
#include "fichiers.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "graphiqueBilan.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "sauvegarde.h"
#include "scenario.h"
#include "tableTest.h"

namespace {

class EcranBilan : public testing::Test {
protected:
    SDL_Surface* ecran = nullptr;
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(ecran = SDL_SetVideoMode(872, 488, 32, SDL_SWSURFACE)) << SDL_GetError();
        SDL_FillRect(ecran, nullptr, 0);
    }
    void TearDown() override { SDL_Quit(); }
    Uint32 rgb(int x, int y) const
    {
        Uint8 r, g, b;
        SDL_GetRGB(static_cast<Uint32*>(ecran->pixels)[y * ecran->pitch / 4 + x], ecran->format, &r, &g, &b);
        return r << 16 | g << 8 | b;
    }
    // A pixel of about this colour within two pixels of (x, y).
    bool pres(float x, float y, uint32_t couleur) const
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const Uint32 p = rgb(static_cast<int>(x) + dx, static_cast<int>(y) + dy);
                int ecart = 0;
                for (int decalage : {0, 8, 16})
                    ecart += std::abs(int(p >> decalage & 0xFF) - int(couleur >> decalage & 0xFF));
                if (ecart < 40) return true;
            }
        return false;
    }
};

std::vector<std::string> textes(const std::array<Graduation, MAX_GRADUATIONS>& g, int32_t n)
{
    std::vector<std::string> t;
    for (int32_t i = 0; i < n; ++i) t.push_back(g[i].texte.data());
    return t;
}

// One hand lost (50 to 40, the hold worth its stake: the expected path
// stays at 50), then a game of 250 hands won by 1, of which the last 200
// show (credits 100 to 300, the expected path at 50): their points, ticks
// and pixels where the scale puts them.
TEST_F(EcranBilan, CourbeDUneMainEtDe200)
{
    struct Cas {
        std::vector<MainJouee> mains;
        int32_t points;
        PointCourbe premier, dernier, attendu, milieu, attenduMilieu;  // the credit's three, the expected path's two
        std::vector<std::string> y, x;                                 // the ticks' labels
    };
    const Cas cas[] = {
        {{main_(10, Rien, 40, 1, 1, 1)}, 2, {374, 322}, {842, 420}, {842, 322}, {608, 371}, {608, 322},
         {"40", "45", "50"}, {"0", "1"}},
        {suite(250, 1, DoublePaire, 50), 201, {374, 420 - 100 * 98 / 300.0f}, {842, 322}, {842, 420 - 50 * 98 / 300.0f},
         {608, 420 - 200 * 98 / 300.0f}, {608, 420 - 50 * 98 / 300.0f}, {"0", "100", "200", "300"},
         {"50", "100", "150", "200", "250"}}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.points);
        Bilan b = vide();
        for (MainJouee m : c.mains) m.valeurJouee = m.valeurMeilleure = U, ajouteMain(&b, &m);
        EchelleCourbe e;
        echelleCourbe(&b, &e);
        ASSERT_EQ(e.nbPoints, c.points);
        for (auto [obtenu, attendu] : {std::pair{e.credits[0], c.premier}, {e.credits[c.points - 1], c.dernier},
                                       {e.attendus[c.points - 1], c.attendu}}) {
            EXPECT_NEAR(obtenu.x, attendu.x, 0.01);
            EXPECT_NEAR(obtenu.y, attendu.y, 0.01);
        }
        EXPECT_EQ(textes(e.y, e.nbY), c.y);
        EXPECT_EQ(textes(e.x, e.nbX), c.x);
        SDL_FillRect(ecran, nullptr, 0);
        affichageCourbeBilan(ecran, &e);
        for (PointCourbe p : {c.premier, c.milieu, c.dernier})
            EXPECT_TRUE(pres(p.x, p.y, COULEUR_JOUEUR)) << p.x << "," << p.y;
        EXPECT_TRUE(pres(c.attenduMilieu.x, c.attenduMilieu.y, COULEUR_EXACTE));
        EXPECT_FALSE(pres(c.milieu.x, (c.milieu.y + c.attenduMilieu.y) / 2 + 8, COULEUR_JOUEUR)) << "between the lines";
        EXPECT_EQ(rgb(ZONE_COURBE.x, ZONE_COURBE.y + 50), COULEUR_AXE);
    }
    // No hand: the axes, no point, no tick.
    Bilan b = vide();
    EchelleCourbe e;
    echelleCourbe(&b, &e);
    EXPECT_EQ(e.nbPoints + e.nbX + e.nbY, 0);
}

// The bars: the player's and the exact share of each class on the log
// scale, in the class's row (strongest first).
TEST_F(EcranBilan, BarresDesMains)
{
    RetourConseil retour;
    analyseRetour(&tables, &retour);
    Bilan b = vide();
    for (const MainJouee& m : {main_(1, Paire, 50, 1, 1, 1), main_(1, Paire, 50, 1, 1, 2), main_(1, Rien, 49, 0, 0, 3)})
        ajouteMain(&b, &m);
    affichageBarresBilan(ecran, &b, &retour);
    const auto rangee = [](int32_t c) { return Y_PREMIERE_MAIN + (NB_COMBINAISONS - 1 - c) * HAUTEUR_MAIN; };
    // 2/3 of the hands: 183 pixels; the royal flush's 0,00137 %: 5.
    EXPECT_EQ(longueurBarre(2.0 / 3), 183);
    EXPECT_EQ(rgb(X_BARRES + 182, rangee(Paire) + Y_BARRE_JOUEUR + 2), COULEUR_JOUEUR);
    EXPECT_EQ(rgb(X_BARRES + 183, rangee(Paire) + Y_BARRE_JOUEUR + 2), 0u);
    EXPECT_EQ(rgb(X_BARRES + 4, rangee(QuinteFlushRoyal) + Y_BARRE_EXACTE + 2), COULEUR_EXACTE);
    EXPECT_EQ(rgb(X_BARRES + 5, rangee(QuinteFlushRoyal) + Y_BARRE_EXACTE + 2), 0u);
    EXPECT_EQ(rgb(X_BARRES, rangee(QuinteFlushRoyal) + Y_BARRE_JOUEUR + 2), 0u) << "no royal flush played";
    EXPECT_EQ(longueurBarre(0), 0);
    EXPECT_EQ(longueurBarre(1e-9), 1);
}

// The screen's buttons by mouse and by key: Back and Clear while no question
// is asked, only the answers while it is, Enter and Space answering No. An
// ignored event lets the call go on to a close request queued after it.
TEST_F(EcranBilan, BoutonsEtTouches)
{
    using Codes = std::array<int32_t, 6>;  // the five fields of EtatBilan, then etat
    const auto touche = [](Uint8 type, SDLKey t) {
        return SDL_Event{.key = {type, 0, type == SDL_KEYDOWN, {0, t, KMOD_NONE, 0}}};
    };
    const auto souris = [](Point p) {
        return SDL_Event{.button = {SDL_MOUSEBUTTONUP, 0, SDL_BUTTON_LEFT, SDL_RELEASED, p.x, p.y}};
    };
    constexpr Uint8 BAS = SDL_KEYDOWN, HAUT = SDL_KEYUP;
    constexpr int32_t B = ETAT_BILAN, IGNORE = ETAT_QUITTER;
    const std::tuple<int32_t, SDL_Event, Codes> cas[] = {  // question asked, event, what it leaves
        {0, touche(BAS, SDLK_e), {1, 0, 0, 0, 0, B}}, {0, touche(HAUT, SDLK_e), {0, 1, 0, 0, 0, B}},
        {0, touche(HAUT, SDLK_BACKSPACE), {0, 0, 0, 0, 0, ETAT_START}},
        {0, touche(HAUT, SDLK_SPACE), {0, 0, 0, 0, 0, ETAT_START}},
        {0, touche(HAUT, SDLK_o), {0, 0, 0, 0, 0, IGNORE}}, {0, souris(OUI), {0, 0, 0, 0, 0, IGNORE}},
        {0, souris(EFFACER), {0, 1, 0, 0, 0, B}}, {0, souris(RETOUR), {0, 0, 0, 0, 0, ETAT_START}},
        {1, touche(BAS, SDLK_o), {0, 1, 1, 0, 0, B}}, {1, touche(HAUT, SDLK_o), {0, 0, 0, 0, 1, B}},
        {1, touche(HAUT, SDLK_RETURN), {0, 0, 0, 0, 0, B}}, {1, touche(BAS, SDLK_SPACE), {0, 1, 0, 1, 0, B}},
        {1, touche(HAUT, SDLK_n), {0, 0, 0, 0, 0, B}}, {1, touche(HAUT, SDLK_BACKSPACE), {0, 1, 0, 0, 0, IGNORE}},
        {1, touche(HAUT, SDLK_e), {0, 1, 0, 0, 0, IGNORE}}, {1, souris(RETOUR), {0, 1, 0, 0, 0, IGNORE}},
        {1, souris(OUI), {0, 0, 0, 0, 1, B}}, {1, souris(NON), {0, 0, 0, 0, 0, B}}};
    for (auto [question, evenement, attendu] : cas) {
        SCOPED_TRACE(testing::Message() << "question " << question << " event " << int(evenement.type) << " key "
                                        << evenement.key.keysym.sym);
        EtatBilan e{0, question, 0, 0, 0};
        EtatSurface s{};
        int32_t etat = ETAT_BILAN, continuer = 1;
        SDL_Event fermeture{SDL_QUIT};
        SDL_PushEvent(&evenement);
        SDL_PushEvent(&fermeture);
        gestionEventBilan(&etat, &continuer, &s, &e);
        EXPECT_EQ((Codes{e.boutonEffacer, e.confirmation, e.boutonOui, e.boutonNon, e.effacer, etat}), attendu);
        SDL_Event reste[2];
        EXPECT_EQ(SDL_PeepEvents(reste, 2, SDL_GETEVENT, SDL_ALLEVENTS), attendu[5] == IGNORE ? 0 : 1);
    }
}

// --- In the loop, on the dummy display ---

class BoucleBilan : public Table {
protected:
    const fs::path chemin = dossierVelmora(BaseXdg::donnees) + "/statistiques";

    void SetUp() override
    {
        fs::remove_all(chemin.parent_path());
        Table::SetUp();
    }
    void TearDown() override { Table::TearDown(); fs::remove_all(chemin.parent_path()); }
    void passe(std::initializer_list<Point> clics, Sauvegarde* sauvegarde = nullptr)
    {
        for (Point p : clics) clic(p);
        Table::passe(sauvegarde);
    }
    // The game started again: the records of the run are new, the files stay.
    void nouvelleSession()
    {
        const Reglages reglages = complements.reglages;
        complements = Complements{};
        complements.reglages = reglages;
        complements.deroulement = {horlogeLente, attenteSimulee, nullptr, nullptr};
    }
    const Bilan& bilan() const { return complements.suivi.fichier.bilan; }
    std::string fichier() const
    {
        std::ifstream f(chemin, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
};

// With the coach shown, the values that the record adds for each hand are
// the coach's for the hand as dealt: the hand rebuilt from the final one and
// the discard pile is the one dealt. The file follows every hand.
TEST_F(BoucleBilan, ChaqueMainPayeeAvecLesValeursDuConseil)
{
    complements.reglages.conseil = 1;
    const Conseil& conseil = complements.conseil;
    clic(NOUVELLE_PARTIE);
    for (int main = 1; main <= 8; ++main) {
        const Bilan avant = bilan();
        passe({JETON_10, DISTRIBUER, garder(main % 5), garder(main * 3 % 5), DISTRIBUER, DISTRIBUER});
        const Bilan& apres = bilan();
        ASSERT_EQ(conseil.etape, CONSEIL_VERDICT);
        EXPECT_EQ(apres.mains, main);
        EXPECT_EQ(apres.misees - avant.misees, 10);
        EXPECT_EQ(apres.payees - avant.payees, statistiques[gain].valeur);
        EXPECT_EQ(apres.combinaisons[combinaison] - avant.combinaisons[combinaison], 1);
        EXPECT_EQ(chanceUnites(&apres) - coutUnites(&apres) - (chanceUnites(&avant) - coutUnites(&avant)),
                  Grand{statistiques[gain].valeur} * U - Grand{10} * conseil.valeurs[conseil.meilleure]);
        EXPECT_EQ(coutUnites(&apres) - coutUnites(&avant),
                  Grand{10} * (conseil.valeurs[conseil.meilleure] - conseil.valeurs[conseil.choix]));
        EXPECT_EQ(apres.credits[apres.nbPoints - 1], statistiques[credit].valeur);
        EXPECT_EQ(apres.mainsPartie, main);
        EXPECT_EQ(fichier(), texteBilan(&apres));
    }
}

// The curve goes on after a quit and Resume in a new run (which reads the
// file), and starts afresh with a new game, which counts one more game.
TEST_F(BoucleBilan, LaCourbeSurvitALaRepriseEtRepartAvecUnePartie)
{
    Sauvegarde sauvegarde{dossierVelmora(BaseXdg::donnees) + "/partie", false, {}};
    const std::initializer_list<Point> uneMain = {JETON_10, DISTRIBUER, DISTRIBUER, DISTRIBUER};
    clic(NOUVELLE_PARTIE);
    for (int main = 0; main < 2; ++main) passe(uneMain, &sauvegarde);
    const int32_t quitte = statistiques[credit].valeur;
    pousseTouche(SDLK_ESCAPE);
    passe({}, &sauvegarde);

    nouvelleSession();
    chargeSauvegarde(&sauvegarde);
    etat = ETAT_START, continuer = 1;
    clic(REPRENDRE);
    passe(uneMain, &sauvegarde);
    EXPECT_EQ((std::array{bilan().nbPoints, bilan().creditDepart, bilan().credits[1]}), (std::array{3, 50, quitte}));
    EXPECT_EQ((std::array{bilan().mainsPartie, bilan().parties, bilan().mains}), (std::array<int64_t, 3>{3, 1, 3}));

    etat = ETAT_START;
    clic(NOUVELLE_PARTIE);
    passe(uneMain, &sauvegarde);
    EXPECT_EQ((std::array{bilan().nbPoints, bilan().creditDepart}), (std::array{1, 50}));
    EXPECT_EQ((std::array{bilan().mainsPartie, bilan().parties, bilan().mains}), (std::array<int64_t, 3>{1, 2, 4}));
}

// A hand dealt, marked and quit, then resumed in a new run and drawn: the
// record values the hand that was dealt (the discard pile, emptied by the
// resume, holds the exchanged cards again), as the coach does.
TEST_F(BoucleBilan, UneMainRepriseEstValueeCommeDonnee)
{
    Sauvegarde sauvegarde{dossierVelmora(BaseXdg::donnees) + "/partie", false, {}};
    complements.reglages.conseil = 1;
    for (Point p : {NOUVELLE_PARTIE, JETON_10, DISTRIBUER, garder(1), garder(2), garder(4)}) clic(p);
    pousseTouche(SDLK_ESCAPE);
    passe({}, &sauvegarde);
    nouvelleSession();
    chargeSauvegarde(&sauvegarde);
    etat = ETAT_START, continuer = 1;
    clic(REPRENDRE);
    passe({DISTRIBUER, DISTRIBUER}, &sauvegarde);
    const Conseil& conseil = complements.conseil;
    ASSERT_EQ(conseil.choix, 0b01001);
    EXPECT_EQ(bilan().mains, 1);
    EXPECT_EQ(coutUnites(&bilan()), Grand{10} * (conseil.valeurs[conseil.meilleure] - conseil.valeurs[conseil.choix]));
    EXPECT_EQ(chanceUnites(&bilan()) - coutUnites(&bilan()),
              Grand{statistiques[gain].valeur} * U - Grand{10} * conseil.valeurs[conseil.meilleure]);
}

// From the start screen: Clear then No keeps the record (Back is dead while
// the question is on the screen); Clear then Yes empties it and its file;
// Back goes to the start screen; Escape on the screen ends the game.
TEST_F(BoucleBilan, EffacerNonPuisOuiEtRetour)
{
    clic(NOUVELLE_PARTIE);
    passe({JETON_10, DISTRIBUER, DISTRIBUER, DISTRIBUER});
    const std::string joue = fichier();
    etat = ETAT_START;
    passe({STATISTIQUES, EFFACER, RETOUR, NON, RETOUR});
    EXPECT_EQ((std::array{etat, etatSurface.fond}), (std::array{ETAT_START, FOND_BILAN}));
    EXPECT_EQ(bilan().mains, 1);
    EXPECT_EQ(fichier(), joue);

    passe({STATISTIQUES, EFFACER, OUI, RETOUR});
    EXPECT_EQ(etat, ETAT_START);
    const Bilan efface = vide();
    EXPECT_EQ(fichier(), texteBilan(&efface));
    EXPECT_EQ(texteBilan(&bilan()), texteBilan(&efface));

    clic(STATISTIQUES);
    pousseTouche(SDLK_ESCAPE);
    passe({});
    EXPECT_EQ((std::array{etat, continuer}), (std::array{ETAT_QUITTER, -1}));
}

}  // namespace
