// The game's look, shared by every picture: the felt, the palette, the
// buttons, the banners, the cards and the chips.
#pragma once

#include "dessin.h"
#include "texte.h"

#include <string>

constexpr int LARGEUR_FENETRE = 872;
constexpr int HAUTEUR_FENETRE = 488;

namespace palette {
constexpr Couleur or_ = rgb(230, 190, 80);
constexpr Couleur orClair = rgb(255, 232, 150);
constexpr Couleur orFonce = rgb(150, 105, 25);
constexpr Couleur compteur = rgb(247, 201, 17);  // the game draws the counters in it
constexpr Couleur creme = rgb(252, 247, 232);
constexpr Couleur blanc = rgb(247, 247, 247);
constexpr Couleur encre = rgb(22, 22, 28);
constexpr Couleur rouge = rgb(200, 18, 36);
constexpr Couleur bordeaux = rgb(120, 16, 30);
constexpr Couleur nuit = rgb(12, 22, 18);  // dark panels
}  // namespace palette

// The table's felt as it lies at window point (x, y): every background uses
// it, and every picture drawn over a background blends its rounded corners
// into it.
Couleur feutre(float x, float y);
// A picture of the felt as seen through a w x h window placed at (x0, y0).
Image fondFeutre(int largeur, int hauteur, int x0, int y0);
// The part w x h of a picture at (x0, y0).
Image decoupe(const Image& image, int largeur, int hauteur, int x0, int y0);

// Colours of a button face.
struct Teinte {
    Couleur haut, bas;  // face gradient
    Couleur bord;       // rim
    Couleur texte;
    Couleur ombreTexte;
};
namespace teinte {
extern const Teinte bordeaux, or_, gris, ivoire, rouge;
}

// A button w x h, as drawn at window point (x0, y0) over `dessous` (a
// whole background; the plain felt when null): up it stands on a visible
// plinth, pressed it is sunk by the plinth's height and darker.
Image bouton(int largeur, int hauteur, int x0, int y0, const std::string& texte, const Teinte& t,
             bool enfonce, int taille, const Image* dessous = nullptr);

// A dark banner with a golden rim, drawn on the felt at (x0, y0).
Image plaque(int largeur, int hauteur, int x0, int y0, Couleur accent);
// The panel shape used by the backgrounds: dark, translucent, gold edge.
void panneau(Image& image, float x0, float y0, float x1, float y1, float rayon = 10);

// A card face, rank 2 to 14 and suit 0 Trefle, 1 Carreau, 2 Coeur, 3 Pique,
// as a 62 x 100 layer with transparent corners.
Image carte(int valeur, int couleur);
Image dosCarte();
constexpr int LARGEUR_CARTE = 62;
constexpr int HAUTEUR_CARTE = 100;
const char* symbole(int couleur);  // the suit's character, UTF-8
Couleur couleurEncre(int couleur); // red or black

// A chip 70 x 70 as a layer (transparent outside the disc): base colour
// `fond`, edge inserts `liseres`, `texte` printed in `encre` on its centre.
struct DescriptionJeton {
    const char* texte;
    Couleur fond, liseres, encre;
};
Image jeton(const DescriptionJeton& d, bool enfonce);
constexpr int TAILLE_JETON = 70;

// Flattens a layer onto the felt seen at window point (x0, y0).
Image surFeutre(const Image& calque, int x0, int y0);
