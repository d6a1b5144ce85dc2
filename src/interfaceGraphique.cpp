// Drawing of the widgets from their bitmap files. Every bitmap is read from
// disk, blitted onto the screen and freed within the call that draws it.
#include "interfaceGraphique.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <span>

#include "gestionCarte.h"
#include "gestionConseil.h"
#include "placesBilan.h"
#include "reglages.h"

namespace {

struct Position {
    Sint16 x;
    Sint16 y;
};

// A part of a bitmap, in its own pixels; an empty one is the whole bitmap.
struct Morceau {
    Sint16 x, y;
    Uint16 l, h;
};

// One bitmap to draw; a null chemin leaves its place on the screen as it is.
// A turning card is drawn squeezed to `largeur` columns about its middle.
struct Pose {
    const char* chemin;
    Position position;
    Morceau morceau{0, 0, 0, 0};
    int32_t largeur = -1;  // -1: its own width
};

// A widget whose picture is chosen by a code from a short list.
struct CodeFichier {
    int32_t code;
    const char* chemin;
};

// A widget with an up picture (code 0) and a pressed one (code 1).
struct DeuxEtats {
    const char* haut;
    const char* bas;
};

constexpr size_t MAX_POSES = 10;

const char* fichierDuCode(std::span<const CodeFichier> table, int32_t code)
{
    for (const CodeFichier& ligne : table) {
        if (ligne.code == code) {
            return ligne.chemin;
        }
    }
    return nullptr;
}

constexpr const char* fichierDuCode(DeuxEtats fichiers, int32_t code)
{
    return code == 0 ? fichiers.haut : code == 1 ? fichiers.bas : nullptr;
}

SDL_Surface* charge(const char* chemin)
{
    if (chemin == nullptr) {
        return nullptr;
    }
    SDL_RWops* flux = SDL_RWFromFile(chemin, "rb");
    return flux != nullptr ? SDL_LoadBMP_RW(flux, 1) : nullptr;
}

// Nearest columns of the bitmap, one blit each, centred where the whole
// bitmap would stand; no column at all for a width of 0.
void colleSerre(SDL_Surface* ecran, SDL_Surface* bitmap, Position position, int32_t largeur)
{
    const int32_t l = bitmap->w;
    const int32_t x0 = position.x + (l - largeur) / 2;
    for (int32_t k = 0; k < largeur; ++k) {
        SDL_Rect colonne{static_cast<Sint16>((2 * k + 1) * l / (2 * largeur)), 0, 1, static_cast<Uint16>(bitmap->h)};
        SDL_Rect destination{static_cast<Sint16>(x0 + k), position.y, 0, 0};
        SDL_UpperBlit(bitmap, &colonne, ecran, &destination);
    }
}

void colle(SDL_Surface* ecran, SDL_Surface* bitmap, const Pose& pose)
{
    if (pose.largeur >= 0 && pose.largeur < bitmap->w) {
        colleSerre(ecran, bitmap, pose.position, pose.largeur);
        return;
    }
    SDL_Rect morceau{pose.morceau.x, pose.morceau.y, pose.morceau.l, pose.morceau.h};
    SDL_Rect destination{pose.position.x, pose.position.y, 0, 0};
    SDL_UpperBlit(bitmap, pose.morceau.l > 0 ? &morceau : nullptr, ecran, &destination);
}

// The load, blit and free steps of every widget. The bitmaps of a row stay
// loaded until the whole row is on the screen and are then freed in drawing
// order. Chips are keyed on the table's green, which lets the table show
// through their corners.
void dessine(SDL_Surface* ecran, std::span<const Pose> poses, bool cleVerte = false)
{
    std::array<SDL_Surface*, MAX_POSES> bitmaps{};
    const size_t nombre = poses.size() < MAX_POSES ? poses.size() : MAX_POSES;
    for (size_t i = 0; i < nombre; ++i) {
        bitmaps[i] = charge(poses[i].chemin);
        if (bitmaps[i] == nullptr) {
            continue;
        }
        if (cleVerte) {
            SDL_SetColorKey(bitmaps[i], SDL_SRCCOLORKEY, SDL_MapRGB(bitmaps[i]->format, 0, 150, 0));
        }
        colle(ecran, bitmaps[i], poses[i]);
    }
    for (size_t i = 0; i < nombre; ++i) {
        if (bitmaps[i] != nullptr) {
            SDL_FreeSurface(bitmaps[i]);
        }
    }
}

void dessineUn(SDL_Surface* ecran, const char* chemin, Position position)
{
    const Pose pose{chemin, position};
    dessine(ecran, {&pose, 1});
}

constexpr CodeFichier fichiersFond[] = {
    {FOND_START, "image/backgroundStart.bmp"}, {FOND_OPTION, "image/backgroundOption.bmp"},
    {FOND_JEU, "image/backgroundJeu.bmp"},     {FOND_APROPOS, "image/backgroundApropos.bmp"},
    {FOND_AIDE, "image/backgroundAide.bmp"},   {FOND_GAMEOVER, "image/backgroundGameOver.bmp"},
    {FOND_BILAN, "image/backgroundBilan.bmp"},
};

constexpr CodeFichier fichiersBoutonCarte[] = {
    {CARTE_UP, "image/bouton/boutonCarteUp.bmp"},       {CARTE_DOWN, "image/bouton/boutonCarteDown.bmp"},
    {REJOUER_UP, "image/bouton/boutonRejouerUp.bmp"},   {REJOUER_DOWN, "image/bouton/boutonRejouerDown.bmp"},
    {BOUTON_FERME, "image/bouton/boutonCarteDisa.bmp"},
};

constexpr CodeFichier fichiersTexteHaut[] = {
    {TEXTE_MISE, "image/texte/texteMise.bmp"},
    {TEXTE_FIRSTHAND, "image/texte/texteFirstHand.bmp"},
    {TEXTE_WIN, "image/texte/texteWin.bmp"},
    {TEXTE_LOOSE, "image/texte/texteLoose.bmp"},
};

// Codes 0 to 9 name the combination of the final hand.
constexpr CodeFichier fichiersTexteBas[] = {
    {0, "image/texte/combinaison/texteRien.bmp"},        {1, "image/texte/combinaison/textePaire.bmp"},
    {2, "image/texte/combinaison/texteDoublePaire.bmp"}, {3, "image/texte/combinaison/texteBrelan.bmp"},
    {4, "image/texte/combinaison/texteSuite.bmp"},       {5, "image/texte/combinaison/texteCouleur.bmp"},
    {6, "image/texte/combinaison/texteFullHouse.bmp"},   {7, "image/texte/combinaison/texteCarre.bmp"},
    {8, "image/texte/combinaison/texteQuinteFlush.bmp"}, {9, "image/texte/combinaison/texteQuinteFlushRoyal.bmp"},
    {TEXTE_AIDE, "image/texte/texteAide.bmp"},
};

constexpr CodeFichier fichiersResume[] = {
    {0, "image/bouton/boutonResumeUp.bmp"},
    {1, "image/bouton/boutonResumeDown.bmp"},
    {BOUTON_FERME, "image/bouton/boutonResumeClose.bmp"},
};

constexpr DeuxEtats fichiersAide{"image/bouton/boutonAideUp.bmp", "image/bouton/boutonAideDown.bmp"};
constexpr DeuxEtats fichiersApropos{"image/bouton/boutonApropoUp.bmp", "image/bouton/boutonApropoDown.bmp"};
constexpr DeuxEtats fichiersRetour{"image/bouton/boutonRetourUp.bmp", "image/bouton/boutonRetourDown.bmp"};
constexpr DeuxEtats fichiersContinuer{"image/bouton/boutonContinuerUp.bmp", "image/bouton/boutonContinuerDown.bmp"};
constexpr DeuxEtats fichiersNewGame{"image/bouton/boutonNewGameUp.bmp", "image/bouton/boutonNewGameDown.bmp"};
constexpr DeuxEtats fichiersOption{"image/bouton/boutonOptionUp.bmp", "image/bouton/boutonOptionDown.bmp"};
constexpr DeuxEtats fichiersStatistiques{"image/bouton/boutonStatistiquesUp.bmp",
                                         "image/bouton/boutonStatistiquesDown.bmp"};
constexpr DeuxEtats fichiersEffacer{"image/bouton/boutonEffacerUp.bmp", "image/bouton/boutonEffacerDown.bmp"};
constexpr DeuxEtats fichiersOui{"image/bouton/boutonOuiUp.bmp", "image/bouton/boutonOuiDown.bmp"};
constexpr DeuxEtats fichiersNon{"image/bouton/boutonNonUp.bmp", "image/bouton/boutonNonDown.bmp"};
// Keyed on the chips' green outside its rounded corners, over the veiled screen.
constexpr const char* FICHIER_CONFIRMATION = "image/bilan/confirmation.bmp";
constexpr DeuxEtats fichiersGarder{"image/bouton/boutonGarderUp.bmp", "image/bouton/boutonGarderDown.bmp"};

constexpr Position positionBackTexte{10, 93};
constexpr Position positionAide{6, 425};
constexpr Position positionBasGauche{6, 456};  // About, Back and Continue: never two on one screen
constexpr Position positionBoutonCarte{385, 440};
constexpr Position positionTexteHaut{193, 7};
constexpr Position positionTexteBas{118, 378};
constexpr Position positionNewGame{282, 143};
constexpr Position positionResume{282, 202};
constexpr Position positionOption{282, 260};
constexpr Position positionStatistiques{282, 318};

constexpr Position place(const Cadre& c)
{
    return {static_cast<Sint16>(c.x), static_cast<Sint16>(c.y)};
}

constexpr std::array<Position, 5> positionsCartes = {{{X_CARTE, Y_CARTE},
                                                      {X_CARTE + PAS_CARTES, Y_CARTE},
                                                      {X_CARTE + 2 * PAS_CARTES, Y_CARTE},
                                                      {X_CARTE + 3 * PAS_CARTES, Y_CARTE},
                                                      {X_CARTE + 4 * PAS_CARTES, Y_CARTE}}};
// The table under the five slots, as one strip from the first slot's corner.
constexpr const char* FICHIER_PLACES = "image/carte/places.bmp";

// The pay table's rows lit, by combination: drawn at x 573, over its row and
// two pixels around it.
constexpr Sint16 X_LIGNE_GAIN = 573;
struct LigneGain {
    const char* chemin;
    Sint16 y;
};
constexpr std::array<LigneGain, 10> lignesGain = {{{nullptr, 0},
                                                   {"image/gains/lignePaire.bmp", 364},
                                                   {"image/gains/ligneDoublePaire.bmp", 339},
                                                   {"image/gains/ligneBrelan.bmp", 313},
                                                   {"image/gains/ligneSuite.bmp", 288},
                                                   {"image/gains/ligneCouleur.bmp", 262},
                                                   {"image/gains/ligneFullHouse.bmp", 236},
                                                   {"image/gains/ligneCarre.bmp", 211},
                                                   {"image/gains/ligneQuinteFlush.bmp", 185},
                                                   {"image/gains/ligneQuinteFlushRoyal.bmp", 160}}};
constexpr std::array<Position, 5> positionsGarder = {{{56, 321}, {147, 321}, {238, 321}, {329, 321}, {420, 321}}};

// The settings: one button per row, its picture chosen by the setting's code.
constexpr CodeFichier fichiersConseil[] = {{0, "image/bouton/boutonConseilNon.bmp"},
                                           {1, "image/bouton/boutonConseilOui.bmp"}};
constexpr CodeFichier fichiersMemeMise[] = {{0, "image/bouton/boutonMemeMiseNon.bmp"},
                                            {1, "image/bouton/boutonMemeMiseOui.bmp"}};
constexpr CodeFichier fichiersFenetre[] = {{FENETRE_X1, "image/bouton/boutonFenetre1.bmp"},
                                           {FENETRE_X1_5, "image/bouton/boutonFenetre15.bmp"},
                                           {FENETRE_X2, "image/bouton/boutonFenetre2.bmp"}};
constexpr CodeFichier fichiersSon[] = {{0, "image/bouton/boutonSonNon.bmp"}, {1, "image/bouton/boutonSonOui.bmp"}};
constexpr CodeFichier fichiersAnimations[] = {{ANIMATIONS_NORMALES, "image/bouton/boutonAnimationsNormales.bmp"},
                                              {ANIMATIONS_RAPIDES, "image/bouton/boutonAnimationsRapides.bmp"},
                                              {ANIMATIONS_AUCUNE, "image/bouton/boutonAnimationsAucune.bmp"}};
constexpr int16_t X_REGLAGE = 298;
constexpr std::array<int16_t, 5> yReglages = {135, 199, 263, 327, 391};

constexpr const char* FICHIER_MARQUE = "image/conseil/marque.bmp";
constexpr std::array<Position, 5> positionsMarques = {{{61, 202}, {152, 202}, {243, 202}, {334, 202}, {425, 202}}};
constexpr Pose bandeauChoix{"image/conseil/choix.bmp", {44, 342}};
constexpr Pose bandeauBilan{"image/conseil/bilan.bmp", {44, 199}};

struct Jeton {
    DeuxEtats fichiers;
    Position position;
};

// In the order of the jeton flags: 1, 2, 5, 10, 20, 50, 100, 200, Allin, Reset.
constexpr std::array<Jeton, 10> jetons = {{
    {{"image/jeton/jeton1Up.bmp", "image/jeton/jeton1Down.bmp"}, {46, 209}},
    {{"image/jeton/jeton2Up.bmp", "image/jeton/jeton2Down.bmp"}, {129, 209}},
    {{"image/jeton/jeton5Up.bmp", "image/jeton/jeton5Down.bmp"}, {212, 209}},
    {{"image/jeton/jeton10Up.bmp", "image/jeton/jeton10Down.bmp"}, {295, 209}},
    {{"image/jeton/jeton20Up.bmp", "image/jeton/jeton20Down.bmp"}, {46, 292}},
    {{"image/jeton/jeton50Up.bmp", "image/jeton/jeton50Down.bmp"}, {129, 292}},
    {{"image/jeton/jeton100Up.bmp", "image/jeton/jeton100Down.bmp"}, {212, 292}},
    {{"image/jeton/jeton200Up.bmp", "image/jeton/jeton200Down.bmp"}, {295, 292}},
    {{"image/jeton/jetonAllinUp.bmp", "image/jeton/jetonAllinDown.bmp"}, {400, 209}},
    {{"image/jeton/jetonResetUp.bmp", "image/jeton/jetonResetDown.bmp"}, {400, 292}},
}};

constexpr std::array<const char*, 13> textesRang = {"2", "3",  "4", "5", "6", "7", "8",
                                                    "9", "10", "J", "Q", "K", "as"};
constexpr std::array<const char*, 4> nomsCouleur = {"Trefle", "Carreau", "Coeur", "Pique"};

using CheminCarte = std::array<char, 32>;

// A card id goes back to its rank and suit to name its face; 0 is the back.
const char* fichierCarte(int32_t code, CheminCarte& chemin)
{
    if (code == 0) {
        return "image/carte/back.bmp";
    }
    if (code < 1 || code > NB_CARTES) {
        return nullptr;
    }
    std::snprintf(chemin.data(), chemin.size(), "image/carte/%s%s.bmp", textesRang[(code - 1) / 4],
                  nomsCouleur[(code - 1) % 4]);
    return chemin.data();
}

}  // namespace

void initEtatSurface(EtatSurface* etatSurface)
{
    *etatSurface = EtatSurface{};
    etatSurface->boutonCarte = CARTE_UP;
    etatSurface->texteBas = TEXTE_AIDE;
    etatSurface->boutonResume = BOUTON_FERME;
}

void affichageBackground(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersFond, etatSurface->fond), {0, 0});
}

void affichageBackTexte(SDL_Surface* ecran)
{
    dessineUn(ecran, "image/backTexte.bmp", positionBackTexte);
}

void affichageBoutonAide(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersAide, etatSurface->boutonAide), positionAide);
}

void affichageBoutonApropos(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersApropos, etatSurface->boutonApropos), positionBasGauche);
}

void affichageBoutonRetour(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersRetour, etatSurface->boutonRetour), positionBasGauche);
}

void affichageBoutonContinuer(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersContinuer, etatSurface->boutonContinuer), positionBasGauche);
}

void affichageBoutonCarte(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersBoutonCarte, etatSurface->boutonCarte), positionBoutonCarte);
}

void affichageTexteHaut(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersTexteHaut, etatSurface->texteHaut), positionTexteHaut);
}

void affichageTexteBas(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersTexteBas, etatSurface->texteBas), positionTexteBas);
}

// Four independent buttons: one of them without a picture leaves only itself undrawn.
void affichageBoutonStart(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    dessineUn(ecran, fichierDuCode(fichiersNewGame, etatSurface->boutonNewGame), positionNewGame);
    dessineUn(ecran, fichierDuCode(fichiersResume, etatSurface->boutonResume), positionResume);
    dessineUn(ecran, fichierDuCode(fichiersOption, etatSurface->boutonOption), positionOption);
    dessineUn(ecran, fichierDuCode(fichiersStatistiques, etatSurface->boutonStatistiques), positionStatistiques);
}

void affichageBoutonsBilan(SDL_Surface* ecran, const EtatSurface* etatSurface, const EtatBilan* etatBilan)
{
    if (etatBilan->confirmation == 0) {
        affichageBoutonRetour(ecran, etatSurface);
        dessineUn(ecran, fichierDuCode(fichiersEffacer, etatBilan->boutonEffacer), place(BOUTON_EFFACER));
        return;
    }
    const Pose question{FICHIER_CONFIRMATION, place(CONFIRMATION)};
    dessine(ecran, {&question, 1}, true);
    const std::array<Pose, 2> reponses = {{{fichierDuCode(fichiersOui, etatBilan->boutonOui), place(BOUTON_OUI)},
                                           {fichierDuCode(fichiersNon, etatBilan->boutonNon), place(BOUTON_NON)}}};
    dessine(ecran, reponses);
}

void affichageTapis(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    std::array<CheminCarte, 5> chemins{};
    std::array<Pose, 5> poses{};
    for (size_t i = 0; i < poses.size(); ++i) {
        poses[i] = {fichierCarte(etatSurface->carte[i], chemins[i]), positionsCartes[i]};
    }
    dessine(ecran, poses);
}

void affichageBoutonGarder(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    std::array<Pose, 5> poses{};
    for (size_t i = 0; i < poses.size(); ++i) {
        poses[i] = {fichierDuCode(fichiersGarder, etatSurface->garder[i]), positionsGarder[i]};
    }
    dessine(ecran, poses);
}

void affichageJetons(SDL_Surface* ecran, const EtatSurface* etatSurface)
{
    std::array<Pose, jetons.size()> poses{};
    for (size_t k = 0; k < poses.size(); ++k) {
        poses[k] = {fichierDuCode(jetons[k].fichiers, etatSurface->jeton[k]), jetons[k].position};
    }
    dessine(ecran, poses, true);
}

void affichageReglages(SDL_Surface* ecran, const Reglages* reglages)
{
    const std::array<const char*, yReglages.size()> fichiers = {
        fichierDuCode(fichiersConseil, reglages->conseil), fichierDuCode(fichiersMemeMise, reglages->memeMise),
        fichierDuCode(fichiersFenetre, reglages->fenetre), fichierDuCode(fichiersSon, reglages->son),
        fichierDuCode(fichiersAnimations, reglages->animations)};
    std::array<Pose, yReglages.size()> poses{};
    for (size_t i = 0; i < poses.size(); ++i) {
        poses[i] = {fichiers[i], {X_REGLAGE, yReglages[i]}};
    }
    dessine(ecran, poses);
}

void affichageConseil(SDL_Surface* ecran, const Conseil* conseil)
{
    std::array<Pose, 6> poses{};
    if (conseil->etape == CONSEIL_CHOIX) {
        for (size_t i = 0; i < positionsMarques.size(); ++i) {
            poses[i] = {(conseil->meilleure >> i) & 1 ? FICHIER_MARQUE : nullptr, positionsMarques[i]};
        }
        poses[5] = bandeauChoix;
    } else if (conseil->etape == CONSEIL_VERDICT) {
        poses[0] = bandeauBilan;
        poses[1] = bandeauChoix;
    }
    dessine(ecran, poses);
}

void affichagePlaces(SDL_Surface* ecran, const PlaceCarte* places, int32_t masque)
{
    std::array<CheminCarte, 5> chemins{};
    std::array<Pose, 2 * chemins.size()> poses{};
    size_t n = 0;
    for (size_t i = 0; i < chemins.size(); ++i) {
        if (((masque >> i) & 1) == 0) {
            continue;
        }
        const Sint16 x = static_cast<Sint16>(PAS_CARTES * i);
        poses[n++] = {FICHIER_PLACES, positionsCartes[i], {x, 0, LARGEUR_CARTE, HAUTEUR_CARTE}};
        poses[n++] = {fichierCarte(places[i].carte, chemins[i]), positionsCartes[i], {}, places[i].largeur};
    }
    dessine(ecran, {poses.data(), n});
}

void affichageLigneGain(SDL_Surface* ecran, int32_t combinaison)
{
    if (combinaison > 0 && combinaison < static_cast<int32_t>(lignesGain.size())) {
        dessineUn(ecran, lignesGain[combinaison].chemin, {X_LIGNE_GAIN, lignesGain[combinaison].y});
    }
}
