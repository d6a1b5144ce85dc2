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

// The shuffle step by step, on a plain array of (key, id): draw 52 keys until
// no two are equal; gathering into a list kept by key sorts the cards by key.
struct Modele {
    std::vector<std::pair<int32_t, int32_t>> cartes;  // (key, id), in list order

    void trie() { std::stable_sort(cartes.begin(), cartes.end()); }
    void recle()
    {
        std::vector<int32_t> cles(52);
        do {
            std::generate(cles.begin(), cles.end(), std::rand);
        } while (std::set<int32_t>(cles.begin(), cles.end()).size() < 52);
        for (size_t i = 0; i < 52; ++i) cartes[i].first = cles[i];
    }
    void melange()
    {
        trie();
        for (int passe = 0; passe < 5; ++passe) {
            trie();
            recle();
            trie();
            recle();
        }
    }
};

// Whatever the starting spread, the deck comes out exactly as the model
// says, order and keys, for each seed.
TEST(Melange, OrdreEtClesExactsDuSabot)
{
    std::vector<std::vector<int32_t>> sabots;
    for (auto [repartition, graine] : {std::pair{1, 99u}, {3, 99u}, {3, 2026u}}) {
        Jeu jeu;
        Modele modele;
        Liste* listes[] = {&jeu.defausse, &jeu.sabot, &jeu.mainJoueur};
        for (Carte& c : jeu.cartes) {
            c.indice = (c.id * 37) % 101;
            addListeIndice(listes[c.id % repartition], &c);
            modele.cartes.emplace_back(c.indice, c.id);
        }
        std::srand(graine);
        melangeSabot(&jeu.sabot, &jeu.defausse, &jeu.mainJoueur);
        std::srand(graine);
        modele.melange();
        EXPECT_EQ(ids(jeu.defausse).size() + ids(jeu.mainJoueur).size(), 0u);
        std::vector<int32_t> attendus, cles;
        for (auto [cle, id] : modele.cartes) attendus.push_back(id), cles.push_back(cle);
        EXPECT_EQ(ids(jeu.sabot), attendus) << "seed " << graine;
        EXPECT_EQ(indices(jeu.sabot), cles) << "seed " << graine;
        sabots.push_back(attendus);
    }
    EXPECT_EQ(sabots[0], sabots[1]) << "the spread does not matter";
    EXPECT_NE(sabots[1], sabots[2]);
}

TEST(Tirage, EchangeLesEmplacementsMarques1)
{
    struct Cas {
        std::array<int32_t, 5> garder;
        std::array<int32_t, 5> carte;
        std::vector<int32_t> main;
    };
    // Dealt 49, 2, 30, 13, 7 in that order; the deck then runs 11, 12, 14, 15, 16.
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
