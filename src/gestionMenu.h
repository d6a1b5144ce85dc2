// Screens: the full draw of each game screen, the refresh of its changing
// parts, and the modal Help and About screens.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct EtatSurface;
struct Statistique;
struct Reglages;
struct Conseil;
struct EtatBilan;
struct Bilan;
struct RetourConseil;

void affichageMenuStart(SDL_Surface* ecran, EtatSurface* etatSurface);
void refreshMenuStart(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat);
void affichageMenuOption(SDL_Surface* ecran, EtatSurface* etatSurface);
// With the settings, their buttons too.
void affichageMenuOption(SDL_Surface* ecran, EtatSurface* etatSurface, const Reglages* reglages);
void affichageMenuMise(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques);
void refreshMenuMise(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat);
void affichageMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques);
void refreshMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat);
// With the coach, its marks and lines too.
void affichageMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques,
                       const Conseil* conseil);
void refreshMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat,
                     const Conseil* conseil);
// With the pay table's row of ligneGain lit too (Rien lights none).
void affichageMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques,
                       const Conseil* conseil, int32_t ligneGain);
void refreshMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat,
                     const Conseil* conseil, int32_t ligneGain);
void affichageMenuLoose(SDL_Surface* ecran, EtatSurface* etatSurface);
// The statistics screen whole: the record's numbers, the bars of the hands
// against the exact shares (retour: the advisor's, or null), the credit
// curve, the buttons, and the question over a veil while it asks.
void affichageMenuBilan(SDL_Surface* ecran, EtatSurface* etatSurface, const EtatBilan* etatBilan, const Bilan* bilan,
                        const RetourConseil* retour);
// After a press or release: the buttons (or the answers); the whole screen
// when the window lost its picture.
void refreshMenuBilan(SDL_Surface* ecran, EtatSurface* etatSurface, const EtatBilan* etatBilan, const Bilan* bilan,
                      const RetourConseil* retour);

// Modal screens: they run only when their button's flag is 1, and restore the
// screen of etat when the player leaves them.
void affichageMenuAide(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat);
void affichageMenuApropos(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat);
