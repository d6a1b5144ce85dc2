#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <regex>

#include "analyseConseil.h"
#include "gestionCarte.h"
#include "gestionConseil.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"

namespace {

// The advisor's tables and the exact return, built once per test process.
const TablesConseil tables = [] { TablesConseil t; initTablesConseil(&t); return t; }();
const RetourConseil retour = [] { RetourConseil r; analyseRetour(&tables, &r); return r; }();

// Every five-card hand once, dealt out of order and classified by the game.
// As a deal: the tables class it alike, and its best holds, summed, give the
// return that analyseRetour finds from one deal per class of suit exchange.
// As the final hand of a draw: it is tallied under the hold it leaves of each
// deal below, which enumerates every draw of every hold of those deals.
TEST(Conseil, chaqueMainUneFois)
{
    const int32_t donnes[][5] = {{52, 48, 44, 40, 36}, {36, 40, 44, 48, 35}, {31, 15, 27, 39, 47}, {1, 14, 27, 41, 50}, {5, 6, 17, 18, 52}};
    Decompte tirages[std::size(donnes)][NB_GARDES] = {};
    int32_t bit[std::size(donnes)][NB_CARTES + 1] = {};  // bit[d][id]: the deal position of card id, as a mask
    for (size_t d = 0; d < std::size(donnes); ++d)
        for (int32_t i = 0; i < 5; ++i) bit[d][donnes[d][i]] = 1 << i;
    std::array<uint64_t, NB_COMBINAISONS> distribution{};  // over retour.denominateur
    Carte cartes[NB_CARTES];
    for (int32_t c = 0; c < NB_CARTES; ++c) initCarte(&cartes[c], c / 4 + 2, c % 4, c + 1);
    int32_t h[5];  // the hand, ascending
    for (h[0] = 1; h[0] <= NB_CARTES; ++h[0])
        for (h[1] = h[0] + 1; h[1] <= NB_CARTES; ++h[1])
            for (h[2] = h[1] + 1; h[2] <= NB_CARTES; ++h[2])
                for (h[3] = h[2] + 1; h[3] <= NB_CARTES; ++h[3])
                    for (h[4] = h[3] + 1; h[4] <= NB_CARTES; ++h[4]) {
                        const int32_t donne[5] = {h[3], h[0], h[4], h[2], h[1]};
                        Liste main{};
                        for (int32_t id : donne) addListeId(&main, &cartes[id - 1]);
                        const int32_t jeu = analyseCarte(&main);
                        ASSERT_EQ(combinaisonConseil(&tables, donne), jeu) << h[0] << " " << h[1] << " " << h[2] << " " << h[3] << " " << h[4];
                        Garde gardes[NB_GARDES];
                        analyseGardes(&tables, donne, gardes);
                        const Garde& g = gardes[meilleureGarde(gardes)];
                        for (int32_t c = 0; c < NB_COMBINAISONS; ++c) distribution[c] += g.decompte[c] * (retour.denominateur / NB_MAINS / g.nbTirages);
                        for (size_t d = 0; d < std::size(donnes); ++d)
                            tirages[d][bit[d][h[0]] | bit[d][h[1]] | bit[d][h[2]] | bit[d][h[3]] | bit[d][h[4]]][jeu]++;
                    }
    // The classic counts of five-card poker, Rien to QuinteFlushRoyal, and the classes of suit exchange.
    const Decompte servies{1302540, 1098240, 123552, 54912, 10200, 5108, 3744, 624, 36, 4};
    EXPECT_EQ(retour.mainsServies, servies);
    EXPECT_EQ(retour.gainMainServie, std::inner_product(servies.begin(), servies.end(), multiplicateurs.begin(), 0ull));
    EXPECT_EQ(retour.nbClasses, 134459);
    EXPECT_EQ(retour.distribution, distribution);
    EXPECT_EQ(retour.gainMeilleur, std::inner_product(distribution.begin(), distribution.end(), multiplicateurs.begin(), 0ull));
    for (size_t d = 0; d < std::size(donnes); ++d) {
        Garde gardes[NB_GARDES];
        analyseGardes(&tables, donnes[d], gardes);
        const Garde& m = gardes[meilleureGarde(gardes)];
        for (int32_t g = 0; g < NB_GARDES; ++g) {
            EXPECT_EQ(gardes[g].decompte, tirages[d][g]) << d << " " << g;
            EXPECT_EQ(gardes[g].nbTirages, std::accumulate(tirages[d][g].begin(), tirages[d][g].end(), 0)) << d << " " << g;
            EXPECT_GE(m.gain * gardes[g].nbTirages, gardes[g].gain * m.nbTirages) << "the best hold pays less, " << d << " " << g;
        }
    }
}

// Equal payouts go to the better chance of the higher combinations, then to
// the hold that keeps more cards.
TEST(Conseil, EgalitesDeGain)
{
    // Half a credit each; quads in 2 draws of 20 against 3 of 40, then 1 of 20 against 2 of 40.
    Garde une{0b00001, 10, 20, {}}, deux{0b00011, 20, 40, {}};
    for (auto [carresUne, carresDeux, uneGagne] : {std::tuple{2, 3, true}, {1, 2, false}}) {
        une.decompte[Carre] = carresUne, deux.decompte[Carre] = carresDeux;
        EXPECT_EQ(gardeMeilleure(&une, &deux), uneGagne) << carresUne;
        EXPECT_EQ(gardeMeilleure(&deux, &une), !uneGagne) << carresUne;
    }
}

// Good input, each kind of bad input and --help. The first two deals are
// known hands: a royal flush is kept whole, four to the royal beat the pair.
TEST(Conseil, ligneDeCommande)
{
    // Arguments, exit status, pattern on standard output for status 0, on standard error otherwise.
    const struct { std::string arguments; int32_t statut; std::string motif; } cas[] = {
        {"AP RP DP VP 10P", 0, "\n\\* AP +RP +DP +VP +10P +21 +21,000000\n"},
        {"10p vp dp rp 10c", 0, "\n\\* 10P +VP +DP +RP +-- +102/47 +2,170213\n(  [^*\n]+\n){31}$"},
        {"--retour --court", 0, "^119,02 %\n$"},
        {"--retour", 0, "meilleure garde +45977851471/38630291700\n[\\s\\S]*\n  QuinteFlushRoyal +21 "},
        {"--help", 0, "V \\(valet\\)[\\s\\S]*P \\(pique\\)"},
        {"AP RP DP VP", 2, "cinq cartes, 4 donnees"},
        {"AP RP DP VP 11P", 2, "carte inconnue 11P"},
        {"AP RP DP VP $(printf 'A%.0s' $(seq 5000))", 2, "carte inconnue A{24} "},
        {"AP RP DP ap 10P", 2, "carte en double ap"},
        {"--retour AP", 2, "--retour ne prend pas"},
        {"--vite", 2, "option inconnue --vite"},
    };
    auto lis = [](const char* chemin) { std::ifstream f(chemin); return std::string(std::istreambuf_iterator<char>(f), {}); };
    for (const auto& [arguments, statut, motif] : cas) {
        const int brut = std::system((std::string(VELMORA_CONSEIL) + " " + arguments + " >conseil.sortie 2>conseil.erreur").c_str());
        const std::string sortie = lis("conseil.sortie"), erreur = lis("conseil.erreur");
        EXPECT_EQ(WIFEXITED(brut) ? WEXITSTATUS(brut) : -1, statut) << arguments;
        EXPECT_TRUE(std::regex_search(statut == 0 ? sortie : erreur, std::regex(motif))) << arguments;
        EXPECT_TRUE((statut == 0 ? erreur : sortie).empty()) << arguments;
    }
}

// The coach. Hands in slot order and the slots their best hold keeps: a pat royal, four to the royal over
// a pair, a low pair, garbage (the five of Carreau alone), quads with a kicker (a tie with the quads alone).
struct Main { int32_t cartes[5]; int32_t meilleure; };
constexpr Main royale{{52, 48, 44, 40, 36}, 0b11111}, quatreALaRoyale{{52, 48, 44, 40, 39}, 0b01111},
    petitePaire{{5, 6, 23, 32, 41}, 0b00011}, rien{{1, 14, 23, 32, 37}, 0b00010}, carre{{33, 34, 35, 36, 2}, 0b11111};

// A value per credit as the advisor gives it, times the stake, in tenths.
int64_t dixiemes(const Main& m, int32_t garde, int32_t mise)
{
    Garde gardes[NB_GARDES];
    analyseGardes(&tables, m.cartes, gardes);
    return std::llround(10.0 * mise * gardes[garde].gain / gardes[garde].nbTirages);
}

// The marks, one press at a time: the hold each leaves, its value for the stake against the best one's.
TEST(Coach, MeilleureGardeEtValeurDuChoixAChaquePression)
{
    for (const Main& m : {royale, quatreALaRoyale, petitePaire, rien, carre}) {
        Conseil c{};
        gestionDonneConseil(&c, &tables, m.cartes, 10);
        EXPECT_EQ(c.meilleure, m.meilleure) << m.cartes[0];
        int32_t garder[5] = {0, 0, 0, 0, 0};
        for (int32_t presse : {-1, 4, 0, 3, 4}) {  // -1: as dealt; a second press on slot 4 takes it back
            if (presse >= 0) garder[presse] ^= 1;
            gestionChoixConseil(&c, garder);
            const int32_t garde = 0b11111 & ~(garder[0] | garder[1] << 1 | garder[2] << 2 | garder[3] << 3 | garder[4] << 4);
            EXPECT_EQ(c.choix, garde);
            EXPECT_EQ(dixiemesDeCredit(c.valeurs[c.choix], c.mise), dixiemes(m, garde, 10)) << garde;
            EXPECT_EQ(choixMeilleur(&c), dixiemes(m, garde, 10) == dixiemes(m, m.meilleure, 10)) << garde;
        }
    }
}

// Holds played: the best, a tie with it, a worse one; the tally and the lines the player reads.
TEST(Coach, BilanDUnePartieEtEgalites)
{
    Conseil c{};
    TextesConseil t;
    const auto joue = [&](const Main& m, int32_t mise, int32_t garde) {
        gestionDonneConseil(&c, &tables, m.cartes, mise);
        const int32_t garder[5] = {~garde & 1, ~garde >> 1 & 1, ~garde >> 2 & 1, ~garde >> 3 & 1, ~garde >> 4 & 1};
        gestionChoixConseil(&c, garder);
        gestionTirageConseil(&c);
        gestionTirageConseil(&c);  // a hand counts once
        textesConseil(&c, &t);
    };
    joue(royale, 5, 0b11111);
    joue(carre, 2, 0b01111);
    joue(petitePaire, 10, 0);
    EXPECT_EQ(c.bilan.mainsJouees, 3);
    EXPECT_EQ(c.bilan.meilleures, 2);
    EXPECT_NEAR(dixiemesDeCredit(c.bilan.cedes, 1), dixiemes(petitePaire, 0b00011, 10) - dixiemes(petitePaire, 0, 10), 1);
    EXPECT_TRUE(std::regex_match(t.bas, std::regex("Meilleur choix : 14,6 · le vôtre : [0-9]+,[0-9] · coût : [0-9]+,[0-9]"))) << t.bas;
    EXPECT_TRUE(std::regex_match(t.haut, std::regex("2 meilleurs choix sur 3 mains · [0-9]+,[0-9] crédits cédés"))) << t.haut;
    initBilanConseil(&c.bilan);
    gestionDonneConseil(&c, &tables, petitePaire.cartes, 10);
    textesConseil(&c, &t);
    EXPECT_STREQ(t.bas, "Votre choix : 10,0 · meilleur : 14,6");  // the pair kept whole pays the stake
    EXPECT_STREQ(t.haut, "");
    joue(petitePaire, 10, 0b00011);
    EXPECT_STREQ(t.bas, "Meilleur choix joué : 14,6 en moyenne");
    EXPECT_STREQ(t.haut, "1 meilleur choix sur 1 main · 0,0 crédit cédé");
}

}  // namespace
