#include "gestionCarte.h"

#include <array>
#include <cstdlib>

#include "interfaceGraphique.h"

namespace {

// Where a card of key `cle` belongs in a list kept ascending by that key.
template <typename Cle>
void addListeOrdonnee(Liste* liste, Carte* carte, Cle cle)
{
    const int32_t k = cle(carte);
    if (liste->tete == nullptr) {
        carte->suivant = nullptr;
        liste->tete = carte;
        liste->queue = carte;
    } else if (k < cle(liste->tete)) {
        carte->suivant = liste->tete;
        liste->tete = carte;
    } else {
        Carte* precedente = nullptr;
        Carte* courante = liste->tete;
        while (k > cle(courante) && courante->suivant != nullptr) {
            precedente = courante;
            courante = courante->suivant;
        }
        if (courante->suivant == nullptr && k > cle(courante)) {
            carte->suivant = nullptr;
            courante->suivant = carte;
            liste->queue = carte;
        } else if (precedente == nullptr) {
            // Only a key equal to the head's stops the walk at once; it goes first.
            carte->suivant = courante;
            liste->tete = carte;
        } else {
            carte->suivant = courante;
            precedente->suivant = carte;
        }
    }
    liste->taille++;
}

int32_t cleIndice(const Carte* carte) { return carte->indice; }
int32_t cleId(const Carte* carte) { return carte->id; }

// Unlinks and returns the head card; the caller knows the list is not empty.
Carte* retireTete(Liste* source)
{
    Carte* carte = source->tete;
    source->tete = carte->suivant;
    source->taille--;
    if (source->taille == 0) {
        source->queue = nullptr;
    }
    return carte;
}

void videListeIndice(Liste* source, Liste* cible)
{
    while (source->taille > 0) {
        transfereListeIndice(source, cible);
    }
}

// Unlinks the card whose id is `id` from the hand and returns it.
Carte* retireCarteId(Liste* mainJoueur, int32_t id)
{
    Carte* precedente = nullptr;
    Carte* carte = mainJoueur->tete;
    while (carte->id != id) {
        precedente = carte;
        carte = carte->suivant;
    }
    if (precedente == nullptr) {
        mainJoueur->tete = carte->suivant;
    } else {
        precedente->suivant = carte->suivant;
        if (carte == mainJoueur->queue) {
            mainJoueur->queue = precedente;
        }
    }
    mainJoueur->taille--;
    return carte;
}

}  // namespace

void initCarte(Carte* carte, int32_t valeur, int32_t couleur, int32_t id)
{
    carte->valeur = valeur;
    carte->couleur = couleur;
    carte->id = id;
    carte->indice = -1;
    carte->suivant = nullptr;
}

void initListe(Liste* liste)
{
    liste->tete = nullptr;
    liste->queue = nullptr;
    liste->taille = 0;
}

void addListeRandom(Liste* liste, Carte* carte)
{
    if (liste->tete == nullptr) {
        carte->suivant = nullptr;
        liste->queue = carte;
    } else {
        carte->suivant = liste->tete;
    }
    liste->tete = carte;
    liste->taille++;
}

void addListeIndice(Liste* liste, Carte* carte) { addListeOrdonnee(liste, carte, cleIndice); }

void addListeId(Liste* liste, Carte* carte) { addListeOrdonnee(liste, carte, cleId); }

void transfereListeIndice(Liste* source, Liste* cible) { addListeIndice(cible, retireTete(source)); }

void transfereListeId(Liste* source, Liste* cible) { addListeId(cible, retireTete(source)); }

void attributionIndice(Liste* liste)
{
    std::array<int32_t, NB_CARTES> cles{};
    int32_t doublons = 0;
    do {
        for (int32_t& cle : cles) {
            cle = std::rand();
        }
        // A single equal pair throws the whole draw away, so the keys stay unbiased.
        doublons = 0;
        for (int32_t i = 0; i < NB_CARTES; ++i) {
            for (int32_t j = i + 1; j < NB_CARTES; ++j) {
                doublons += cles[i] == cles[j];
            }
        }
    } while (doublons > 0);

    if (liste->taille == 0) {
        std::exit(1);
    }
    // The table has 52 keys; a longer list would read past it, so no card beyond
    // the 52nd is keyed (every list the game keys holds exactly 52).
    Carte* carte = liste->tete;
    for (int32_t i = 0; i < liste->taille && i < NB_CARTES; ++i) {
        carte->indice = cles[i];
        carte = carte->suivant;
    }
}

void melangeSabot(Liste* sabot, Liste* defausse, Liste* mainJoueur)
{
    videListeIndice(sabot, defausse);
    videListeIndice(mainJoueur, defausse);
    for (int passe = 0; passe < 5; ++passe) {
        videListeIndice(sabot, defausse);
        attributionIndice(defausse);
        videListeIndice(defausse, sabot);
        attributionIndice(sabot);
    }
}

void premierTirage(Liste* sabot, Liste* mainJoueur, EtatSurface* etatSurface)
{
    for (int32_t& emplacement : etatSurface->carte) {
        emplacement = sabot->tete->id;
        transfereListeId(sabot, mainJoueur);
    }
}

void secondTirage(Liste* sabot, Liste* mainJoueur, Liste* defausse, EtatSurface* etatSurface)
{
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        if (etatSurface->garder[i] != 1) {
            continue;
        }
        addListeIndice(defausse, retireCarteId(mainJoueur, etatSurface->carte[i]));
        etatSurface->carte[i] = sabot->tete->id;
        transfereListeId(sabot, mainJoueur);
    }
}
