// The statistics screen and the loop: the curve's pixels and the bars, the
// screen's buttons and keys, the record kept at each paid hand with the
// coach's values, across a resume, and Effacer.
#include <gtest/gtest.h>

#include "bilanTest.h"
#include "fichiers.h"
#include "graphiqueBilan.h"
#include "sauvegarde.h"
#include "tableTest.h"

namespace {

// The run-long records on the dummy display, with the statistics file and a
// saved game of their own; the screen's pixels.
class EcranBilan : public Table {
protected:
    const std::string chemin = dossierVelmora(BaseXdg::donnees) + "/statistiques";
    Sauvegarde sauvegarde{dossierVelmora(BaseXdg::donnees) + "/partie", false, {}};

    void SetUp() override { fs::remove_all(fs::path(chemin).parent_path()); Table::SetUp(); }
    Uint32 rgb(int x, int y) const
    {
        Uint8 r, g, b;
        SDL_GetRGB(static_cast<Uint32*>(ecran->pixels)[y * ecran->pitch / 4 + x], ecran->format, &r, &g, &b);
        return r << 16 | g << 8 | b;
    }
    // A pixel of about this colour within two pixels of p.
    bool pres(PointCourbe p, uint32_t couleur) const
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const Uint32 c = rgb(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy);
                int ecart = 0;
                for (int d : {0, 8, 16}) ecart += std::abs(int(c >> d & 0xFF) - int(couleur >> d & 0xFF));
                if (ecart < 40) return true;
            }
        return false;
    }
    // One pass of the loop after these clicks, the game saved as it goes.
    void passe(std::initializer_list<Point> clics)
    {
        for (Point p : clics) clic(p);
        Table::passe(&sauvegarde);
    }
    const Bilan& bilan() const { return complements.suivi.fichier.bilan; }
    // The hand just paid with the coach shown, against the record before it:
    // valued as the coach valued the hand dealt, its credit on the curve, the
    // file written.
    void verifieMain(const Bilan& avant)
    {
        const Conseil& c = complements.conseil;
        const Bilan& apres = bilan();
        ASSERT_EQ(c.etape, CONSEIL_VERDICT);
        EXPECT_EQ((std::array{apres.mains - avant.mains, apres.misees - avant.misees, apres.payees - avant.payees,
                              apres.combinaisons[combinaison] - avant.combinaisons[combinaison],
                              apres.mainsPartie - avant.mainsPartie}),
                  (std::array<int64_t, 5>{1, 10, statistiques[gain].valeur, 1, 1}));
        EXPECT_EQ(coutUnites(&apres) - coutUnites(&avant), Grand{10} * (c.valeurs[c.meilleure] - c.valeurs[c.choix]));
        EXPECT_EQ(chanceUnites(&apres) - chanceUnites(&avant),
                  Grand{statistiques[gain].valeur} * U - Grand{10} * c.valeurs[c.choix]);
        EXPECT_EQ(apres.credits[apres.nbPoints - 1], statistiques[credit].valeur);
        EXPECT_EQ(contenu(chemin), texteBilan(&apres));
    }
};
using BoucleBilan = EcranBilan;  // the tests that play

// One hand lost (50 to 40, the hold worth its stake: the expected path
// stays at 50), then a game of 250 hands won by 1, of which the last 200
// show (credits 100 to 300, the expected path at 50): the ticks, and the
// lines' pixels where the scale puts them.
TEST_F(EcranBilan, CourbeDUneMainEtDe200)
{
    struct Cas {
        std::vector<MainJouee> mains;
        PointCourbe premier, milieu, dernier, attendu, attenduMilieu;  // the credit's three, the expected path's two
        std::vector<std::string> y, x;                                 // the ticks' labels
    };
    const float h = 98 / 300.0f;  // pixels per credit from 0 to 300
    const Cas cas[] = {
        {{main_(10, Rien, 40, 1, 1, 1)}, {374, 322}, {608, 371}, {842, 420}, {842, 322}, {608, 322},
         {"40", "45", "50"}, {"0", "1"}},
        {suite(250, 1, DoublePaire, 50), {374, 420 - 100 * h}, {608, 420 - 200 * h}, {842, 322}, {842, 420 - 50 * h},
         {608, 420 - 50 * h}, {"0", "100", "200", "300"}, {"50", "100", "150", "200", "250"}}};
    EchelleCourbe e;
    const Bilan rien = vide();
    echelleCourbe(&rien, &e);
    EXPECT_EQ(e.nbPoints + e.nbX + e.nbY, 0) << "no hand: the axes alone";
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.mains.size());
        Bilan b = vide();
        for (MainJouee m : c.mains) m.valeurJouee = m.valeurMeilleure = U, ajouteMain(&b, &m);
        echelleCourbe(&b, &e);
        std::vector<std::string> y, x;
        for (int32_t i = 0; i < e.nbY; ++i) y.push_back(e.y[i].texte.data());
        for (int32_t i = 0; i < e.nbX; ++i) x.push_back(e.x[i].texte.data());
        EXPECT_EQ(std::pair(y, x), std::pair(c.y, c.x));
        SDL_FillRect(ecran, nullptr, 0);
        affichageCourbeBilan(ecran, &e);
        for (PointCourbe p : {c.premier, c.milieu, c.dernier}) EXPECT_TRUE(pres(p, COULEUR_JOUEUR)) << "x " << p.x;
        for (PointCourbe p : {c.attendu, c.attenduMilieu}) EXPECT_TRUE(pres(p, COULEUR_EXACTE)) << "x " << p.x;
        const PointCourbe entre{c.milieu.x, (c.milieu.y + c.attenduMilieu.y) / 2 + 8};  // between the lines
        EXPECT_FALSE(pres(entre, COULEUR_JOUEUR));
        EXPECT_EQ(rgb(ZONE_COURBE.x, ZONE_COURBE.y + 50), COULEUR_AXE);
    }
}

// The bars: the player's and the exact share of each class on the log
// scale, in the class's row (strongest first); a share too small for a
// pixel still shows one.
TEST_F(EcranBilan, BarresDesMains)
{
    RetourConseil retour;
    analyseRetour(&tables, &retour);
    Bilan b = vide();  // two pairs and a loss
    for (const MainJouee& m : {main_(1, Paire, 50, 1, 1, 1), main_(1, Paire, 50, 1, 1, 2), main_(1, Rien, 49, 0, 0, 3)})
        ajouteMain(&b, &m);
    SDL_FillRect(ecran, nullptr, 0);
    affichageBarresBilan(ecran, &b, &retour);
    const auto rangee = [](int32_t c) { return Y_PREMIERE_MAIN + (NB_COMBINAISONS - 1 - c) * HAUTEUR_MAIN; };
    // 2/3 of the hands: 183 pixels; the royal flush's 0,00137 %: 5.
    EXPECT_EQ(rgb(X_BARRES + 182, rangee(Paire) + Y_BARRE_JOUEUR + 2), COULEUR_JOUEUR);
    EXPECT_EQ(rgb(X_BARRES + 183, rangee(Paire) + Y_BARRE_JOUEUR + 2), 0u);
    EXPECT_EQ(rgb(X_BARRES + 4, rangee(QuinteFlushRoyal) + Y_BARRE_EXACTE + 2), COULEUR_EXACTE);
    EXPECT_EQ(rgb(X_BARRES + 5, rangee(QuinteFlushRoyal) + Y_BARRE_EXACTE + 2), 0u);
    EXPECT_EQ(rgb(X_BARRES, rangee(QuinteFlushRoyal) + Y_BARRE_JOUEUR + 2), 0u) << "no royal flush played";
    EXPECT_EQ(longueurBarre(1e-9), 1);
}

// The screen's buttons by mouse and by key: Back and Clear while no question
// is asked, only the answers while it is, Enter and Space answering No. An
// ignored event lets the call go on to a close request queued after it.
TEST_F(EcranBilan, BoutonsEtTouches)
{
    using Codes = std::array<int32_t, 6>;  // the five fields of EtatBilan, then etat
    const auto bas = [](SDLKey t) { return SDL_Event{.key = {SDL_KEYDOWN, 0, SDL_PRESSED, {0, t, KMOD_NONE, 0}}}; };
    const auto haut = [](SDLKey t) { return SDL_Event{.key = {SDL_KEYUP, 0, SDL_RELEASED, {0, t, KMOD_NONE, 0}}}; };
    const auto souris = [](Point p) { return SDL_Event{.button = {SDL_MOUSEBUTTONUP, 0, 1, SDL_RELEASED, p.x, p.y}}; };
    constexpr int32_t B = ETAT_BILAN, S = ETAT_START, IGNORE = ETAT_QUITTER;
    const std::tuple<int32_t, SDL_Event, Codes> cas[] = {  // question asked, event, what it leaves
        {0, bas(SDLK_e), {1, 0, 0, 0, 0, B}}, {0, haut(SDLK_e), {0, 1, 0, 0, 0, B}},
        {0, haut(SDLK_BACKSPACE), {0, 0, 0, 0, 0, S}}, {0, haut(SDLK_SPACE), {0, 0, 0, 0, 0, S}},
        {0, haut(SDLK_o), {0, 0, 0, 0, 0, IGNORE}}, {0, souris(OUI), {0, 0, 0, 0, 0, IGNORE}},
        {0, souris(EFFACER), {0, 1, 0, 0, 0, B}}, {0, souris(RETOUR), {0, 0, 0, 0, 0, S}},
        {1, bas(SDLK_o), {0, 1, 1, 0, 0, B}}, {1, haut(SDLK_o), {0, 0, 0, 0, 1, B}},
        {1, haut(SDLK_n), {0, 0, 0, 0, 0, B}}, {1, haut(SDLK_RETURN), {0, 0, 0, 0, 0, B}},
        {1, bas(SDLK_SPACE), {0, 1, 0, 1, 0, B}}, {1, souris(NON), {0, 0, 0, 0, 0, B}},
        {1, haut(SDLK_BACKSPACE), {0, 1, 0, 0, 0, IGNORE}}, {1, haut(SDLK_e), {0, 1, 0, 0, 0, IGNORE}},
        {1, souris(RETOUR), {0, 1, 0, 0, 0, IGNORE}}, {1, souris(OUI), {0, 0, 0, 0, 1, B}}};
    for (auto [question, evenement, attendu] : cas) {
        SCOPED_TRACE(testing::Message() << question << ", " << int(evenement.type) << ", " << evenement.key.keysym.sym);
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

// --- In the loop ---

// With the coach shown, each hand whatever its marks, then one dealt, marked
// and quit, resumed in a new run (which reads the file) and drawn: the hand
// rebuilt from the final one and the discard pile (emptied by the resume, it
// holds the exchanged cards again) is the one dealt, and the curve goes on. A
// new game starts it afresh and counts one more game.
TEST_F(BoucleBilan, ChaqueMainAvecLesValeursDuConseilMemeReprise)
{
    complements.reglages.conseil = 1;
    clic(NOUVELLE_PARTIE);
    for (int main = 1; main <= 8; ++main) {
        const Bilan avant = bilan();
        passe({JETON_10, DISTRIBUER, garder(main % 5), garder(main * 3 % 5), DISTRIBUER, DISTRIBUER});
        verifieMain(avant);
    }
    const Bilan huit = bilan();
    quitteApres(ETAT_MISE, {JETON_10, DISTRIBUER, garder(1), garder(2), garder(4)}, &sauvegarde);
    const Reglages reglages = complements.reglages;  // a new run: its records are new, the files stay
    complements = Complements{};
    complements.reglages = reglages, complements.deroulement = {horlogeLente, attenteSimulee, nullptr, nullptr};
    chargeSauvegarde(&sauvegarde);
    etat = ETAT_START, continuer = 1;
    passe({REPRENDRE, DISTRIBUER, DISTRIBUER});
    ASSERT_EQ(complements.conseil.choix, 0b01001);
    verifieMain(huit);
    const Bilan& b = bilan();
    EXPECT_EQ((std::array<int64_t, 6>{b.nbPoints, b.creditDepart, b.credits[7], b.mainsPartie, b.parties, b.mains}),
              (std::array<int64_t, 6>{9, 50, huit.credits[7], 9, 1, 9}));

    etat = ETAT_START;
    passe({NOUVELLE_PARTIE, JETON_10, DISTRIBUER, DISTRIBUER, DISTRIBUER});
    EXPECT_EQ((std::array<int64_t, 5>{b.nbPoints, b.creditDepart, b.mainsPartie, b.parties, b.mains}),
              (std::array<int64_t, 5>{1, 50, 1, 2, 10}));
}

// From the start screen: Clear then No keeps the record (Back is dead while
// the question is on the screen); Clear then Yes empties it and its file;
// Back goes to the start screen; Escape on the screen ends the game.
TEST_F(BoucleBilan, EffacerNonPuisOuiEtRetour)
{
    passe({NOUVELLE_PARTIE, JETON_10, DISTRIBUER, DISTRIBUER, DISTRIBUER});
    const std::string joue = contenu(chemin);
    etat = ETAT_START;
    passe({STATISTIQUES, EFFACER, RETOUR, NON, RETOUR});
    EXPECT_EQ((std::array{etat, etatSurface.fond}), (std::array{ETAT_START, FOND_BILAN}));
    EXPECT_EQ(contenu(chemin), joue);

    passe({STATISTIQUES, EFFACER, OUI, RETOUR});
    EXPECT_EQ(bilan().mains, 0);
    EXPECT_EQ(contenu(chemin), texteBilan(&bilan()));
    quitteApres(ETAT_START, {STATISTIQUES});
    EXPECT_EQ((std::array{etat, continuer}), (std::array{ETAT_QUITTER, -1}));
}

}  // namespace
