#include "gestionConseil.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <numeric>

#include "gestionCarte.h"

namespace {

constexpr int64_t binome(int64_t n, int64_t k)
{
    int64_t r = 1;
    for (int64_t i = 1; i <= k; ++i) {
        r = r * (n - k + i) / i;
    }
    return r;
}

constexpr bool uniteDiviseeParChaqueTirage()
{
    for (int64_t k = 0; k <= NB_CARTES_MAIN; ++k) {
        if (UNITE_CONSEIL % binome(NB_INCONNUES, k) != 0) {
            return false;
        }
    }
    return true;
}
static_assert(uniteDiviseeParChaqueTirage());
// The largest value times the largest stake, in tenths: within 64 bits.
static_assert(21 * UNITE_CONSEIL * 10 <= std::numeric_limits<int64_t>::max() / std::numeric_limits<int32_t>::max());

// "12,3": a value in tenths of a credit, French style.
void ecritDixiemes(char* texte, std::size_t taille, int64_t dixiemes)
{
    std::snprintf(texte, taille, "%lld,%lld", static_cast<long long>(dixiemes / 10),
                  static_cast<long long>(dixiemes % 10));
}

void texteChoix(const Conseil* c, TextesConseil* t)
{
    char choix[24];
    char meilleur[24];
    ecritDixiemes(choix, sizeof choix, dixiemesDeCredit(c->valeurs[c->choix], c->mise));
    ecritDixiemes(meilleur, sizeof meilleur, dixiemesDeCredit(c->valeurs[c->meilleure], c->mise));
    std::snprintf(t->bas, sizeof t->bas, "Votre choix : %s · meilleur : %s", choix, meilleur);
}

void texteVerdict(const Conseil* c, TextesConseil* t)
{
    char meilleur[24];
    ecritDixiemes(meilleur, sizeof meilleur, dixiemesDeCredit(c->valeurs[c->meilleure], c->mise));
    if (choixMeilleur(c)) {
        std::snprintf(t->bas, sizeof t->bas, "Meilleur choix joué : %s en moyenne", meilleur);
    } else {
        char choix[24];
        char cout[24];
        ecritDixiemes(choix, sizeof choix, dixiemesDeCredit(c->valeurs[c->choix], c->mise));
        ecritDixiemes(cout, sizeof cout, dixiemesDeCredit(c->valeurs[c->meilleure] - c->valeurs[c->choix], c->mise));
        std::snprintf(t->bas, sizeof t->bas, "Meilleur choix : %s · le vôtre : %s · coût : %s", meilleur, choix, cout);
    }
    const BilanConseil& b = c->bilan;
    const int64_t cedes = dixiemesDeCredit(b.cedes, 1);
    char texteCedes[24];
    ecritDixiemes(texteCedes, sizeof texteCedes, cedes);
    // French keeps the singular below two.
    std::snprintf(t->haut, sizeof t->haut, "%d meilleur%s choix sur %d main%s · %s crédit%s cédé%s", b.meilleures,
                  b.meilleures >= 2 ? "s" : "", b.mainsJouees, b.mainsJouees >= 2 ? "s" : "", texteCedes,
                  cedes >= 20 ? "s" : "", cedes >= 20 ? "s" : "");
}

}  // namespace

void initConseil(Conseil* conseil)
{
    *conseil = Conseil{};
}

void initBilanConseil(BilanConseil* bilan)
{
    *bilan = BilanConseil{};
}

void gestionDonneConseil(Conseil* conseil, const TablesConseil* tables, const int32_t* cartes, int32_t mise)
{
    Garde gardes[NB_GARDES];
    analyseGardes(tables, cartes, gardes);
    for (int32_t g = 0; g < NB_GARDES; ++g) {
        conseil->valeurs[g] = gardes[g].gain * (UNITE_CONSEIL / gardes[g].nbTirages);
    }
    conseil->meilleure = meilleureGarde(gardes);
    conseil->choix = NB_GARDES - 1;
    conseil->mise = std::max(mise, 0);
    conseil->etape = CONSEIL_CHOIX;
}

void gestionChoixConseil(Conseil* conseil, const int32_t* garder)
{
    conseil->choix = 0;
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        conseil->choix |= (garder[i] != 1 ? 1 : 0) << i;
    }
}

void gestionTirageConseil(Conseil* conseil)
{
    if (conseil->etape != CONSEIL_CHOIX) {
        return;
    }
    conseil->etape = CONSEIL_VERDICT;
    BilanConseil& b = conseil->bilan;
    if (b.mainsJouees == std::numeric_limits<int32_t>::max()) {
        return;
    }
    ++b.mainsJouees;
    if (choixMeilleur(conseil)) {
        ++b.meilleures;
        return;
    }
    const int64_t cout = (conseil->valeurs[conseil->meilleure] - conseil->valeurs[conseil->choix]) * conseil->mise;
    b.cedes = std::min(b.cedes, CEDES_MAX - cout) + cout;
}

bool choixMeilleur(const Conseil* conseil)
{
    return conseil->valeurs[conseil->choix] >= conseil->valeurs[conseil->meilleure];
}

int64_t dixiemesDeCredit(int64_t unites, int64_t mise)
{
    return (unites * mise * 10 + UNITE_CONSEIL / 2) / UNITE_CONSEIL;
}

void textesConseil(const Conseil* conseil, TextesConseil* textes)
{
    textes->haut[0] = '\0';
    textes->bas[0] = '\0';
    if (conseil->etape == CONSEIL_CHOIX) {
        texteChoix(conseil, textes);
    } else if (conseil->etape == CONSEIL_VERDICT) {
        texteVerdict(conseil, textes);
    }
}
