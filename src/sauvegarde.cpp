#include "sauvegarde.h"

#include <cstdio>
#include <limits>
#include <span>

#include "fichiers.h"
#include "interfaceGraphique.h"
#include "lignesCles.h"

namespace {

constexpr std::string_view ENTETE = "velmora partie 2";

// The counters' keys, in the order of the statistiques block.
constexpr std::array<std::string_view, NB_STATISTIQUES> clesCompteurs = {
    "credit", "mise", "gain", "nbGagne", "nbPerdu", "gainMax", "gainTotal"};

// The coach's tally: holds played, best ones among them, credits given away
// (in units of its own), which only worse holds give.
bool lisBilan(const std::array<int64_t, 3>& lu, BilanConseil* bilan, std::string* raison)
{
    if (lu[0] > std::numeric_limits<int32_t>::max() || lu[1] > lu[0] || (lu[1] == lu[0] && lu[2] != 0)) {
        *raison = "bilan du conseil impossible";
        return false;
    }
    *bilan = BilanConseil{static_cast<int32_t>(lu[0]), static_cast<int32_t>(lu[1]), lu[2]};
    return true;
}

// The checks that tie the values together: what a game in play can be.
bool coherente(const Partie& partie, std::string* raison)
{
    const auto& c = partie.compteurs;
    if (c[gainMax] > c[gainTotal]) {
        *raison = "gain maximal plus grand que le gain total";
        return false;
    }
    if (partie.mainEnJeu == 0) {
        if (c[mise] != 0 || c[gain] != 0 || c[credit] == 0) {
            *raison = "mise, gain ou credit impossible sans main en jeu";
            return false;
        }
        return true;
    }
    // The stake came out of the credit, which never exceeds the int32 limit.
    if (c[mise] == 0 || c[gain] != 0 || c[credit] > std::numeric_limits<int32_t>::max() - c[mise]) {
        *raison = "mise impossible pour ce credit";
        return false;
    }
    // The hand and the deck hold each card once.
    std::array<bool, NB_CARTES + 1> vue{};
    const std::array<std::span<const int32_t>, 2> mainEtSabot = {partie.carte, partie.sabot};
    for (std::span<const int32_t> ids : mainEtSabot) {
        for (int32_t id : ids) {
            if (vue[id]) {
                *raison = "carte " + std::to_string(id) + " en double";
                return false;
            }
            vue[id] = true;
        }
    }
    return true;
}

}  // namespace

void capturePartie(const Statistique* statistiques, const Liste* sabot, const EtatSurface* etatSurface,
                   int32_t ecran, Partie* partie)
{
    *partie = Partie{};
    for (int32_t i = 0; i < NB_STATISTIQUES; ++i) {
        partie->compteurs[i] = statistiques[i].valeur;
    }
    partie->compteurs[gain] = 0;
    partie->mainEnJeu = ecran == ETAT_FIRSTHAND ? 1 : 0;
    if (ecran == ETAT_MISE) {
        Statistique rendue[NB_STATISTIQUES];
        std::copy(statistiques, statistiques + NB_STATISTIQUES, rendue);
        gestionReset(rendue);
        partie->compteurs[credit] = rendue[credit].valeur;
    }
    if (partie->mainEnJeu == 0) {
        partie->compteurs[mise] = 0;
        return;
    }
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        partie->carte[i] = etatSurface->carte[i];
        partie->garder[i] = etatSurface->garder[i];
    }
    const Carte* carte = sabot->tete;
    for (int32_t& id : partie->sabot) {
        id = carte != nullptr ? carte->id : 0;
        carte = carte != nullptr ? carte->suivant : nullptr;
    }
}

void restaurePartie(const Partie* partie, Liste* sabot, Liste* mainJoueur, Liste* defausse,
                    Statistique* statistiques, EtatSurface* etatSurface)
{
    for (int32_t i = 0; i < NB_STATISTIQUES; ++i) {
        statistiques[i].valeur = partie->compteurs[i];
    }
    if (partie->mainEnJeu == 0) {
        return;
    }
    std::array<Carte*, NB_CARTES + 1> parId{};
    for (const Liste* liste : {sabot, mainJoueur, defausse}) {
        for (Carte* carte = liste->tete; carte != nullptr; carte = carte->suivant) {
            parId[carte->id] = carte;
        }
    }
    initListe(sabot);
    initListe(mainJoueur);
    initListe(defausse);
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        etatSurface->carte[i] = partie->carte[i];
        etatSurface->garder[i] = partie->garder[i];
        addListeId(mainJoueur, parId[partie->carte[i]]);
    }
    // Keys in deck order keep the deck in that order.
    for (int32_t i = 0; i < NB_CARTES_SABOT; ++i) {
        Carte* carte = parId[partie->sabot[i]];
        carte->indice = i;
        addListeIndice(sabot, carte);
    }
    etatSurface->texteHaut = TEXTE_FIRSTHAND;
}

std::string textePartie(const Partie* partie)
{
    std::string texte(ENTETE);
    texte.push_back('\n');
    for (int32_t i = 0; i < NB_STATISTIQUES; ++i) {
        ajouteLigne(&texte, clesCompteurs[i], partie->compteurs[i]);
    }
    const std::array<int64_t, 3> bilan = {partie->bilan.mainsJouees, partie->bilan.meilleures, partie->bilan.cedes};
    ajouteLigne(&texte, "conseil", std::span<const int64_t>(bilan));
    ajouteLigne(&texte, "main", partie->mainEnJeu);
    if (partie->mainEnJeu != 0) {
        ajouteLigne(&texte, "cartes", std::span<const int32_t>(partie->carte));
        ajouteLigne(&texte, "changer", std::span<const int32_t>(partie->garder));
        ajouteLigne(&texte, "sabot", std::span<const int32_t>(partie->sabot));
    }
    return texte + ligneCrc(texte);
}

bool lecturePartie(std::string_view texte, Partie* partie, std::string* raison)
{
    Partie lue{};
    LecteurLignes lecteur(texte);
    std::string_view ligne;
    if (!lecteur.suivante(&ligne) || ligne != ENTETE) {
        *raison = "format ou version inconnus";
        return false;
    }
    constexpr int64_t max = std::numeric_limits<int32_t>::max();
    bool ok = true;
    for (int32_t i = 0; ok && i < NB_STATISTIQUES; ++i) {
        ok = lecteur.ligne(clesCompteurs[i], &lue.compteurs[i], 0, max);
    }
    std::array<int64_t, 3> bilan{};
    ok = ok && lecteur.ligne("conseil", std::span(bilan), 0, CEDES_MAX);
    ok = ok && lecteur.ligne("main", &lue.mainEnJeu, 0, 1);
    if (ok && lue.mainEnJeu != 0) {
        ok = lecteur.ligne("cartes", std::span(lue.carte), 1, NB_CARTES) &&
             lecteur.ligne("changer", std::span(lue.garder), 0, 1) &&
             lecteur.ligne("sabot", std::span(lue.sabot), 1, NB_CARTES);
    }
    if (!ok) {
        *raison = lecteur.raison();
        return false;
    }
    if (!lecteur.crcJuste()) {
        *raison = "somme de controle fausse";
        return false;
    }
    if (!lisBilan(bilan, &lue.bilan, raison) || !coherente(lue, raison)) {
        return false;
    }
    *partie = lue;
    return true;
}

void chargeSauvegarde(Sauvegarde* sauvegarde)
{
    sauvegarde->reprise = false;
    const std::string dossier = dossierVelmora(BaseXdg::donnees);
    sauvegarde->chemin = dossier.empty() ? std::string() : dossier + "/partie";
    if (sauvegarde->chemin.empty()) {
        return;
    }
    // Another window may be saving at this very moment: only old ones go.
    supprimeTemporairesAnciens(sauvegarde->chemin, std::chrono::minutes(1));
    const auto lecture = [sauvegarde](std::string_view texte, std::string* raison) {
        return lecturePartie(texte, &sauvegarde->partie, raison);
    };
    sauvegarde->reprise = litOuMetDeCote(sauvegarde->chemin, TAILLE_MAX_PARTIE, lecture);
}

void enregistrePartie(Sauvegarde* sauvegarde, const Partie* partie)
{
    if (sauvegarde == nullptr || sauvegarde->chemin.empty()) {
        return;
    }
    std::string raison;
    if (!ecritFichier(sauvegarde->chemin, textePartie(partie), &raison)) {
        std::fprintf(stderr, "velmora : impossible d'enregistrer la partie dans %s : %s\n",
                     sauvegarde->chemin.c_str(), raison.c_str());
    }
}

void effaceSauvegarde(Sauvegarde* sauvegarde)
{
    if (sauvegarde == nullptr || sauvegarde->chemin.empty()) {
        return;
    }
    sauvegarde->reprise = false;
    std::string raison;
    if (!supprimeFichier(sauvegarde->chemin, &raison)) {
        std::fprintf(stderr, "velmora : impossible d'effacer %s : %s\n", sauvegarde->chemin.c_str(),
                     raison.c_str());
    }
}
