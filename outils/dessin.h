// Drawing primitives of the picture generator: an RGBA image in floats,
// anti-aliased shapes given by signed distance, layers and their transforms,
// and the BMP and PNG writers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Couleur {
    float r = 0, g = 0, b = 0, a = 1;
};

// Colour from 0-255 components.
constexpr Couleur rgb(int r, int g, int b, float a = 1.0f)
{
    return Couleur{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Couleur melange(Couleur c1, Couleur c2, float t);  // t = 0 gives c1, 1 gives c2
Couleur eclaircit(Couleur c, float t);             // towards white
Couleur assombrit(Couleur c, float t);             // towards black
Couleur avecAlpha(Couleur c, float a);

struct Image {
    int largeur = 0, hauteur = 0;
    std::vector<Couleur> pixels;

    Image() = default;
    Image(int l, int h, Couleur fond = Couleur{0, 0, 0, 0});
    Couleur& at(int x, int y) { return pixels[static_cast<size_t>(y) * largeur + x]; }
    const Couleur& at(int x, int y) const { return pixels[static_cast<size_t>(y) * largeur + x]; }
    bool dedans(int x, int y) const { return x >= 0 && y >= 0 && x < largeur && y < hauteur; }
    // Paints c over the pixel with the given coverage (0 to 1).
    void pose(int x, int y, Couleur c, float couverture);
};

// A colour chosen per pixel: gradients, textures.
using Peinture = std::function<Couleur(float x, float y)>;
Peinture uni(Couleur c);
Peinture degradeVertical(float y0, Couleur haut, float y1, Couleur bas);
Peinture degradeRadial(float cx, float cy, float rayon, Couleur centre, Couleur bord);

// A shape as a signed distance in pixels (negative inside).
using Forme = std::function<float(float x, float y)>;
Forme rectangleArrondi(float x0, float y0, float x1, float y1, float rayon);
Forme cercle(float cx, float cy, float rayon);
Forme anneau(float cx, float cy, float rayon, float epaisseur);
Forme contour(Forme forme, float epaisseur);  // a band of the given width along the edge
Forme intersection(Forme a, Forme b);
Forme polygone(std::vector<std::pair<float, float>> sommets);

// Fills a shape within the bounding box x0..x1, y0..y1 (clipped to the image).
void remplis(Image& image, const Forme& forme, const Peinture& peinture, int x0, int y0, int x1,
             int y1);
void remplis(Image& image, const Forme& forme, const Peinture& peinture);
void remplisTout(Image& image, const Peinture& peinture);

// Pastes a layer at (dx, dy), alpha-composited.
void colle(Image& dest, const Image& calque, int dx, int dy, float opacite = 1.0f);
// Pastes a layer turned by a half turn.
void colleRetourne(Image& dest, const Image& calque, int dx, int dy);
// Pastes a layer scaled by `echelle` and turned by `angle` (radians, clockwise on
// screen) about its centre, that centre landing on (cx, cy). Supersampled.
void colleTransforme(Image& dest, const Image& calque, float cx, float cy, float echelle,
                     float angle);
// A soft shadow of a layer's alpha, blurred by a box of the given radius.
Image ombre(const Image& calque, int rayon, Couleur teinte);

// Files. BMP: 24 bits, bottom-up, what SDL_LoadBMP reads. PNG: 8-bit RGBA.
bool ecrisBmp(const Image& image, const std::string& chemin);
bool ecrisPng(const Image& image, const std::string& chemin);
uint8_t octet(float v);  // 0-1 to 0-255, rounded and clamped
