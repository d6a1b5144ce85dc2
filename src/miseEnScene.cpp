#include "miseEnScene.h"

#include <SDL.h>

#include "analyseCarte.h"
#include "animation.h"
#include "gestionMenu.h"
#include "interfaceGraphique.h"
#include "table.h"

namespace {

int32_t vitesse(const Complements* complements)
{
    return complements != nullptr ? complements->reglages.animations : ANIMATIONS_AUCUNE;
}

// The deal: the screen as it will be, its five slots still empty.
void donne(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, const Conseil* conseil,
           const Complements* complements)
{
    Animation animation;
    initAnimation(&animation, ANIMATION_DONNE, vitesse(complements), etatSurface);
    EtatSurface vide = *etatSurface;
    for (int32_t& carte : vide.carte) {
        carte = PLACE_VIDE;
    }
    affichageMenuHand(ecran, &vide, statistiques, conseil);
    etatSurface->fond = vide.fond;
    joueAnimation(ecran, &animation, &complements->deroulement);
}

}  // namespace

void ouvreEcranMain(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, const Conseil* conseil,
                    const Complements* complements, int32_t entree)
{
    const int32_t v = vitesse(complements);
    if (v == ANIMATIONS_NORMALES || v == ANIMATIONS_RAPIDES) {
        if (entree == ENTREE_DONNE) {
            donne(ecran, etatSurface, statistiques, conseil, complements);
            return;
        }
        if (entree == ENTREE_TIRAGE) {
            Animation animation;
            initAnimation(&animation, ANIMATION_TIRAGE, v, etatSurface);
            joueAnimation(ecran, &animation, &complements->deroulement);
        }
    }
    affichageMenuHand(ecran, etatSurface, statistiques, conseil, ligneAllumee(etatSurface, complements));
}

void refreshEcranMain(SDL_Surface* ecran, EtatSurface* etatSurface, Statistique* statistiques, int32_t etat,
                      const Conseil* conseil, const Complements* complements)
{
    refreshMenuHand(ecran, etatSurface, statistiques, etat, conseil, ligneAllumee(etatSurface, complements));
}

int32_t ligneAllumee(const EtatSurface* etatSurface, const Complements* complements)
{
    const int32_t v = vitesse(complements);
    const bool animee = v == ANIMATIONS_NORMALES || v == ANIMATIONS_RAPIDES;
    return animee && etatSurface->texteHaut == TEXTE_WIN ? etatSurface->texteBas : Rien;
}
