#include "texte.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

FT_Library bibliotheque = nullptr;
std::array<FT_Face, 6> faces{};

// Each face, looked for in the directories of fonts-liberation and
// fonts-dejavu-core; the narrow one, missing from Liberation 2, falls back
// on the plain bold.
constexpr std::array<const char*, 6> fichiers = {
    "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSerif-Bold.ttf",
    "LiberationSerif-BoldItalic.ttf", "DejaVuSans.ttf", "LiberationSansNarrow-Bold.ttf"};
constexpr std::array<const char*, 6> remplacants = {nullptr, nullptr, nullptr, nullptr, nullptr,
                                                    "LiberationSans-Bold.ttf"};
constexpr std::array<const char*, 3> repertoires = {"/usr/share/fonts/truetype/liberation/",
                                                   "/usr/share/fonts/truetype/liberation2/",
                                                   "/usr/share/fonts/truetype/dejavu/"};

std::vector<char32_t> decodeUtf8(const std::string& s)
{
    std::vector<char32_t> r;
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t v = n == 1 ? c : c & (0x3F >> (n - 1));
        for (int k = 1; k < n && i + k < s.size(); ++k) v = (v << 6) | (s[i + k] & 0x3F);
        r.push_back(v);
        i += n;
    }
    return r;
}

// The face that has the character: the chosen one, else DejaVu Sans.
FT_Face faceDe(Police police, int taille, char32_t c)
{
    FT_Face f = faces[static_cast<int>(police)];
    if (FT_Get_Char_Index(f, c) == 0) f = faces[static_cast<int>(Police::symboles)];
    FT_Set_Pixel_Sizes(f, 0, taille);
    return f;
}

// Coverage of a text, in image coordinates starting at (x0, y0).
struct Masque {
    int x0 = 0, y0 = 0, largeur = 0, hauteur = 0;
    std::vector<float> a;
    float at(int x, int y) const
    {
        return x < 0 || y < 0 || x >= largeur || y >= hauteur ? 0.0f : a[y * largeur + x];
    }
};

Masque rendMasque(Police police, int taille, int x, int y, const std::string& texte, int marge)
{
    Mesure m = mesure(police, taille, texte);
    Masque masque;
    marge += taille / 2;  // room for overhanging glyphs
    masque.x0 = x - marge;
    masque.y0 = y - m.montante - marge;
    masque.largeur = m.largeur + 2 * marge;
    masque.hauteur = m.montante + m.descente + 2 * marge;
    masque.a.assign(static_cast<size_t>(masque.largeur) * masque.hauteur, 0.0f);
    int stylo = x;
    for (char32_t c : decodeUtf8(texte)) {
        FT_Face f = faceDe(police, taille, c);
        if (FT_Load_Char(f, c, FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& b = f->glyph->bitmap;
        int gx = stylo + f->glyph->bitmap_left - masque.x0;
        int gy = y - f->glyph->bitmap_top - masque.y0;
        for (unsigned j = 0; j < b.rows; ++j)
            for (unsigned i = 0; i < b.width; ++i) {
                int px = gx + static_cast<int>(i), py = gy + static_cast<int>(j);
                if (px < 0 || py < 0 || px >= masque.largeur || py >= masque.hauteur) continue;
                float v = b.buffer[j * b.pitch + i] / 255.0f;
                float& d = masque.a[py * masque.largeur + px];
                d = std::min(1.0f, d + v);
            }
        stylo += static_cast<int>(f->glyph->advance.x >> 6);
    }
    return masque;
}

// The mask grown by a disc of radius r: the coverage of an outline.
Masque dilate(const Masque& m, float r)
{
    Masque d = m;
    int k = static_cast<int>(std::ceil(r));
    for (int y = 0; y < m.hauteur; ++y)
        for (int x = 0; x < m.largeur; ++x) {
            float v = 0;
            for (int j = -k; j <= k; ++j)
                for (int i = -k; i <= k; ++i) {
                    float poids = std::clamp(r + 0.5f - std::hypot(static_cast<float>(i), static_cast<float>(j)), 0.0f, 1.0f);
                    v = std::max(v, m.at(x + i, y + j) * poids);
                }
            d.a[y * m.largeur + x] = v;
        }
    return d;
}

void pose(Image& image, const Masque& m, int dx, int dy, const Peinture& peinture)
{
    for (int y = 0; y < m.hauteur; ++y)
        for (int x = 0; x < m.largeur; ++x) {
            float v = m.a[y * m.largeur + x];
            if (v <= 0) continue;
            int px = m.x0 + x + dx, py = m.y0 + y + dy;
            image.pose(px, py, peinture(px + 0.5f, py + 0.5f), v);
        }
}

}  // namespace

bool ouvrePolices()
{
    if (FT_Init_FreeType(&bibliotheque) != 0) return false;
    for (size_t i = 0; i < fichiers.size(); ++i) {
        for (const char* nom : {fichiers[i], remplacants[i]}) {
            for (const char* rep : repertoires) {
                if (!nom || faces[i]) continue;
                std::string chemin = std::string(rep) + nom;
                if (FT_New_Face(bibliotheque, chemin.c_str(), 0, &faces[i]) != 0) faces[i] = nullptr;
            }
        }
        if (!faces[i]) {
            std::fprintf(stderr, "genereImages: font %s not found\n", fichiers[i]);
            return false;
        }
    }
    return true;
}

void fermePolices()
{
    for (FT_Face& f : faces)
        if (f) FT_Done_Face(f);
    faces.fill(nullptr);
    if (bibliotheque) FT_Done_FreeType(bibliotheque);
    bibliotheque = nullptr;
}

Mesure mesure(Police police, int taille, const std::string& texte)
{
    FT_Face principale = faces[static_cast<int>(police)];
    FT_Set_Pixel_Sizes(principale, 0, taille);
    Mesure m{0, static_cast<int>(principale->size->metrics.ascender >> 6),
             static_cast<int>(-principale->size->metrics.descender >> 6)};
    for (char32_t c : decodeUtf8(texte)) {
        FT_Face f = faceDe(police, taille, c);
        if (FT_Load_Char(f, c, FT_LOAD_DEFAULT) == 0) m.largeur += static_cast<int>(f->glyph->advance.x >> 6);
    }
    return m;
}

void ecris(Image& image, Police police, int taille, float x, float y, const std::string& texte,
           const Peinture& peinture)
{
    Masque m = rendMasque(police, taille, static_cast<int>(std::lround(x)),
                          static_cast<int>(std::lround(y)), texte, 0);
    pose(image, m, 0, 0, peinture);
}

void ecris(Image& image, Police police, int taille, float x, float y, const std::string& texte,
           Couleur couleur)
{
    ecris(image, police, taille, x, y, texte, uni(couleur));
}

void ecris(Image& image, const Style& style, float x, float y, const std::string& texte,
           Alignement alignement)
{
    int l = mesure(style.police, style.taille, texte).largeur;
    if (alignement == Alignement::centre) x -= l / 2.0f;
    if (alignement == Alignement::droite) x -= l;
    int marge = static_cast<int>(std::ceil(style.contour)) + 1;
    Masque m = rendMasque(style.police, style.taille, static_cast<int>(std::lround(x)),
                          static_cast<int>(std::lround(y)), texte, marge);
    if (style.ombre > 0) {
        Masque o = style.contour > 0 ? dilate(m, style.contour) : m;
        pose(image, o, style.ombre, style.ombre, uni(style.couleurOmbre));
    }
    if (style.contour > 0) pose(image, dilate(m, style.contour), 0, 0, uni(style.couleurContour));
    pose(image, m, 0, 0, style.peinture);
}

int tailleQuiTient(Police police, int taille, const std::string& texte, int largeurMax)
{
    while (taille > 6 && mesure(police, taille, texte).largeur > largeurMax) --taille;
    return taille;
}

float paragraphe(Image& image, const Style& style, float x, float y, int largeurMax, float interligne,
                 const std::string& texte)
{
    std::string ligne;
    size_t debut = 0;
    while (debut <= texte.size()) {
        size_t fin = texte.find(' ', debut);
        if (fin == std::string::npos) fin = texte.size();
        std::string mot = texte.substr(debut, fin - debut);
        std::string essai = ligne.empty() ? mot : ligne + " " + mot;
        // French puts a space before these signs, but a line never starts with one.
        bool signe = mot == ":" || mot == "!" || mot == "?" || mot == ";" || mot == "»";
        if (!ligne.empty() && !signe && mesure(style.police, style.taille, essai).largeur > largeurMax) {
            ecris(image, style, x, y, ligne);
            y += interligne;
            ligne = mot;
        } else {
            ligne = essai;
        }
        debut = fin + 1;
    }
    if (!ligne.empty()) {
        ecris(image, style, x, y, ligne);
        y += interligne;
    }
    return y;
}
