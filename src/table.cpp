#include "table.h"

#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "sauvegarde.h"

void sauveTable(const TableDeJeu* table, int32_t ecran)
{
    Sauvegarde* sauvegarde = table->sauvegarde;
    if (sauvegarde == nullptr) {
        return;
    }
    capturePartie(table->statistiques, table->sabot, table->etatSurface, ecran, &sauvegarde->partie);
    if (table->complements != nullptr) {
        sauvegarde->partie.bilan = table->complements->conseil.bilan;
    }
    enregistrePartie(sauvegarde, &sauvegarde->partie);
}

void sauveSiQuitte(const TableDeJeu* table, int32_t ecran, int32_t etat)
{
    if (etat == ETAT_QUITTER) {
        sauveTable(table, ecran);
    }
}

bool reprendTable(const TableDeJeu* table, int32_t* etat)
{
    const Partie& partie = table->sauvegarde->partie;
    restaurePartie(&partie, table->sabot, table->mainJoueur, table->defausse, table->statistiques,
                   table->etatSurface);
    if (table->complements != nullptr) {
        table->complements->conseil.bilan = partie.bilan;
    }
    *etat = partie.mainEnJeu != 0 ? ETAT_FIRSTHAND : ETAT_MISE;
    return *etat == ETAT_FIRSTHAND;
}

void nouvellePartie(const TableDeJeu* table)
{
    initStatistiques(table->statistiques);
    if (table->complements != nullptr) {
        initBilanConseil(&table->complements->conseil.bilan);
    }
}

bool conseilActif(const Complements* complements)
{
    return complements != nullptr && complements->reglages.conseil == 1;
}

void prepareConseil(Complements* complements)
{
    if (complements != nullptr && complements->tables.combinaisonMain.empty()) {
        initTablesConseil(&complements->tables);
    }
}

Conseil* conseilDonne(const TableDeJeu* table)
{
    Complements* complements = table->complements;
    if (complements == nullptr) {
        return nullptr;
    }
    Conseil* conseil = &complements->conseil;
    if (!conseilActif(complements)) {
        conseil->etape = CONSEIL_MUET;
        return nullptr;
    }
    prepareConseil(complements);
    gestionDonneConseil(conseil, &complements->tables, table->etatSurface->carte,
                        table->statistiques[mise].valeur);
    return conseil;
}

Conseil* conseilTire(const TableDeJeu* table)
{
    Complements* complements = table->complements;
    if (complements == nullptr || complements->conseil.etape != CONSEIL_CHOIX) {
        return nullptr;
    }
    Conseil* conseil = &complements->conseil;
    gestionChoixConseil(conseil, table->etatSurface->garder);
    gestionTirageConseil(conseil);
    return conseil;
}
