// The run-long records of the game on a dummy screen, for the tests that
// drive the game loop.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "scenario.h"

inline std::vector<int32_t> ids(const Liste& liste)
{
    std::vector<int32_t> resultat;
    for (const Carte* c = liste.tete; c != nullptr && resultat.size() <= 52; c = c->suivant) resultat.push_back(c->id);
    return resultat;
}

inline std::string contenu(const std::string& chemin)
{
    std::ifstream f(chemin);
    return {std::istreambuf_iterator<char>(f), {}};
}

// The animations' clocks. The tables' own is a machine so slow that every
// animation shows its last frame at once, before it reads the queue: the
// scripted clicks are all for the screens. The stopped one moves only by the
// animation's waits: a frame every 10 ms, the queue read between frames.
inline uint32_t temps = 0;
inline uint32_t horlogeLente() { return temps += 1000; }
inline uint32_t horlogeArretee() { return temps; }
inline void attenteSimulee(uint32_t millisecondes) { temps += millisecondes; }

// The run-long records of the game, on a dummy screen.
class Table : public testing::Test {
protected:
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START, continuer = 1, combinaison = Rien;
    SDL_Surface* ecran = nullptr;
    Complements complements{};  // every setting at its default unless a test changes it

    void SetUp() override
    {
        gardeTemps();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        ASSERT_NE(ecran, nullptr) << SDL_GetError();
        initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, 20261206);
        complements.deroulement = {horlogeLente, attenteSimulee, nullptr, nullptr};
    }
    void TearDown() override { SDL_Quit(); }

    void passe(Sauvegarde* sauvegarde = nullptr)
    {
        passeJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison,
                 sauvegarde, &complements);
    }
    // One pass from the screen depuis: the clicks, then Escape.
    void quitteApres(int32_t depuis, std::initializer_list<Point> clics, Sauvegarde* sauvegarde = nullptr)
    {
        etat = depuis, continuer = 1;
        for (Point p : clics) clic(p);
        pousseTouche(SDLK_ESCAPE);
        passe(sauvegarde);
    }
    int32_t valeur(IndiceStatistique i) const { return statistiques[i].valeur; }
};
