// Casino chips: a disc with edge inserts, a ring and a printed centre.
#include "theme.h"

#include <cmath>
#include <cstring>
#include <numbers>

Image jeton(const DescriptionJeton& d, bool enfonce)
{
    Image im(TAILLE_JETON, TAILLE_JETON);
    // Pressed, the chip sits lower, a little smaller and in shade.
    const float cx = 35, cy = enfonce ? 35.8f : 35.0f, r = enfonce ? 33.2f : 34.4f;
    const float k = r / 34.4f;
    auto teinte = [&](Couleur c) { return enfonce ? assombrit(c, 0.25f) : c; };
    const Couleur fond = teinte(d.fond), liseres = teinte(d.liseres);

    remplis(im, cercle(cx, cy, r), degradeRadial(cx - 10 * k, cy - 12 * k, 50 * k, eclaircit(fond, 0.18f),
                                                 assombrit(fond, 0.28f)));
    // Six inserts around the edge.
    Forme inserts = [=](float x, float y) {
        float a = std::atan2(y - cy, x - cx) + std::numbers::pi_v<float> / 6;
        float secteur = std::numbers::pi_v<float> / 3;
        float m = std::fmod(a + 10 * secteur, secteur) - secteur / 2;
        float dist = std::hypot(x - cx, y - cy);
        float angulaire = std::abs(m) * dist - 6.5f * k;
        float radial = std::abs(dist - 29.5f * k) - 4.6f * k;
        return std::max(angulaire, radial);
    };
    remplis(im, inserts, uni(liseres));
    remplis(im, anneau(cx, cy, r - 0.6f, 1.2f), uni(assombrit(fond, 0.45f)));
    // The centre, cream, where the value is printed; a word needs more room.
    const bool mot = std::strlen(d.texte) > 3;
    const float centre = (mot ? 23.5f : 20.5f) * k;
    if (!mot) remplis(im, anneau(cx, cy, 23.5f * k, 1.0f), uni(avecAlpha(liseres, 0.9f)));
    remplis(im, cercle(cx, cy, centre), degradeVertical(cy - centre, teinte(rgb(255, 251, 238)), cy + centre,
                                                       teinte(rgb(232, 222, 198))));
    remplis(im, anneau(cx, cy, centre, 1.2f), uni(assombrit(fond, 0.2f)));
    remplis(im, anneau(cx, cy, centre - 2.7f * k, 0.6f), uni(avecAlpha(teinte(d.encre), 0.5f)));
    const Police police = mot ? Police::etroitGras : Police::sansGras;
    int taille = tailleQuiTient(police, mot ? 14 : d.texte[1] ? (d.texte[2] ? 15 : 18) : 20, d.texte,
                                static_cast<int>((mot ? 37 : 31) * k));
    Style s;
    s.police = police;
    s.taille = taille;
    s.peinture = uni(teinte(d.encre));
    ecris(im, s, cx, cy + taille * 0.36f, d.texte, Alignement::centre);
    if (!enfonce)  // a sheen on the upper left
        remplis(im, cercle(cx, cy, r),
                degradeRadial(cx - 14, cy - 16, 30, rgb(255, 255, 255, 0.22f), rgb(255, 255, 255, 0)));
    return im;
}
