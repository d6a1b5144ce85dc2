#include "fonds.h"

#include "gestionMiseGain.h"
#include "placesBilan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

const char* const nomsCombinaisons[10] = {"Rien",    "Paire", "Double paire", "Brelan",       "Suite",
                                          "Couleur", "Full",  "Carré",        "Quinte flush", "Quinte flush royale"};

namespace {

// Where the game draws its texts, top-left of the rendered text, and the
// ascent of "arial.ttf" at each point size: a label beside a text shares
// its baseline, y + ascent.
struct Repere {
    int x, y, points;
};
constexpr Repere CREDIT{140, 108, 18}, MISE{84, 131, 18}, GAIN{84, 155, 18};
constexpr Repere NB_GAGNE{452, 108, 14}, NB_PERDU{452, 127, 14};
constexpr Repere GAIN_MAX{335, 144, 14}, GAIN_TOTAL{335, 162, 14};
constexpr Repere SITE_AIDE{275, 380, 12}, SITE_APROPOS{101, 359, 20}, VERSION{126, 183, 20};
constexpr int X_BACK_TEXTE = 10, Y_BACK_TEXTE = 93;
constexpr int LARGEUR_BACK_TEXTE = 540, HAUTEUR_BACK_TEXTE = 90;
// Counters saturate there; its digits are as wide as any other value's.
constexpr const char* PLUS_GRAND_COMPTEUR = "2147483647";

int ligneDeBase(const Repere& r) { return r.y + static_cast<int>(std::ceil(r.points * 0.905f)); }

Style style(Police p, int taille, Couleur c)
{
    Style s;
    s.police = p;
    s.taille = taille;
    s.peinture = uni(c);
    return s;
}

// Gold lettering with a dark outline and a shadow, for titles.
Style titreOr(int taille, float yHaut, float yBas, Police p = Police::serifGras)
{
    Style s;
    s.police = p;
    s.taille = taille;
    s.peinture = [=](float, float y) {
        float t = std::clamp((y - yHaut) / (yBas - yHaut), 0.0f, 1.0f);
        // A bright band across the middle, like polished metal.
        float reflet = std::exp(-std::pow((t - 0.42f) * 4.0f, 2.0f));
        Couleur c = melange(palette::orClair, palette::orFonce, t);
        return eclaircit(c, reflet * 0.45f);
    };
    s.contour = taille > 30 ? 2.0f : 1.2f;
    s.couleurContour = rgb(40, 20, 0, 0.85f);
    s.ombre = taille > 30 ? 3 : 2;
    s.couleurOmbre = rgb(0, 0, 0, 0.5f);
    return s;
}

const Couleur texteClair = rgb(238, 232, 214);
const Couleur texteDoux = rgb(196, 206, 190);

Image feutreFenetre() { return fondFeutre(LARGEUR_FENETRE, HAUTEUR_FENETRE, 0, 0); }

// The top of a row of the pay table and its height.
struct Rangee {
    float y, pas;
};

Rangee rangee(float y0, float y1, int i)
{
    const float haut = y0 + 62, pas = (y1 - 12 - haut) / 10;
    return {haut + pas * i, pas};
}

// The row of a combination lit: a gold plate like the coach's mark, its
// texts dark on it.
void eclaireRangee(Image& im, float x0, float x1, Rangee r)
{
    const Forme bande = rectangleArrondi(x0 + 10.5f, r.y + 0.5f, x1 - 10.5f, r.y + r.pas - 0.5f, 5);
    remplis(im, bande, degradeVertical(r.y, palette::orClair, r.y + r.pas, palette::or_));
    remplis(im, contour(bande, 1.0f), uni(palette::orFonce));
}

// The pay table in a panel: one line per combination, strongest first; the
// row of `allumee` lit.
void tableDesGains(Image& im, float x0, float y0, float x1, float y1, int allumee = -1)
{
    panneau(im, x0, y0, x1, y1);
    float cx = (x0 + x1) / 2;
    ecris(im, titreOr(22, y0 + 14, y0 + 36), cx, y0 + 34, "Table des gains", Alignement::centre);
    ecris(im, style(Police::sans, 12, texteDoux), cx, y0 + 52, "gain = mise × multiplicateur",
          Alignement::centre);
    for (int i = 0; i < 10; ++i) {
        int c = 9 - i;
        const auto [y, pas] = rangee(y0, y1, i);
        if (i % 2 == 0)
            remplis(im, rectangleArrondi(x0 + 10, y, x1 - 10, y + pas, 4), uni(rgb(255, 255, 255, 0.06f)));
        if (c == allumee) eclaireRangee(im, x0, x1, {y, pas});
        float base = y + pas / 2 + 5.5f;
        const bool fort = c >= 7 || c == allumee;
        ecris(im, style(fort ? Police::sansGras : Police::sans, 15, c == allumee ? palette::nuit : texteClair), x0 + 20,
              base, nomsCombinaisons[c]);
        std::string m = multiplicateurs[c] == 0 ? "—" : "× " + std::to_string(multiplicateurs[c]);
        ecris(im, style(Police::sansGras, 16, c == 0 ? texteDoux : c == allumee ? palette::nuit : palette::compteur),
              x1 - 20, base, m, Alignement::droite);
    }
}

// A card layer drawn turned by `angle` about its centre, with a shadow.
void carteTournee(Image& im, const Image& carteCalque, float cx, float cy, float echelle, float angle)
{
    Image o = ombre(carteCalque, 3, rgb(0, 0, 0, 0.5f));
    colleTransforme(im, o, cx + 3, cy + 4, echelle, angle);
    colleTransforme(im, carteCalque, cx, cy, echelle, angle);
}

// Cards fanned out about a pivot below their centres.
void eventail(Image& im, const std::vector<Image>& cartes, float cx, float cy, float echelle, float ouverture)
{
    int n = static_cast<int>(cartes.size());
    float rayon = 80 * echelle;
    for (int i = 0; i < n; ++i) {
        float a = (i - (n - 1) / 2.0f) * ouverture;
        carteTournee(im, cartes[i], cx + rayon * std::sin(a), cy + rayon * (1 - std::cos(a)), echelle, a);
    }
}

void separateur(Image& im, float cx, float y, float demiLargeur)
{
    remplis(im, [=](float x, float py) { return std::max(std::abs(py - y) - 0.6f, std::abs(x - cx) - demiLargeur); },
            [=](float x, float) {
                float t = std::abs(x - cx) / demiLargeur;
                return avecAlpha(palette::or_, 1 - t * t);
            });
    remplis(im, polygone({{cx - 5, y}, {cx, y - 4}, {cx + 5, y}, {cx, y + 4}}), uni(palette::or_));
}

// One row of a hand, drawn small, the cards that make the combination lit.
struct Exemple {
    int combinaison;
    std::array<std::pair<int, int>, 5> cartes;  // rank, suit
    std::array<bool, 5> compte;
    const char* description;
};

const std::array<Exemple, 10> exemples = {{
    {9, {{{10, 2}, {11, 2}, {12, 2}, {13, 2}, {14, 2}}}, {1, 1, 1, 1, 1}, "10, valet, dame, roi et as d'une couleur"},
    {8, {{{5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}}}, {1, 1, 1, 1, 1}, "Cinq cartes qui se suivent, d'une couleur"},
    {7, {{{4, 0}, {10, 0}, {10, 1}, {10, 2}, {10, 3}}}, {0, 1, 1, 1, 1}, "Quatre cartes de même valeur"},
    {6, {{{6, 0}, {6, 1}, {6, 2}, {12, 0}, {12, 3}}}, {1, 1, 1, 1, 1}, "Un brelan et une paire"},
    {5, {{{2, 2}, {6, 2}, {9, 2}, {11, 2}, {13, 2}}}, {1, 1, 1, 1, 1}, "Cinq cartes de la même couleur"},
    {4, {{{5, 0}, {6, 1}, {7, 2}, {8, 3}, {9, 0}}}, {1, 1, 1, 1, 1}, "Cinq cartes qui se suivent (A-2-3-4-5 aussi)"},
    {3, {{{8, 0}, {8, 1}, {8, 2}, {11, 3}, {14, 0}}}, {1, 1, 1, 0, 0}, "Trois cartes de même valeur"},
    {2, {{{4, 0}, {4, 2}, {9, 1}, {9, 3}, {13, 0}}}, {1, 1, 1, 1, 0}, "Deux paires"},
    {1, {{{2, 0}, {2, 3}, {7, 2}, {10, 3}, {12, 0}}}, {1, 1, 0, 0, 0}, "Deux cartes de même valeur : mise rendue"},
    {0, {{{2, 0}, {5, 1}, {9, 2}, {11, 3}, {13, 0}}}, {0, 0, 0, 0, 0}, "Aucune combinaison : la mise est perdue"},
}};

std::vector<Image> mains(std::initializer_list<std::pair<int, int>> cartes)
{
    std::vector<Image> r;
    for (auto [v, c] : cartes) r.push_back(carte(v, c));
    return r;
}

// A dark pill behind a line of near-white text drawn by the game.
void pastille(Image& im, float x0, float y0, float x1, float y1)
{
    remplis(im, rectangleArrondi(x0, y0, x1, y1, (y1 - y0) / 2), uni(rgb(4, 14, 10, 0.72f)));
    remplis(im, contour(rectangleArrondi(x0, y0, x1, y1, (y1 - y0) / 2), 1.0f), uni(avecAlpha(palette::or_, 0.6f)));
}

// One combination on a line: its hand in small cards, its name and what it is,
// its multiplier.
void ligneExemple(Image& im, const Exemple& e, float x0, float y, float x1, float hauteur)
{
    constexpr float echelle = 0.31f, pas = 20;
    for (int i = 0; i < 5; ++i) {
        Image c = carte(e.cartes[i].first, e.cartes[i].second);
        if (!e.compte[i])
            for (Couleur& p : c.pixels) p = melange(p, rgb(70, 80, 74, p.a), 0.45f);
        carteTournee(im, c, x0 + 8 + LARGEUR_CARTE * echelle / 2 + i * pas, y + hauteur / 2, echelle, 0);
    }
    const float tx = x0 + 8 + 4 * pas + LARGEUR_CARTE * echelle + 10;
    ecris(im, style(Police::sansGras, 14, texteClair), tx, y + 15, nomsCombinaisons[e.combinaison]);
    const int t = tailleQuiTient(Police::sans, 11, e.description, static_cast<int>(x1 - 8 - tx));
    ecris(im, style(Police::sans, t, texteDoux), tx, y + 28, e.description);
    std::string m = multiplicateurs[e.combinaison] == 0 ? "—" : "× " + std::to_string(multiplicateurs[e.combinaison]);
    ecris(im, style(Police::sansGras, 15, e.combinaison == 0 ? texteDoux : palette::compteur), x1 - 10, y + 16, m,
          Alignement::droite);
}

// A key as printed on the keyboard, the baseline of its name at y: an ivory
// cap on a darker plinth. Returns the x after it.
float capuchon(Image& im, float x, float y, const std::string& nom)
{
    const float l = std::max(17.0f, mesure(Police::sansGras, 11, nom).largeur + 10.0f), haut = y - 12, bas = y + 4;
    remplis(im, rectangleArrondi(x, haut + 2, x + l, bas + 2, 3.5f), uni(rgb(96, 84, 60)));
    const Forme face = rectangleArrondi(x, haut, x + l, bas, 3.5f);
    remplis(im, face, degradeVertical(haut, palette::creme, bas, rgb(212, 200, 172)));
    remplis(im, contour(face, 0.8f), uni(rgb(80, 68, 44)));
    ecris(im, style(Police::sansGras, 11, palette::nuit), x + l / 2, y, nom, Alignement::centre);
    return x + l;
}

// A line of keys and words, a key written [between brackets], from x on the
// baseline y.
void ligneDeTouches(Image& im, float x, float y, const std::string& ligne)
{
    const Style mots = style(Police::sans, 13, texteClair);
    for (std::size_t i = 0; i < ligne.size();) {
        const bool touche = ligne[i] == '[';
        const std::size_t fin = std::min(touche ? ligne.find(']', i) : ligne.find('[', i), ligne.size());
        const std::string morceau = ligne.substr(i + touche, fin - i - touche);
        if (touche) {
            x = capuchon(im, x, y, morceau);
        } else {
            ecris(im, mots, x, y, morceau);
            x += mesure(Police::sans, 13, morceau).largeur;
        }
        i = fin + touche;
    }
}

// The keys of every screen, in two columns: the table's, the menus'.
void auClavier(Image& im, float x0, float y0, float x1, float y1)
{
    panneau(im, x0, y0, x1, y1, 8);
    const float milieu = (y0 + y1) / 2;
    ecris(im, titreOr(18, milieu - 21, milieu - 4), x0 + 40, milieu - 4, "Au", Alignement::centre);
    ecris(im, titreOr(18, milieu - 2, milieu + 15), x0 + 40, milieu + 15, "clavier", Alignement::centre);
    remplis(im, rectangleArrondi(x0 + 80, y0 + 12, x0 + 81, y1 - 12, 0.5f), uni(avecAlpha(palette::or_, 0.4f)));
    const char* table[] = {"[1] … [8]  les jetons   [T] Tapis   [A] [←] Annuler",
                           "[1] … [5]  garder ou changer la carte",
                           "[Entrée] [Espace]  Distribuer, Rejouer, Continuer"};
    const char* menus[] = {"[N] [R] [O] [S]  boutons de l'accueil   [E] Effacer",
                           "[C] [M] [F] [S] [A]  réglages   [F1] Aide   [F2] À propos",
                           "[←] [Entrée] [Espace]  Retour   [Échap]  quitter"};
    for (int i = 0; i < 3; ++i) {
        ligneDeTouches(im, x0 + 92, y0 + 25 + 22 * i, table[i]);
        ligneDeTouches(im, x0 + 396, y0 + 25 + 22 * i, menus[i]);
    }
}

// Where the game's table has its pay table.
constexpr float X0_GAINS = 566, Y0_GAINS = 100, X1_GAINS = 860, Y1_GAINS = 430;

}  // namespace

int yLigneGain(int combinaison)
{
    return static_cast<int>(std::floor(rangee(Y0_GAINS, Y1_GAINS, 9 - combinaison).y)) - 2;
}

Image ligneGain(int combinaison)
{
    Image im = feutreFenetre();
    tableDesGains(im, X0_GAINS, Y0_GAINS, X1_GAINS, Y1_GAINS, combinaison);
    return decoupe(im, LARGEUR_LIGNE_GAIN, HAUTEUR_LIGNE_GAIN, X_LIGNE_GAIN, yLigneGain(combinaison));
}

Image placesCartes(const Image& jeu)
{
    return decoupe(jeu, LARGEUR_PLACES, HAUTEUR_PLACES, X_PLACES, Y_PLACES);
}

Image backgroundJeu()
{
    Image im = feutreFenetre();
    // The name of the game, top left, beside the top banner.
    ecris(im, titreOr(38, 22, 58), 100, 58, "Velmora", Alignement::centre);
    ecris(im, style(Police::sans, 13, texteDoux), 100, 78, "vidéo-poker", Alignement::centre);
    // Suits in the top right corner.
    for (int c = 0; c < 4; ++c) {
        float x = 712 + c * 36;
        remplis(im, cercle(x, 48, 14), uni(rgb(250, 246, 236)));
        remplis(im, anneau(x, 48, 14, 1.2f), uni(palette::or_));
        Mesure m = mesure(Police::symboles, 18, symbole(3 - c));
        ecris(im, Police::symboles, 18, x - m.largeur / 2.0f, 48 + 18 * 0.36f, symbole(3 - c), couleurEncre(3 - c));
    }
    // The playing area, where the chips and then the cards lie.
    Forme aire = rectangleArrondi(28.5f, 195.5f, 522.5f, 371.5f, 18);
    remplis(im, aire, uni(rgb(255, 255, 255, 0.025f)));
    remplis(im, contour(aire, 1.2f), uni(avecAlpha(palette::or_, 0.55f)));
    tableDesGains(im, X0_GAINS, Y0_GAINS, X1_GAINS, Y1_GAINS);
    ecris(im, style(Police::sans, 12, texteDoux), 713, 452, "La paire rend la mise.", Alignement::centre);
    return im;
}

Image backTexte()
{
    Image im = fondFeutre(LARGEUR_BACK_TEXTE, HAUTEUR_BACK_TEXTE, X_BACK_TEXTE, Y_BACK_TEXTE);
    const float l = LARGEUR_BACK_TEXTE, h = HAUTEUR_BACK_TEXTE;
    Forme f = rectangleArrondi(1, 1, l - 1, h - 1, 10);
    remplis(im, f, degradeVertical(0, rgb(16, 30, 24), h, rgb(6, 14, 10)));
    remplis(im, contour(f, 1.6f), degradeVertical(0, palette::orClair, h, palette::orFonce));
    remplis(im, contour(rectangleArrondi(4.5f, 4.5f, l - 4.5f, h - 4.5f, 7), 0.8f), uni(avecAlpha(palette::or_, 0.4f)));
    auto local = [](const Repere& r) { return std::pair<float, float>(r.x - X_BACK_TEXTE, ligneDeBase(r) - Y_BACK_TEXTE); };
    // Sunken slots where the game prints the numbers, each as long as the
    // widest value with 4 pixels on either side.
    auto largeurCreux = [](const Repere& r) { return mesure(Police::sans, r.points, PLUS_GRAND_COMPTEUR).largeur + 8; };
    for (const Repere& r : {CREDIT, MISE, GAIN, NB_GAGNE, NB_PERDU, GAIN_MAX, GAIN_TOTAL}) {
        float x = r.x - X_BACK_TEXTE - 4, y = r.y - Y_BACK_TEXTE + (r.points == 18 ? 2 : 1);
        Forme c = rectangleArrondi(x, y, x + largeurCreux(r), y + (r.points == 18 ? 20 : 16), 4);
        remplis(im, c, uni(rgb(0, 0, 0, 0.55f)));
        remplis(im, contour(c, 0.8f), uni(avecAlpha(palette::or_, 0.28f)));
    }
    struct Etiquette {
        Repere r;
        const char* texte;
    };
    const Etiquette grandes[] = {{CREDIT, "Crédit"}, {MISE, "Mise"}, {GAIN, "Gain"}};
    const Etiquette petites[] = {{NB_GAGNE, "Mains gagnées"}, {NB_PERDU, "Mains perdues"},
                                 {GAIN_MAX, "Meilleur gain"}, {GAIN_TOTAL, "Gains cumulés"}};
    for (const Etiquette& e : grandes) {
        auto [x, y] = local(e.r);
        ecris(im, style(Police::sansGras, 16, texteClair), x - 8, y, e.texte, Alignement::droite);
    }
    for (const Etiquette& e : petites) {
        auto [x, y] = local(e.r);
        ecris(im, style(Police::sans, 13, texteDoux), x - 8, y, e.texte, Alignement::droite);
    }
    // A thin rule between the purse and the record, on the rows where they
    // stand side by side: halfway between the bet's slot and the labels.
    const float finMise = MISE.x - X_BACK_TEXTE - 4 + largeurCreux(MISE);
    float debutEtiquettes = l;
    for (const Etiquette& e : petites)
        if (e.r.x < NB_GAGNE.x)
            debutEtiquettes = std::min(debutEtiquettes, local(e.r).first - 8 - mesure(Police::sans, 13, e.texte).largeur);
    const float xFilet = (finMise + debutEtiquettes) / 2, yHaut = MISE.y - Y_BACK_TEXTE,
                yBas = GAIN_TOTAL.y - Y_BACK_TEXTE + 14;
    remplis(im, [=](float x, float y) { return std::max(std::abs(x - xFilet) - 0.5f, std::abs(y - (yHaut + yBas) / 2) - (yBas - yHaut) / 2); },
            uni(avecAlpha(palette::or_, 0.45f)));
    return im;
}

Image backgroundStart()
{
    Image im = feutreFenetre();
    remplis(im, cercle(436, 210, 330), degradeRadial(436, 210, 330, rgb(60, 160, 90, 0.18f), rgb(0, 0, 0, 0)));
    ecris(im, titreOr(74, 26, 96), 436, 96, "Velmora", Alignement::centre);
    ecris(im, style(Police::serifGrasItalique, 19, texteClair), 436, 125, "Vidéo-poker à cinq cartes", Alignement::centre);
    eventail(im, mains({{10, 3}, {11, 3}, {12, 3}, {13, 3}, {14, 3}}), 148, 245, 0.95f, 0.2f);
    eventail(im, mains({{14, 0}, {14, 1}, {14, 2}, {14, 3}}), 726, 245, 0.95f, 0.22f);
    // Under the four buttons (the last at y 318 to 357).
    separateur(im, 436, 384, 200);
    ecris(im, style(Police::sansGras, 17, texteClair), 436, 414, "Cinq cartes, un seul tirage : visez la quinte flush royale !",
          Alignement::centre);
    ecris(im, style(Police::sans, 14, texteDoux), 436, 437, "Vous commencez avec 50 crédits. Une quinte flush royale paye 21 fois la mise.",
          Alignement::centre);
    return im;
}

Image backgroundOption()
{
    Image im = feutreFenetre();
    ecris(im, titreOr(36, 14, 46), 436, 46, "Options", Alignement::centre);

    // The settings; the game draws each one's button at X_REGLAGE, Y_REGLAGES[i].
    panneau(im, 16, 64, 434, 448);
    ecris(im, titreOr(22, 76, 98), 225, 96, "Réglages", Alignement::centre);
    ecris(im, style(Police::sans, 12, texteDoux), 225, 114, "Un clic change le réglage ; il est gardé pour les parties suivantes.",
          Alignement::centre);
    struct Reglage {
        const char* nom;
        const char* description;
    };
    const Reglage reglages[NB_REGLAGES] = {
        {"Conseil", "Marque en or les cartes du meilleur jeu, chiffre votre choix et tient le bilan."},
        {"Même mise", "Chaque main commence avec la mise de la précédente déjà posée."},
        {"Taille de la fenêtre", "× 1 : 872 × 488 points ; × 1,5 ou × 2 pour un grand écran."},
        {"Son", "Jetons, cartes et gains qui s'entendent. Désactivé, le jeu reste muet."},
        {"Animations", "Cartes distribuées une à une, retournées au tirage ; rapides ou aucune."},
    };
    for (int i = 0; i < NB_REGLAGES; ++i) {
        const float haut = Y_REGLAGES[i] - 13;
        if (i > 0)
            remplis(im, rectangleArrondi(32, haut - 1, 418, haut, 0.5f), uni(avecAlpha(palette::or_, 0.3f)));
        ecris(im, style(Police::sansGras, 16, palette::or_), 32, haut + 21, reglages[i].nom);
        paragraphe(im, style(Police::sans, 12, texteClair), 32, haut + 38, X_REGLAGE - 32 - 12, 14,
                   reglages[i].description);
    }

    // The ten combinations, one line each.
    panneau(im, 448, 64, 856, 448);
    ecris(im, style(Police::sansGras, 15, palette::or_), 652, 90, "Les dix combinaisons", Alignement::centre);
    constexpr float haut = 102, pas = 33.8f;
    for (int i = 0; i < 10; ++i) {
        const float y = haut + pas * i;
        if (i % 2 == 0)
            remplis(im, rectangleArrondi(458, y, 846, y + pas, 4), uni(rgb(255, 255, 255, 0.06f)));
        ligneExemple(im, exemples[i], 458, y, 846, pas);
    }
    return im;
}

Image backgroundAide(const std::string& retour)
{
    Image im = feutreFenetre();
    ecris(im, titreOr(36, 12, 44), 280, 44, "Aide", Alignement::centre);
    panneau(im, 16, 60, 548, 362);
    const Style texte = style(Police::sans, 14, texteClair);
    const Style fort = style(Police::sansGras, 14, palette::or_);
    float y = 86;
    ecris(im, fort, 32, y, "Le but : finir la main avec la meilleure combinaison de poker.");
    y += 26;
    const char* etapes[] = {
        "Misez : cliquez sur les jetons de 1 à 200. «\u00a0Tapis\u00a0» mise tout votre crédit, «\u00a0Annuler\u00a0» vous rend la mise.",
        "Cliquez sur Distribuer : vous recevez cinq cartes.",
        "Sous chaque carte, le bouton dit Garder : la carte reste. Cliquez-le pour qu'il dise Changer : la carte sera remplacée.",
        "Cliquez sur Distribuer : les cartes à changer sont remplacées, une seule fois.",
        "La main finale est payée selon la table : mise × multiplicateur. Cliquez sur Rejouer pour la main suivante.",
    };
    for (int i = 0; i < 5; ++i) {
        remplis(im, cercle(40, y - 5, 9), uni(palette::or_));
        ecris(im, style(Police::sansGras, 12, palette::nuit), 40, y - 0.5f, std::to_string(i + 1), Alignement::centre);
        y = paragraphe(im, texte, 58, y, 474, 17, etapes[i]) + 6;
    }
    paragraphe(im, style(Police::sans, 13, texteDoux), 32, y + 2, 500, 16,
               "Une paire rend la mise ; sans combinaison, la mise est perdue. Quand le crédit tombe à zéro, la "
               "partie est terminée et la suivante repart à 50 crédits.");
    if (!retour.empty()) {
        Forme bandeau = rectangleArrondi(28, 326, 536, 350, 6);
        remplis(im, bandeau, uni(avecAlpha(palette::or_, 0.14f)));
        remplis(im, contour(bandeau, 0.8f), uni(avecAlpha(palette::or_, 0.5f)));
        ecris(im, style(Police::sansGras, 14, palette::compteur), 282, 343,
              "Retour au joueur avec le meilleur jeu : " + retour, Alignement::centre);
    }
    // The game prints the web address at SITE_AIDE.
    int base = ligneDeBase(SITE_AIDE);
    pastille(im, 178, SITE_AIDE.y - 5, 462, SITE_AIDE.y + 20);
    ecris(im, style(Police::sansGras, 13, texteClair), SITE_AIDE.x - 7, base, "Site web :", Alignement::droite);
    tableDesGains(im, 566, 24, 860, 394);
    auClavier(im, 124, 406, 860, 482);
    return im;
}

Image backgroundApropos()
{
    Image im = feutreFenetre();
    ecris(im, titreOr(30, 20, 48), 220, 50, "À propos", Alignement::centre);
    panneau(im, 16, 70, 424, 404);
    ecris(im, titreOr(46, 96, 136), 220, 132, "Velmora", Alignement::centre);
    ecris(im, style(Police::serifGrasItalique, 16, texteClair), 220, 156, "Vidéo-poker à cinq cartes", Alignement::centre);
    // The game prints the version at VERSION and the address at SITE_APROPOS.
    pastille(im, 30, VERSION.y - 4, 200, VERSION.y + 26);
    ecris(im, style(Police::sansGras, 18, texteClair), VERSION.x - 9, ligneDeBase(VERSION), "Version",
          Alignement::droite);
    separateur(im, 220, 228, 150);
    float y = paragraphe(im, style(Police::sans, 14, texteClair), 36, 256, 370, 19,
                         "Cinq cartes, un seul tirage, et la table des gains pour tout croupier : misez, gardez "
                         "ou changez vos cartes, et visez la quinte flush royale.");
    paragraphe(im, style(Police::sans, 12, texteDoux), 36, y + 6, 370, 16,
               "Images, icône et tapis dessinés par le programme du jeu. Police : Liberation Sans et DejaVu Sans.");
    pastille(im, 30, SITE_APROPOS.y - 4, 410, SITE_APROPOS.y + 26);
    ecris(im, style(Police::sansGras, 18, texteClair), SITE_APROPOS.x - 8, ligneDeBase(SITE_APROPOS), "Site :",
          Alignement::droite);
    eventail(im, mains({{10, 2}, {11, 2}, {12, 2}, {13, 2}, {14, 2}}), 648, 230, 1.3f, 0.2f);
    ecris(im, titreOr(28, 360, 388), 648, 388, "Bonne chance !", Alignement::centre);
    return im;
}

Image backgroundGameOver()
{
    Image im = feutreFenetre();
    // A pool of light on the middle of the table, fading out before the edges.
    remplis(im, cercle(436, 250, 300), degradeRadial(436, 250, 300, rgb(80, 170, 110, 0.16f), rgb(0, 0, 0, 0)));
    ecris(im, titreOr(46, 30, 72), 436, 72, "Velmora", Alignement::centre);
    separateur(im, 436, 96, 180);
    Style fin = titreOr(54, 118, 166);
    fin.peinture = degradeVertical(118, rgb(255, 120, 110), 166, rgb(170, 20, 30));
    ecris(im, fin, 436, 166, "Partie terminée", Alignement::centre);
    ecris(im, style(Police::sansGras, 20, texteClair), 436, 208, "Vos crédits sont épuisés.", Alignement::centre);
    for (int i = 0; i < 5; ++i) carteTournee(im, dosCarte(), 300 + i * 68, 300, 0.9f, (i - 2) * 0.06f);
    ecris(im, style(Police::sans, 16, texteDoux), 436, 392,
          "Cliquez sur Continuer pour une nouvelle partie de 50 crédits.", Alignement::centre);
    return im;
}

Image banniereHaut(const std::string& titre, const std::string& consigne, Couleur accent)
{
    constexpr int l = LARGEUR_FENETRE - 2 * X_TEXTE_HAUT, h = 80;
    Image im = plaque(l, h, X_TEXTE_HAUT, Y_TEXTE_HAUT, accent);
    ecris(im, titreOr(30, 14, 44), l / 2.0f, 44, titre, Alignement::centre);
    int t = tailleQuiTient(Police::sans, 14, consigne, l - 30);
    ecris(im, style(Police::sans, t, texteClair), l / 2.0f, 66, consigne, Alignement::centre);
    return im;
}

// Both banners below the table are the same size, so either covers the other.
constexpr int LARGEUR_BANNIERE_BAS = 312, HAUTEUR_BANNIERE_BAS = 60;

Image banniereBas(const std::string& titre, const std::string& detail)
{
    constexpr int l = LARGEUR_BANNIERE_BAS;
    Image im = plaque(l, HAUTEUR_BANNIERE_BAS, X_TEXTE_BAS, Y_TEXTE_BAS, rgb(200, 160, 60));
    int t = tailleQuiTient(Police::serifGras, 24, titre, l - 24);
    // The title's descenders, outline and shadow end above the detail line,
    // whose own descenders stay clear of the inner rim.
    ecris(im, titreOr(t, 10, 32), l / 2.0f, 29, titre, Alignement::centre);
    ecris(im, style(Police::sans, 12, texteDoux), l / 2.0f, 49, detail, Alignement::centre);
    return im;
}

Image banniereAide(const std::string& ligne1, const std::string& ligne2)
{
    constexpr int l = LARGEUR_BANNIERE_BAS;
    Image im = plaque(l, HAUTEUR_BANNIERE_BAS, X_TEXTE_BAS, Y_TEXTE_BAS, rgb(60, 140, 200));
    int t = std::min(tailleQuiTient(Police::sans, 14, ligne1, l - 28), tailleQuiTient(Police::sans, 14, ligne2, l - 28));
    ecris(im, style(Police::sansGras, t, texteClair), l / 2.0f, 26, ligne1, Alignement::centre);
    ecris(im, style(Police::sansGras, t, texteClair), l / 2.0f, 45, ligne2, Alignement::centre);
    return im;
}

Image marqueConseil(const Image& jeu)
{
    // Drawn over every slot; the felt is that under the middle one.
    Image im = decoupe(jeu, LARGEUR_MARQUE, HAUTEUR_MARQUE, X_MARQUE + 2 * 91, Y_MARQUE);
    const float l = LARGEUR_MARQUE, h = HAUTEUR_MARQUE;
    Forme f = rectangleArrondi(2.5f, 0.5f, l - 2.5f, h - 0.5f, 5);
    remplis(im, f, degradeVertical(0, palette::orClair, h, palette::or_));
    remplis(im, contour(f, 0.9f), uni(palette::orFonce));
    ecris(im, style(Police::sansGras, 11, palette::nuit), l / 2, h - 4.5f, "à garder", Alignement::centre);
    return im;
}

Image bandeauConseil(const Image& jeu, int y, int hauteur, const std::string& etiquette)
{
    Image im = decoupe(jeu, LARGEUR_BANDEAU, hauteur, X_BANDEAU, y);
    const float h = static_cast<float>(hauteur);
    pastille(im, 0.5f, 0.5f, LARGEUR_BANDEAU - 0.5f, h - 0.5f);
    // A star and the label on the left; the game prints its line after them.
    const float cx = 14, cy = h / 2;
    std::vector<std::pair<float, float>> etoile;
    for (int i = 0; i < 10; ++i) {
        const float a = i * 3.14159265f / 5, r = i % 2 ? 2.6f : 6.0f;
        etoile.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
    }
    remplis(im, polygone(etoile), uni(palette::or_));
    ecris(im, style(Police::sansGras, 13, palette::or_), 25, cy + 4.5f, etiquette);
    remplis(im, rectangleArrondi(83, 4, 84, h - 4, 0.5f), uni(avecAlpha(palette::or_, 0.5f)));
    return im;
}

namespace {

// A thin gold rule across a panel.
void filet(Image& im, float x0, float x1, float y)
{
    remplis(im, rectangleArrondi(x0, y - 0.5f, x1, y + 0.5f, 0.5f), uni(avecAlpha(palette::or_, 0.3f)));
}

// A short sample of a line or a bar, and its name after it.
void legende(Image& im, float x, float y, Couleur couleur, float epaisseur, const char* nom)
{
    remplis(im, rectangleArrondi(x, y - 4 - epaisseur / 2, x + 18, y - 4 + epaisseur / 2, epaisseur / 2), uni(couleur));
    ecris(im, style(Police::sans, 11, texteDoux), x + 23, y, nom);
}

Couleur couleurDe(uint32_t rvb) { return rgb(rvb >> 16 & 0xFF, rvb >> 8 & 0xFF, rvb & 0xFF); }

void panneauRecord(Image& im)
{
    const Cadre& p = PANNEAU_BILAN;
    panneau(im, p.x, p.y, p.x + p.largeur, p.y + p.hauteur);
    ecris(im, style(Police::sansGras, 15, palette::or_), p.x + p.largeur / 2.0f, 90, "Votre bilan", Alignement::centre);
    const char* etiquettes[NB_LIGNES_BILAN] = {
        "Mains jouées",   "Crédits misés",   "Crédits payés",   "Retour réel",           "Retour de vos choix",
        "Retour du meilleur jeu", "Chance",   "Coût des choix",  "Meilleurs choix",       "Parties jouées",
        "Parties perdues", "Meilleur gain",  "Crédit le plus haut", "Séries gagnées / perdues"};
    for (int l = 0; l < NB_LIGNES_BILAN; ++l) {
        const bool fort = l == LIGNE_RETOUR_REEL || l == LIGNE_CHANCE || l == LIGNE_COUT;
        ecris(im, style(fort ? Police::sansGras : Police::sans, 13, fort ? texteClair : texteDoux), X_ETIQUETTE_BILAN,
              LIGNES_BILAN[l], etiquettes[l]);
    }
    // Between the groups: the hands, the returns, luck and skill, the games.
    for (int l : {LIGNE_RETOUR_REEL, LIGNE_CHANCE, LIGNE_PARTIES})
        filet(im, p.x + 14, p.x + p.largeur - 14, (LIGNES_BILAN[l - 1] + LIGNES_BILAN[l]) / 2.0f - 4);
}

void panneauMains(Image& im)
{
    const Cadre& p = PANNEAU_MAINS;
    const float droite = p.x + p.largeur;
    panneau(im, p.x, p.y, droite, p.y + p.hauteur);
    ecris(im, style(Police::sansGras, 15, palette::or_), X_NOM_MAIN, 88, "Les mains contre les probabilités");
    legende(im, 650, 87, couleurDe(COULEUR_JOUEUR), 6, "vos mains");
    legende(im, 738, 87, couleurDe(COULEUR_EXACTE), 4, "meilleur jeu");
    const Style titre = style(Police::sans, 11, texteDoux);
    ecris(im, titre, X_NOM_MAIN, Y_TITRES_COLONNES, "Combinaison");
    ecris(im, titre, X_NOMBRE_MAIN, Y_TITRES_COLONNES, "Mains", Alignement::droite);
    ecris(im, titre, X_PART_MAIN, Y_TITRES_COLONNES, "Vous", Alignement::droite);
    ecris(im, titre, X_PART_EXACTE, Y_TITRES_COLONNES, "Exact", Alignement::droite);
    const float bas = Y_PREMIERE_MAIN + NB_LIGNES_MAINS * HAUTEUR_MAIN;
    for (int rang = 0; rang < NB_LIGNES_MAINS; ++rang) {
        const float y = Y_PREMIERE_MAIN + rang * HAUTEUR_MAIN;
        if (rang % 2 == 0)
            remplis(im, rectangleArrondi(p.x + 8, y, droite - 8, y + HAUTEUR_MAIN, 3), uni(rgb(255, 255, 255, 0.06f)));
        const int c = NB_LIGNES_MAINS - 1 - rang;
        ecris(im, style(c >= 7 ? Police::sansGras : Police::sans, TAILLE_MAIN, texteClair), X_NOM_MAIN,
              y + TAILLE_MAIN, nomsCombinaisons[c]);
    }
    // The decades of the bars' scale, from 0,001 % at the left end to 100 %,
    // one in two labelled.
    const char* decades[DECADES + 1] = {"", "0,01 %", "", "1 %", "", "100 %"};
    for (int k = 0; k <= DECADES; ++k) {
        const float x = X_BARRES + static_cast<float>(k) * LARGEUR_BARRES / DECADES;
        remplis(im, rectangleArrondi(x - 0.5f, Y_PREMIERE_MAIN - 2, x + 0.5f, bas + 1, 0.5f),
                uni(avecAlpha(palette::or_, 0.22f)));
        ecris(im, style(Police::sans, 10, texteDoux), k < DECADES ? x : droite - 6, Y_TITRES_COLONNES, decades[k],
              k < DECADES ? Alignement::centre : Alignement::droite);
    }
}

void panneauCourbe(Image& im)
{
    const Cadre& p = PANNEAU_COURBE;
    panneau(im, p.x, p.y, p.x + p.largeur, p.y + p.hauteur);
    ecris(im, style(Police::sansGras, 15, palette::or_), X_NOM_MAIN, p.y + 22, "Crédit de la partie en cours");
    legende(im, 600, p.y + 21, couleurDe(COULEUR_JOUEUR), 2.2f, "votre crédit");
    legende(im, 690, p.y + 21, couleurDe(COULEUR_EXACTE), 1.8f, "attendu de vos choix");
    const Cadre& z = ZONE_COURBE;
    remplis(im, rectangleArrondi(z.x, z.y - 6, z.x + z.largeur + 6, z.y + z.hauteur, 3), uni(rgb(0, 0, 0, 0.22f)));
}

}  // namespace

Image backgroundBilan()
{
    Image im = feutreFenetre();
    ecris(im, titreOr(36, 14, 46), 436, 46, "Statistiques", Alignement::centre);
    panneauRecord(im);
    panneauMains(im);
    panneauCourbe(im);
    // Between Back and Clear: what the two lines of luck and skill mean.
    const Style note = style(Police::sans, 11, texteDoux);
    ecris(im, note, 436, 467, "Chance : ce que les cartes ont payé de plus que vos choix ne valaient en moyenne.",
          Alignement::centre);
    ecris(im, note, 436, 481,
          "Coût des choix : ce que le meilleur jeu aurait valu de plus. "
          "Exact : la part de chaque main avec le meilleur jeu.",
          Alignement::centre);
    return im;
}

Image fondConfirmation(const Image& bilan)
{
    // The screen under the question, darkened as the game's veil darkens it.
    Image im = bilan;
    const float reste = 1.0f - OPACITE_VOILE / 255.0f;
    for (Couleur& c : im.pixels) c = Couleur{c.r * reste, c.g * reste, c.b * reste, 1};
    const Cadre& q = CONFIRMATION;
    Image plaqueQuestion = plaque(q.largeur, q.hauteur, q.x, q.y, rgb(220, 40, 40));
    // The plate's own corners were blended into the felt: over the veil they come from it instead.
    Image sur = decoupe(im, q.largeur, q.hauteur, q.x, q.y);
    Forme forme = rectangleArrondi(1.5f, 1.5f, q.largeur - 1.5f, q.hauteur - 1.5f, 12);
    for (int y = 0; y < q.hauteur; ++y)
        for (int x = 0; x < q.largeur; ++x) {
            const float couverture = std::clamp(0.5f - forme(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
            sur.at(x, y) = melange(sur.at(x, y), plaqueQuestion.at(x, y), couverture);
        }
    const float cx = q.largeur / 2.0f;
    ecris(sur, titreOr(24, 22, 46), cx, 46, "Effacer les statistiques ?", Alignement::centre);
    const Style texte = style(Police::sans, 14, texteClair);
    ecris(sur, texte, cx, 74, "Les mains, les retours, les records et la courbe", Alignement::centre);
    ecris(sur, texte, cx, 93, "repartent de zéro. On ne peut pas revenir en arrière.", Alignement::centre);
    colle(im, sur, q.x, q.y);
    return im;
}

Image confirmation(const Image& fond)
{
    const Cadre& q = CONFIRMATION;
    Image im = decoupe(fond, q.largeur, q.hauteur, q.x, q.y);
    Forme forme = rectangleArrondi(1.5f, 1.5f, q.largeur - 1.5f, q.hauteur - 1.5f, 12);
    for (int y = 0; y < q.hauteur; ++y)
        for (int x = 0; x < q.largeur; ++x) {
            Couleur& p = im.at(x, y);
            if (forme(x + 0.5f, y + 0.5f) >= 0.5f) {
                p = rgb(0, 150, 0);  // the game's colour key: the veiled screen shows through
            } else if (octet(p.r) == 0 && octet(p.g) == 150 && octet(p.b) == 0) {
                p.b += 1.0f / 255;
            }
        }
    return im;
}
