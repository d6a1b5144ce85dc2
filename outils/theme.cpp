#include "theme.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A fixed pseudo-random value in -1..1 per pixel: the felt's grain.
float grain(int x, int y)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5f - 1.0f;
}

}  // namespace

Couleur feutre(float x, float y)
{
    // Lit from above the card table; darker towards the window's edges.
    constexpr Couleur centre = rgb(18, 104, 60);
    constexpr Couleur bord = rgb(6, 52, 30);
    float dx = (x - 300.0f) / 620.0f, dy = (y - 250.0f) / 420.0f;
    float t = std::clamp(dx * dx + dy * dy, 0.0f, 1.0f);
    Couleur c = melange(centre, bord, t);
    float g = grain(static_cast<int>(x), static_cast<int>(y)) * 0.010f;
    return Couleur{c.r + g, c.g + g * 1.3f, c.b + g, 1};
}

Image fondFeutre(int largeur, int hauteur, int x0, int y0)
{
    Image im(largeur, hauteur);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x) im.at(x, y) = feutre(x0 + x + 0.5f, y0 + y + 0.5f);
    return im;
}

Image decoupe(const Image& image, int largeur, int hauteur, int x0, int y0)
{
    Image im(largeur, hauteur);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x) im.at(x, y) = image.at(x0 + x, y0 + y);
    return im;
}

Image surFeutre(const Image& calque, int x0, int y0)
{
    Image im = fondFeutre(calque.largeur, calque.hauteur, x0, y0);
    colle(im, calque, 0, 0);
    return im;
}

namespace teinte {
const Teinte bordeaux{rgb(178, 36, 46), rgb(104, 12, 22), rgb(226, 186, 84), rgb(255, 242, 205),
                      rgb(50, 0, 5, 0.7f)};
const Teinte or_{rgb(255, 226, 128), rgb(196, 140, 30), rgb(110, 72, 8), rgb(58, 30, 4),
                 rgb(255, 246, 200, 0.6f)};
const Teinte gris{rgb(112, 114, 112), rgb(78, 80, 78), rgb(120, 122, 120), rgb(160, 162, 160),
                  rgb(0, 0, 0, 0.35f)};
const Teinte ivoire{rgb(255, 250, 232), rgb(222, 210, 176), rgb(150, 120, 60), rgb(30, 60, 36),
                    rgb(255, 255, 255, 0.0f)};
const Teinte rouge{rgb(220, 50, 50), rgb(150, 20, 24), rgb(90, 8, 12), rgb(255, 255, 255),
                   rgb(60, 0, 0, 0.6f)};
}  // namespace teinte

Image bouton(int largeur, int hauteur, int x0, int y0, const std::string& texte, const Teinte& t,
             bool enfonce, int taille, const Image* dessous)
{
    Image im = dessous ? decoupe(*dessous, largeur, hauteur, x0, y0) : fondFeutre(largeur, hauteur, x0, y0);
    const float socle = std::max(2, hauteur / 9);
    const float rayon = std::min(7.0f, hauteur / 3.0f);
    const float l = static_cast<float>(largeur), h = static_cast<float>(hauteur);
    const float haut = enfonce ? socle : 0.0f;  // the face sinks by the plinth's height
    const float bas = haut + h - socle;
    if (!enfonce)  // plinth
        remplis(im, rectangleArrondi(0.5f, socle, l - 0.5f, h - 0.2f, rayon),
                uni(assombrit(t.bas, 0.55f)));
    else  // a dark rim around the sunk face, as in a hollow
        remplis(im, rectangleArrondi(0.0f, 0.2f, l, h - 0.2f, rayon + 0.5f), uni(rgb(0, 0, 0, 0.45f)));
    Couleur hautFace = enfonce ? assombrit(t.haut, 0.22f) : t.haut;
    Couleur basFace = enfonce ? assombrit(t.bas, 0.12f) : t.bas;
    Forme face = rectangleArrondi(0.5f, haut + 0.5f, l - 0.5f, bas - 0.5f, rayon);
    remplis(im, face, degradeVertical(haut, hautFace, bas, basFace));
    if (enfonce)  // the shadow the hollow casts on the face's top
        remplis(im, face, degradeVertical(haut, rgb(0, 0, 0, 0.35f), haut + 5, rgb(0, 0, 0, 0)));
    else  // a gloss on the upper half
        remplis(im, intersection(face, [=](float, float y) { return y - (haut + (bas - haut) * 0.5f); }),
                degradeVertical(haut, rgb(255, 255, 255, 0.28f), haut + (bas - haut) * 0.5f,
                                rgb(255, 255, 255, 0.04f)));
    remplis(im, contour(face, 1.2f), uni(enfonce ? assombrit(t.bord, 0.25f) : t.bord));
    int tt = tailleQuiTient(Police::sansGras, taille, texte, largeur - 12);
    float ligne = (haut + bas) / 2 + tt * 0.36f;
    Style style;
    style.police = Police::sansGras;
    style.taille = tt;
    style.peinture = uni(enfonce ? assombrit(t.texte, 0.12f) : t.texte);
    style.ombre = t.ombreTexte.a > 0 ? 1 : 0;
    style.couleurOmbre = t.ombreTexte;
    ecris(im, style, l / 2, ligne, texte, Alignement::centre);
    return im;
}

void panneau(Image& image, float x0, float y0, float x1, float y1, float rayon)
{
    Forme f = rectangleArrondi(x0, y0, x1, y1, rayon);
    Image ombrage(static_cast<int>(x1 - x0) + 2, static_cast<int>(y1 - y0) + 2);
    remplis(ombrage, rectangleArrondi(1, 1, x1 - x0 + 1, y1 - y0 + 1, rayon), uni(rgb(0, 0, 0)));
    Image o = ombre(ombrage, 4, rgb(0, 0, 0, 0.45f));
    colle(image, o, static_cast<int>(x0) - 1 - 4 + 2, static_cast<int>(y0) - 1 - 4 + 3);
    remplis(image, f, degradeVertical(y0, rgb(10, 26, 20, 0.80f), y1, rgb(4, 14, 10, 0.86f)));
    remplis(image, contour(f, 1.5f), uni(palette::or_));
    Forme dedans = rectangleArrondi(x0 + 3.5f, y0 + 3.5f, x1 - 3.5f, y1 - 3.5f, std::max(1.0f, rayon - 3));
    remplis(image, contour(dedans, 0.8f), uni(avecAlpha(palette::or_, 0.45f)));
}

Image plaque(int largeur, int hauteur, int x0, int y0, Couleur accent)
{
    Image im = fondFeutre(largeur, hauteur, x0, y0);
    float l = static_cast<float>(largeur), h = static_cast<float>(hauteur);
    Forme f = rectangleArrondi(1.5f, 1.5f, l - 1.5f, h - 1.5f, 12);
    Image ombrage(largeur, hauteur);
    remplis(ombrage, rectangleArrondi(4, 4, l - 4, h - 3, 12), uni(rgb(0, 0, 0)));
    colle(im, ombre(ombrage, 2, rgb(0, 0, 0, 0.6f)), -2, 0);
    remplis(im, f, degradeVertical(0, melange(palette::nuit, accent, 0.35f), h, palette::nuit));
    remplis(im, f, degradeRadial(l / 2, -h * 0.2f, l * 0.6f, avecAlpha(accent, 0.35f), avecAlpha(accent, 0)));
    remplis(im, contour(f, 2.0f), degradeVertical(0, palette::orClair, h, palette::orFonce));
    Forme dedans = rectangleArrondi(5.5f, 5.5f, l - 5.5f, h - 5.5f, 8);
    remplis(im, contour(dedans, 0.8f), uni(avecAlpha(palette::or_, 0.55f)));
    return im;
}
