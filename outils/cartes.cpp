// Card faces and the card back.
#include "theme.h"

#include <array>
#include <cmath>
#include <string>

namespace {

constexpr std::array<const char*, 4> symboles = {"\u2663", "\u2666", "\u2665", "\u2660"};

// Rank as printed in the corner, French style: V(alet), D(ame), R(oi), A(s).
std::string rangImprime(int valeur)
{
    constexpr std::array<const char*, 4> figures = {"V", "D", "R", "A"};
    return valeur <= 10 ? std::to_string(valeur) : figures[valeur - 11];
}

// Draws a suit symbol of the given pixel size centred on (cx, cy).
void pip(Image& im, int couleur, int taille, float cx, float cy)
{
    Mesure m = mesure(Police::symboles, taille, symboles[couleur]);
    // DejaVu's suits sit with their centre about 0.36 em above the baseline.
    ecris(im, Police::symboles, taille, cx - m.largeur / 2.0f, cy + taille * 0.36f, symboles[couleur],
          couleurEncre(couleur));
}

// A pip in the lower half, upside down like on a real card.
void pipRetourne(Image& im, int couleur, int taille, float cx, float cy)
{
    Image p(taille + 4, taille + 4);
    pip(p, couleur, taille, p.largeur / 2.0f, p.hauteur / 2.0f);
    colleRetourne(im, p, static_cast<int>(std::lround(cx - p.largeur / 2.0f)),
                  static_cast<int>(std::lround(cy - p.hauteur / 2.0f)));
}

Image corps()
{
    Image im(LARGEUR_CARTE, HAUTEUR_CARTE);
    Forme f = rectangleArrondi(0.5f, 0.5f, LARGEUR_CARTE - 0.5f, HAUTEUR_CARTE - 0.5f, 5);
    remplis(im, f, degradeVertical(0, rgb(255, 252, 242), HAUTEUR_CARTE, rgb(240, 233, 214)));
    remplis(im, contour(f, 1.0f), uni(rgb(120, 110, 90)));
    return im;
}

// The corner index: rank above suit, centred on x 9, and the same turned at
// the opposite corner.
void index(Image& im, int valeur, int couleur)
{
    Image coin(18, 32);
    std::string rang = rangImprime(valeur);
    // Two digits take the narrow face so that they fit the corner.
    Police police = valeur == 10 ? Police::etroitGras : Police::sansGras;
    int taille = valeur == 10 ? 14 : 15;
    Mesure m = mesure(police, taille, rang);
    ecris(coin, police, taille, 9.5f - m.largeur / 2.0f, 14, rang, couleurEncre(couleur));
    pip(coin, couleur, 12, 9, 22);
    colle(im, coin, 0, 2);
    colleRetourne(im, coin, LARGEUR_CARTE - coin.largeur, HAUTEUR_CARTE - coin.hauteur - 2);
}

// Pip layouts of 2 to 10: column (0 left, 1 middle, 2 right) and height (0 top
// to 1 bottom) of each pip.
struct Place {
    int colonne;
    float hauteur;
};

std::vector<Place> disposition(int valeur)
{
    const std::vector<Place> quatre = {{0, 0}, {2, 0}, {0, 1}, {2, 1}};
    const std::vector<Place> six = {{0, 0}, {2, 0}, {0, 0.5f}, {2, 0.5f}, {0, 1}, {2, 1}};
    const std::vector<Place> huit = {{0, 0}, {2, 0}, {0, 1 / 3.0f}, {2, 1 / 3.0f},
                                     {0, 2 / 3.0f}, {2, 2 / 3.0f}, {0, 1}, {2, 1}};
    auto plus = [](std::vector<Place> base, std::initializer_list<Place> autres) {
        base.insert(base.end(), autres);
        return base;
    };
    switch (valeur) {
    case 2: return {{1, 0}, {1, 1}};
    case 3: return {{1, 0}, {1, 0.5f}, {1, 1}};
    case 4: return quatre;
    case 5: return plus(quatre, {{1, 0.5f}});
    case 6: return six;
    case 7: return plus(six, {{1, 0.25f}});
    case 8: return plus(six, {{1, 0.25f}, {1, 0.75f}});
    case 9: return plus(huit, {{1, 0.5f}});
    default: return plus(huit, {{1, 1 / 6.0f}, {1, 5 / 6.0f}});
    }
}

void pips(Image& im, int valeur, int couleur)
{
    constexpr std::array<float, 3> colonnes = {21, 31, 41};
    constexpr float yHaut = 20, yBas = 80;
    for (Place p : disposition(valeur)) {
        float x = colonnes[p.colonne], y = yHaut + (yBas - yHaut) * p.hauteur;
        if (p.hauteur > 0.5f)
            pipRetourne(im, couleur, 14, x, y);
        else
            pip(im, couleur, 14, x, y);
    }
}

void as(Image& im, int couleur)
{
    if (couleur == 3) {  // the ace of spades wears a golden ring
        remplis(im, anneau(31, 50, 19, 1.2f), uni(palette::orFonce));
        remplis(im, anneau(31, 50, 16, 0.6f), uni(avecAlpha(palette::orFonce, 0.7f)));
    }
    pip(im, couleur, couleur == 3 ? 34 : 40, 31, 50);
}

// The emblem of a court card: a crown for the king, a tiara for the queen,
// a plume for the jack.
void embleme(Image& im, int valeur, float cx, float y, Couleur c)
{
    if (valeur == 13) {
        remplis(im, polygone({{cx - 8, y + 8}, {cx - 9, y}, {cx - 4.5f, y + 4}, {cx, y - 2},
                              {cx + 4.5f, y + 4}, {cx + 9, y}, {cx + 8, y + 8}}),
                uni(c));
    } else if (valeur == 12) {
        remplis(im, rectangleArrondi(cx - 8, y + 5, cx + 8, y + 8, 1.5f), uni(c));
        for (int k = -1; k <= 1; ++k) remplis(im, cercle(cx + 6.0f * k, y + 2.5f - (k == 0) * 2, 2.2f), uni(c));
    } else {  // a cap with a feather
        remplis(im, intersection(cercle(cx, y + 8, 7), [=](float, float py) { return py - (y + 8); }), uni(c));
        remplis(im, rectangleArrondi(cx - 8.5f, y + 6.5f, cx + 8.5f, y + 9, 1), uni(c));
        remplis(im, polygone({{cx + 2, y + 3}, {cx + 10, y - 2}, {cx + 6, y + 4}}), uni(c));
    }
}

// Court cards: a framed, two-headed portrait of letter and emblem.
void figure(Image& im, int valeur, int couleur)
{
    const Couleur encre = couleurEncre(couleur);
    const bool rougeSuit = couleur == 1 || couleur == 2;
    Forme cadre = rectangleArrondi(15.5f, 12.5f, 46.5f, 87.5f, 3);
    Couleur fond1 = rougeSuit ? rgb(253, 226, 214) : rgb(222, 230, 244);
    Couleur fond2 = rougeSuit ? rgb(246, 196, 180) : rgb(188, 202, 230);
    remplis(im, cadre, degradeVertical(12, fond1, 50, fond2));
    Image moitie(32, 38);
    embleme(moitie, valeur, 16, 5, palette::orFonce);
    embleme(moitie, valeur, 16, 4, palette::or_);
    Style lettre;
    lettre.police = Police::serifGras;
    lettre.taille = 22;
    lettre.peinture = uni(encre);
    ecris(moitie, lettre, 13, 35, rangImprime(valeur), Alignement::centre);
    pip(moitie, couleur, 10, 25, 28);
    colle(im, moitie, 15, 12);
    colleRetourne(im, moitie, 15, 50);
    remplis(im, [](float, float y) { return std::abs(y - 50) - 0.4f; }, uni(avecAlpha(palette::orFonce, 0.8f)),
            16, 49, 45, 50);
    remplis(im, contour(cadre, 1.4f), uni(palette::orFonce));
}

}  // namespace

const char* symbole(int couleur) { return symboles[couleur]; }

Couleur couleurEncre(int couleur)
{
    return couleur == 1 || couleur == 2 ? palette::rouge : palette::encre;
}

Image carte(int valeur, int couleur)
{
    Image im = corps();
    index(im, valeur, couleur);
    if (valeur == 14)
        as(im, couleur);
    else if (valeur > 10)
        figure(im, valeur, couleur);
    else
        pips(im, valeur, couleur);
    return im;
}

Image dosCarte()
{
    Image im(LARGEUR_CARTE, HAUTEUR_CARTE);
    Forme f = rectangleArrondi(0.5f, 0.5f, LARGEUR_CARTE - 0.5f, HAUTEUR_CARTE - 0.5f, 5);
    remplis(im, f, uni(rgb(250, 246, 236)));
    remplis(im, contour(f, 1.0f), uni(rgb(120, 110, 90)));
    Forme dedans = rectangleArrondi(4, 4, LARGEUR_CARTE - 4, HAUTEUR_CARTE - 4, 3);
    remplis(im, dedans, degradeVertical(4, rgb(150, 22, 36), HAUTEUR_CARTE - 4, rgb(96, 10, 22)));
    // A lattice of diagonal gold threads.
    Forme treillis = [](float x, float y) {
        float a = std::fmod(x + y + 1000.0f, 8.0f), b = std::fmod(x - y + 1000.0f, 8.0f);
        return std::min(std::min(a, 8 - a), std::min(b, 8 - b)) - 0.45f;
    };
    remplis(im, intersection(dedans, treillis), uni(rgb(214, 160, 70, 0.55f)));
    remplis(im, contour(dedans, 1.2f), uni(palette::or_));
    Forme medaillon = [](float x, float y) {
        float dx = (x - 31) / 14, dy = (y - 50) / 20;
        return (std::sqrt(dx * dx + dy * dy) - 1) * 14;
    };
    remplis(im, medaillon, degradeVertical(30, rgb(130, 16, 30), 70, rgb(80, 6, 16)));
    remplis(im, contour(medaillon, 1.3f), uni(palette::or_));
    Style v;
    v.police = Police::serifGrasItalique;
    v.taille = 26;
    v.peinture = degradeVertical(38, palette::orClair, 58, palette::orFonce);
    ecris(im, v, 31, 59, "V", Alignement::centre);
    return im;
}
