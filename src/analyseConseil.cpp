#include "analyseConseil.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <numeric>

#include "gestionCarte.h"
#include "gestionMiseGain.h"

namespace {

using Binomes = std::array<std::array<int64_t, NB_CARTES_MAIN + 1>, NB_CARTES + 1>;

// binomes[n][k] = C(n, k), for the set sizes used here.
constexpr Binomes binomes = [] {
    Binomes b{};
    for (int32_t n = 0; n <= NB_CARTES; ++n) {
        b[n][0] = 1;
        for (int32_t k = 1; k <= NB_CARTES_MAIN && n > 0; ++k) {
            b[n][k] = b[n - 1][k - 1] + b[n - 1][k];
        }
    }
    return b;
}();
static_assert(binomes[NB_CARTES][NB_CARTES_MAIN] == NB_MAINS);

// Every deal is counted over C(47, k) draws for some k; this multiple of all
// of them puts the payouts of every deal over one denominator.
constexpr uint64_t PPCM_TIRAGES = [] {
    uint64_t p = 1;
    for (int32_t k = 0; k <= NB_CARTES_MAIN; ++k) {
        p = std::lcm(p, static_cast<uint64_t>(binomes[NB_INCONNUES][k]));
    }
    return p;
}();

constexpr uint64_t MULTIPLICATEUR_MAX = static_cast<uint64_t>(*std::max_element(multiplicateurs.begin(), multiplicateurs.end()));

// The largest sum kept in a RetourConseil is the return itself, at most the
// top multiplier times the denominator (about 4.2e14 for 21): far from 2^64.
static_assert(MULTIPLICATEUR_MAX * PPCM_TIRAGES <= std::numeric_limits<uint64_t>::max() / NB_MAINS);
// Two expected payouts are compared by cross products of at most
// 21 * C(47, 5) * C(47, 5), about 5e13.
static_assert(MULTIPLICATEUR_MAX * binomes[NB_INCONNUES][5] <= std::numeric_limits<int64_t>::max() / binomes[NB_INCONNUES][5]);

// Colex rank of the ascending cards c[0..k-1] among the sets of k cards.
int32_t rangColex(const int32_t* c, int32_t k)
{
    int64_t rang = 0;
    for (int32_t i = 0; i < k; ++i) {
        rang += binomes[c[i]][i + 1];
    }
    return static_cast<int32_t>(rang);
}

// Colex rank of c[0..k-1] without its card j.
int32_t rangColexSans(const int32_t* c, int32_t k, int32_t j)
{
    int64_t rang = 0;
    for (int32_t i = 0; i < k; ++i) {
        if (i != j) {
            rang += binomes[c[i]][i < j ? i + 1 : i];
        }
    }
    return static_cast<int32_t>(rang);
}

// Steps the ascending cards c[0..k-1] to the next set in colex order, whose
// rank is one more; false after the last set.
bool suivanteColex(int32_t* c, int32_t k)
{
    for (int32_t i = 0; i < k; ++i) {
        const int32_t limite = i + 1 < k ? c[i + 1] : NB_CARTES;
        if (c[i] + 1 < limite) {
            ++c[i];
            std::iota(c, c + i, 0);
            return true;
        }
    }
    return false;
}

// Classifies every hand with the game's own analyseCarte, on a list of the
// five card records linked in ascending order, and tallies each hand into the
// five sets of four cards that it contains.
void classeMains(TablesConseil* tables)
{
    std::array<Carte, NB_CARTES> cartes{};
    for (int32_t c = 0; c < NB_CARTES; ++c) {
        initCarte(&cartes[c], c / 4 + 2, c % 4, c + 1);
    }
    tables->combinaisonMain.assign(NB_MAINS, 0);
    std::vector<Decompte>& quatre = tables->decompte[4];
    quatre.assign(binomes[NB_CARTES][4], Decompte{});

    int32_t c[NB_CARTES_MAIN] = {0, 1, 2, 3, 4};
    Liste cinqCartes{nullptr, nullptr, NB_CARTES_MAIN};
    int32_t rang = 0;
    do {
        for (int32_t i = 0; i + 1 < NB_CARTES_MAIN; ++i) {
            cartes[c[i]].suivant = &cartes[c[i + 1]];
        }
        cartes[c[4]].suivant = nullptr;
        cinqCartes.tete = &cartes[c[0]];
        cinqCartes.queue = &cartes[c[4]];
        const int32_t combinaison = analyseCarte(&cinqCartes);
        tables->combinaisonMain[rang++] = static_cast<uint8_t>(combinaison);
        for (int32_t j = 0; j < NB_CARTES_MAIN; ++j) {
            quatre[rangColexSans(c, NB_CARTES_MAIN, j)][combinaison]++;
        }
    } while (suivanteColex(c, NB_CARTES_MAIN));
}

// The tallies of the sets of k cards from those of k + 1: a hand that
// contains a set of k cards contains 5 - k of the larger sets around it.
void descendDecompte(TablesConseil* tables, int32_t k)
{
    const std::vector<Decompte>& dessus = tables->decompte[k + 1];
    std::vector<Decompte>& dessous = tables->decompte[k];
    dessous.assign(binomes[NB_CARTES][k], Decompte{});

    int32_t c[NB_CARTES_MAIN] = {0, 1, 2, 3, 4};
    int32_t rang = 0;
    do {
        for (int32_t j = 0; j <= k; ++j) {
            Decompte& d = dessous[rangColexSans(c, k + 1, j)];
            for (int32_t combinaison = 0; combinaison < NB_COMBINAISONS; ++combinaison) {
                d[combinaison] += dessus[rang][combinaison];
            }
        }
        ++rang;
    } while (suivanteColex(c, k + 1));

    for (Decompte& d : dessous) {
        for (uint32_t& n : d) {
            n /= static_cast<uint32_t>(NB_CARTES_MAIN - k);
        }
    }
}

int64_t gainDecompte(const Decompte& d)
{
    int64_t gain = 0;
    for (int32_t combinaison = 0; combinaison < NB_COMBINAISONS; ++combinaison) {
        gain += static_cast<int64_t>(d[combinaison]) * multiplicateurs[combinaison];
    }
    return gain;
}

// The walk over one deal per class of suit exchange: a deal is the set of
// ranks it holds in each suit, and the class is represented by the deal whose
// four rank sets do not increase from Trefle to Pique.
struct ParcoursClasses {
    const TablesConseil* tables;
    RetourConseil* retour;
    std::array<std::vector<uint16_t>, NB_CARTES_MAIN + 1> rangsParTaille;  // ascending
    std::array<uint16_t, 4> rangs;                                          // by suit
};

constexpr int32_t NB_RANGS = 13;

// How many deals differ from this one only by the names of the suits:
// 4! over the permutations of suits that hold the same ranks.
int64_t tailleClasse(const std::array<uint16_t, 4>& rangs)
{
    int64_t taille = 24;
    int64_t egales = 1;
    for (int32_t s = 1; s < 4; ++s) {
        egales = rangs[s] == rangs[s - 1] ? egales + 1 : 1;
        taille /= egales;
    }
    return taille;
}

void evalueClasse(ParcoursClasses* p)
{
    int32_t ids[NB_CARTES_MAIN];
    int32_t n = 0;
    for (int32_t s = 0; s < 4; ++s) {
        for (int32_t r = 0; r < NB_RANGS; ++r) {
            if ((p->rangs[s] >> r) & 1) {
                ids[n++] = idCarte(r + 2, s);
            }
        }
    }
    Garde gardes[NB_GARDES];
    analyseGardes(p->tables, ids, gardes);
    const Garde& meilleure = gardes[meilleureGarde(gardes)];

    const uint64_t poids = static_cast<uint64_t>(tailleClasse(p->rangs)) * (PPCM_TIRAGES / meilleure.nbTirages);
    RetourConseil* retour = p->retour;
    retour->gainMeilleur += poids * static_cast<uint64_t>(meilleure.gain);
    for (int32_t combinaison = 0; combinaison < NB_COMBINAISONS; ++combinaison) {
        retour->distribution[combinaison] += poids * meilleure.decompte[combinaison];
    }
    retour->nbClasses++;
}

void parcourtCouleur(ParcoursClasses* p, int32_t couleur, int32_t restantes)
{
    const uint16_t plafond = couleur == 0 ? uint16_t{(1 << NB_RANGS) - 1} : p->rangs[couleur - 1];
    const int32_t tailleMin = couleur == 3 ? restantes : 0;
    for (int32_t taille = tailleMin; taille <= restantes; ++taille) {
        for (const uint16_t rangs : p->rangsParTaille[taille]) {
            if (rangs > plafond) {
                break;
            }
            p->rangs[couleur] = rangs;
            if (couleur == 3) {
                evalueClasse(p);
            } else {
                parcourtCouleur(p, couleur + 1, restantes - taille);
            }
        }
    }
}

}  // namespace

void initTablesConseil(TablesConseil* tables)
{
    classeMains(tables);
    for (int32_t k = 3; k >= 0; --k) {
        descendDecompte(tables, k);
    }
}

int32_t combinaisonConseil(const TablesConseil* tables, const int32_t* ids)
{
    int32_t c[NB_CARTES_MAIN];
    for (int32_t j = 0; j < NB_CARTES_MAIN; ++j) {
        c[j] = ids[j] - 1;
    }
    std::sort(c, c + NB_CARTES_MAIN);
    return tables->combinaisonMain[rangColex(c, NB_CARTES_MAIN)];
}

void analyseGardes(const TablesConseil* tables, const int32_t* ids, Garde* gardes)
{
    // Deal positions in ascending card order, as the tables index sets.
    std::array<int32_t, NB_CARTES_MAIN> ordre{};
    std::iota(ordre.begin(), ordre.end(), 0);
    std::sort(ordre.begin(), ordre.end(), [ids](int32_t a, int32_t b) { return ids[a] < ids[b]; });

    // v[m]: the hands that contain the cards of m (a mask over ascending order).
    std::array<Decompte, NB_GARDES> v;
    for (int32_t m = 0; m < NB_GARDES; ++m) {
        int32_t c[NB_CARTES_MAIN];
        int32_t k = 0;
        for (int32_t j = 0; j < NB_CARTES_MAIN; ++j) {
            if ((m >> j) & 1) {
                c[k++] = ids[ordre[j]] - 1;
            }
        }
        const int32_t rang = rangColex(c, k);
        if (k == NB_CARTES_MAIN) {
            v[m] = Decompte{};
            v[m][tables->combinaisonMain[rang]] = 1;
        } else {
            v[m] = tables->decompte[k][rang];
        }
    }
    // Inclusion-exclusion, one card at a time: afterwards v[m] counts the
    // hands that contain the cards of m and none of the other dealt cards,
    // which are the draws for the hold m. Every step leaves true counts, so
    // the unsigned differences never wrap.
    for (int32_t j = 0; j < NB_CARTES_MAIN; ++j) {
        for (int32_t m = 0; m < NB_GARDES; ++m) {
            if (!((m >> j) & 1)) {
                for (int32_t combinaison = 0; combinaison < NB_COMBINAISONS; ++combinaison) {
                    v[m][combinaison] -= v[m | (1 << j)][combinaison];
                }
            }
        }
    }
    for (int32_t m = 0; m < NB_GARDES; ++m) {
        int32_t garde = 0;
        for (int32_t j = 0; j < NB_CARTES_MAIN; ++j) {
            garde |= ((m >> j) & 1) << ordre[j];
        }
        Garde* g = &gardes[garde];
        g->garde = garde;
        g->nbTirages = static_cast<int32_t>(binomes[NB_INCONNUES][NB_CARTES_MAIN - std::popcount(static_cast<uint32_t>(m))]);
        g->decompte = v[m];
        g->gain = gainDecompte(v[m]);
    }
}

bool gardeMeilleure(const Garde* a, const Garde* b)
{
    // a->gain / a->nbTirages against b->gain / b->nbTirages, without division.
    const int64_t gainA = a->gain * b->nbTirages;
    const int64_t gainB = b->gain * a->nbTirages;
    if (gainA != gainB) {
        return gainA > gainB;
    }
    for (int32_t combinaison = NB_COMBINAISONS - 1; combinaison > Rien; --combinaison) {
        const int64_t chanceA = static_cast<int64_t>(a->decompte[combinaison]) * b->nbTirages;
        const int64_t chanceB = static_cast<int64_t>(b->decompte[combinaison]) * a->nbTirages;
        if (chanceA != chanceB) {
            return chanceA > chanceB;
        }
    }
    const int32_t gardeesA = std::popcount(static_cast<uint32_t>(a->garde));
    const int32_t gardeesB = std::popcount(static_cast<uint32_t>(b->garde));
    if (gardeesA != gardeesB) {
        return gardeesA > gardeesB;
    }
    return a->garde < b->garde;
}

int32_t meilleureGarde(const Garde* gardes)
{
    int32_t meilleure = 0;
    for (int32_t g = 1; g < NB_GARDES; ++g) {
        if (gardeMeilleure(&gardes[g], &gardes[meilleure])) {
            meilleure = g;
        }
    }
    return meilleure;
}

void analyseRetour(const TablesConseil* tables, RetourConseil* retour)
{
    *retour = RetourConseil{};
    retour->denominateur = static_cast<uint64_t>(NB_MAINS) * PPCM_TIRAGES;
    retour->mainsServies = tables->decompte[0][0];
    retour->gainMainServie = static_cast<uint64_t>(gainDecompte(retour->mainsServies));

    ParcoursClasses parcours{tables, retour, {}, {}};
    for (uint32_t rangs = 0; rangs < (1u << NB_RANGS); ++rangs) {
        const int32_t taille = std::popcount(rangs);
        if (taille <= NB_CARTES_MAIN) {
            parcours.rangsParTaille[taille].push_back(static_cast<uint16_t>(rangs));
        }
    }
    parcourtCouleur(&parcours, 0, NB_CARTES_MAIN);
}
