#include "bilan.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <span>

#include "analyseConseil.h"
#include "fichiers.h"
#include "gestionMiseGain.h"
#include "lignesCles.h"

namespace {

constexpr int64_t MAX = std::numeric_limits<int64_t>::max();
constexpr int64_t MAX32 = std::numeric_limits<int32_t>::max();
constexpr int64_t MULTIPLICATEUR_MAX = *std::max_element(multiplicateurs.begin(), multiplicateurs.end());

// A hand's stake times any expected payout stays within 64 bits.
static_assert(MAX32 * MULTIPLICATEUR_MAX * UNITE_CONSEIL < MAX / 4);

Grand unites(const MontantExact& m)
{
    return static_cast<Grand>(m.credits) * UNITE_CONSEIL + m.unites;
}

bool operator<(const MontantExact& a, const MontantExact& b)
{
    return a.credits != b.credits ? a.credits < b.credits : a.unites < b.unites;
}

// a + valeur (units, not negative); false, with *a unchanged, past the limit.
bool ajouteUnites(MontantExact* a, int64_t valeur)
{
    MontantExact somme{0, a->unites + valeur % UNITE_CONSEIL};
    int64_t credits = valeur / UNITE_CONSEIL + somme.unites / UNITE_CONSEIL;
    somme.unites %= UNITE_CONSEIL;
    if (__builtin_add_overflow(a->credits, credits, &somme.credits)) {
        return false;
    }
    *a = somme;
    return true;
}

int64_t ajouteSature(int64_t a, int64_t b)
{
    int64_t somme = 0;
    return __builtin_add_overflow(a, b, &somme) ? (b > 0 ? MAX : -MAX) : somme;
}

// Whether the hand begins a game for the record: the first hand of a game,
// or one that does not follow the last hand recorded (the record was
// cleared, or lost, in the middle of a game).
bool nouvellePartie(const Bilan* b, const MainJouee* m)
{
    return m->mainsPartie == 1 || b->mainsPartie + 1 != m->mainsPartie;
}

// The lifetime sums with the hand added; false when one would pass its limit.
bool sommesAvecMain(const Bilan* b, const MainJouee* m, Bilan* apres)
{
    *apres = *b;
    return !__builtin_add_overflow(b->mains, 1, &apres->mains) &&
           !__builtin_add_overflow(b->misees, m->mise, &apres->misees) &&
           !__builtin_add_overflow(b->payees, m->gain, &apres->payees) &&
           !__builtin_add_overflow(b->parties, nouvellePartie(b, m) ? 1 : 0, &apres->parties) &&
           ajouteUnites(&apres->attenduJoue, m->mise * m->valeurJouee) &&
           ajouteUnites(&apres->attenduMeilleur, m->mise * m->valeurMeilleure);
}

void ajouteSommes(Bilan* b, const MainJouee* m)
{
    Bilan apres;
    if (!sommesAvecMain(b, m, &apres)) {
        return;
    }
    // Each of these is at most mains, which did not pass its limit; a game
    // lost was counted at its first hand recorded.
    ++apres.combinaisons[m->combinaison];
    apres.meilleursChoix += m->valeurJouee >= m->valeurMeilleure ? 1 : 0;
    apres.partiesPerdues += m->credit == 0 && apres.partiesPerdues < apres.parties ? 1 : 0;
    *b = apres;
}

void ajouteRecords(Bilan* b, const MainJouee* m)
{
    b->gainMax = std::max<int64_t>(b->gainMax, m->gain);
    b->creditMax = std::max<int64_t>(b->creditMax, m->credit);
    if (m->combinaison != Rien) {
        b->serie = b->serie > 0 ? ajouteSature(b->serie, 1) : 1;
    } else {
        b->serie = b->serie < 0 ? ajouteSature(b->serie, -1) : -1;
    }
    b->serieGagnante = std::max(b->serieGagnante, b->serie);
    b->seriePerdante = std::max(b->seriePerdante, -b->serie);
}

// The expected path moves by what the hold played was worth less the stake.
void ajoutePoint(Bilan* b, const MainJouee* m)
{
    if (nouvellePartie(b, m)) {
        b->nbPoints = 0;
        b->creditDepart = static_cast<int32_t>(std::min<int64_t>(int64_t{m->credit} - m->gain + m->mise, MAX32));
        b->attenduDepart = static_cast<int64_t>(b->creditDepart) * UNITE_CONSEIL;
    }
    b->mainsPartie = m->mainsPartie;
    const int64_t avant = b->nbPoints > 0 ? b->attendus[b->nbPoints - 1] : b->attenduDepart;
    const int64_t attendu = ajouteSature(avant, m->mise * (m->valeurJouee - UNITE_CONSEIL));
    if (b->nbPoints == NB_POINTS_COURBE) {
        b->creditDepart = b->credits[0];
        b->attenduDepart = b->attendus[0];
        std::copy(b->credits.begin() + 1, b->credits.end(), b->credits.begin());
        std::copy(b->attendus.begin() + 1, b->attendus.end(), b->attendus.begin());
        --b->nbPoints;
    }
    b->credits[b->nbPoints] = m->credit;
    b->attendus[b->nbPoints] = attendu;
    ++b->nbPoints;
}

// What a paid hand can be: a stake, the payout of its class, an expected
// payout per credit within the pay table, the best hold worth at least the one played.
bool mainPossible(const MainJouee* m)
{
    const int64_t plafond = MULTIPLICATEUR_MAX * UNITE_CONSEIL;
    return m->mise > 0 && m->combinaison >= 0 && m->combinaison < NB_COMBINAISONS &&
           static_cast<int64_t>(m->gain) == static_cast<int64_t>(multiplicateurs[m->combinaison]) * m->mise &&
           m->credit >= m->gain && m->valeurJouee >= 0 && m->valeurJouee <= m->valeurMeilleure &&
           m->valeurMeilleure <= plafond && m->mainsPartie >= 1;
}

// --- Text form ---

constexpr std::string_view ENTETE = "velmora statistiques 1";
bool lisSommes(LecteurLignes* l, Bilan* b)
{
    int64_t unite = 0;
    std::array<int64_t, 2> joue{}, meilleur{};
    std::array<int64_t, 3> series{};
    const bool ok = l->ligne("unite", &unite, UNITE_CONSEIL, UNITE_CONSEIL) && l->ligne("mains", &b->mains, 0, MAX) &&
                    l->ligne("misees", &b->misees, 0, MAX) && l->ligne("payees", &b->payees, 0, MAX) &&
                    l->ligne("combinaisons", std::span(b->combinaisons), 0, MAX) &&
                    l->ligne("attenduJoue", std::span(joue), 0, MAX) &&
                    l->ligne("attenduMeilleur", std::span(meilleur), 0, MAX) &&
                    l->ligne("meilleursChoix", &b->meilleursChoix, 0, MAX) &&
                    l->ligne("parties", &b->parties, 0, MAX) &&
                    l->ligne("partiesPerdues", &b->partiesPerdues, 0, MAX) &&
                    l->ligne("gainMax", &b->gainMax, 0, MAX32) && l->ligne("creditMax", &b->creditMax, 0, MAX32) &&
                    l->ligne("series", std::span(series), -MAX, MAX);
    b->attenduJoue = {joue[0], joue[1]};
    b->attenduMeilleur = {meilleur[0], meilleur[1]};
    b->serie = series[0];
    b->serieGagnante = series[1];
    b->seriePerdante = series[2];
    return ok;
}

bool lisCourbe(LecteurLignes* l, Bilan* b)
{
    std::array<int64_t, 4> partie{};
    if (!l->ligne("partie", std::span(partie), -MAX, MAX)) {
        return false;
    }
    b->mainsPartie = partie[0];
    b->nbPoints = static_cast<int32_t>(std::clamp<int64_t>(partie[1], -1, NB_POINTS_COURBE + 1));
    b->creditDepart = static_cast<int32_t>(std::clamp<int64_t>(partie[2], -1, MAX32));
    b->attenduDepart = partie[3];
    const std::size_t n = static_cast<std::size_t>(std::clamp(b->nbPoints, 0, NB_POINTS_COURBE));
    return l->ligne("credits", std::span(b->credits).first(n), 0, MAX32) &&
           l->ligne("attendus", std::span(b->attendus).first(n), -MAX, MAX);
}

// The ties between the values: what a record of real hands can be.
const char* incoherence(const Bilan& b)
{
    Grand somme = 0;
    for (int64_t n : b.combinaisons) {
        somme += n;
    }
    const Grand plafond = static_cast<Grand>(b.misees) * MULTIPLICATEUR_MAX;
    if (somme != b.mains || b.mains > b.misees) {
        return "mains, mises et combinaisons ne concordent pas";
    }
    if (b.attenduJoue.unites >= UNITE_CONSEIL || b.attenduMeilleur.unites >= UNITE_CONSEIL ||
        b.payees > plafond || b.attenduMeilleur < b.attenduJoue ||
        unites(b.attenduMeilleur) > plafond * UNITE_CONSEIL) {
        return "gains ou esperances impossibles pour ces mises";
    }
    if (b.meilleursChoix > b.mains || (b.meilleursChoix == b.mains && b.attenduJoue < b.attenduMeilleur)) {
        return "meilleurs choix impossibles";
    }
    if (b.partiesPerdues > b.parties || b.parties > b.mains || b.serie > b.serieGagnante ||
        -b.serie > b.seriePerdante || b.serieGagnante < 0 || b.seriePerdante < 0) {
        return "parties ou series impossibles";
    }
    if (b.nbPoints < 0 || b.nbPoints > NB_POINTS_COURBE || b.nbPoints > b.mainsPartie || b.mainsPartie < 0 ||
        b.creditDepart < 0) {
        return "courbe impossible";
    }
    return nullptr;
}

// --- French numbers ---

constexpr const char* ESPACE_INSECABLE = "\xC2\xA0";
constexpr const char* MOINS = "\xE2\x88\x92";

// The digits of n grouped by thousands, appended to *sortie.
void chiffres(std::string* sortie, Grand n)
{
    char brut[48];
    int longueur = 0;
    do {
        brut[longueur++] = static_cast<char>('0' + static_cast<int>(n % 10));
        n /= 10;
    } while (n > 0);
    for (int i = longueur - 1; i >= 0; --i) {
        sortie->push_back(brut[i]);
        if (i > 0 && i % 3 == 0) {
            sortie->append(ESPACE_INSECABLE);
        }
    }
}

void copie(char* texte, std::size_t taille, const std::string& source)
{
    std::snprintf(texte, taille, "%s", source.c_str());
}

// A fixed-point value: entier,decimales with the given number of decimals.
std::string virgule(Grand valeur, int decimales)
{
    Grand puissance = 1;
    for (int i = 0; i < decimales; ++i) {
        puissance *= 10;
    }
    std::string texte;
    chiffres(&texte, valeur / puissance);
    if (decimales > 0) {
        char reste[24];
        std::snprintf(reste, sizeof reste, ",%0*lld", decimales, static_cast<long long>(valeur % puissance));
        texte += reste;
    }
    return texte;
}

Grand arrondi(Grand num, Grand den)
{
    return (num + den / 2) / den;
}

}  // namespace

void initBilan(Bilan* bilan)
{
    *bilan = Bilan{};
    bilan->creditDepart = CREDIT_INITIAL;
    bilan->attenduDepart = CREDIT_INITIAL * UNITE_CONSEIL;
}

void ajouteMain(Bilan* bilan, const MainJouee* main)
{
    if (!mainPossible(main)) {
        return;
    }
    ajouteSommes(bilan, main);
    ajouteRecords(bilan, main);
    ajoutePoint(bilan, main);
}

Grand chanceUnites(const Bilan* bilan)
{
    return static_cast<Grand>(bilan->payees) * UNITE_CONSEIL - unites(bilan->attenduJoue);
}

Grand coutUnites(const Bilan* bilan)
{
    return unites(bilan->attenduMeilleur) - unites(bilan->attenduJoue);
}

std::string texteBilan(const Bilan* b)
{
    using S = std::span<const int64_t>;
    std::string texte(ENTETE);
    texte.push_back('\n');
    const int64_t unite = UNITE_CONSEIL;
    ajouteLigne(&texte, "unite", S(&unite, 1));
    ajouteLigne(&texte, "mains", S(&b->mains, 1));
    ajouteLigne(&texte, "misees", S(&b->misees, 1));
    ajouteLigne(&texte, "payees", S(&b->payees, 1));
    ajouteLigne(&texte, "combinaisons", S(b->combinaisons));
    const std::array<int64_t, 2> joue{b->attenduJoue.credits, b->attenduJoue.unites};
    const std::array<int64_t, 2> meilleur{b->attenduMeilleur.credits, b->attenduMeilleur.unites};
    ajouteLigne(&texte, "attenduJoue", S(joue));
    ajouteLigne(&texte, "attenduMeilleur", S(meilleur));
    ajouteLigne(&texte, "meilleursChoix", S(&b->meilleursChoix, 1));
    ajouteLigne(&texte, "parties", S(&b->parties, 1));
    ajouteLigne(&texte, "partiesPerdues", S(&b->partiesPerdues, 1));
    ajouteLigne(&texte, "gainMax", S(&b->gainMax, 1));
    ajouteLigne(&texte, "creditMax", S(&b->creditMax, 1));
    const std::array<int64_t, 3> series{b->serie, b->serieGagnante, b->seriePerdante};
    ajouteLigne(&texte, "series", S(series));
    const std::array<int64_t, 4> partie{b->mainsPartie, b->nbPoints, b->creditDepart, b->attenduDepart};
    ajouteLigne(&texte, "partie", S(partie));
    const std::size_t n = static_cast<std::size_t>(b->nbPoints);
    ajouteLigne(&texte, "credits", std::span<const int32_t>(b->credits).first(n));
    ajouteLigne(&texte, "attendus", S(b->attendus).first(n));
    return texte + ligneCrc(texte);
}

bool lectureBilan(std::string_view texte, Bilan* bilan, std::string* raison)
{
    LecteurLignes lecteur(texte);
    std::string_view ligne;
    if (!lecteur.suivante(&ligne) || ligne != ENTETE) {
        *raison = "format ou version inconnus";
        return false;
    }
    Bilan lu{};
    if (!lisSommes(&lecteur, &lu) || !lisCourbe(&lecteur, &lu)) {
        *raison = lecteur.raison();
        return false;
    }
    if (!lecteur.crcJuste()) {
        *raison = "somme de controle fausse";
        return false;
    }
    if (const char* faute = incoherence(lu)) {
        *raison = faute;
        return false;
    }
    *bilan = lu;
    return true;
}

void chargeBilan(FichierBilan* fichier)
{
    initBilan(&fichier->bilan);
    const std::string dossier = dossierVelmora(BaseXdg::donnees);
    fichier->chemin = dossier.empty() ? std::string() : dossier + "/statistiques";
    if (fichier->chemin.empty()) {
        return;
    }
    litOuMetDeCote(fichier->chemin, TAILLE_MAX_BILAN, [fichier](std::string_view texte, std::string* raison) {
        return lectureBilan(texte, &fichier->bilan, raison);
    });
}

void enregistreBilan(const FichierBilan* fichier)
{
    if (fichier->chemin.empty()) {
        return;
    }
    std::string raison;
    if (!ecritFichier(fichier->chemin, texteBilan(&fichier->bilan), &raison)) {
        std::fprintf(stderr, "velmora : impossible d'enregistrer les statistiques dans %s : %s\n",
                     fichier->chemin.c_str(), raison.c_str());
    }
}

void ecritEntier(char* texte, std::size_t taille, int64_t n)
{
    std::string sortie = n < 0 ? MOINS : "";
    chiffres(&sortie, n < 0 ? -static_cast<Grand>(n) : static_cast<Grand>(n));
    copie(texte, taille, sortie);
}

void ecritPourcentage(char* texte, std::size_t taille, Grand num, Grand den)
{
    if (den <= 0) {
        copie(texte, taille, "—");
        return;
    }
    // Two decimals from 1 %, then as many as three significant digits need.
    int decimales = 2;
    Grand centiemes = arrondi(num * 10000, den);
    for (Grand puissance = 100000; num > 0 && centiemes < 100 && decimales < 7; puissance *= 10) {
        ++decimales;
        centiemes = arrondi(num * puissance, den);
    }
    copie(texte, taille, virgule(centiemes, decimales) + ESPACE_INSECABLE + "%");
}

void ecritCredits(char* texte, std::size_t taille, Grand valeur, bool signe)
{
    const Grand dixiemes = arrondi((valeur < 0 ? -valeur : valeur) * 10, UNITE_CONSEIL);
    const std::string prefixe = dixiemes == 0 ? "" : valeur < 0 ? MOINS : signe ? "+" : "";
    copie(texte, taille, prefixe + virgule(dixiemes, 1));
}

void textesBilan(const Bilan* b, const RetourConseil* retour, TextesBilan* t)
{
    *t = TextesBilan{};
    auto ligne = [t](LigneBilan l) { return t->lignes[l].data(); };
    ecritEntier(ligne(LIGNE_MAINS), TAILLE_TEXTE, b->mains);
    ecritEntier(ligne(LIGNE_MISEES), TAILLE_TEXTE, b->misees);
    ecritEntier(ligne(LIGNE_PAYEES), TAILLE_TEXTE, b->payees);
    const Grand misees = static_cast<Grand>(b->misees) * UNITE_CONSEIL;
    ecritPourcentage(ligne(LIGNE_RETOUR_REEL), TAILLE_TEXTE, b->payees, b->misees);
    ecritPourcentage(ligne(LIGNE_RETOUR_CHOIX), TAILLE_TEXTE, unites(b->attenduJoue), misees);
    ecritPourcentage(ligne(LIGNE_RETOUR_MEILLEUR), TAILLE_TEXTE, unites(b->attenduMeilleur), misees);
    const Grand chance = chanceUnites(b);
    ecritCredits(ligne(LIGNE_CHANCE), TAILLE_TEXTE, chance, true);
    t->signeChance = chance > 0 ? 1 : chance < 0 ? -1 : 0;
    ecritCredits(ligne(LIGNE_COUT), TAILLE_TEXTE, coutUnites(b), false);
    char nombre[40];
    char part[40];
    ecritEntier(nombre, sizeof nombre, b->meilleursChoix);
    ecritPourcentage(part, sizeof part, b->meilleursChoix, b->mains);
    std::snprintf(ligne(LIGNE_MEILLEURS), TAILLE_TEXTE, b->mains > 0 ? "%s (%s)" : "%s", nombre, part);
    ecritEntier(ligne(LIGNE_PARTIES), TAILLE_TEXTE, b->parties);
    ecritEntier(ligne(LIGNE_PERDUES), TAILLE_TEXTE, b->partiesPerdues);
    ecritEntier(ligne(LIGNE_GAIN_MAX), TAILLE_TEXTE, b->gainMax);
    ecritEntier(ligne(LIGNE_CREDIT_MAX), TAILLE_TEXTE, b->creditMax);
    ecritEntier(nombre, sizeof nombre, b->serieGagnante);
    ecritEntier(part, sizeof part, b->seriePerdante);
    std::snprintf(ligne(LIGNE_SERIES), TAILLE_TEXTE, "%s / %s", nombre, part);
    for (int32_t c = 0; c < NB_COMBINAISONS; ++c) {
        ecritEntier(t->nombres[c].data(), TAILLE_TEXTE, b->combinaisons[c]);
        ecritPourcentage(t->parts[c].data(), TAILLE_TEXTE, b->combinaisons[c], b->mains);
        if (retour != nullptr) {
            ecritPourcentage(t->partsExactes[c].data(), TAILLE_TEXTE, retour->distribution[c], retour->denominateur);
        }
    }
}
