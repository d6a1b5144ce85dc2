#include "bruitage.h"

#include <array>

#include "analyseCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"

namespace {

// The result of each combination, Rien first.
constexpr std::array<int32_t, NB_COMBINAISONS> sonsResultats = {
    SON_PERDU,      SON_GAIN_PETIT, SON_GAIN_PETIT, SON_GAIN_MOYEN, SON_GAIN_MOYEN,
    SON_GAIN_MOYEN, SON_GAIN_MOYEN, SON_GAIN_GRAND, SON_GAIN_GRAND, SON_ROYALE};

// Buttons that click when they take their pressed look.
struct BoutonSonore {
    int32_t EtatSurface::*champ;
    int32_t enfonce;
};

constexpr std::array<BoutonSonore, 10> boutonsSonores = {{
    {&EtatSurface::boutonAide, 1},
    {&EtatSurface::boutonApropos, 1},
    {&EtatSurface::boutonRetour, 1},
    {&EtatSurface::boutonNewGame, 1},
    {&EtatSurface::boutonResume, 1},
    {&EtatSurface::boutonOption, 1},
    {&EtatSurface::boutonStatistiques, 1},
    {&EtatSurface::boutonContinuer, 1},
    {&EtatSurface::boutonCarte, CARTE_DOWN},
    {&EtatSurface::boutonCarte, REJOUER_DOWN},
}};

constexpr int32_t JETON_TAPIS = 8;

struct ListeBruits {
    Bruit* bruits;
    int32_t nombre = 0;

    void ajoute(Bruit bruit)
    {
        if (nombre < NB_BRUITS_MAX) {
            bruits[nombre++] = bruit;
        }
    }
};

bool appuye(const Instant* avant, const Instant* apres, const BoutonSonore& bouton)
{
    return avant->surface.*bouton.champ != bouton.enfonce && apres->surface.*bouton.champ == bouton.enfonce;
}

// The betting screen, both before and after: its banner is up only there.
bool surLaMise(const Instant* instant)
{
    return instant->etat == ETAT_MISE && instant->surface.texteHaut == TEXTE_MISE;
}

bool resultatAffiche(const Instant* instant)
{
    return instant->surface.texteHaut == TEXTE_WIN || instant->surface.texteHaut == TEXTE_LOOSE;
}

void bruitsJetons(const Instant* avant, const Instant* apres, ListeBruits* liste)
{
    if (!surLaMise(avant) || !surLaMise(apres)) {
        return;
    }
    int32_t jeton = -1;  // the chip just pressed, if one was
    for (int32_t i = 0; i < 10; ++i) {
        if (avant->surface.jeton[i] == 0 && apres->surface.jeton[i] == 1) {
            jeton = i;
        }
    }
    if (apres->mise > avant->mise) {
        liste->ajoute({jeton == JETON_TAPIS ? SON_TAPIS : SON_JETON});
    } else if (apres->mise < avant->mise) {
        liste->ajoute({SON_ANNULER});
    } else if (jeton >= 0) {
        liste->ajoute({SON_CLIC});
    }
}

void bruitsGarder(const Instant* avant, const Instant* apres, ListeBruits* liste)
{
    if (avant->etat != ETAT_FIRSTHAND || apres->etat != ETAT_FIRSTHAND) {
        return;
    }
    for (int32_t i = 0; i < 5; ++i) {
        if (avant->surface.garder[i] != apres->surface.garder[i]) {
            liste->ajoute({apres->surface.garder[i] == 1 ? SON_CHANGER : SON_GARDER, 0, i});
        }
    }
}

// The cards that turned up, unless an animation turned them, then the result they make.
void bruitsMain(const Instant* avant, const Instant* apres, ListeBruits* liste)
{
    const bool animees = apres->reglages.animations != ANIMATIONS_AUCUNE;
    int32_t cartes = 0;
    for (int32_t i = 0; i < 5 && !animees; ++i) {
        if (apres->surface.carte[i] != 0 && apres->surface.carte[i] != avant->surface.carte[i]) {
            liste->ajoute({SON_CARTE, cartes++ * ECART_CARTES_MS, i});
        }
    }
    if (resultatAffiche(apres) && !resultatAffiche(avant)) {
        liste->ajoute({sonResultat(apres->surface.texteBas),
                       cartes == 0 ? 0 : cartes * ECART_CARTES_MS + PAUSE_RESULTAT_MS});
    }
}

}  // namespace

int32_t sonResultat(int32_t combinaison)
{
    return combinaison >= 0 && combinaison < NB_COMBINAISONS ? sonsResultats[combinaison] : SON_PERDU;
}

int32_t bruitsEntre(const Instant* avant, const Instant* apres, Bruit* bruits)
{
    ListeBruits liste{bruits};
    bool clic = !(avant->reglages == apres->reglages);
    for (const BoutonSonore& bouton : boutonsSonores) {
        clic = clic || appuye(avant, apres, bouton);
    }
    if (clic) {
        liste.ajoute({SON_CLIC});
    }
    bruitsJetons(avant, apres, &liste);
    bruitsGarder(avant, apres, &liste);
    bruitsMain(avant, apres, &liste);
    if (apres->etat == ETAT_LOOSE && avant->etat != ETAT_LOOSE) {
        liste.ajoute({SON_FIN_PARTIE});
    }
    return liste.nombre;
}

Instant instantTable(const EtatSurface* etatSurface, const Statistique* statistiques, int32_t etat,
                     const Reglages* reglages)
{
    return {*etatSurface, etat, statistiques != nullptr ? statistiques[credit].valeur : 0,
            statistiques != nullptr ? statistiques[mise].valeur : 0, reglages != nullptr ? *reglages : Reglages{}};
}

void ecouteTable(Ecoute* ecoute, const Instant* maintenant)
{
    accordeSon(&ecoute->son, maintenant->etat == ETAT_QUITTER ? 0 : maintenant->reglages.son);
    if (ecoute->entendu) {
        Bruit bruits[NB_BRUITS_MAX];
        joueSons(&ecoute->son, bruits, bruitsEntre(&ecoute->dernier, maintenant, bruits));
    }
    ecoute->dernier = *maintenant;
    ecoute->entendu = true;
}

void ecoute(const Oreille* oreille)
{
    if (oreille != nullptr && oreille->ecoute != nullptr) {
        const Instant maintenant =
            instantTable(oreille->etatSurface, oreille->statistiques, *oreille->etat, oreille->reglages);
        ecouteTable(oreille->ecoute, &maintenant);
    }
}

void entendRetournees(void* ecoute, int32_t places)
{
    Bruit bruits[5];
    int32_t nombre = 0;
    for (int32_t i = 0; i < 5; ++i) {
        if ((places >> i & 1) != 0) {
            bruits[nombre] = {SON_CARTE, nombre * ECART_RETOURNEES_MS, i};
            ++nombre;
        }
    }
    joueSons(&static_cast<Ecoute*>(ecoute)->son, bruits, nombre);
}
