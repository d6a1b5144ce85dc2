// Input: one blocking event function per screen. Each waits for exactly one
// relevant event (a left-button press or release on one of its buttons, a key
// down or up among a button's keys, Escape, or the close request), applies it
// and returns. A key down is the button's press, its key up the release; key
// repeat stays off, as SDL starts, so a key held acts once. None of them
// draws. A window shown again after being hidden or covered stores FOND_PERDU
// in fond and returns, so that the screen is composed again.
#pragma once

#include <cstdint>

struct EtatSurface;
struct EtatBilan;
struct Statistique;
struct Reglages;

constexpr int32_t ETAT_QUITTER = -1;
constexpr int32_t ETAT_START = 0;
constexpr int32_t ETAT_MISE = 1;
constexpr int32_t ETAT_FIRSTHAND = 2;
constexpr int32_t ETAT_SECONDHAND = 3;
constexpr int32_t ETAT_REPRISE = 4;  // Resume released: the loop puts the saved game back
constexpr int32_t ETAT_OPTION = 5;
constexpr int32_t ETAT_LOOSE = 6;
constexpr int32_t ETAT_BILAN = 7;  // the statistics screen

void gestionEventStart(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface);
void gestionEventOption(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface);
// With the settings, a press on a setting's button steps it to its next value.
void gestionEventOption(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface, Reglages* reglages);
void gestionEventMise(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface, Statistique* statistiques);
void gestionEventFirstHand(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface);
void gestionEventSecondHand(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface);
void gestionEventLoose(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface);
// Back and Clear; while the screen asks, only the answers. Yes sets effacer.
void gestionEventBilan(int32_t* etat, int32_t* continuer, EtatSurface* etatSurface, EtatBilan* etatBilan);

// The Help and About screens' own wait. Escape or close returns false after
// putting a close request back on the queue, so that the screen the modal
// one was opened from ends the game as it would have by itself.
bool gestionEventAPropos(EtatSurface* etatSurface);
