// Texts rendered with "arial.ttf". The font library, the fonts and the
// rendered texts live within one call; without a usable font the texts are
// simply left out and the screen is flipped all the same.
#include "gestionTexte.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdio>
#include <span>

#include "bilan.h"
#include "gestionConseil.h"
#include "gestionMiseGain.h"
#include "graphiqueBilan.h"

namespace {

constexpr const char* FICHIER_POLICE = "arial.ttf";
constexpr SDL_Color JAUNE{247, 201, 17, 0};
constexpr SDL_Color BLANC{247, 247, 247, 0};

constexpr size_t MAX_POLICES = 2;
constexpr size_t MAX_TEXTES = NB_STATISTIQUES;

struct Texte {
    const char* contenu;
    size_t police;  // index into the point sizes opened by the call
    Sint16 x;
    Sint16 y;
};

TTF_Font* ouvrePolice(bool bibliothequePrete, int taille)
{
    return bibliothequePrete ? TTF_OpenFont(FICHIER_POLICE, taille) : nullptr;
}

// Latin-1 for the game's own ASCII texts, UTF-8 for the coach's French lines.
enum class Codage { latin1, utf8 };

SDL_Surface* rend(TTF_Font* police, const char* contenu, SDL_Color couleur, Codage codage)
{
    if (police == nullptr || contenu[0] == '\0') {
        return nullptr;
    }
    return codage == Codage::utf8 ? TTF_RenderUTF8_Blended(police, contenu, couleur)
                                  : TTF_RenderText_Blended(police, contenu, couleur);
}

// Only a size that some text needs is opened: an empty text needs none.
bool tailleUtile(size_t police, std::span<const Texte> textes)
{
    for (const Texte& texte : textes) {
        if (texte.police == police && texte.contenu != nullptr && texte.contenu[0] != '\0') {
            return true;
        }
    }
    return false;
}

// Opens the font at each size, renders every text then blits them in order,
// flips (unless the caller flips after more drawing), closes the fonts in
// the order they were opened, stops the library and frees the texts in
// order. Releases only what was actually taken.
void afficheTextes(SDL_Surface* ecran, std::span<const int> tailles, std::span<const Texte> textes,
                   SDL_Color couleur, Codage codage = Codage::latin1, bool flip = true)
{
    const bool bibliothequePrete = TTF_Init() == 0;
    std::array<TTF_Font*, MAX_POLICES> polices{};
    for (size_t i = 0; i < tailles.size() && i < MAX_POLICES; ++i) {
        polices[i] = tailleUtile(i, textes) ? ouvrePolice(bibliothequePrete, tailles[i]) : nullptr;
    }
    std::array<SDL_Surface*, MAX_TEXTES> rendus{};
    const size_t nombre = textes.size() < MAX_TEXTES ? textes.size() : MAX_TEXTES;
    for (size_t i = 0; i < nombre; ++i) {
        const size_t police = textes[i].police;
        rendus[i] = rend(police < MAX_POLICES ? polices[police] : nullptr, textes[i].contenu, couleur, codage);
    }
    for (size_t i = 0; i < nombre; ++i) {
        if (rendus[i] != nullptr) {
            SDL_Rect destination{textes[i].x, textes[i].y, 0, 0};
            SDL_UpperBlit(rendus[i], nullptr, ecran, &destination);
        }
    }
    if (flip) {
        SDL_Flip(ecran);
    }
    for (TTF_Font* police : polices) {
        if (police != nullptr) {
            TTF_CloseFont(police);
        }
    }
    if (bibliothequePrete) {
        TTF_Quit();
    }
    for (SDL_Surface* rendu : rendus) {
        if (rendu != nullptr) {
            SDL_FreeSurface(rendu);
        }
    }
}

constexpr std::array<int, 2> taillesCompteurs = {14, 18};
constexpr size_t POLICE_14 = 0;
constexpr size_t POLICE_18 = 1;

// In the order of the statistiques block: the three money counters large,
// the four statistics small.
constexpr std::array<Texte, NB_STATISTIQUES> placesCompteurs = {{
    {nullptr, POLICE_18, 140, 108},  // credit
    {nullptr, POLICE_18, 84, 131},   // mise
    {nullptr, POLICE_18, 84, 155},   // gain
    {nullptr, POLICE_14, 452, 108},  // nbGagne
    {nullptr, POLICE_14, 452, 127},  // nbPerdu
    {nullptr, POLICE_14, 335, 144},  // gainMax
    {nullptr, POLICE_14, 335, 162},  // gainTotal
}};

constexpr std::array<int, 1> tailleAide = {12};
constexpr std::array<Texte, 1> textesAide = {{{ADRESSE_WEB, 0, 275, 380}}};

constexpr std::array<int, 1> tailleApropos = {20};
constexpr std::array<Texte, 2> textesApropos = {{{ADRESSE_WEB, 0, 101, 359}, {VERSION_JEU, 0, 126, 183}}};

// The tally above the cards in the small size, the coach's line under the hold buttons.
constexpr std::array<int, 2> taillesConseil = {12, 14};
constexpr std::array<Texte, 2> placesConseil = {{{nullptr, 0, 134, 202}, {nullptr, 1, 134, 345}}};

// --- The statistics screen: many texts, each placed by its baseline and
// aligned on its x, in one of a few sizes and colours ---

enum class Cale { gauche, centre, droite };

struct TexteAligne {
    const char* contenu;
    size_t police;
    SDL_Color couleur;
    int x, ligneDeBase;
    Cale cale;
};

constexpr size_t MAX_TEXTES_BILAN = NB_LIGNES_BILAN + 3 * NB_COMBINAISONS + 2 * MAX_GRADUATIONS + 1;

// A fixed list of texts, filled in drawing order.
struct ListeTextes {
    std::array<TexteAligne, MAX_TEXTES_BILAN> textes{};
    size_t nombre = 0;
    void ajoute(const TexteAligne& texte)
    {
        if (nombre < textes.size() && texte.contenu[0] != '\0') {
            textes[nombre++] = texte;
        }
    }
};

constexpr SDL_Color VERT{120, 214, 130, 0};
constexpr SDL_Color ROUGE{244, 120, 108, 0};
constexpr SDL_Color BLEU{140, 190, 240, 0};
constexpr SDL_Color DOUX{196, 206, 190, 0};

constexpr std::array<int, 3> taillesBilan = {TAILLE_VALEUR_BILAN, TAILLE_MAIN, TAILLE_GRADUATION};
constexpr size_t POLICE_VALEUR = 0, POLICE_MAIN = 1, POLICE_GRADUATION = 2;

// Opens the sizes, renders and blits each text, frees it, and closes the
// fonts and the library.
void afficheTextesAlignes(SDL_Surface* ecran, std::span<const TexteAligne> textes)
{
    if (TTF_Init() != 0) {
        return;
    }
    std::array<TTF_Font*, taillesBilan.size()> polices{};
    for (size_t i = 0; i < polices.size(); ++i) {
        polices[i] = TTF_OpenFont(FICHIER_POLICE, taillesBilan[i]);
    }
    for (const TexteAligne& t : textes) {
        TTF_Font* police = polices[t.police];
        SDL_Surface* rendu = police != nullptr ? TTF_RenderUTF8_Blended(police, t.contenu, t.couleur) : nullptr;
        if (rendu == nullptr) {
            continue;
        }
        const int decalage = t.cale == Cale::droite ? rendu->w : t.cale == Cale::centre ? rendu->w / 2 : 0;
        SDL_Rect destination{static_cast<Sint16>(t.x - decalage),
                             static_cast<Sint16>(t.ligneDeBase - TTF_FontAscent(police)), 0, 0};
        SDL_UpperBlit(rendu, nullptr, ecran, &destination);
        SDL_FreeSurface(rendu);
    }
    for (TTF_Font* police : polices) {
        if (police != nullptr) {
            TTF_CloseFont(police);
        }
    }
    TTF_Quit();
}

void textesMains(const TextesBilan* t, ListeTextes* liste)
{
    for (int32_t rang = 0; rang < NB_COMBINAISONS; ++rang) {
        const int32_t c = NB_COMBINAISONS - 1 - rang;
        const int ligne = Y_PREMIERE_MAIN + rang * HAUTEUR_MAIN + TAILLE_MAIN;
        liste->ajoute({t->nombres[c].data(), POLICE_MAIN, JAUNE, X_NOMBRE_MAIN, ligne, Cale::droite});
        liste->ajoute({t->parts[c].data(), POLICE_MAIN, JAUNE, X_PART_MAIN, ligne, Cale::droite});
        liste->ajoute({t->partsExactes[c].data(), POLICE_MAIN, BLEU, X_PART_EXACTE, ligne, Cale::droite});
    }
}

void textesCourbe(const EchelleCourbe* e, ListeTextes* liste)
{
    if (e->nbPoints == 0) {
        liste->ajoute({"Pas encore de main dans cette partie", POLICE_VALEUR, DOUX,
                       ZONE_COURBE.x + ZONE_COURBE.largeur / 2, ZONE_COURBE.y + ZONE_COURBE.hauteur / 2 + 5,
                       Cale::centre});
        return;
    }
    for (int32_t i = 0; i < e->nbY; ++i) {
        const int ligne = static_cast<int>(e->y[i].position) + TAILLE_GRADUATION / 2 - 1;
        liste->ajoute({e->y[i].texte.data(), POLICE_GRADUATION, DOUX, X_GRADUATIONS_Y, ligne, Cale::droite});
    }
    // The last hand's number ends at the plot's right edge rather than past it.
    const int droite = ZONE_COURBE.x + ZONE_COURBE.largeur;
    for (int32_t i = 0; i < e->nbX; ++i) {
        const int x = static_cast<int>(e->x[i].position);
        const bool auBord = x >= droite - 1;
        liste->ajoute({e->x[i].texte.data(), POLICE_GRADUATION, DOUX, auBord ? droite + 4 : x, Y_GRADUATIONS_X,
                       auBord ? Cale::droite : Cale::centre});
    }
}

}  // namespace

void affichageVariable(SDL_Surface* ecran, Statistique* statistiques)
{
    std::array<Texte, NB_STATISTIQUES> textes = placesCompteurs;
    for (size_t i = 0; i < textes.size(); ++i) {
        Statistique& compteur = statistiques[i];
        std::snprintf(compteur.texte, sizeof compteur.texte, "%d", compteur.valeur);
        textes[i].contenu = compteur.texte;
    }
    afficheTextes(ecran, taillesCompteurs, textes, JAUNE);
}

void affichageTexteAide(SDL_Surface* ecran)
{
    afficheTextes(ecran, tailleAide, textesAide, BLANC);
}

void affichageTexteApropos(SDL_Surface* ecran)
{
    afficheTextes(ecran, tailleApropos, textesApropos, BLANC);
}

void affichageTexteConseil(SDL_Surface* ecran, const Conseil* conseil)
{
    TextesConseil lignes;
    textesConseil(conseil, &lignes);
    std::array<Texte, 2> textes = placesConseil;
    textes[0].contenu = lignes.haut;
    textes[1].contenu = lignes.bas;
    afficheTextes(ecran, taillesConseil, textes, BLANC, Codage::utf8, false);
}

void affichageTexteBilan(SDL_Surface* ecran, const TextesBilan* textes, const EchelleCourbe* echelle)
{
    ListeTextes liste;
    for (int32_t l = 0; l < NB_LIGNES_BILAN; ++l) {
        const SDL_Color couleur = l != LIGNE_CHANCE ? JAUNE : textes->signeChance > 0 ? VERT
                                                           : textes->signeChance < 0 ? ROUGE : JAUNE;
        liste.ajoute({textes->lignes[l].data(), POLICE_VALEUR, couleur, X_VALEUR_BILAN, LIGNES_BILAN[l], Cale::droite});
    }
    textesMains(textes, &liste);
    textesCourbe(echelle, &liste);
    afficheTextesAlignes(ecran, std::span(liste.textes).first(liste.nombre));
}
