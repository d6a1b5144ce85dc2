#include "dessin.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

Couleur melange(Couleur c1, Couleur c2, float t)
{
    return Couleur{c1.r + (c2.r - c1.r) * t, c1.g + (c2.g - c1.g) * t, c1.b + (c2.b - c1.b) * t,
                   c1.a + (c2.a - c1.a) * t};
}

Couleur eclaircit(Couleur c, float t) { return melange(c, Couleur{1, 1, 1, c.a}, t); }
Couleur assombrit(Couleur c, float t) { return melange(c, Couleur{0, 0, 0, c.a}, t); }
Couleur avecAlpha(Couleur c, float a) { return Couleur{c.r, c.g, c.b, a}; }

Image::Image(int l, int h, Couleur fond)
    : largeur(l), hauteur(h), pixels(static_cast<size_t>(l) * h, fond)
{
}

void Image::pose(int x, int y, Couleur c, float couverture)
{
    if (!dedans(x, y) || couverture <= 0.0f) return;
    Couleur& d = at(x, y);
    float sa = std::min(1.0f, c.a * couverture);
    float da = d.a * (1.0f - sa);
    float a = sa + da;
    if (a <= 0.0f) return;
    d.r = (c.r * sa + d.r * da) / a;
    d.g = (c.g * sa + d.g * da) / a;
    d.b = (c.b * sa + d.b * da) / a;
    d.a = a;
}

Peinture uni(Couleur c)
{
    return [c](float, float) { return c; };
}

Peinture degradeVertical(float y0, Couleur haut, float y1, Couleur bas)
{
    return [=](float, float y) {
        float t = std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f);
        return melange(haut, bas, t);
    };
}

Peinture degradeRadial(float cx, float cy, float rayon, Couleur centre, Couleur bord)
{
    return [=](float x, float y) {
        float t = std::clamp(std::hypot(x - cx, y - cy) / rayon, 0.0f, 1.0f);
        return melange(centre, bord, t * t);
    };
}

Forme rectangleArrondi(float x0, float y0, float x1, float y1, float rayon)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - rayon, hy = (y1 - y0) / 2 - rayon;
    return [=](float x, float y) {
        float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
        float dehors = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return dehors + std::min(std::max(qx, qy), 0.0f) - rayon;
    };
}

Forme cercle(float cx, float cy, float rayon)
{
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - rayon; };
}

Forme anneau(float cx, float cy, float rayon, float epaisseur)
{
    return [=](float x, float y) {
        return std::abs(std::hypot(x - cx, y - cy) - rayon) - epaisseur / 2;
    };
}

Forme contour(Forme forme, float epaisseur)
{
    return [=](float x, float y) { return std::abs(forme(x, y) + epaisseur / 2) - epaisseur / 2; };
}

Forme intersection(Forme a, Forme b)
{
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

// Exact distance to a simple polygon, sign by the even-odd rule.
Forme polygone(std::vector<std::pair<float, float>> s)
{
    return [s](float x, float y) {
        float d = 1e9f;
        bool dedans = false;
        for (size_t i = 0, j = s.size() - 1; i < s.size(); j = i++) {
            auto [xi, yi] = s[i];
            auto [xj, yj] = s[j];
            float ex = xj - xi, ey = yj - yi, wx = x - xi, wy = y - yi;
            float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
            if (((yi > y) != (yj > y)) && (x < (xj - xi) * (y - yi) / (yj - yi) + xi))
                dedans = !dedans;
        }
        return dedans ? -d : d;
    };
}

void remplis(Image& image, const Forme& forme, const Peinture& peinture, int x0, int y0, int x1,
             int y1)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, image.largeur - 1);
    y1 = std::min(y1, image.hauteur - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float couverture = std::clamp(0.5f - forme(px, py), 0.0f, 1.0f);
            if (couverture > 0.0f) image.pose(x, y, peinture(px, py), couverture);
        }
}

void remplis(Image& image, const Forme& forme, const Peinture& peinture)
{
    remplis(image, forme, peinture, 0, 0, image.largeur - 1, image.hauteur - 1);
}

void remplisTout(Image& image, const Peinture& peinture)
{
    for (int y = 0; y < image.hauteur; ++y)
        for (int x = 0; x < image.largeur; ++x) image.at(x, y) = peinture(x + 0.5f, y + 0.5f);
}

void colle(Image& dest, const Image& calque, int dx, int dy, float opacite)
{
    for (int y = 0; y < calque.hauteur; ++y)
        for (int x = 0; x < calque.largeur; ++x) dest.pose(x + dx, y + dy, calque.at(x, y), opacite);
}

void colleRetourne(Image& dest, const Image& calque, int dx, int dy)
{
    for (int y = 0; y < calque.hauteur; ++y)
        for (int x = 0; x < calque.largeur; ++x)
            dest.pose(dx + calque.largeur - 1 - x, dy + calque.hauteur - 1 - y, calque.at(x, y), 1.0f);
}

namespace {

// Bilinear sample with premultiplied alpha, transparent outside.
Couleur echantillon(const Image& im, float x, float y)
{
    x -= 0.5f;
    y -= 0.5f;
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float fx = x - x0, fy = y - y0;
    Couleur somme{0, 0, 0, 0};
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            if (!im.dedans(x0 + i, y0 + j)) continue;
            float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const Couleur& c = im.at(x0 + i, y0 + j);
            somme.r += c.r * c.a * w;
            somme.g += c.g * c.a * w;
            somme.b += c.b * c.a * w;
            somme.a += c.a * w;
        }
    return somme;
}

}  // namespace

void colleTransforme(Image& dest, const Image& calque, float cx, float cy, float echelle, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    float demiDiag = std::hypot(calque.largeur, calque.hauteur) * echelle / 2 + 2;
    int x0 = static_cast<int>(cx - demiDiag), x1 = static_cast<int>(cx + demiDiag);
    int y0 = static_cast<int>(cy - demiDiag), y1 = static_cast<int>(cy + demiDiag);
    constexpr int n = 4;  // n x n samples per destination pixel
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            if (!dest.dedans(x, y)) continue;
            Couleur somme{0, 0, 0, 0};
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    float px = x + (i + 0.5f) / n - cx, py = y + (j + 0.5f) / n - cy;
                    float u = (c * px + s * py) / echelle + calque.largeur / 2.0f;
                    float v = (-s * px + c * py) / echelle + calque.hauteur / 2.0f;
                    Couleur e = echantillon(calque, u, v);
                    somme.r += e.r;
                    somme.g += e.g;
                    somme.b += e.b;
                    somme.a += e.a;
                }
            if (somme.a <= 0) continue;
            float a = somme.a / (n * n);
            dest.pose(x, y, Couleur{somme.r / somme.a, somme.g / somme.a, somme.b / somme.a, 1}, a);
        }
}

Image ombre(const Image& calque, int rayon, Couleur teinte)
{
    int l = calque.largeur + 2 * rayon, h = calque.hauteur + 2 * rayon;
    std::vector<float> a(static_cast<size_t>(l) * h, 0.0f), b(a.size(), 0.0f);
    for (int y = 0; y < calque.hauteur; ++y)
        for (int x = 0; x < calque.largeur; ++x) a[(y + rayon) * l + x + rayon] = calque.at(x, y).a;
    // Two passes of a box blur on each axis come close to a gaussian.
    for (int passe = 0; passe < 2; ++passe) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < l; ++x) {
                float s = 0;
                for (int k = -rayon; k <= rayon; ++k)
                    if (x + k >= 0 && x + k < l) s += a[y * l + x + k];
                b[y * l + x] = s / (2 * rayon + 1);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < l; ++x) {
                float s = 0;
                for (int k = -rayon; k <= rayon; ++k)
                    if (y + k >= 0 && y + k < h) s += b[(y + k) * l + x];
                a[y * l + x] = s / (2 * rayon + 1);
            }
    }
    Image resultat(l, h);
    for (size_t i = 0; i < a.size(); ++i) resultat.pixels[i] = avecAlpha(teinte, teinte.a * a[i]);
    return resultat;
}

uint8_t octet(float v)
{
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

namespace {

void ecrisMot(std::vector<uint8_t>& o, uint32_t v, int n)
{
    for (int i = 0; i < n; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct Fichier {
    FILE* f;
    ~Fichier()
    {
        if (f) std::fclose(f);
    }
};

}  // namespace

bool ecrisBmp(const Image& image, const std::string& chemin)
{
    const uint32_t ligne = (image.largeur * 3 + 3) & ~3u;
    const uint32_t taille = ligne * image.hauteur;
    std::vector<uint8_t> o;
    o.reserve(54 + taille);
    o.push_back('B');
    o.push_back('M');
    ecrisMot(o, 54 + taille, 4);
    ecrisMot(o, 0, 4);
    ecrisMot(o, 54, 4);
    ecrisMot(o, 40, 4);  // BITMAPINFOHEADER
    ecrisMot(o, image.largeur, 4);
    ecrisMot(o, image.hauteur, 4);  // positive: rows stored bottom-up
    ecrisMot(o, 1, 2);
    ecrisMot(o, 24, 2);
    ecrisMot(o, 0, 4);  // no compression
    ecrisMot(o, taille, 4);
    ecrisMot(o, 2835, 4);  // 72 dpi
    ecrisMot(o, 2835, 4);
    ecrisMot(o, 0, 4);
    ecrisMot(o, 0, 4);
    for (int y = image.hauteur - 1; y >= 0; --y) {
        for (int x = 0; x < image.largeur; ++x) {
            const Couleur& c = image.at(x, y);
            o.push_back(octet(c.b));
            o.push_back(octet(c.g));
            o.push_back(octet(c.r));
        }
        for (uint32_t k = image.largeur * 3; k < ligne; ++k) o.push_back(0);
    }
    Fichier f{std::fopen(chemin.c_str(), "wb")};
    return f.f && std::fwrite(o.data(), 1, o.size(), f.f) == o.size();
}

namespace {

// libpng reports errors by longjmp: nothing here has a destructor to skip.
bool ecrisPngBrut(FILE* f, int largeur, int hauteur, png_bytep* lignes)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, largeur, hauteur, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, lignes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool ecrisPng(const Image& image, const std::string& chemin)
{
    std::vector<uint8_t> octets(static_cast<size_t>(image.largeur) * image.hauteur * 4);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const Couleur& c = image.pixels[i];
        octets[4 * i] = octet(c.r);
        octets[4 * i + 1] = octet(c.g);
        octets[4 * i + 2] = octet(c.b);
        octets[4 * i + 3] = octet(c.a);
    }
    std::vector<png_bytep> lignes(image.hauteur);
    for (int y = 0; y < image.hauteur; ++y) lignes[y] = &octets[static_cast<size_t>(y) * image.largeur * 4];
    Fichier f{std::fopen(chemin.c_str(), "wb")};
    return f.f && ecrisPngBrut(f.f, image.largeur, image.hauteur, lignes.data());
}
