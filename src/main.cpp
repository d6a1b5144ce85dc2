#include "main.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "miseEnScene.h"
#include "sauvegarde.h"

namespace {

constexpr int LARGEUR_FENETRE = 872;
constexpr int HAUTEUR_FENETRE = 488;
constexpr Uint32 MODE_FENETRE = SDL_HWSURFACE | SDL_DOUBLEBUF;
constexpr const char* VARIABLE_ECHELLE = "SDL12COMPAT_WINDOW_SCALING";

// Drivers that SDL may fall back to when no display can be reached: they
// open no window, so a game started on one would wait unseen for ever.
constexpr std::array<std::string_view, 4> pilotesSansFenetre = {"offscreen", "dummy", "aalib", "caca"};

bool piloteSansFenetre()
{
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) {
        return false;  // the user's own choice is honoured
    }
    char nom[64] = "";
    if (SDL_VideoDriverName(nom, sizeof nom) == nullptr) {
        return true;
    }
    for (std::string_view pilote : pilotesSansFenetre) {
        if (pilote == nom) {
            return true;
        }
    }
    return false;
}

// On the betting screen the deal button is disabled while nothing is staked.
void regleBoutonCarte(EtatSurface* etatSurface, const Statistique* statistiques)
{
    if (statistiques[mise].valeur == 0) {
        etatSurface->boutonCarte = BOUTON_FERME;
    } else if (etatSurface->boutonCarte == BOUTON_FERME) {
        etatSurface->boutonCarte = CARTE_UP;
    }
}

SDL_Surface* ouvreModeVideo()
{
    return SDL_SetVideoMode(LARGEUR_FENETRE, HAUTEUR_FENETRE, 32, MODE_FENETRE);
}

// Without a video mode the game cannot go on.
SDL_Surface* ouvreModeVideoOuTermine()
{
    SDL_Surface* ecran = ouvreModeVideo();
    if (ecran == nullptr) {
        std::fprintf(stderr, "Impossible de charger le mode video : %s\n", SDL_GetError());
        std::exit(1);
    }
    return ecran;
}

// The compatibility library reads its scaling each time the video mode is
// set and maps clicks back to the game's own size. Should the new size be
// refused, the previous one is set again.
SDL_Surface* appliqueFenetre(Reglages* reglages, int32_t precedente)
{
    setenv(VARIABLE_ECHELLE, echelleFenetre(reglages->fenetre), 1);
    if (SDL_Surface* ecran = ouvreModeVideo()) {
        return ecran;
    }
    std::fprintf(stderr, "velmora : fenetre x%s refusee (%s), taille precedente gardee\n",
                 echelleFenetre(reglages->fenetre), SDL_GetError());
    reglages->fenetre = precedente;
    setenv(VARIABLE_ECHELLE, echelleFenetre(precedente), 1);
    return ouvreModeVideoOuTermine();
}

void ecranStart(SDL_Surface* ecran, const TableDeJeu* table, int32_t* etat, int32_t* continuer, const Oreille* oreille)
{
    nouvellePartie(table);
    affichageMenuStart(ecran, table->etatSurface);
    prepareConseil(table->complements);  // while the player reads the start screen
    entendu(oreille, gestionEventStart, etat, continuer, table->etatSurface);
    while (*etat == ETAT_START) {
        refreshMenuStart(ecran, table->etatSurface, table->statistiques, *etat);
        entendu(oreille, gestionEventStart, etat, continuer, table->etatSurface);
    }
}

// A new window size is applied at once, and the screen drawn whole again on
// the new window. Changed settings are saved when the player leaves, by Back
// or by quitting.
void ecranOption(SDL_Surface* ecran, EtatSurface* etatSurface, int32_t* etat, int32_t* continuer,
                 Reglages* reglages, const Oreille* oreille)
{
    const Reglages avant = reglages != nullptr ? *reglages : Reglages{};
    int32_t fenetre = avant.fenetre;
    affichageMenuOption(ecran, etatSurface, reglages);
    entendu(oreille, gestionEventOption, etat, continuer, etatSurface, reglages);
    while (*etat == ETAT_OPTION) {
        if (reglages != nullptr && reglages->fenetre != fenetre) {
            ecran = appliqueFenetre(reglages, fenetre);
            fenetre = reglages->fenetre;
            affichageMenuOption(ecran, etatSurface, reglages);
        } else if (etatSurface->fond == FOND_PERDU) {
            affichageMenuOption(ecran, etatSurface, reglages);
        } else {
            if (reglages != nullptr) {
                affichageReglages(ecran, reglages);
            }
            affichageBoutonRetour(ecran, etatSurface);
            SDL_Flip(ecran);
        }
        entendu(oreille, gestionEventOption, etat, continuer, etatSurface, reglages);
    }
    if (reglages != nullptr && !(*reglages == avant)) {
        enregistreReglages(reglages);
    }
}

void ecranMise(SDL_Surface* ecran, Statistique* statistiques, EtatSurface* etatSurface, int32_t* etat,
               int32_t* continuer, const Oreille* oreille)
{
    regleBoutonCarte(etatSurface, statistiques);
    affichageMenuMise(ecran, etatSurface, statistiques);
    entendu(oreille, gestionEventMise, etat, continuer, etatSurface, statistiques);
    while (*etat == ETAT_MISE) {
        regleBoutonCarte(etatSurface, statistiques);
        refreshMenuMise(ecran, etatSurface, statistiques, *etat);
        entendu(oreille, gestionEventMise, etat, continuer, etatSurface, statistiques);
    }
}

// The first-hand and final-hand screens share their drawing; the entry says
// how the cards arrive. The coach, when there is one, reads the marks before
// every drawing.
void ecranMain(SDL_Surface* ecran, Statistique* statistiques, EtatSurface* etatSurface, int32_t* etat,
               int32_t* continuer, int32_t etatEcran, void (*gestionEvent)(int32_t*, int32_t*, EtatSurface*),
               Conseil* conseil, const Complements* complements, int32_t entree, const Oreille* oreille)
{
    if (conseil != nullptr) {
        gestionChoixConseil(conseil, etatSurface->garder);
    }
    ouvreEcranMain(ecran, etatSurface, statistiques, conseil, complements, entree);
    entendu(oreille, gestionEvent, etat, continuer, etatSurface);
    while (*etat == etatEcran) {
        if (conseil != nullptr) {
            gestionChoixConseil(conseil, etatSurface->garder);
        }
        refreshEcranMain(ecran, etatSurface, statistiques, *etat, conseil, complements);
        entendu(oreille, gestionEvent, etat, continuer, etatSurface);
    }
}

void ecranLoose(SDL_Surface* ecran, EtatSurface* etatSurface, int32_t* etat, int32_t* continuer,
                const Oreille* oreille)
{
    affichageMenuLoose(ecran, etatSurface);
    entendu(oreille, gestionEventLoose, etat, continuer, etatSurface);
    while (*etat == ETAT_LOOSE) {
        if (etatSurface->fond == FOND_PERDU) {
            affichageMenuLoose(ecran, etatSurface);
        } else {
            affichageBoutonContinuer(ecran, etatSurface);
            SDL_Flip(ecran);
        }
        entendu(oreille, gestionEventLoose, etat, continuer, etatSurface);
    }
}

void scoreMain(Statistique* statistiques, EtatSurface* etatSurface, int32_t combinaison)
{
    gestionGain(statistiques, combinaison);
    gestionFinMain(statistiques, combinaison);
    etatSurface->texteHaut = combinaison == Rien ? TEXTE_LOOSE : TEXTE_WIN;
    etatSurface->texteBas = combinaison;
}

}  // namespace

bool choisitDossierDonnees(std::span<const std::filesystem::path> candidats)
{
    namespace fs = std::filesystem;
    std::error_code erreur;
    if (fs::is_directory("image", erreur)) {
        return true;
    }
    std::string cherches = fs::current_path(erreur).string();
    for (const fs::path& dossier : candidats) {
        if (fs::is_directory(dossier / "image", erreur)) {
            fs::current_path(dossier, erreur);
            if (!erreur) {
                return true;
            }
        }
        cherches += ", " + dossier.string();
    }
    std::fprintf(stderr, "Impossible de trouver les images du jeu : aucun dossier image dans %s\n", cherches.c_str());
    return false;
}

void initJeu(Carte* cartes, Liste* sabot, Liste* mainJoueur, Liste* defausse, Statistique* statistiques,
             uint32_t graine)
{
    // Suit by suit, the ace first, then 2 up to the king.
    constexpr std::array<int32_t, 13> rangs = {14, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    int32_t n = 0;
    for (int32_t couleur : {Trefle, Carreau, Coeur, Pique}) {
        for (int32_t valeur : rangs) {
            initCarte(&cartes[n++], valeur, couleur, idCarte(valeur, couleur));
        }
    }
    initListe(sabot);
    initListe(mainJoueur);
    initListe(defausse);
    initStatistiques(statistiques);
    for (int32_t i = 0; i < NB_CARTES; ++i) {
        addListeRandom(defausse, &cartes[i]);
    }
    std::srand(graine);
    attributionIndice(defausse);
}

SDL_Surface* initFenetre(SDL_Surface** icone)
{
    if (SDL_Init(SDL_INIT_VIDEO) == -1) {
        std::fprintf(stderr, "Erreur d'initialisation de la SDL : %s\n", SDL_GetError());
        std::exit(1);
    }
    if (piloteSansFenetre()) {
        std::fprintf(stderr, "Erreur d'initialisation de la SDL : %s\n",
                     "aucun affichage disponible (DISPLAY ou WAYLAND_DISPLAY), aucune fenetre ne peut s'ouvrir");
        SDL_Quit();
        std::exit(1);
    }
    // SDL 1.2 takes the icon only before the first video mode is set.
    *icone = IMG_Load("image/icon.png");
    SDL_WM_SetIcon(*icone, nullptr);
    SDL_Surface* ecran = ouvreModeVideoOuTermine();
    SDL_WM_SetCaption("Velmora", nullptr);
    return ecran;
}

void passeJeu(SDL_Surface* ecran, Liste* sabot, Liste* mainJoueur, Liste* defausse, Statistique* statistiques,
              EtatSurface* etatSurface, int32_t* etat, int32_t* continuer, int32_t* combinaison,
              Sauvegarde* sauvegarde, Complements* complements)
{
    const TableDeJeu table{sabot, mainJoueur, defausse, statistiques, etatSurface, sauvegarde, complements};
    Reglages* reglages = complements != nullptr ? &complements->reglages : nullptr;
    const Oreille oreille{complements != nullptr ? &complements->ecoute : nullptr, etatSurface, statistiques, etat,
                          reglages};
    const int32_t misePrecedente = statistiques[mise].valeur;
    if (statistiques[credit].valeur == 0) {
        // 1 is never shown; it lets Continue lead to the start screen, which resets the counters.
        *etat = ETAT_LOOSE;
        statistiques[credit].valeur = 1;
    }
    initEtatSurface(etatSurface);
    statistiques[mise].valeur = 0;
    statistiques[gain].valeur = 0;
    if (sauvegarde != nullptr && sauvegarde->reprise) {
        etatSurface->boutonResume = 0;
    }
    // After a hand, the same stake again (all the credit when less is left).
    if (complements != nullptr && complements->reglages.memeMise == 1 && *etat == ETAT_MISE) {
        gestionMise(statistiques, misePrecedente);
    }

    if (*etat == ETAT_START) {
        ecranStart(ecran, &table, etat, continuer, &oreille);
    }
    ecranStatistiques(ecran, &table, etat, continuer, &oreille);
    // The saved hand is already dealt: this pass shows it without a new deal.
    const bool mainReprise = *etat == ETAT_REPRISE && reprendTable(&table, etat);
    if (*etat == ETAT_OPTION) {
        ecranOption(ecran, etatSurface, etat, continuer, reglages, &oreille);
    }
    if (*etat == ETAT_MISE) {
        ecranMise(ecran, statistiques, etatSurface, etat, continuer, &oreille);
        sauveSiQuitte(&table, ETAT_MISE, *etat);
    }
    // A hand is dealt and scored only in a pass that shows it.
    if (*etat == ETAT_FIRSTHAND) {
        if (!mainReprise) {
            etatSurface->texteHaut = TEXTE_FIRSTHAND;
            melangeSabot(sabot, defausse, mainJoueur);
            premierTirage(sabot, mainJoueur, etatSurface);
            sauveTable(&table, ETAT_FIRSTHAND);
        }
        ecranMain(ecran, statistiques, etatSurface, etat, continuer, ETAT_FIRSTHAND, gestionEventFirstHand,
                  conseilDonne(&table), complements, mainReprise ? ENTREE_FIXE : ENTREE_DONNE, &oreille);
        sauveSiQuitte(&table, ETAT_FIRSTHAND, *etat);
    }
    if (*etat == ETAT_SECONDHAND) {
        Conseil* conseil = conseilTire(&table);
        secondTirage(sabot, mainJoueur, defausse, etatSurface);
        *combinaison = analyseCarte(mainJoueur);
        scoreMain(statistiques, etatSurface, *combinaison);
        noteMainBilan(&table, *combinaison);
        if (statistiques[credit].valeur == 0) {
            effaceSauvegarde(sauvegarde);
        } else {
            sauveTable(&table, ETAT_SECONDHAND);
        }
        ecranMain(ecran, statistiques, etatSurface, etat, continuer, ETAT_SECONDHAND, gestionEventSecondHand,
                  conseil, complements, ENTREE_TIRAGE, &oreille);
    }
    if (*etat == ETAT_LOOSE) {
        ecranLoose(ecran, etatSurface, etat, continuer, &oreille);
    }
}

void boucleJeu(SDL_Surface* ecran, Liste* sabot, Liste* mainJoueur, Liste* defausse, Statistique* statistiques,
               EtatSurface* etatSurface, int32_t* etat, int32_t* continuer, int32_t* combinaison,
               Sauvegarde* sauvegarde, Complements* complements)
{
    while (*continuer == 1) {
        passeJeu(ecran, sabot, mainJoueur, defausse, statistiques, etatSurface, etat, continuer, combinaison,
                 sauvegarde, complements);
        // A new window size sets the video mode again, which SDL 1.2 allows to give a new surface.
        if (SDL_Surface* actuel = SDL_GetVideoSurface()) {
            ecran = actuel;
        }
    }
}

#ifndef VELMORA_SANS_POINT_ENTREE
namespace {

constexpr const char* aide =
    "Usage : velmora [--help | --version]\n"
    "\n"
    "Video-poker a cinq cartes. Misez avec les jetons, cliquez sur Distribuer,\n"
    "marquez les cartes a changer et tirez une fois : la main est payee selon la\n"
    "table de paiement. Se joue a la souris ou au clavier ; Echap quitte.\n"
    "Au clavier : 1-8 jetons, T tapis, A annuler, 1-5 cartes, Entree Distribuer.\n"
    "\n"
    "  --help     cette aide\n"
    "  --version  la version\n"
    "\n"
    "Tout autre argument est ignore. Voir aussi velmora(6) et velmora-conseil(6).\n";

// --help and --version answer without starting SDL: the exit status, or -1 to play.
int repondOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(aide, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("velmora " VELMORA_VERSION);
            return 0;
        }
    }
    return -1;
}

// Beside the executable in the build tree, then where it is installed.
std::vector<std::filesystem::path> dossiersDonnees()
{
    std::error_code erreur;
    std::vector<std::filesystem::path> dossiers{
        std::filesystem::read_symlink("/proc/self/exe", erreur).parent_path() / "donnees"};
    for (const char* installe : {VELMORA_DONNEES_INSTALLEES, "/usr/share/games/velmora"}) {
        if (std::find(dossiers.begin(), dossiers.end(), installe) == dossiers.end()) {
            dossiers.emplace_back(installe);
        }
    }
    return dossiers;
}

}  // namespace

int main(int argc, char** argv)
{
    if (const int statut = repondOption(argc, argv); statut >= 0) {
        return statut;
    }
    if (!choisitDossierDonnees(dossiersDonnees())) {
        return 1;
    }
    int32_t continuer = 1;
    int32_t etat = ETAT_START;
    int32_t combinaison = Rien;
    Carte cartes[NB_CARTES];
    Liste sabot;
    Liste mainJoueur;
    Liste defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface;
    Complements complements{};
    complements.deroulement = {nullptr, nullptr, entendRetournees, &complements.ecoute};  // each card turned flicks

    // The window's scaling must be known before SDL opens the window.
    chargeReglages(&complements.reglages);
    if (complements.reglages.fenetre != FENETRE_X1) {
        setenv(VARIABLE_ECHELLE, echelleFenetre(complements.reglages.fenetre), 1);
    }
    initConseil(&complements.conseil);
    initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, static_cast<uint32_t>(std::time(nullptr)));
    Sauvegarde sauvegarde;
    chargeSauvegarde(&sauvegarde);
    SDL_Surface* icone = nullptr;
    SDL_Surface* ecran = initFenetre(&icone);
    boucleJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison,
              &sauvegarde, &complements);

    SDL_FreeSurface(icone);
    SDL_Quit();
    return 0;
}
#endif
