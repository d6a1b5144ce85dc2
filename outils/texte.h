// Text for the pictures, rendered with FreeType from the Debian fonts.
#pragma once

#include "dessin.h"

#include <string>

enum class Police { sans, sansGras, serifGras, serifGrasItalique, symboles, etroitGras };

struct Mesure {
    int largeur;   // advance width of the whole text
    int montante;  // ascent of the face at this size, above the baseline
    int descente;  // descent, below the baseline (positive)
};

// Opens FreeType and the fonts; false (with a message) when a font is missing.
bool ouvrePolices();
void fermePolices();

Mesure mesure(Police police, int taille, const std::string& texte);
// Draws UTF-8 text with its baseline at y and its left edge at x.
void ecris(Image& image, Police police, int taille, float x, float y, const std::string& texte,
           const Peinture& peinture);
void ecris(Image& image, Police police, int taille, float x, float y, const std::string& texte,
           Couleur couleur);

enum class Alignement { gauche, centre, droite };

// Text style for titles and labels: fill, optional dark outline and drop shadow.
struct Style {
    Police police = Police::sans;
    int taille = 14;
    Peinture peinture = uni(Couleur{1, 1, 1, 1});
    float contour = 0;  // outline radius in pixels, 0 for none
    Couleur couleurContour{0, 0, 0, 0.8f};
    int ombre = 0;  // shadow offset, 0 for none
    Couleur couleurOmbre{0, 0, 0, 0.6f};
};

// Draws a styled text aligned on x; y is the baseline.
void ecris(Image& image, const Style& style, float x, float y, const std::string& texte,
           Alignement alignement = Alignement::gauche);
// Largest size from style.taille down whose text fits within `largeurMax`.
int tailleQuiTient(Police police, int taille, const std::string& texte, int largeurMax);
// Draws text wrapped at spaces within `largeurMax`, first baseline at y;
// returns the baseline after the last line.
float paragraphe(Image& image, const Style& style, float x, float y, int largeurMax, float interligne,
                 const std::string& texte);
