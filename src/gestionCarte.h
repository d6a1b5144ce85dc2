// Cards and deck: the 52 card records, the three card lists with their
// ordered inserts, the random shuffle keys, the shuffle, the deal and the draw.
#pragma once

#include <cstdint>

struct EtatSurface;

// Suits, in the order that makes ascending id the ascending rank order.
constexpr int32_t Trefle = 0;
constexpr int32_t Carreau = 1;
constexpr int32_t Coeur = 2;
constexpr int32_t Pique = 3;

constexpr int32_t NB_CARTES = 52;
constexpr int32_t NB_CARTES_MAIN = 5;

struct Carte {
    int32_t valeur;   // 2 to 14, the ace is always 14
    int32_t couleur;  // Trefle, Carreau, Coeur or Pique
    int32_t id;       // (valeur - 2) * 4 + couleur + 1, from 1 to 52
    int32_t indice;   // shuffle key, -1 until the first attributionIndice
    Carte* suivant;
};

struct Liste {
    Carte* tete;
    Carte* queue;
    int32_t taille;
};

constexpr int32_t idCarte(int32_t valeur, int32_t couleur) { return (valeur - 2) * 4 + couleur + 1; }

void initCarte(Carte* carte, int32_t valeur, int32_t couleur, int32_t id);
void initListe(Liste* liste);
void addListeRandom(Liste* liste, Carte* carte);
void addListeIndice(Liste* liste, Carte* carte);
void addListeId(Liste* liste, Carte* carte);
void transfereListeIndice(Liste* source, Liste* cible);
void transfereListeId(Liste* source, Liste* cible);
void attributionIndice(Liste* liste);

void melangeSabot(Liste* sabot, Liste* defausse, Liste* mainJoueur);
void premierTirage(Liste* sabot, Liste* mainJoueur, EtatSurface* etatSurface);
void secondTirage(Liste* sabot, Liste* mainJoueur, Liste* defausse, EtatSurface* etatSurface);
