// Whole screens composed from the widgets, their refreshes after an event,
// and the modal Help and About screens. The drawing order below is binding:
// later widgets cover earlier ones.
#include "gestionMenu.h"

#include <SDL.h>

#include "analyseCarte.h"
#include "bilan.h"
#include "gestionEvent.h"
#include "gestionTexte.h"
#include "graphiqueBilan.h"
#include "interfaceGraphique.h"

namespace {

// What tells the Help screen from the About screen.
struct EcranModal {
    int32_t EtatSurface::*bouton;  // the flag that opens it
    int32_t fond;
    void (*dessineBouton)(SDL_Surface*, const EtatSurface*);
    void (*dessineTexte)(SDL_Surface*);
};

constexpr EcranModal ecranAide{&EtatSurface::boutonAide, FOND_AIDE, affichageBoutonAide, affichageTexteAide};
constexpr EcranModal ecranApropos{&EtatSurface::boutonApropos, FOND_APROPOS, affichageBoutonApropos,
                                  affichageTexteApropos};

// The screen a modal one was opened from, drawn whole again.
void restaure(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    switch (etat) {
        case ETAT_START:
            affichageMenuStart(ecran, etatSurface);
            break;
        case ETAT_MISE:
            affichageMenuMise(ecran, etatSurface, statistiques);
            break;
        case ETAT_FIRSTHAND:
        case ETAT_SECONDHAND:
            affichageMenuHand(ecran, etatSurface, statistiques);
            break;
        default:
            break;
    }
}

void dessineModal(const EcranModal& modal, SDL_Surface* ecran, EtatSurface* etatSurface)
{
    etatSurface->fond = modal.fond;
    affichageBackground(ecran, etatSurface);
    affichageBoutonRetour(ecran, etatSurface);
    modal.dessineTexte(ecran);
    SDL_Flip(ecran);
}

// One handled event, false for a quit; a window that lost its picture
// meanwhile is shown the modal screen whole again.
bool attendModal(const EcranModal& modal, SDL_Surface* ecran, EtatSurface* etatSurface)
{
    while (gestionEventAPropos(etatSurface)) {
        if (etatSurface->fond != FOND_PERDU) {
            return true;
        }
        dessineModal(modal, ecran, etatSurface);
    }
    return false;
}

void afficheModal(const EcranModal& modal, SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques,
                  int32_t etat)
{
    if (etatSurface->*modal.bouton != 1) {
        return;
    }
    etatSurface->fond = modal.fond;
    modal.dessineBouton(ecran, etatSurface);  // still pressed
    SDL_Flip(ecran);
    etatSurface->*modal.bouton = 0;

    // Usually the release of the button that opened the screen; a press on
    // Back here skips the second wait. A quit leaves at once: the screen
    // underneath takes the close request that the wait put back.
    if (!attendModal(modal, ecran, etatSurface)) {
        return;
    }
    dessineModal(modal, ecran, etatSurface);

    while (etatSurface->boutonRetour == 0) {
        if (!attendModal(modal, ecran, etatSurface)) {
            return;
        }
    }
    affichageBoutonRetour(ecran, etatSurface);
    SDL_Flip(ecran);

    if (!attendModal(modal, ecran, etatSurface)) {  // usually the release of Back
        return;
    }
    restaure(ecran, etatSurface, statistiques, etat);
}

// Every refresh first lets a pressed Help or About button open its screen.
void modauxDemandes(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    affichageMenuAide(ecran, etatSurface, statistiques, etat);
    affichageMenuApropos(ecran, etatSurface, statistiques, etat);
}

}  // namespace

void affichageMenuStart(SDL_Surface* ecran, EtatSurface* etatSurface)
{
    etatSurface->fond = FOND_START;
    affichageBackground(ecran, etatSurface);
    affichageBoutonAide(ecran, etatSurface);
    affichageBoutonApropos(ecran, etatSurface);
    affichageBoutonStart(ecran, etatSurface);
    SDL_Flip(ecran);
}

// A refresh after the window lost its picture composes the whole screen.
void refreshMenuStart(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    if (etatSurface->fond == FOND_PERDU) {
        affichageMenuStart(ecran, etatSurface);
        return;
    }
    modauxDemandes(ecran, etatSurface, statistiques, etat);
    affichageBoutonAide(ecran, etatSurface);
    affichageBoutonApropos(ecran, etatSurface);
    affichageBoutonStart(ecran, etatSurface);
    SDL_Flip(ecran);
}

void affichageMenuOption(SDL_Surface* ecran, EtatSurface* etatSurface)
{
    affichageMenuOption(ecran, etatSurface, nullptr);
}

void affichageMenuOption(SDL_Surface* ecran, EtatSurface* etatSurface, const Reglages* reglages)
{
    etatSurface->fond = FOND_OPTION;
    affichageBackground(ecran, etatSurface);
    affichageBoutonRetour(ecran, etatSurface);
    if (reglages != nullptr) {
        affichageReglages(ecran, reglages);
    }
    SDL_Flip(ecran);
}

// The counters flip the screen by themselves; the final flip shows the banners.
void affichageMenuMise(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques)
{
    etatSurface->fond = FOND_JEU;
    affichageBackground(ecran, etatSurface);
    affichageBackTexte(ecran);
    affichageBoutonAide(ecran, etatSurface);
    affichageBoutonApropos(ecran, etatSurface);
    affichageBoutonCarte(ecran, etatSurface);
    affichageJetons(ecran, etatSurface);
    affichageVariable(ecran, statistiques);
    affichageTexteHaut(ecran, etatSurface);
    affichageTexteBas(ecran, etatSurface);
    SDL_Flip(ecran);
}

void refreshMenuMise(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    if (etatSurface->fond == FOND_PERDU) {
        affichageMenuMise(ecran, etatSurface, statistiques);
        return;
    }
    modauxDemandes(ecran, etatSurface, statistiques, etat);
    affichageBackTexte(ecran);  // covers the old values
    affichageVariable(ecran, statistiques);
    affichageBoutonAide(ecran, etatSurface);
    affichageBoutonApropos(ecran, etatSurface);
    affichageBoutonCarte(ecran, etatSurface);
    affichageJetons(ecran, etatSurface);
    SDL_Flip(ecran);
}

void affichageMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques)
{
    affichageMenuHand(ecran, etatSurface, statistiques, nullptr);
}

void affichageMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques,
                       const Conseil* conseil)
{
    affichageMenuHand(ecran, etatSurface, statistiques, conseil, Rien);
}

void affichageMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques,
                       const Conseil* conseil, int32_t ligneGain)
{
    etatSurface->fond = FOND_JEU;
    affichageBackground(ecran, etatSurface);
    affichageLigneGain(ecran, ligneGain);
    affichageBackTexte(ecran);
    affichageBoutonAide(ecran, etatSurface);
    affichageBoutonApropos(ecran, etatSurface);
    affichageBoutonCarte(ecran, etatSurface);
    affichageBoutonGarder(ecran, etatSurface);
    affichageTapis(ecran, etatSurface);
    if (conseil != nullptr) {
        affichageConseil(ecran, conseil);
    }
    affichageVariable(ecran, statistiques);
    if (conseil != nullptr) {
        affichageTexteConseil(ecran, conseil);
    }
    affichageTexteHaut(ecran, etatSurface);
    affichageTexteBas(ecran, etatSurface);
    SDL_Flip(ecran);
}

void refreshMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    refreshMenuHand(ecran, etatSurface, statistiques, etat, nullptr);
}

void refreshMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat,
                     const Conseil* conseil)
{
    refreshMenuHand(ecran, etatSurface, statistiques, etat, conseil, Rien);
}

// No input on the hand screens changes the cards, counters or banners. The
// coach's line follows the marks; its strips cover the line before. The lit
// row is drawn again over a screen that a modal one has just restored.
void refreshMenuHand(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat,
                     const Conseil* conseil, int32_t ligneGain)
{
    if (etatSurface->fond == FOND_PERDU) {
        affichageMenuHand(ecran, etatSurface, statistiques, conseil, ligneGain);
        return;
    }
    modauxDemandes(ecran, etatSurface, statistiques, etat);
    affichageLigneGain(ecran, ligneGain);
    affichageBoutonAide(ecran, etatSurface);
    affichageBoutonApropos(ecran, etatSurface);
    affichageBoutonCarte(ecran, etatSurface);
    affichageBoutonGarder(ecran, etatSurface);
    if (conseil != nullptr) {
        affichageConseil(ecran, conseil);
        affichageTexteConseil(ecran, conseil);
    }
    SDL_Flip(ecran);
}

void affichageMenuLoose(SDL_Surface* ecran, EtatSurface* etatSurface)
{
    etatSurface->fond = FOND_GAMEOVER;
    affichageBackground(ecran, etatSurface);
    affichageBoutonContinuer(ecran, etatSurface);
    SDL_Flip(ecran);
}

void affichageMenuBilan(SDL_Surface* ecran, EtatSurface* etatSurface, const EtatBilan* etatBilan, const Bilan* bilan,
                        const RetourConseil* retour)
{
    etatSurface->fond = FOND_BILAN;
    affichageBackground(ecran, etatSurface);
    affichageBarresBilan(ecran, bilan, retour);
    EchelleCourbe echelle;
    echelleCourbe(bilan, &echelle);
    affichageCourbeBilan(ecran, &echelle);
    TextesBilan textes;
    textesBilan(bilan, retour, &textes);
    affichageTexteBilan(ecran, &textes, &echelle);
    if (etatBilan->confirmation != 0) {
        affichageVoile(ecran);
    }
    affichageBoutonsBilan(ecran, etatSurface, etatBilan);
    SDL_Flip(ecran);
}

void refreshMenuBilan(SDL_Surface* ecran, EtatSurface* etatSurface, const EtatBilan* etatBilan, const Bilan* bilan,
                      const RetourConseil* retour)
{
    if (etatSurface->fond == FOND_PERDU) {
        affichageMenuBilan(ecran, etatSurface, etatBilan, bilan, retour);
        return;
    }
    affichageBoutonsBilan(ecran, etatSurface, etatBilan);
    SDL_Flip(ecran);
}

void affichageMenuAide(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    afficheModal(ecranAide, ecran, etatSurface, statistiques, etat);
}

void affichageMenuApropos(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat)
{
    afficheModal(ecranApropos, ecran, etatSurface, statistiques, etat);
}
