// The statistics screen's own drawing: the curve's scale, and what the game
// draws with its own code at the places of placesBilan.h: the bars of the
// hands against the odds, the two lines of the credit curve, the veil under
// the confirmation.
#pragma once

#include <array>
#include <cstdint>

#include "bilan.h"
#include "placesBilan.h"

static_assert(NB_LIGNES_MAINS == NB_COMBINAISONS);

struct SDL_Surface;
struct RetourConseil;

struct PointCourbe {
    float x, y;
};

struct Graduation {
    float position;  // x or y in window pixels
    TexteNombre texte;
};

constexpr int32_t MAX_GRADUATIONS = 8;

// The curve in window pixels: the start and each hand's point, both lines,
// and the labelled ticks of both axes.
struct EchelleCourbe {
    int32_t nbPoints;  // points on each line: the start, then one per hand (0 with no hand)
    std::array<PointCourbe, NB_POINTS_COURBE + 1> credits;
    std::array<PointCourbe, NB_POINTS_COURBE + 1> attendus;
    int32_t nbY, nbX;
    std::array<Graduation, MAX_GRADUATIONS> y, x;
};

// The plot holds every value of both lines: its bounds are multiples of a
// step of 1, 2 or 5 times a power of ten, about four steps apart; the hands
// spread over its whole width.
void echelleCourbe(const Bilan* bilan, EchelleCourbe* echelle);

// The length in pixels of a share's bar, 0 for none.
int32_t longueurBarre(double part);

void affichageBarresBilan(SDL_Surface* ecran, const Bilan* bilan, const RetourConseil* retour);
void affichageCourbeBilan(SDL_Surface* ecran, const EchelleCourbe* echelle);
// Darkens the whole screen under the confirmation.
void affichageVoile(SDL_Surface* ecran);
