// Start-up and the game loop, driven on the dummy display by scripted input.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "reglages.h"
#include "sauvegarde.h"
#include "scenario.h"

namespace {

std::vector<int32_t> ids(const Liste& liste)
{
    std::vector<int32_t> resultat;
    for (const Carte* c = liste.tete; c != nullptr && resultat.size() <= 52; c = c->suivant) {
        resultat.push_back(c->id);
    }
    return resultat;
}

TEST(Demarrage, CartesListesCompteursEtPremieresCles)
{
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, 2026);

    // Pushed suit by suit, ace first: the king of Pique ends at the head.
    std::vector<int32_t> attendu;
    for (int32_t couleur = Pique; couleur >= Trefle; --couleur) {
        for (int32_t valeur = 13; valeur >= 2; --valeur) {
            attendu.push_back(idCarte(valeur, couleur));
        }
        attendu.push_back(idCarte(14, couleur));
    }
    EXPECT_EQ(ids(defausse), attendu);
    EXPECT_EQ(defausse.taille, 52);
    EXPECT_EQ(defausse.queue->id, 49);
    EXPECT_EQ(sabot.taille + mainJoueur.taille, 0);
    std::set<int32_t> cles;
    for (const Carte& c : cartes) {
        EXPECT_EQ(c.id, (c.valeur - 2) * 4 + c.couleur + 1);
        cles.insert(c.indice);
    }
    EXPECT_EQ(cles.size(), 52u);
    EXPECT_EQ(cles.count(-1), 0u);
    EXPECT_EQ(statistiques[credit].valeur, 50);
    EXPECT_TRUE(std::all_of(statistiques + 1, statistiques + 7, [](const Statistique& s) { return s.valeur == 0; }));
}

// Without "image" in the working directory the game moves to the first
// candidate that has it; with none, one line names every place looked at.
TEST(Demarrage, DossierDesDonnees)
{
    namespace fs = std::filesystem;
    const fs::path avant = fs::current_path(), ici = fs::path(testing::TempDir()) / ("velmora-" + std::to_string(getpid()));
    const fs::path candidats[] = {ici / "vide", ici / "plein", ici / "aussi"};
    for (const fs::path& d : {candidats[0], candidats[1] / "image", candidats[2] / "image"}) fs::create_directories(d);
    fs::current_path(ici);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(choisitDossierDonnees({candidats, 1}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Impossible de trouver les images du jeu : aucun dossier image dans " +
                                                          ici.string() + ", " + candidats[0].string() + "\n");
    EXPECT_TRUE(choisitDossierDonnees(candidats));
    EXPECT_EQ(fs::current_path(), candidats[1]);
    fs::current_path(avant);
    fs::remove_all(ici);
}

// The run-long records of the game, on a dummy screen.
class Table : public testing::Test {
protected:
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START;
    int32_t continuer = 1;
    int32_t combinaison = Rien;
    SDL_Surface* ecran = nullptr;
    Complements* complements = nullptr;  // the settings and the coach, when a test has them

    void SetUp() override
    {
        gardeTemps();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        ASSERT_NE(ecran, nullptr) << SDL_GetError();
        initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, 20261206);
    }
    void TearDown() override { SDL_Quit(); }

    void passe(Sauvegarde* sauvegarde = nullptr)
    {
        passeJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison,
                 sauvegarde, complements);
    }
    void boucle()
    {
        boucleJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison,
                  nullptr, complements);
    }
    int32_t valeur(IndiceStatistique i) const { return statistiques[i].valeur; }

    // After a hand: the lists still hold the 52 cards once each, the table
    // shows the hand, and the hand was paid and scored by its class.
    void verifieFinDeMain(int32_t creditAvant, int32_t miseAttendue, int32_t nbEchangees)
    {
        EXPECT_EQ(sabot.taille, 47 - nbEchangees);
        EXPECT_EQ(defausse.taille, nbEchangees);
        std::vector<int32_t> toutes = ids(sabot);
        for (const Liste* l : {&mainJoueur, &defausse}) {
            const std::vector<int32_t> v = ids(*l);
            toutes.insert(toutes.end(), v.begin(), v.end());
        }
        EXPECT_EQ(std::set<int32_t>(toutes.begin(), toutes.end()).size(), 52u);
        std::vector<int32_t> table(etatSurface.carte, etatSurface.carte + 5);
        std::sort(table.begin(), table.end());
        EXPECT_EQ(table, ids(mainJoueur));

        EXPECT_EQ(combinaison, analyseCarte(&mainJoueur));
        const int32_t paiement = multiplicateurs[combinaison] * miseAttendue;
        EXPECT_EQ(valeur(mise), miseAttendue);
        EXPECT_EQ(valeur(gain), paiement);
        EXPECT_EQ(valeur(credit), creditAvant - miseAttendue + paiement);
        EXPECT_EQ(etatSurface.texteHaut, combinaison == Rien ? TEXTE_LOOSE : TEXTE_WIN);
        EXPECT_EQ(etatSurface.texteBas, combinaison);
        EXPECT_EQ(etatSurface.boutonCarte, REJOUER_UP);
        EXPECT_EQ(etat, ETAT_MISE);
    }
};

TEST_F(Table, PlusieursMainsAvecEchangesGainsEtPertes)
{
    bool gagnee = false, perdue = false;
    int32_t gagnees = 0;
    clic(NOUVELLE_PARTIE);
    for (int main = 0; main < 12; ++main) {
        const int32_t creditAvant = valeur(credit);
        // The deal button is dead until something is staked, and again after Reset.
        clic(DISTRIBUER);
        clic(JETON_10);
        clic(RESET);
        clic(DISTRIBUER);
        clic(JETON_10);
        clic(JETON_1);
        clic(DISTRIBUER);
        int32_t echangees = 0;
        for (int slot = 0; slot < 5; ++slot) {
            if ((main >> (slot % 3)) & 1) {
                clic(garder(slot));
                ++echangees;
            }
        }
        clic(garder(4));  // a second press on a hold button takes the mark back
        clic(garder(4));
        clic(DISTRIBUER);
        clic(DISTRIBUER);
        passe();
        verifieFinDeMain(creditAvant, 11, echangees);
        gagnee |= combinaison != Rien;
        perdue |= combinaison == Rien;
        gagnees += combinaison != Rien;
        EXPECT_EQ(valeur(nbGagne), gagnees);
        EXPECT_EQ(valeur(nbPerdu), main + 1 - gagnees);
    }
    EXPECT_TRUE(gagnee && perdue) << "the seed should give both a win and a loss";
}

// The file of the saved game: a directory of the test's own.
struct Fichier {
    std::string dossier = testing::TempDir() + "velmora_boucle_" + std::to_string(getpid());
    Sauvegarde sauvegarde{dossier + "/partie", false, {}};
    Fichier() { std::filesystem::remove_all(dossier); }
    ~Fichier() { std::filesystem::remove_all(dossier); }
    bool existe() const { return std::filesystem::exists(sauvegarde.chemin); }
    Partie lue() const
    {
        std::ostringstream texte;
        texte << std::ifstream(sauvegarde.chemin).rdbuf();
        Partie p{};
        std::string raison;
        EXPECT_TRUE(lecturePartie(texte.str(), &p, &raison)) << raison;
        return p;
    }
};

TEST_F(Table, ToutPerduPuisContinuerRelanceUnePartieA50)
{
    Fichier fichier;
    clic(NOUVELLE_PARTIE);
    for (int main = 0; main < 200 && valeur(credit) > 0; ++main) {
        clic(ALLIN);
        clic(DISTRIBUER);
        clic(DISTRIBUER);
        clic(DISTRIBUER);
        passe(&fichier.sauvegarde);
        ASSERT_EQ(etat, ETAT_MISE);
        ASSERT_EQ(fichier.existe(), valeur(credit) > 0) << "saved at each score, removed when the game is over";
    }
    ASSERT_EQ(valeur(credit), 0);
    EXPECT_EQ(combinaison, Rien);

    clic(CONTINUER);
    passe();  // the game-over screen, whatever etat the replay left
    EXPECT_EQ(etat, ETAT_START);
    EXPECT_EQ(etatSurface.fond, FOND_GAMEOVER);

    clic(NOUVELLE_PARTIE);
    pousseTouche(SDLK_ESCAPE);
    passe();
    EXPECT_EQ(etat, ETAT_QUITTER);
    EXPECT_EQ(continuer, -1);
    const int32_t attendu[NB_STATISTIQUES] = {50, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < NB_STATISTIQUES; ++i) {
        EXPECT_EQ(statistiques[i].valeur, attendu[i]) << "counter " << i;
    }
}

TEST_F(Table, OptionPuisRetourRameneAuDepart)
{
    clic(OPTION);
    clic(RETOUR);
    passe();
    EXPECT_EQ(etat, ETAT_START);
    EXPECT_EQ(etatSurface.fond, FOND_OPTION);
    EXPECT_EQ(valeur(credit), 50);
    EXPECT_EQ(sabot.taille, 0) << "no hand is dealt in a pass that shows none";
}

// Saved at the deal, when a table screen is quit (from Help too), never from
// the start screen; Resume brings the hand back and draws from the saved deck.
TEST_F(Table, SauvegardeEtReprise)
{
    Fichier fichier;
    clic(NOUVELLE_PARTIE);
    clic(JETON_10);
    pousseTouche(SDLK_ESCAPE);
    passe(&fichier.sauvegarde);
    EXPECT_EQ(fichier.lue().compteurs[credit], 50) << "the stake goes back to the credit";

    etat = ETAT_START, continuer = 1;
    clic(NOUVELLE_PARTIE);
    clic(JETON_10);
    clic(DISTRIBUER);
    clic(garder(1));
    clic(garder(3));
    presse(AIDE);
    pousseQuitter();
    passe(&fichier.sauvegarde);
    EXPECT_EQ(etatSurface.texteHaut, TEXTE_FIRSTHAND) << "the first hand's banner";
    const Partie sauvee = fichier.lue();
    EXPECT_EQ(sauvee.mainEnJeu, 1);
    EXPECT_EQ(sauvee.compteurs[mise], 10);
    EXPECT_EQ(sauvee.garder, (std::array<int32_t, 5>{0, 1, 0, 1, 0}));

    // Quitting the start screen leaves the file as it is.
    fichier.sauvegarde.reprise = true;
    etat = ETAT_START, continuer = 1;
    pousseTouche(SDLK_ESCAPE);
    passe(&fichier.sauvegarde);
    EXPECT_EQ(textePartie(&fichier.sauvegarde.partie), textePartie(&sauvee));
    EXPECT_EQ(fichier.lue().garder, sauvee.garder);

    etat = ETAT_START, continuer = 1;
    clic(REPRENDRE);
    pousseQuitter();
    passe(&fichier.sauvegarde);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(etatSurface.carte[i], sauvee.carte[i]);
        EXPECT_EQ(etatSurface.garder[i], sauvee.garder[i]);
    }
    EXPECT_EQ(etatSurface.texteHaut, TEXTE_FIRSTHAND);
    EXPECT_EQ(valeur(mise), 10);

    etat = ETAT_START, continuer = 1;
    clic(REPRENDRE);
    clic(DISTRIBUER);
    pousseQuitter();
    passe(&fichier.sauvegarde);
    const std::array<int32_t, 5> tiree{sauvee.carte[0], sauvee.sabot[0], sauvee.carte[2], sauvee.sabot[1],
                                       sauvee.carte[4]};
    EXPECT_TRUE(std::equal(tiree.begin(), tiree.end(), etatSurface.carte));
    EXPECT_EQ(fichier.lue().mainEnJeu, 0);
}

// Presses step the settings, the window size at once; leaving saves only a change.
TEST_F(Table, OptionsChangeesPuisEnregistrees)
{
    constexpr Point CONSEIL{358, 168}, MEME_MISE{358, 280}, FENETRE{358, 392};
    Complements c{};
    complements = &c;
    for (Point p : {OPTION, RETOUR, OPTION, CONSEIL, FENETRE, FENETRE, MEME_MISE, MEME_MISE, RETOUR}) clic(p);
    passe();
    EXPECT_FALSE(std::ifstream(cheminReglages())) << "nothing changed, nothing written";
    passe();
    EXPECT_EQ(c.reglages, (Reglages{1, 0, FENETRE_X2}));
    EXPECT_STREQ(std::getenv("SDL12COMPAT_WINDOW_SCALING"), "2");
    std::stringstream fichier;
    fichier << std::ifstream(cheminReglages()).rdbuf();
    EXPECT_EQ(fichier.str(), "conseil=1\nmemeMise=0\nfenetre=2\n");
}

// With Meme mise a hand opens with the last stake on the table (all the credit when less is left: after
// a win, a loss, a ruin), and the chips add to it; without it, with nothing.
TEST_F(Table, MemeMiseApresUneMain)
{
    Complements c{};
    complements = &c;
    const std::tuple<int32_t, int32_t, bool, int32_t> cas[] = {  // credit left, Meme mise, chip 1: stake seen
        {70, 1, false, 10}, {40, 1, false, 10}, {3, 1, false, 3}, {40, 0, false, 0}, {40, 1, true, 11}};
    for (const auto& [creditAvant, meme, jeton, miseVue] : cas) {
        statistiques[credit].valeur = creditAvant, statistiques[mise].valeur = 10, etat = ETAT_MISE;
        c.reglages.memeMise = meme;
        if (jeton) clic(JETON_1);
        pousseTouche(SDLK_ESCAPE);
        passe();
        EXPECT_EQ(valeur(mise), miseVue) << creditAvant;
        EXPECT_EQ(valeur(credit), creditAvant - miseVue) << creditAvant;
        EXPECT_EQ(etatSurface.boutonCarte, miseVue > 0 ? CARTE_UP : BOUTON_FERME);
    }
}

// The coach off, then on: silent, then one hold in the tally at the draw; the tally is saved, comes
// back with Resume and goes back to zero with a new game.
TEST_F(Table, LeConseilCompteChaqueMainJouee)
{
    Fichier fichier;
    Complements c{};
    complements = &c;
    for (int32_t conseil : {0, 1}) {
        c.reglages.conseil = conseil, etat = ETAT_START;
        for (Point p : {NOUVELLE_PARTIE, JETON_10, DISTRIBUER, garder(0), DISTRIBUER}) clic(p);
        pousseTouche(SDLK_ESCAPE);
        passe(&fichier.sauvegarde);
        EXPECT_EQ(c.conseil.etape, conseil ? CONSEIL_VERDICT : CONSEIL_MUET);
        EXPECT_EQ(c.conseil.choix, conseil ? 0b11110 : 0);
        EXPECT_EQ(c.conseil.bilan.mainsJouees, conseil);
        EXPECT_EQ(c.conseil.bilan.meilleures == conseil, c.conseil.bilan.cedes == 0);
    }
    const BilanConseil joue = c.conseil.bilan;
    EXPECT_EQ(fichier.lue().bilan.cedes, joue.cedes);
    fichier.sauvegarde.reprise = true;
    for (Point p : {REPRENDRE, NOUVELLE_PARTIE}) {
        etat = ETAT_START;
        clic(p);
        pousseTouche(SDLK_ESCAPE);
        passe(&fichier.sauvegarde);
        EXPECT_EQ(c.conseil.bilan.mainsJouees, p.y == REPRENDRE.y ? 1 : 0);
    }
}

void ouvreEtFerme(Point bouton)
{
    clic(bouton);
    clic(RETOUR);
}

TEST_F(Table, AideEtAproposDepuisChaqueEcranNeChangentPasLEtat)
{
    ouvreEtFerme(AIDE);
    ouvreEtFerme(APROPOS);
    clic(NOUVELLE_PARTIE);
    clic(JETON_10);
    ouvreEtFerme(AIDE);
    ouvreEtFerme(APROPOS);
    clic(DISTRIBUER);
    ouvreEtFerme(APROPOS);
    clic(garder(2));
    ouvreEtFerme(AIDE);
    clic(DISTRIBUER);
    ouvreEtFerme(AIDE);
    ouvreEtFerme(APROPOS);
    clic(DISTRIBUER);
    passe();
    verifieFinDeMain(50, 10, 1);
    EXPECT_EQ(etatSurface.fond, FOND_JEU);
    EXPECT_EQ(etatSurface.boutonAide + etatSurface.boutonApropos + etatSurface.boutonRetour, 0);
    SDL_Event reste;
    EXPECT_EQ(SDL_PollEvent(&reste), 0) << "every pushed event was read";
}

// Escape or the close request on each of the six screens ends the loop.
struct Sortie {
    const char* ecran;
    std::vector<Point> avant;  // clicks that lead there from the start screen
    int32_t credit;            // 0 opens the game-over screen
    bool fermeture;            // the window's close request instead of Escape
};

void PrintTo(const Sortie& sortie, std::ostream* flux) { *flux << sortie.ecran; }

class Quitter : public Table, public testing::WithParamInterface<Sortie> {};

TEST_P(Quitter, TermineLaBoucle)
{
    statistiques[credit].valeur = GetParam().credit;
    for (Point p : GetParam().avant) {
        clic(p);
    }
    GetParam().fermeture ? pousseQuitter() : pousseTouche(SDLK_ESCAPE);
    boucle();
    EXPECT_EQ(etat, ETAT_QUITTER);
    EXPECT_EQ(continuer, -1);
}

const std::vector<Point> versSecondeMain = {NOUVELLE_PARTIE, JETON_10, DISTRIBUER, DISTRIBUER};
INSTANTIATE_TEST_SUITE_P(
    SixEcrans, Quitter,
    testing::Values(Sortie{"start", {}, 50, false}, Sortie{"option", {OPTION}, 50, true},
                    Sortie{"mise", {NOUVELLE_PARTIE, JETON_10}, 50, false},
                    Sortie{"firsthand", {NOUVELLE_PARTIE, JETON_10, DISTRIBUER}, 50, true},
                    Sortie{"secondhand", versSecondeMain, 50, false}, Sortie{"loose", {}, 0, true},
                    Sortie{"loose_echap", {}, 0, false}, Sortie{"start_fermeture", {}, 50, true}),
    [](const testing::TestParamInfo<Sortie>& info) { return std::string(info.param.ecran); });

}  // namespace
