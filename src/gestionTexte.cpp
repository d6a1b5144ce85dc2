// Texts rendered with "arial.ttf". The font library, the fonts and the
// rendered texts live within one call; without a usable font the texts are
// simply left out and the screen is flipped all the same.
#include "gestionTexte.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdio>
#include <span>

#include "gestionConseil.h"
#include "gestionMiseGain.h"

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
