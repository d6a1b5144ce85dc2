// Text rendering with "arial.ttf": the seven counters, the web address and
// the version. Each function starts and stops the font library itself and
// flips the screen.
#pragma once

struct SDL_Surface;
struct Statistique;
struct Conseil;
struct TextesBilan;
struct EchelleCourbe;

// The game's web address, the same on the Help and About screens.
constexpr const char* ADRESSE_WEB = "https://velmora.example.org";
constexpr const char* VERSION_JEU = "1.0";

void affichageVariable(SDL_Surface* ecran, Statistique* statistiques);
void affichageTexteAide(SDL_Surface* ecran);
void affichageTexteApropos(SDL_Surface* ecran);
// The coach's lines on their strips (affichageConseil draws the strips). It
// leaves the flip to the screen that it is part of.
void affichageTexteConseil(SDL_Surface* ecran, const Conseil* conseil);
// The statistics screen's numbers in their rows and the curve's tick
// labels; a plot without a hand says so. Left to the screen to flip.
void affichageTexteBilan(SDL_Surface* ecran, const TextesBilan* textes, const EchelleCourbe* echelle);
