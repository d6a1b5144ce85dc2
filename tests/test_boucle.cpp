// Start-up and the game loop, driven on the dummy display by scripted input.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <filesystem>
#include <set>

#include "analyseCarte.h"
#include "reglages.h"
#include "sauvegarde.h"
#include "tableTest.h"

namespace {

// Built suit by suit, ace first, each card pushed at the head of defausse
// (the king of Pique, pushed last, at the head); every card has a key of its
// own, and the counters a new game's values.
TEST(Demarrage, CartesListesCompteursEtPremieresCles)
{
    Carte cartes[NB_CARTES];
    Liste sabot{}, mainJoueur{}, defausse{};
    Statistique statistiques[NB_STATISTIQUES] = {};
    initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, 2026);
    std::vector<int32_t> attendu;
    std::set<int32_t> cles;
    for (int32_t couleur = Pique; couleur >= Trefle; --couleur)
        for (int32_t valeur : {13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 14}) attendu.push_back(idCarte(valeur, couleur));
    for (const Carte& c : cartes) cles.insert(c.indice);
    EXPECT_EQ(ids(defausse), attendu);
    EXPECT_EQ(defausse.queue, &cartes[0]);
    EXPECT_EQ(sabot.taille + mainJoueur.taille, 0);
    EXPECT_TRUE(cles.size() == 52 && !cles.contains(-1));
    EXPECT_EQ(statistiques[credit].valeur, CREDIT_INITIAL);
}

// Without "image" in the working directory the game moves to the first
// candidate that has it; with none, one line names every place looked at.
TEST(Demarrage, DossierDesDonnees)
{
    namespace fs = std::filesystem;
    const fs::path avant = fs::current_path(), ici = fs::path(std::getenv("HOME")) / "candidats";
    const fs::path candidats[] = {ici / "vide", ici / "plein", ici / "aussi"};
    for (const fs::path& d : {candidats[0], candidats[1] / "image", candidats[2] / "image"}) fs::create_directories(d);
    fs::current_path(ici);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(choisitDossierDonnees({candidats, 1}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Impossible de trouver les images du jeu : aucun dossier image dans " + ici.string() + ", " +
                  candidats[0].string() + "\n");
    EXPECT_TRUE(choisitDossierDonnees(candidats));
    EXPECT_EQ(fs::current_path(), candidats[1]);
    fs::current_path(avant);
}

// Twelve hands with different holds. The deal button is dead until something
// is staked, and again after Reset; a second press on a hold button takes its
// mark back. After each hand the table shows the hand drawn from the deck,
// the banners and the deal button show the result, and the hand is counted
// once. (The soak checks at every wait that no card is lost and that the
// credit, the stake and the payout add up.)
TEST_F(Table, PlusieursMainsAvecEchangesGainsEtPertes)
{
    clic(NOUVELLE_PARTIE);
    for (int main = 0; main < 12; ++main) {
        for (Point p : {DISTRIBUER, JETON_10, RESET, DISTRIBUER, JETON_10, JETON_1, DISTRIBUER}) clic(p);
        const unsigned marques = main * 11 % 32;  // the slots exchanged at the draw
        for (int slot = 0; slot < 5; ++slot)
            if (marques >> slot & 1) clic(garder(slot));
        for (Point p : {garder(4), garder(4), DISTRIBUER, DISTRIBUER}) clic(p);
        passe();

        EXPECT_EQ(sabot.taille, 47 - std::popcount(marques));
        std::vector<int32_t> table(etatSurface.carte, etatSurface.carte + 5);
        std::ranges::sort(table);
        EXPECT_EQ(table, ids(mainJoueur));
        EXPECT_EQ(valeur(mise), 11);
        EXPECT_EQ(etatSurface.texteHaut, combinaison == Rien ? TEXTE_LOOSE : TEXTE_WIN);
        EXPECT_EQ(etatSurface.texteBas, combinaison);
        EXPECT_TRUE(etatSurface.boutonCarte == REJOUER_UP && etat == ETAT_MISE) << "the replay back to the stake";
        EXPECT_EQ(valeur(nbGagne) + valeur(nbPerdu), main + 1);
    }
    EXPECT_TRUE(valeur(nbGagne) > 0 && valeur(nbPerdu) > 0) << "the seed should give both a win and a loss";
}

// The file of the saved game, in the test program's own home.
struct Fichier {
    Sauvegarde sauvegarde{std::string(std::getenv("HOME")) + "/partie", false, {}};
    Fichier() { std::filesystem::remove(sauvegarde.chemin); }
    Partie lue() const
    {
        Partie p{};
        std::string raison;
        EXPECT_TRUE(lecturePartie(contenu(sauvegarde.chemin), &p, &raison)) << raison;
        return p;
    }
};

// All in until nothing is left: saved at each score, the file removed at the
// game over; Continue, and the next game starts from a new game's counters.
TEST_F(Table, ToutPerduPuisContinuerRelanceUnePartieA50)
{
    Fichier fichier;
    clic(NOUVELLE_PARTIE);
    for (int main = 0; main < 200 && valeur(credit) > 0; ++main) {
        for (Point p : {ALLIN, DISTRIBUER, DISTRIBUER, DISTRIBUER}) clic(p);
        passe(&fichier.sauvegarde);
        ASSERT_EQ(std::filesystem::exists(fichier.sauvegarde.chemin), valeur(credit) > 0) << "after hand " << main;
    }
    ASSERT_EQ(valeur(credit), 0);

    clic(CONTINUER);
    passe();  // the game-over screen, whatever etat the replay left
    EXPECT_EQ(etat, ETAT_START);
    EXPECT_EQ(etatSurface.fond, FOND_GAMEOVER);

    for (int i = nbGagne; i < NB_STATISTIQUES; ++i) statistiques[i].valeur = 7;  // as if hands had been won
    quitteApres(ETAT_START, {NOUVELLE_PARTIE});
    for (int i = 0; i < NB_STATISTIQUES; ++i) EXPECT_EQ(statistiques[i].valeur, i == credit ? 50 : 0) << i;
}

// A marked hand is saved when the player quits. Quitting the start screen
// leaves the file as it is; resumed and quit at once, the hand (its marks,
// stake and deck) is saved again byte for byte. (Every screen left in every
// way, resumed and played on: test_conservation.)
TEST_F(Table, SauvegardeEtReprise)
{
    Fichier fichier;
    quitteApres(ETAT_START, {NOUVELLE_PARTIE, JETON_10, DISTRIBUER, garder(1), garder(3)}, &fichier.sauvegarde);
    EXPECT_EQ(fichier.lue().garder, (std::array<int32_t, 5>{0, 1, 0, 1, 0}));
    const std::string texte = contenu(fichier.sauvegarde.chemin);
    fichier.sauvegarde.reprise = true;
    quitteApres(ETAT_START, {}, &fichier.sauvegarde);
    EXPECT_EQ(contenu(fichier.sauvegarde.chemin), texte);
    quitteApres(ETAT_START, {REPRENDRE}, &fichier.sauvegarde);
    EXPECT_EQ(contenu(fichier.sauvegarde.chemin), texte);
    EXPECT_EQ(etatSurface.texteHaut, TEXTE_FIRSTHAND) << "the hand back on the table";
}

// Presses step the settings, the window size at once; leaving saves only a
// change. A pass that shows no hand deals none.
TEST_F(Table, OptionsChangeesPuisEnregistrees)
{
    constexpr Point CONSEIL{358, 153}, MEME_MISE{358, 217}, FENETRE{358, 281}, SON{358, 345}, ANIMATIONS{358, 409};
    for (Point p : {OPTION, RETOUR, OPTION, CONSEIL, FENETRE, FENETRE, MEME_MISE, MEME_MISE, SON, ANIMATIONS,
                    ANIMATIONS, RETOUR})
        clic(p);
    passe();
    EXPECT_EQ(sabot.taille, 0) << "no hand is dealt in a pass that shows none";
    EXPECT_FALSE(std::filesystem::exists(cheminReglages())) << "nothing changed, nothing written";
    passe();
    EXPECT_EQ(complements.reglages, (Reglages{1, 0, FENETRE_X2, 0, ANIMATIONS_AUCUNE}));
    EXPECT_STREQ(std::getenv("SDL12COMPAT_WINDOW_SCALING"), "2");
    EXPECT_EQ(contenu(cheminReglages()), "conseil=1\nmemeMise=0\nfenetre=2\nson=0\nanimations=aucune\n");
}

// With Meme mise a hand opens with the last stake on the table (all the credit when less is left: after
// a win, a loss, a ruin), and the chips add to it; without it, with nothing.
TEST_F(Table, MemeMiseApresUneMain)
{
    const std::tuple<int32_t, int32_t, bool, int32_t> cas[] = {  // credit left, Meme mise, chip 1: stake seen
        {70, 1, false, 10}, {40, 1, false, 10}, {3, 1, false, 3}, {40, 0, false, 0}, {40, 1, true, 11}};
    for (const auto& [creditAvant, meme, jeton, miseVue] : cas) {
        statistiques[credit].valeur = creditAvant, statistiques[mise].valeur = 10;
        complements.reglages.memeMise = meme;
        if (jeton) clic(JETON_1);
        quitteApres(ETAT_MISE, {});
        EXPECT_EQ(valeur(mise), miseVue) << creditAvant;
        EXPECT_EQ(valeur(credit), creditAvant - miseVue) << creditAvant;
        EXPECT_EQ(etatSurface.boutonCarte, miseVue > 0 ? CARTE_UP : BOUTON_FERME);
    }
}

// The coach off, then on: silent, then one hold in the tally at the draw; the tally is saved and goes
// back to zero with a new game. (Back with Resume: test_conservation.)
TEST_F(Table, LeConseilCompteChaqueMainJouee)
{
    Fichier fichier;
    const Conseil& conseil = complements.conseil;
    for (int32_t actif : {0, 1}) {
        complements.reglages.conseil = actif;
        quitteApres(ETAT_START, {NOUVELLE_PARTIE, JETON_10, DISTRIBUER, garder(0), DISTRIBUER}, &fichier.sauvegarde);
        EXPECT_EQ(conseil.etape, actif ? CONSEIL_VERDICT : CONSEIL_MUET);
        EXPECT_EQ(conseil.choix, actif ? 0b11110 : 0);
        EXPECT_EQ(conseil.bilan.mainsJouees, actif);
    }
    EXPECT_EQ(fichier.lue().bilan.mainsJouees, 1);
    quitteApres(ETAT_START, {NOUVELLE_PARTIE});
    EXPECT_EQ(conseil.bilan.mainsJouees, 0);
}

// A press during the deal or the draw (mouse or key, on a button or not)
// shows the last frame and does nothing else: the table, counters, deck and
// saved game are those of Escape alone in that animation; the close request
// quits and saves the same. Before the draw a click on the felt ends the deal.
TEST_F(Table, UnAppuiPendantUneAnimationNeFaitRienDautre)
{
    Fichier fichier;
    const auto joue = [&](bool tirage, void (*appui)(), void (*fin)()) {
        initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, 20261206);
        etat = ETAT_START, continuer = 1, temps = 0, complements.deroulement.horloge = horlogeArretee;
        for (Point p : {NOUVELLE_PARTIE, JETON_10, DISTRIBUER}) clic(p);
        for (Point p : {Point{700, 20}, garder(1), garder(3), DISTRIBUER}) tirage ? clic(p) : void();
        appui(), fin(), passe(&fichier.sauvegarde);
        EXPECT_EQ(etat, ETAT_QUITTER);
        return std::tuple{std::bit_cast<std::array<int32_t, 32>>(etatSurface), valeur(credit), valeur(mise), ids(sabot),
                          contenu(fichier.sauvegarde.chemin)};
    };
    void (*const appuis[])() = {[] {}, [] { clic(DISTRIBUER); }, [] { clic(garder(2)); }, [] { clic(AIDE); },
                                [] { pousseTouche(SDLK_RETURN), pousseTouche(SDLK_RETURN, SDL_KEYUP); },
                                [] { pousseBouton(SDL_MOUSEBUTTONDOWN, DISTRIBUER, SDL_BUTTON_RIGHT),
                                     pousseBouton(SDL_MOUSEBUTTONUP, DISTRIBUER, SDL_BUTTON_RIGHT); }};
    for (bool tirage : {false, true}) {
        const auto attendue = joue(tirage, appuis[0], [] { pousseTouche(SDLK_ESCAPE); });
        EXPECT_EQ(fichier.lue().mainEnJeu, tirage ? 0 : 1);
        EXPECT_EQ(std::get<3>(attendue).size(), tirage ? 45u : 47u);
        for (size_t i = 0; i < std::size(appuis); ++i)
            for (void (*fin)() : {+[] { pousseTouche(SDLK_ESCAPE); }, pousseQuitter})
                EXPECT_TRUE(joue(tirage, appuis[i], fin) == attendue) << (tirage ? "draw" : "deal") << ", press " << i;
    }
}

}  // namespace
