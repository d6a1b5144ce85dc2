#include "suiviBilan.h"

#include <SDL.h>

#include "bruitage.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "table.h"

namespace {

void litUneFois(SuiviBilan* suivi)
{
    if (!suivi->lu) {
        chargeBilan(&suivi->fichier);
        suivi->lu = true;
    }
}

// Built once a run; the tables are usually ready since the start screen.
void prepareTables(TablesConseil* tables)
{
    if (tables->combinaisonMain.empty()) {
        initTablesConseil(tables);
    }
}

int64_t valeur(const Garde& garde)
{
    return garde.gain * (UNITE_CONSEIL / garde.nbTirages);
}

// The screen as it stands after an event: whole when the question came or
// went, or the record was cleared; else only its buttons.
void redessine(SDL_Surface* ecran, EtatSurface* etatSurface, const EtatBilan* etatBilan, int32_t* question,
               const SuiviBilan* suivi)
{
    const RetourConseil* retour = suivi->retourCalcule ? &suivi->retour : nullptr;
    if (etatBilan->confirmation != *question) {
        *question = etatBilan->confirmation;
        affichageMenuBilan(ecran, etatSurface, etatBilan, &suivi->fichier.bilan, retour);
    } else {
        refreshMenuBilan(ecran, etatSurface, etatBilan, &suivi->fichier.bilan, retour);
    }
}

// One event through the ear. The screen's own buttons are not in the table
// that the ear hears: a press on one of them clicks here.
void attends(const Oreille* oreille, int32_t* etat, int32_t* continuer, EtatSurface* etatSurface,
             EtatBilan* etatBilan)
{
    const EtatBilan avant = *etatBilan;
    entendu(oreille, gestionEventBilan, etat, continuer, etatSurface, etatBilan);
    const bool appui = (etatBilan->boutonEffacer > avant.boutonEffacer) || (etatBilan->boutonOui > avant.boutonOui) ||
                       (etatBilan->boutonNon > avant.boutonNon);
    if (appui && oreille != nullptr && oreille->ecoute != nullptr) {
        joueSon(&oreille->ecoute->son, Bruit{SON_CLIC});
    }
}

}  // namespace

bool mainJouee(const TablesConseil* tables, const Statistique* statistiques, const EtatSurface* etatSurface,
               const Liste* defausse, int32_t combinaison, MainJouee* main)
{
    int32_t donne[NB_CARTES_MAIN];
    int32_t garde = 0;
    const Carte* echangee = defausse->tete;
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        if (etatSurface->garder[i] != 1) {
            donne[i] = etatSurface->carte[i];
            garde |= 1 << i;
        } else if (echangee != nullptr) {
            donne[i] = echangee->id;
            echangee = echangee->suivant;
        } else {
            return false;
        }
        if (donne[i] < 1 || donne[i] > NB_CARTES) {
            return false;
        }
    }
    if (echangee != nullptr) {
        return false;
    }
    Garde gardes[NB_GARDES];
    analyseGardes(tables, donne, gardes);
    *main = MainJouee{statistiques[mise].valeur,
                      statistiques[gain].valeur,
                      combinaison,
                      statistiques[credit].valeur,
                      valeur(gardes[garde]),
                      valeur(gardes[meilleureGarde(gardes)]),
                      int64_t{statistiques[nbGagne].valeur} + statistiques[nbPerdu].valeur};
    return true;
}

void noteMainBilan(const TableDeJeu* table, int32_t combinaison)
{
    Complements* complements = table->complements;
    if (complements == nullptr) {
        return;
    }
    SuiviBilan* suivi = &complements->suivi;
    litUneFois(suivi);
    prepareTables(&complements->tables);
    MainJouee main;
    if (mainJouee(&complements->tables, table->statistiques, table->etatSurface, table->defausse, combinaison,
                  &main)) {
        ajouteMain(&suivi->fichier.bilan, &main);
        enregistreBilan(&suivi->fichier);
    }
}

void ecranStatistiques(SDL_Surface* ecran, const TableDeJeu* table, int32_t* etat, int32_t* continuer,
                       const Oreille* oreille)
{
    if (*etat != ETAT_BILAN) {
        return;
    }
    Complements* complements = table->complements;
    EtatSurface* etatSurface = table->etatSurface;
    SuiviBilan vide{};  // without complements: an empty record, kept nowhere
    initBilan(&vide.fichier.bilan);
    SuiviBilan* suivi = complements != nullptr ? &complements->suivi : &vide;
    if (complements != nullptr) {
        litUneFois(suivi);
        prepareTables(&complements->tables);
        if (!suivi->retourCalcule) {
            analyseRetour(&complements->tables, &suivi->retour);
            suivi->retourCalcule = true;
        }
    }
    EtatBilan etatBilan{};
    int32_t question = 0;
    affichageMenuBilan(ecran, etatSurface, &etatBilan, &suivi->fichier.bilan,
                       suivi->retourCalcule ? &suivi->retour : nullptr);
    attends(oreille, etat, continuer, etatSurface, &etatBilan);
    while (*etat == ETAT_BILAN) {
        if (etatBilan.effacer != 0) {
            etatBilan.effacer = 0;
            initBilan(&suivi->fichier.bilan);
            enregistreBilan(&suivi->fichier);
        }
        redessine(ecran, etatSurface, &etatBilan, &question, suivi);
        attends(oreille, etat, continuer, etatSurface, &etatBilan);
    }
}
