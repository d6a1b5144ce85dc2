// Cards, ordered lists, shuffle keys, shuffle, deal and draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <cstdlib>
#include <set>
#include <vector>

#include "gestionCarte.h"
#include "interfaceGraphique.h"

namespace {

// The ids of a list from head to tail, after checking its header against its links.
std::vector<int32_t> ids(const Liste& liste)
{
    std::vector<int32_t> resultat;
    const Carte* derniere = nullptr;
    for (const Carte* c = liste.tete; c != nullptr && resultat.size() <= 52; c = c->suivant) {
        resultat.push_back(c->id);
        derniere = c;
    }
    EXPECT_EQ(static_cast<int32_t>(resultat.size()), liste.taille);
    EXPECT_EQ(derniere, liste.queue);
    return resultat;
}

std::vector<int32_t> indices(const Liste& liste)
{
    std::vector<int32_t> resultat;
    for (const Carte* c = liste.tete; c != nullptr; c = c->suivant) {
        resultat.push_back(c->indice);
    }
    return resultat;
}

// 52 cards indexed by id - 1, all outside any list.
struct Jeu {
    Carte cartes[NB_CARTES];
    Liste sabot{}, mainJoueur{}, defausse{};

    Jeu()
    {
        for (int32_t valeur = 2; valeur <= 14; ++valeur) {
            for (int32_t couleur = Trefle; couleur <= Pique; ++couleur) {
                const int32_t id = idCarte(valeur, couleur);
                initCarte(&cartes[id - 1], valeur, couleur, id);
            }
        }
        initListe(&sabot);
        initListe(&mainJoueur);
        initListe(&defausse);
    }
    Carte* carte(int32_t id) { return &cartes[id - 1]; }

    // Fills sabot so that the given ids come first, in this order, then the rest.
    void empileSabot(const std::vector<int32_t>& premiers)
    {
        std::vector<int32_t> ordre = premiers;
        for (int32_t id = 1; id <= NB_CARTES; ++id) {
            if (std::find(premiers.begin(), premiers.end(), id) == premiers.end()) {
                ordre.push_back(id);
            }
        }
        for (auto it = ordre.rbegin(); it != ordre.rend(); ++it) {
            carte(*it)->indice = 1000 + *it * 7 % 53;  // distinct keys unrelated to the order
            addListeRandom(&sabot, carte(*it));
        }
    }
};

TEST(Listes, InsertionOrdonneeEnTeteAuMilieuEnQueue)
{
    struct Cas {
        std::vector<int32_t> avant;
        int32_t nouvelle;
    };
    const Cas cas[] = {
        {{}, 20},           {{20}, 5},           {{20}, 30},           {{5, 20, 30}, 1},
        {{5, 20, 30}, 52},  {{5, 20, 30}, 6},    {{5, 20, 30}, 29},    {{1, 2, 3, 4}, 49},
    };
    for (const Cas& c : cas) {
        std::vector<int32_t> ordre = c.avant;
        ordre.push_back(c.nouvelle);
        // By id, then by a key that runs against the id.
        for (auto ajoute : {addListeId, addListeIndice}) {
            Jeu jeu;
            Liste liste;
            initListe(&liste);
            for (int32_t id : ordre) {
                jeu.carte(id)->indice = 1000 - id;
                ajoute(&liste, jeu.carte(id));
            }
            std::vector<int32_t> attendu = ordre;
            std::sort(attendu.begin(), attendu.end());
            if (ajoute == addListeIndice) {
                std::reverse(attendu.begin(), attendu.end());
            }
            EXPECT_EQ(ids(liste), attendu) << "insert " << c.nouvelle;
            EXPECT_EQ(liste.queue->suivant, nullptr);
        }
    }
}

TEST(Listes, TransfertsVidentLaSourceEtTrientLaCible)
{
    Jeu jeu;
    Liste source;
    initListe(&source);
    for (int32_t id : {7, 13, 30, 2, 49}) {  // pushed at the head: 49 comes out first
        addListeRandom(&source, jeu.carte(id));
    }
    transfereListeId(&source, &jeu.mainJoueur);
    EXPECT_EQ(ids(source), std::vector<int32_t>({2, 30, 13, 7}));
    while (source.taille > 0) {
        transfereListeId(&source, &jeu.mainJoueur);
    }
    EXPECT_EQ(ids(source), std::vector<int32_t>{});
    EXPECT_EQ(source.tete, nullptr);
    EXPECT_EQ(ids(jeu.mainJoueur), std::vector<int32_t>({2, 7, 13, 30, 49}));
}

TEST(Cles, DistinctesSansToucherALOrdrePuisTriParTransferts)
{
    for (unsigned graine : {1u, 2u, 12345u}) {
        Jeu jeu;
        std::srand(graine);
        for (Carte& c : jeu.cartes) {
            addListeRandom(&jeu.defausse, &c);
        }
        const std::vector<int32_t> avant = ids(jeu.defausse);
        attributionIndice(&jeu.defausse);
        EXPECT_EQ(ids(jeu.defausse), avant);
        std::vector<int32_t> cles = indices(jeu.defausse);
        EXPECT_EQ(std::set<int32_t>(cles.begin(), cles.end()).size(), 52u);
        EXPECT_GE(*std::min_element(cles.begin(), cles.end()), 0);

        while (jeu.defausse.taille > 0) {
            transfereListeIndice(&jeu.defausse, &jeu.sabot);
        }
        EXPECT_EQ(jeu.defausse.queue, nullptr);
        EXPECT_EQ(ids(jeu.sabot).size(), 52u);
        cles = indices(jeu.sabot);
        EXPECT_TRUE(std::adjacent_find(cles.begin(), cles.end(), std::greater_equal<>()) == cles.end());
    }
}

TEST(ClesDeathTest, ListeVideTermineAvecLeStatut1)
{
    Liste vide;
    initListe(&vide);
    EXPECT_EXIT(attributionIndice(&vide), testing::ExitedWithCode(1), "^$");
}

TEST(Melange, Les52CartesFinissentDansLeSabotQuelleQueSoitLaRepartition)
{
    for (int32_t repartition = 0; repartition < 3; ++repartition) {
        Jeu jeu;
        std::srand(99);
        for (Carte& c : jeu.cartes) {
            Liste* listes[] = {&jeu.defausse, &jeu.sabot, &jeu.mainJoueur};
            c.indice = c.id;
            addListeId(listes[repartition == 0 ? 0 : c.id % (repartition + 1)], &c);
        }
        melangeSabot(&jeu.sabot, &jeu.defausse, &jeu.mainJoueur);
        std::vector<int32_t> deck = ids(jeu.sabot);
        EXPECT_EQ(jeu.defausse.taille + jeu.mainJoueur.taille, 0);
        EXPECT_EQ(jeu.defausse.tete, nullptr);
        EXPECT_EQ(jeu.mainJoueur.queue, nullptr);
        const std::vector<int32_t> cles = indices(jeu.sabot);
        EXPECT_EQ(std::set<int32_t>(cles.begin(), cles.end()).size(), 52u);
        std::sort(deck.begin(), deck.end());
        for (int32_t id = 1; id <= 52; ++id) {
            EXPECT_EQ(deck[id - 1], id);
        }
    }
}

TEST(Melange, MemeGraineMemeSabotAutreGraineAutreSabot)
{
    auto melange = [](unsigned graine) {
        Jeu jeu;
        for (Carte& c : jeu.cartes) {
            addListeRandom(&jeu.defausse, &c);
        }
        std::srand(graine);
        attributionIndice(&jeu.defausse);
        melangeSabot(&jeu.sabot, &jeu.defausse, &jeu.mainJoueur);
        return ids(jeu.sabot);
    };
    EXPECT_EQ(melange(42), melange(42));
    EXPECT_NE(melange(42), melange(43));
}

TEST(Tirage, DonneDansLOrdreDeDonneEtMainTriee)
{
    Jeu jeu;
    EtatSurface etat{};
    jeu.empileSabot({49, 2, 30, 13, 7, 11, 12});
    premierTirage(&jeu.sabot, &jeu.mainJoueur, &etat);
    EXPECT_EQ(std::vector<int32_t>(etat.carte, etat.carte + 5), std::vector<int32_t>({49, 2, 30, 13, 7}));
    EXPECT_EQ(ids(jeu.mainJoueur), std::vector<int32_t>({2, 7, 13, 30, 49}));
    EXPECT_EQ(jeu.sabot.taille, 47);
    EXPECT_EQ(jeu.sabot.tete->id, 11);
}

TEST(Tirage, EchangeLesEmplacementsMarques1)
{
    struct Cas {
        std::array<int32_t, 5> garder;
        std::array<int32_t, 5> carte;
        std::vector<int32_t> main;
    };
    // Dealt 49, 2, 30, 13, 7; the deck then runs 11, 12, 14, 15, 16.
    const Cas cas[] = {
        {{0, 0, 0, 0, 0}, {49, 2, 30, 13, 7}, {2, 7, 13, 30, 49}},
        {{1, 0, 0, 0, 0}, {11, 2, 30, 13, 7}, {2, 7, 11, 13, 30}},      // the tail leaves
        {{0, 1, 0, 0, 0}, {49, 11, 30, 13, 7}, {7, 11, 13, 30, 49}},    // the head leaves
        {{0, 2, -1, 0, 1}, {49, 2, 30, 13, 11}, {2, 11, 13, 30, 49}},   // only a mark of 1 counts
        {{1, 1, 1, 1, 1}, {11, 12, 14, 15, 16}, {11, 12, 14, 15, 16}},
    };
    for (const Cas& c : cas) {
        Jeu jeu;
        EtatSurface etat{};
        jeu.empileSabot({49, 2, 30, 13, 7, 11, 12, 14, 15, 16});
        premierTirage(&jeu.sabot, &jeu.mainJoueur, &etat);
        std::copy(c.garder.begin(), c.garder.end(), etat.garder);
        secondTirage(&jeu.sabot, &jeu.mainJoueur, &jeu.defausse, &etat);

        EXPECT_EQ(std::vector<int32_t>(etat.carte, etat.carte + 5), std::vector<int32_t>(c.carte.begin(), c.carte.end()));
        EXPECT_EQ(ids(jeu.mainJoueur), c.main);
        const int32_t echangees = 47 - jeu.sabot.taille;
        EXPECT_EQ(ids(jeu.defausse).size(), static_cast<size_t>(echangees));
        const std::vector<int32_t> cles = indices(jeu.defausse);
        EXPECT_TRUE(std::is_sorted(cles.begin(), cles.end()));
        EXPECT_EQ(jeu.sabot.taille + jeu.mainJoueur.taille + jeu.defausse.taille, 52);
    }
}

}  // namespace
