// velmora-conseil: which cards to hold, and what the game returns, computed
// exactly for the game's own pay table.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>

#include "analyseConseil.h"
#include "gestionCarte.h"
#include "gestionMiseGain.h"

namespace {

__extension__ typedef unsigned __int128 Grand;

constexpr int32_t SORTIE_ENTREE_INVALIDE = 2;

constexpr std::array<const char*, 13> nomsRangs = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "V", "D", "R", "A"};
constexpr std::array<char, 4> nomsCouleurs = {'T', 'K', 'C', 'P'};
constexpr std::array<const char*, NB_COMBINAISONS> nomsCombinaisons = {
    "Rien", "Paire", "DoublePaire", "Brelan", "Suite",
    "Couleur", "FullHouse", "Carre", "QuinteFlush", "QuinteFlushRoyal"};

constexpr const char* aide =
    "Usage : velmora-conseil CARTE CARTE CARTE CARTE CARTE\n"
    "        velmora-conseil --retour [--court]\n"
    "        velmora-conseil --help | --version\n"
    "\n"
    "Conseil de garde pour Velmora, calcule exactement avec la table de paiement du jeu.\n"
    "\n"
    "Avec cinq cartes : les 32 facons de les garder, de la meilleure a la moins bonne,\n"
    "chacune avec son gain moyen par credit mise, en fraction exacte et en decimal ;\n"
    "les cartes de remplacement sont tirees parmi les 47 cartes non vues. La meilleure\n"
    "garde est marquee d'une etoile, une carte echangee s'affiche \"--\".\n"
    "\n"
    "Une carte s'ecrit valeur puis couleur, sans espace, en majuscules ou minuscules :\n"
    "  valeurs  : 2 3 4 5 6 7 8 9 10, V (valet), D (dame), R (roi), A (as)\n"
    "  couleurs : T (trefle), K (carreau), C (coeur), P (pique)\n"
    "  exemple  : velmora-conseil AP RP DP VP 10P   (quinte flush royale a pique)\n"
    "\n"
    "  --retour  le retour exact du jeu sur toutes les mains servies quand la\n"
    "            meilleure garde est toujours jouee, celui de la main servie\n"
    "            toujours gardee, et la repartition des mains finales\n"
    "  --court   avec --retour : une seule ligne, le retour sous la meilleure\n"
    "            garde en pourcentage, par exemple \"99,12 %\"\n"
    "  --help    cette aide\n"
    "  --version la version\n"
    "\n"
    "Code de sortie : 0, ou 2 pour une entree invalide (nombre de cartes, carte\n"
    "inconnue, carte en double, option inconnue).\n";

// The card of this text (id 1 to 52), or 0 if it names none.
int32_t lisCarte(const char* texte)
{
    const size_t longueur = std::strlen(texte);
    if (longueur < 2 || longueur > 3) {
        return 0;
    }
    std::string rang(texte, longueur - 1);
    std::transform(rang.begin(), rang.end(), rang.begin(), [](unsigned char x) { return std::toupper(x); });
    const char couleur = static_cast<char>(std::toupper(static_cast<unsigned char>(texte[longueur - 1])));
    const auto r = std::find_if(nomsRangs.begin(), nomsRangs.end(), [&rang](const char* nom) { return rang == nom; });
    const auto s = std::find(nomsCouleurs.begin(), nomsCouleurs.end(), couleur);
    if (r == nomsRangs.end() || s == nomsCouleurs.end()) {
        return 0;
    }
    return idCarte(static_cast<int32_t>(r - nomsRangs.begin()) + 2, static_cast<int32_t>(s - nomsCouleurs.begin()));
}

std::string ecritCarte(int32_t id)
{
    return std::string(nomsRangs[(id - 1) / 4]) + nomsCouleurs[(id - 1) % 4];
}

// num / den rounded to `decimales` places, with a decimal comma.
std::string ecritDecimal(Grand num, Grand den, int32_t decimales)
{
    Grand echelle = 1;
    for (int32_t i = 0; i < decimales; ++i) {
        echelle *= 10;
    }
    const Grand arrondi = (num * echelle + den / 2) / den;
    std::string texte = std::to_string(static_cast<uint64_t>(arrondi / echelle));
    if (decimales > 0) {
        std::string fraction = std::to_string(static_cast<uint64_t>(arrondi % echelle));
        texte += ',' + std::string(static_cast<size_t>(decimales) - fraction.size(), '0') + fraction;
    }
    return texte;
}

// num / den in lowest terms; an integer is written alone.
std::string ecritFraction(uint64_t num, uint64_t den)
{
    const uint64_t d = std::gcd(num, den);
    const uint64_t n = d == 0 ? 0 : num / d;
    const uint64_t q = d == 0 ? 1 : den / d;
    return q == 1 ? std::to_string(n) : std::to_string(n) + "/" + std::to_string(q);
}

int32_t erreur(const char* message, const char* detail)
{
    std::fprintf(stderr, "velmora-conseil : %s%.24s (voir velmora-conseil --help)\n", message, detail);
    return SORTIE_ENTREE_INVALIDE;
}

void afficheGardes(const TablesConseil* tables, const int32_t* ids)
{
    std::array<Garde, NB_GARDES> gardes;
    analyseGardes(tables, ids, gardes.data());
    std::sort(gardes.begin(), gardes.end(), [](const Garde& a, const Garde& b) { return gardeMeilleure(&a, &b); });

    std::printf("Main servie :");
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        std::printf(" %s", ecritCarte(ids[i]).c_str());
    }
    std::printf("\nGain moyen par credit mise pour chaque garde, la meilleure en premier (*) :\n");
    for (const Garde& g : gardes) {
        std::string cartes;
        for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
            char carte[8];
            std::snprintf(carte, sizeof carte, "%-4s", ((g.garde >> i) & 1) ? ecritCarte(ids[i]).c_str() : "--");
            cartes += carte;
        }
        std::printf("%c %s  %-18s %s\n", &g == &gardes[0] ? '*' : ' ', cartes.c_str(),
                    ecritFraction(static_cast<uint64_t>(g.gain), static_cast<uint64_t>(g.nbTirages)).c_str(),
                    ecritDecimal(static_cast<Grand>(g.gain), static_cast<Grand>(g.nbTirages), 6).c_str());
    }
}

std::string pourcentage(uint64_t num, uint64_t den)
{
    return ecritDecimal(static_cast<Grand>(num) * 100, den, 2) + " %";
}

void afficheRetour(const RetourConseil* r)
{
    std::printf("Retour pour un credit mise, sur les %d mains servies (%d a l'echange des couleurs pres) :\n",
                NB_MAINS, r->nbClasses);
    std::printf("  meilleure garde       %s\n                        = %s (%s)\n",
                ecritFraction(r->gainMeilleur, r->denominateur).c_str(),
                ecritDecimal(r->gainMeilleur, r->denominateur, 10).c_str(),
                pourcentage(r->gainMeilleur, r->denominateur).c_str());
    std::printf("  main servie gardee    %s\n                        = %s (%s)\n",
                ecritFraction(r->gainMainServie, NB_MAINS).c_str(), ecritDecimal(r->gainMainServie, NB_MAINS, 10).c_str(),
                pourcentage(r->gainMainServie, NB_MAINS).c_str());
    std::printf("\nMains finales sous la meilleure garde (mains servies pour comparaison) :\n");
    std::printf("  %-17s %4s  %-14s %-14s %8s  %s\n", "combinaison", "gain", "probabilite", "part du retour",
                "servies", "probabilite exacte");
    for (int32_t c = NB_COMBINAISONS - 1; c >= 0; --c) {
        const uint64_t n = r->distribution[c];
        std::printf("  %-17s %4d  %-14s %-14s %8u  %s\n", nomsCombinaisons[c], multiplicateurs[c],
                    ecritDecimal(n, r->denominateur, 10).c_str(),
                    ecritDecimal(static_cast<Grand>(n) * multiplicateurs[c], r->denominateur, 10).c_str(),
                    r->mainsServies[c], ecritFraction(n, r->denominateur).c_str());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool retour = false;
    bool court = false;
    int32_t ids[NB_CARTES_MAIN] = {};
    int32_t nbCartes = 0;
    std::array<bool, NB_CARTES + 1> vue{};
    for (int32_t i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            std::fputs(aide, stdout);
            return 0;
        }
        if (std::strcmp(argument, "--version") == 0) {
            std::puts("velmora-conseil " VELMORA_VERSION);
            return 0;
        }
        if (std::strcmp(argument, "--retour") == 0) {
            retour = true;
        } else if (std::strcmp(argument, "--court") == 0) {
            court = true;
        } else if (argument[0] == '-') {
            return erreur("option inconnue ", argument);
        } else {
            const int32_t id = lisCarte(argument);
            if (id == 0) {
                return erreur("carte inconnue ", argument);
            }
            if (vue[id]) {
                return erreur("carte en double ", argument);
            }
            vue[id] = true;
            if (nbCartes < NB_CARTES_MAIN) {
                ids[nbCartes] = id;
            }
            ++nbCartes;
        }
    }
    if (court && !retour) {
        return erreur("--court s'emploie avec --retour", "");
    }
    if (retour && nbCartes > 0) {
        return erreur("--retour ne prend pas de cartes", "");
    }
    if (!retour && nbCartes != NB_CARTES_MAIN) {
        const std::string compte = std::to_string(nbCartes) + (nbCartes > 1 ? " donnees" : " donnee");
        return erreur("il faut cinq cartes, ", compte.c_str());
    }

    TablesConseil tables;
    initTablesConseil(&tables);
    if (!retour) {
        afficheGardes(&tables, ids);
        return 0;
    }
    RetourConseil r;
    analyseRetour(&tables, &r);
    if (court) {
        std::printf("%s\n", pourcentage(r.gainMeilleur, r.denominateur).c_str());
    } else {
        afficheRetour(&r);
    }
    return 0;
}
