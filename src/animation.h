// Cards that are dealt and drawn, not teleported: the five slots turn one
// after the other, from the back to the face, squeezed and stretched about
// their middles. A frame is a function of the screen, the animation's record
// and the time; the clock is the caller's, so a frame can be drawn for any
// moment. Only the slots that change are drawn and shown (SDL_UpdateRects).
#pragma once

#include <cstdint>

struct SDL_Surface;
struct EtatSurface;

// The deal: each slot empty until its card lands, back up, then turned over.
constexpr int32_t ANIMATION_DONNE = 0;
// The draw: the exchanged slots show the back at once, then turn to their new faces.
constexpr int32_t ANIMATION_TIRAGE = 1;

struct Animation {
    int32_t genre;     // ANIMATION_DONNE or ANIMATION_TIRAGE
    int32_t vitesse;   // ANIMATIONS_NORMALES or ANIMATIONS_RAPIDES
    int32_t carte[5];  // the card of each slot at the end
    int32_t tourne;    // the slots that turn, a bit per slot, slot 0 the lowest
};

// The deal of the five cards on the table, or the draw of its marked slots.
void initAnimation(Animation* animation, int32_t genre, int32_t vitesse, const EtatSurface* etatSurface);

// Milliseconds from the first frame to the last; 0 when no slot turns.
int32_t dureeAnimation(const Animation* animation);

// The frame of the moment maintenant (milliseconds from the start, clamped to
// the duration) over the frame of the moment avant (negative: the picture the
// animation starts from, empty slots for the deal, anything for the draw):
// draws the slots that differ and updates their rectangles of the window.
// Returns the slots whose card began to turn over in between.
int32_t affichageAnimation(SDL_Surface* ecran, const Animation* animation, int32_t avant, int32_t maintenant);

// How an animation is played: its clock and its wait (SDL_GetTicks and
// SDL_Delay when null), and who is told, at each frame, which slots began to
// turn over (a bit per slot; nobody when null).
struct Deroulement {
    uint32_t (*horloge)();
    void (*attente)(uint32_t millisecondes);
    void (*retournees)(void* ecoute, int32_t places);
    void* ecoute;
};

// How joueAnimation ended.
constexpr int32_t ANIMATION_FINIE = 0;    // played to its end
constexpr int32_t ANIMATION_ABREGEE = 1;  // a press finished it
constexpr int32_t ANIMATION_QUITTEE = 2;  // Escape or the close request, left on the queue

// Plays the animation to its last frame, frames paced by the clock (a slow
// machine skips frames, never time). A press (a mouse button or a key) shows
// the last frame at once and does nothing else: it is taken off the queue,
// and so is its release, waited for while the button or key is held. Escape
// or the close request shows the last frame and stays on the queue for the
// screen's own wait to quit. Every other event stays on the queue, in order.
int32_t joueAnimation(SDL_Surface* ecran, const Animation* animation, const Deroulement* deroulement);
