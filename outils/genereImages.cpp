// Draws every picture of the game into <output-dir>/image/: the 152 bitmaps
// and the window icon.
//
//   genereImages <output-dir> [--retour TEXT] [--icones DIR]
//
// --retour gives the return to the player under the best play, as the Help
// screen shows it ("99,12 %"); without it that line is left out. --icones
// also draws the desktop icon at 32, 64, 128 and 256 pixels into
// DIR/<size>x<size>/apps/velmora.png.
#include "fonds.h"
#include "placesBilan.h"
#include "theme.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

struct Sortie {
    std::string racine;  // <output-dir>/image/
    int ecrits = 0, echecs = 0;

    void bmp(const std::string& nom, const Image& im)
    {
        if (ecrisBmp(im, racine + nom)) {
            ++ecrits;
        } else {
            ++echecs;
            std::fprintf(stderr, "genereImages: cannot write %s%s\n", racine.c_str(), nom.c_str());
        }
    }
    void png(const std::string& chemin, const Image& im)
    {
        if (!ecrisPng(im, chemin)) {
            ++echecs;
            std::fprintf(stderr, "genereImages: cannot write %s\n", chemin.c_str());
        }
    }
};

// Buttons: file stem, size, window position, caption up and pressed, looks.
struct Bouton {
    const char* nom;
    int largeur, hauteur, x, y;
    const char* texteUp;
    const char* texteDown;
    const Teinte* up;
    const Teinte* down;
    int taille;
    bool accueil;  // stands on the start screen's light rather than the plain felt
};

const std::array<Bouton, 11> boutons = {{
    {"boutonAide", 110, 29, 6, 425, "Aide", "Aide", &teinte::bordeaux, &teinte::bordeaux, 14, false},
    {"boutonApropo", 110, 29, 6, 456, "À propos", "À propos", &teinte::bordeaux, &teinte::bordeaux, 14, false},
    {"boutonRetour", 110, 29, 6, 456, "Retour", "Retour", &teinte::bordeaux, &teinte::bordeaux, 14, false},
    {"boutonContinuer", 110, 29, 6, 456, "Continuer", "Continuer", &teinte::or_, &teinte::or_, 14, false},
    {"boutonCarte", 154, 39, 385, 440, "Distribuer", "Distribuer", &teinte::or_, &teinte::or_, 19, false},
    {"boutonRejouer", 154, 39, 385, 440, "Rejouer", "Rejouer", &teinte::or_, &teinte::or_, 19, false},
    {"boutonNewGame", 306, 39, 282, 143, "Nouvelle partie", "Nouvelle partie", &teinte::bordeaux, &teinte::bordeaux, 19, true},
    {"boutonResume", 306, 39, 282, 202, "Reprendre", "Reprendre", &teinte::bordeaux, &teinte::bordeaux, 19, true},
    {"boutonOption", 306, 39, 282, 260, "Options", "Options", &teinte::bordeaux, &teinte::bordeaux, 19, true},
    {"boutonStatistiques", 306, 39, 282, 318, "Statistiques", "Statistiques", &teinte::bordeaux, &teinte::bordeaux, 19,
     true},
    {"boutonEffacer", 110, 29, BOUTON_EFFACER.x, BOUTON_EFFACER.y, "Effacer", "Effacer", &teinte::bordeaux,
     &teinte::bordeaux, 14, false},
}};

// The hold button is drawn under the five cards; its corners are blended
// into the felt under the middle one.
constexpr int X_GARDER = 238, Y_GARDER = 321;

void genereBoutons(Sortie& s, const Image& accueil)
{
    for (const Bouton& b : boutons) {
        std::string nom = std::string("bouton/") + b.nom;
        const Image* dessous = b.accueil ? &accueil : nullptr;
        s.bmp(nom + "Up.bmp", bouton(b.largeur, b.hauteur, b.x, b.y, b.texteUp, *b.up, false, b.taille, dessous));
        s.bmp(nom + "Down.bmp", bouton(b.largeur, b.hauteur, b.x, b.y, b.texteDown, *b.down, true, b.taille, dessous));
    }
    // Up, the card is kept; pressed, it goes at the draw.
    s.bmp("bouton/boutonGarderUp.bmp", bouton(72, 17, X_GARDER, Y_GARDER, "Garder", teinte::ivoire, false, 12));
    s.bmp("bouton/boutonGarderDown.bmp", bouton(72, 17, X_GARDER, Y_GARDER, "Changer", teinte::rouge, true, 12));
    // Disabled looks: flat grey, no plinth to press.
    s.bmp("bouton/boutonCarteDisa.bmp", bouton(154, 39, 385, 440, "Distribuer", teinte::gris, true, 19));
    Image ferme = bouton(306, 39, 282, 202, "Reprendre", teinte::gris, true, 19, &accueil);
    // A padlock beside the caption says the game cannot be resumed.
    const float cx = 92, cy = 25;
    remplis(ferme, anneau(cx, cy - 8, 4.5f, 2.0f), uni(rgb(150, 152, 150)));
    remplis(ferme, rectangleArrondi(cx - 7, cy - 6, cx + 7, cy + 5, 2), uni(rgb(150, 152, 150)));
    remplis(ferme, cercle(cx, cy - 1.5f, 1.6f), uni(rgb(80, 82, 80)));
    s.bmp("bouton/boutonResumeClose.bmp", ferme);
}

// The Option screen's settings, one picture per state; a setting's button is
// lit when it adds something to the table.
void genereReglages(Sortie& s, const Image& option)
{
    struct Etat {
        const char* nom;
        int ligne;
        const char* texte;
        const Teinte* teinte;
    };
    const Etat etats[] = {
        {"ConseilNon", 0, "Désactivé", &teinte::bordeaux}, {"ConseilOui", 0, "Activé", &teinte::or_},
        {"MemeMiseNon", 1, "Désactivée", &teinte::bordeaux}, {"MemeMiseOui", 1, "Activée", &teinte::or_},
        {"Fenetre1", 2, "× 1", &teinte::bordeaux}, {"Fenetre15", 2, "× 1,5", &teinte::bordeaux},
        {"Fenetre2", 2, "× 2", &teinte::bordeaux},
        {"SonNon", 3, "Désactivé", &teinte::bordeaux}, {"SonOui", 3, "Activé", &teinte::or_},
        {"AnimationsNormales", 4, "Normales", &teinte::or_}, {"AnimationsRapides", 4, "Rapides", &teinte::or_},
        {"AnimationsAucune", 4, "Aucune", &teinte::bordeaux},
    };
    for (const Etat& e : etats)
        s.bmp(std::string("bouton/bouton") + e.nom + ".bmp",
              bouton(LARGEUR_REGLAGE, HAUTEUR_REGLAGE, X_REGLAGE, Y_REGLAGES[e.ligne], e.texte, *e.teinte, false, 17,
                     &option));
}

// The statistics screen's question and its two answers, over the veiled screen.
void genereConfirmation(Sortie& s, const Image& bilan)
{
    const Image fond = fondConfirmation(bilan);
    s.bmp("bilan/confirmation.bmp", confirmation(fond));
    const Cadre& oui = BOUTON_OUI;
    const Cadre& non = BOUTON_NON;
    for (bool enfonce : {false, true}) {
        const std::string look = enfonce ? "Down.bmp" : "Up.bmp";
        s.bmp("bouton/boutonOui" + look,
              bouton(oui.largeur, oui.hauteur, oui.x, oui.y, "Oui, effacer", teinte::rouge, enfonce, 16, &fond));
        s.bmp("bouton/boutonNon" + look,
              bouton(non.largeur, non.hauteur, non.x, non.y, "Non, garder", teinte::or_, enfonce, 16, &fond));
    }
}

// The table under the card slots, and the pay table's rows lit, by the
// combinations' file names.
void genereTable(Sortie& s, const Image& jeu)
{
    s.bmp("carte/places.bmp", placesCartes(jeu));
    constexpr std::array<const char*, 10> noms = {"",        "Paire",     "DoublePaire", "Brelan",      "Suite",
                                                  "Couleur", "FullHouse", "Carre",       "QuinteFlush", "QuinteFlushRoyal"};
    for (int c = 1; c < 10; ++c) s.bmp(std::string("gains/ligne") + noms[c] + ".bmp", ligneGain(c));
}

// The coach's mark and its two strips, on the table.
void genereConseil(Sortie& s, const Image& jeu)
{
    s.bmp("conseil/marque.bmp", marqueConseil(jeu));
    s.bmp("conseil/choix.bmp", bandeauConseil(jeu, Y_BANDEAU_BAS, HAUTEUR_BANDEAU_BAS, "Conseil"));
    s.bmp("conseil/bilan.bmp", bandeauConseil(jeu, Y_BANDEAU_HAUT, HAUTEUR_BANDEAU_HAUT, "Bilan"));
}

struct Jeton {
    const char* nom;
    int x, y;
    DescriptionJeton d;
};

const std::array<Jeton, 10> jetons = {{
    {"1", 46, 209, {"1", rgb(236, 236, 232), rgb(40, 80, 170), rgb(40, 80, 170)}},
    {"2", 129, 209, {"2", rgb(236, 190, 40), rgb(255, 255, 255), rgb(150, 100, 0)}},
    {"5", 212, 209, {"5", rgb(196, 30, 40), rgb(255, 255, 255), rgb(170, 20, 30)}},
    {"10", 295, 209, {"10", rgb(36, 84, 190), rgb(255, 255, 255), rgb(30, 70, 170)}},
    {"20", 46, 292, {"20", rgb(232, 120, 30), rgb(255, 255, 255), rgb(190, 90, 10)}},
    {"50", 129, 292, {"50", rgb(120, 52, 170), rgb(255, 255, 255), rgb(110, 40, 160)}},
    {"100", 212, 292, {"100", rgb(34, 34, 40), rgb(230, 190, 80), rgb(30, 30, 36)}},
    {"200", 295, 292, {"200", rgb(220, 80, 150), rgb(255, 255, 255), rgb(180, 40, 110)}},
    {"Allin", 400, 209, {"TAPIS", rgb(214, 170, 50), rgb(40, 30, 10), rgb(120, 80, 0)}},
    {"Reset", 400, 292, {"ANNULER", rgb(150, 156, 166), rgb(40, 44, 52), rgb(50, 56, 66)}},
}};

// The colour key of the chips: the game does not copy pixels of this value.
constexpr uint8_t CLE_R = 0, CLE_G = 150, CLE_B = 0;

// The chip on the table under its own position, and every pixel outside the
// disc set to the key: the rim is blended into the table, not into the key.
// The pressed chip is smaller and lower than the raised one it is drawn over,
// so it keys only what lies outside both discs: where the raised chip alone
// stood, it shows the table.
Image jetonAvecCle(const Image& calque, const Image& leve, const Image& table, int x0, int y0)
{
    Image im = decoupe(table, calque.largeur, calque.hauteur, x0, y0);
    colle(im, calque, 0, 0);
    for (size_t i = 0; i < im.pixels.size(); ++i) {
        Couleur& p = im.pixels[i];
        if (calque.pixels[i].a <= 0.0f && leve.pixels[i].a <= 0.0f) {
            p = rgb(CLE_R, CLE_G, CLE_B);
        } else if (octet(p.r) == CLE_R && octet(p.g) == CLE_G && octet(p.b) == CLE_B) {
            p.b += 1.0f / 255;  // a chip pixel must never turn transparent
        }
    }
    return im;
}

void genereJetons(Sortie& s, const Image& table)
{
    for (const Jeton& j : jetons) {
        std::string nom = std::string("jeton/jeton") + j.nom;
        const Image leve = jeton(j.d, false);
        s.bmp(nom + "Up.bmp", jetonAvecCle(leve, leve, table, j.x, j.y));
        s.bmp(nom + "Down.bmp", jetonAvecCle(jeton(j.d, true), leve, table, j.x, j.y));
    }
}

// Cards lie at x 61 + 91 i, y 221; their corners are blended into the felt
// under the middle slot.
constexpr int X_CARTE = 243, Y_CARTE = 221;

void genereCartes(Sortie& s)
{
    constexpr std::array<const char*, 4> suits = {"Trefle", "Carreau", "Coeur", "Pique"};
    constexpr std::array<const char*, 13> rangs = {"2", "3", "4", "5", "6", "7", "8",
                                                   "9", "10", "J", "Q", "K", "as"};
    for (int v = 2; v <= 14; ++v)
        for (int c = 0; c < 4; ++c)
            s.bmp(std::string("carte/") + rangs[v - 2] + suits[c] + ".bmp", surFeutre(carte(v, c), X_CARTE, Y_CARTE));
    s.bmp("carte/back.bmp", surFeutre(dosCarte(), X_CARTE, Y_CARTE));
}

void genereTextes(Sortie& s)
{
    s.bmp("texte/texteMise.bmp", banniereHaut("Faites vos jeux", "Misez avec les jetons, puis cliquez sur Distribuer.",
                                              rgb(60, 140, 200)));
    s.bmp("texte/texteFirstHand.bmp",
          banniereHaut("Gardez ou changez", "Cliquez sous une carte pour la changer, puis sur Distribuer.",
                       rgb(60, 140, 200)));
    s.bmp("texte/texteWin.bmp", banniereHaut("Gagné !", "Cliquez sur Rejouer pour la main suivante.", rgb(60, 200, 90)));
    s.bmp("texte/texteLoose.bmp",
          banniereHaut("Perdu", "Aucune combinaison : la mise est perdue. Cliquez sur Rejouer.", rgb(220, 40, 40)));
    s.bmp("texte/texteAide.bmp",
          banniereAide("1. Misez avec les jetons, puis Distribuer.", "2. Choisissez les cartes à changer, puis Distribuer."));
    constexpr std::array<const char*, 10> fichiers = {"Rien",    "Paire",      "DoublePaire", "Brelan",      "Suite",
                                                      "Couleur", "FullHouse", "Carre",       "QuinteFlush", "QuinteFlushRoyal"};
    constexpr std::array<const char*, 10> details = {
        "aucune combinaison",       "la mise est rendue",       "paye 2 fois la mise", "paye 3 fois la mise",
        "paye 4 fois la mise",      "paye 5 fois la mise",      "paye 6 fois la mise", "paye 9 fois la mise",
        "paye 11 fois la mise",     "paye 21 fois la mise"};
    for (int c = 0; c < 10; ++c)
        s.bmp(std::string("texte/combinaison/texte") + fichiers[c] + ".bmp", banniereBas(nomsCombinaisons[c], details[c]));
}

// The backgrounds that pictures stand on: the start screen's buttons, the
// option screen's settings, the table's chips and the statistics' question.
struct Fonds {
    Image accueil, option, jeu, bilan;
};

Fonds genereFonds(Sortie& s, const std::string& retour)
{
    Fonds f{backgroundStart(), backgroundOption(), backgroundJeu(), backgroundBilan()};
    s.bmp("backgroundBilan.bmp", f.bilan);
    s.bmp("backgroundStart.bmp", f.accueil);
    s.bmp("backgroundOption.bmp", f.option);
    s.bmp("backgroundJeu.bmp", f.jeu);
    s.bmp("backgroundApropos.bmp", backgroundApropos());
    s.bmp("backgroundAide.bmp", backgroundAide(retour));
    s.bmp("backgroundGameOver.bmp", backgroundGameOver());
    s.bmp("backTexte.bmp", backTexte());
    return f;
}

// An ace of spades over a heart card, on a green rounded square, drawn on a
// 32-pixel grid scaled to the size asked for.
Image icone(int taille)
{
    const float k = taille / 32.0f;
    Image im(taille, taille);
    Forme fond = rectangleArrondi(0.5f * k, 0.5f * k, 31.5f * k, 31.5f * k, 6 * k);
    remplis(im, fond, degradeVertical(0, rgb(24, 120, 68), 32 * k, rgb(8, 60, 34)));
    remplis(im, contour(fond, 1.0f * k), uni(palette::or_));
    auto petiteCarte = [&](float x, float y, int couleur, float dx, float dy, float taillePip) {
        x *= k;
        y *= k;
        dx *= k;
        dy *= k;
        Forme c = rectangleArrondi(x, y, x + 15 * k, y + 21 * k, 2.5f * k);
        remplis(im, rectangleArrondi(x + k, y + 1.5f * k, x + 16 * k, y + 22.5f * k, 2.5f * k),
                uni(rgb(0, 0, 0, 0.35f)));
        remplis(im, c, uni(palette::creme));
        remplis(im, contour(c, 0.7f * k), uni(rgb(120, 110, 90)));
        const int corps = static_cast<int>(taillePip * k);
        Mesure m = mesure(Police::symboles, corps, symbole(couleur));
        ecris(im, Police::symboles, corps, x + dx - m.largeur / 2.0f, y + dy + corps * 0.36f, symbole(couleur),
              couleurEncre(couleur));
    };
    petiteCarte(4.5f, 4.5f, 2, 5.5f, 6.0f, 11);  // the heart peeps out above the spade
    petiteCarte(12.5f, 7.5f, 3, 7.5f, 10.5f, 14);
    return im;
}

// The window icon the game loads, and the desktop's icons in the hicolor
// theme's layout (software centres want 64 x 64 at least).
void genereIcones(Sortie& s, const std::string& icones)
{
    s.png(s.racine + "icon.png", icone(32));
    for (int taille : {32, 64, 128, 256}) {
        if (icones.empty()) {
            return;
        }
        const std::string dossier = icones + "/" + std::to_string(taille) + "x" + std::to_string(taille) + "/apps";
        std::error_code erreur;
        std::filesystem::create_directories(dossier, erreur);
        s.png(dossier + "/velmora.png", icone(taille));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string sortie, retour, icones;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--retour") == 0 && i + 1 < argc)
            retour = argv[++i];
        else if (std::strcmp(argv[i], "--icones") == 0 && i + 1 < argc)
            icones = argv[++i];
        else if (sortie.empty() && argv[i][0] != '-')
            sortie = argv[i];
        else {
            std::fprintf(stderr, "usage: genereImages <output-dir> [--retour TEXT] [--icones DIR]\n");
            return 2;
        }
    }
    if (sortie.empty()) {
        std::fprintf(stderr, "usage: genereImages <output-dir> [--retour TEXT] [--icones DIR]\n");
        return 2;
    }
    std::error_code erreur;
    for (const char* rep : {"image/bouton", "image/jeton", "image/carte", "image/texte/combinaison", "image/conseil",
                        "image/gains", "image/bilan"})
        std::filesystem::create_directories(std::filesystem::path(sortie) / rep, erreur);
    if (!ouvrePolices()) return 1;
    Sortie s{(std::filesystem::path(sortie) / "image").string() + "/"};
    const Fonds fonds = genereFonds(s, retour);
    genereBoutons(s, fonds.accueil);
    genereReglages(s, fonds.option);
    genereConseil(s, fonds.jeu);
    genereTable(s, fonds.jeu);
    genereConfirmation(s, fonds.bilan);
    genereJetons(s, fonds.jeu);
    genereCartes(s);
    genereTextes(s);
    genereIcones(s, icones);
    fermePolices();
    return s.echecs == 0 ? 0 : 1;
}
