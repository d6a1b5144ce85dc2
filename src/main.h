// Game flow: start-up, the game loop and shutdown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "table.h"

struct SDL_Surface;
struct Carte;
struct Liste;
struct Statistique;
struct EtatSurface;
struct Sauvegarde;

// The game reads its pictures and font relative to the working directory.
// Without "image" there, moves to the first candidate that has it; when none
// has, writes one line on standard error naming the places looked at and
// returns false.
bool choisitDossierDonnees(std::span<const std::filesystem::path> candidats);

// Builds the 52 cards, clears the three lists, pushes every card onto
// defausse, sets the counters, seeds rand with graine and gives the cards
// their first shuffle keys.
void initJeu(Carte* cartes, Liste* sabot, Liste* mainJoueur, Liste* defausse, Statistique* statistiques,
             uint32_t graine);

// Starts SDL video, sets the icon and opens the captioned window. On failure
// writes the matching message to standard error and ends the process with
// status 1. *icone is null when the icon could not be read.
SDL_Surface* initFenetre(SDL_Surface** icone);

// Plays passes until continuer is no longer 1. With a sauvegarde, the game
// is saved when a hand is dealt, when it is scored and when the player quits
// a table screen, and its file is removed when the game is over; Resume puts
// it back. Without one, nothing is saved.
void boucleJeu(SDL_Surface* ecran, Liste* sabot, Liste* mainJoueur, Liste* defausse, Statistique* statistiques,
               EtatSurface* etatSurface, int32_t* etat, int32_t* continuer, int32_t* combinaison,
               Sauvegarde* sauvegarde = nullptr, Complements* complements = nullptr);

// One pass of the game loop. Without complements (settings and coach), the
// game as it always was.
void passeJeu(SDL_Surface* ecran, Liste* sabot, Liste* mainJoueur, Liste* defausse, Statistique* statistiques,
              EtatSurface* etatSurface, int32_t* etat, int32_t* continuer, int32_t* combinaison,
              Sauvegarde* sauvegarde = nullptr, Complements* complements = nullptr);
