#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>

#include "analyseConseil.h"
#include "gestionCarte.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"

namespace {

const TablesConseil* tables()
{
    static TablesConseil t;
    static const bool pretes = (initTablesConseil(&t), true);
    return pretes ? &t : nullptr;
}

// The game's own classification of these cards (ids), on a list sorted by addListeId.
int32_t classeJeu(std::array<Carte, NB_CARTES>* cartes, const int32_t* ids)
{
    Liste main;
    initListe(&main);
    for (int32_t i = 0; i < NB_CARTES_MAIN; ++i) {
        initCarte(&(*cartes)[ids[i] - 1], (ids[i] - 1) / 4 + 2, (ids[i] - 1) % 4, ids[i]);
        addListeId(&main, &(*cartes)[ids[i] - 1]);
    }
    return analyseCarte(&main);
}

// Calls f(ids) for every set of k cards among `parmi`, by nested choice.
template <typename F>
void pourChaqueEnsemble(const std::vector<int32_t>& parmi, size_t k, const F& f, std::vector<int32_t> choisis = {},
                        size_t depuis = 0)
{
    if (choisis.size() == k) {
        return f(choisis);
    }
    for (size_t i = depuis; i < parmi.size(); ++i) {
        choisis.push_back(parmi[i]);
        pourChaqueEnsemble(parmi, k, f, choisis, i + 1);
        choisis.pop_back();
    }
}

// The 52 cards but these.
std::vector<int32_t> cartesSauf(const std::vector<int32_t>& exclues = {})
{
    std::vector<int32_t> ids;
    for (int32_t id = 1; id <= NB_CARTES; ++id) {
        if (std::find(exclues.begin(), exclues.end(), id) == exclues.end()) {
            ids.push_back(id);
        }
    }
    return ids;
}

TEST(Conseil, classeChaqueMainCommeAnalyseCarte)
{
    std::array<Carte, NB_CARTES> cartes;
    Decompte parClasse{};
    int32_t desaccords = 0;
    pourChaqueEnsemble(cartesSauf(), NB_CARTES_MAIN, [&](const std::vector<int32_t>& ids) {
        const int32_t dansLeDesordre[5] = {ids[3], ids[0], ids[4], ids[2], ids[1]};
        const int32_t jeu = classeJeu(&cartes, dansLeDesordre);
        desaccords += jeu != combinaisonConseil(tables(), dansLeDesordre);
        parClasse[jeu]++;
    });
    EXPECT_EQ(desaccords, 0);
    EXPECT_EQ(tables()->decompte[0][0], parClasse);
    // The classic counts of five-card poker, Rien to QuinteFlushRoyal.
    EXPECT_EQ(parClasse, (Decompte{1302540, 1098240, 123552, 54912, 10200, 5108, 3744, 624, 36, 4}));
}

TEST(Conseil, mainsConnues)
{
    // Deals as ids, the best hold as a mask of deal positions, its expected payout worked out by hand.
    const struct {
        std::array<int32_t, 5> ids;
        int32_t meilleure;
        int64_t gain, nbTirages;
    } mains[] = {
        {{52, 48, 44, 40, 36}, 0b11111, 21, 1},   // royal flush in Pique, kept whole
        {{36, 40, 44, 48, 35}, 0b01111, 102, 47},  // four to the royal beat the pair of 10s
        {{31, 15, 27, 39, 47}, 0b11111, 5, 1},    // flush in Coeur
    };
    for (const auto& m : mains) {
        Garde gardes[NB_GARDES];
        analyseGardes(tables(), m.ids.data(), gardes);
        const Garde& meilleure = gardes[meilleureGarde(gardes)];
        EXPECT_EQ(meilleure.garde, m.meilleure) << m.ids[0];
        EXPECT_EQ(meilleure.gain * m.nbTirages, m.gain * meilleure.nbTirages) << m.ids[0];
    }
}

// Every hold of a few deals against every draw from the 47 unseen cards,
// each final hand classified by the game.
TEST(Conseil, gardesCommeLesTiragesUnAUn)
{
    const std::vector<int32_t> mains[] = {{36, 40, 44, 48, 35}, {1, 14, 27, 41, 50}, {5, 6, 17, 18, 52}};
    std::array<Carte, NB_CARTES> cartes;
    for (const std::vector<int32_t>& ids : mains) {
        Garde gardes[NB_GARDES];
        analyseGardes(tables(), ids.data(), gardes);
        for (int32_t g = 0; g < NB_GARDES; ++g) {
            std::vector<int32_t> gardees;
            std::copy_if(ids.begin(), ids.end(), std::back_inserter(gardees), [&](int32_t id) {
                return (g >> (std::find(ids.begin(), ids.end(), id) - ids.begin())) & 1;
            });
            Decompte attendu{};
            pourChaqueEnsemble(cartesSauf(ids), 5 - gardees.size(), [&](std::vector<int32_t> finale) {
                finale.insert(finale.end(), gardees.begin(), gardees.end());
                attendu[classeJeu(&cartes, finale.data())]++;
            });
            const int64_t gain = std::inner_product(attendu.begin(), attendu.end(), multiplicateurs.begin(), int64_t{0});
            EXPECT_EQ(gardes[g].nbTirages, std::accumulate(attendu.begin(), attendu.end(), 0)) << ids[0] << " " << g;
            EXPECT_EQ(gardes[g].decompte, attendu) << ids[0] << " " << g;
            EXPECT_EQ(gardes[g].gain, gain) << ids[0] << " " << g;
        }
    }
}

// One deal per class of suit exchange gives what every deal, one by one, gives.
TEST(Conseil, retourCommeChaqueDonne)
{
    RetourConseil retour;
    analyseRetour(tables(), &retour);
    EXPECT_EQ(retour.nbClasses, 134459);
    const uint64_t ppcm = retour.denominateur / NB_MAINS;
    uint64_t gain = 0;
    std::array<uint64_t, NB_COMBINAISONS> distribution{};
    pourChaqueEnsemble(cartesSauf(), NB_CARTES_MAIN, [&](const std::vector<int32_t>& ids) {
        Garde gardes[NB_GARDES];
        analyseGardes(tables(), ids.data(), gardes);
        const Garde& g = gardes[meilleureGarde(gardes)];
        gain += static_cast<uint64_t>(g.gain) * (ppcm / g.nbTirages);
        for (int32_t c = 0; c < NB_COMBINAISONS; ++c) {
            distribution[c] += uint64_t{g.decompte[c]} * (ppcm / g.nbTirages);
        }
    });
    EXPECT_EQ(retour.gainMeilleur, gain);
    EXPECT_EQ(retour.distribution, distribution);
}

// The game's own shuffle, deal and draw, holding what the advisor says.
TEST(Conseil, partiesJoueesRendentLeRetourExact)
{
    const char* env = std::getenv("VELMORA_GRAINE");
    const unsigned graine = env != nullptr ? static_cast<unsigned>(std::strtoul(env, nullptr, 10)) : 20261206u;
    std::printf("graine (VELMORA_GRAINE) : %u\n", graine);
    std::srand(graine);

    std::array<Carte, NB_CARTES> cartes;
    Liste sabot{}, mainJoueur{}, defausse{};
    for (int32_t c = 0; c < NB_CARTES; ++c) {
        initCarte(&cartes[c], c / 4 + 2, c % 4, c + 1);
        addListeRandom(&defausse, &cartes[c]);
    }
    attributionIndice(&defausse);

    constexpr int32_t NB_PARTIES = 200000;
    double somme = 0;
    for (int32_t partie = 0; partie < NB_PARTIES; ++partie) {
        EtatSurface etat{};
        melangeSabot(&sabot, &defausse, &mainJoueur);
        premierTirage(&sabot, &mainJoueur, &etat);
        Garde gardes[NB_GARDES];
        analyseGardes(tables(), etat.carte, gardes);
        const int32_t garde = meilleureGarde(gardes);
        for (int32_t i = 0; i < 5; ++i) {
            etat.garder[i] = ((garde >> i) & 1) ^ 1;  // 1 exchanges the card
        }
        secondTirage(&sabot, &mainJoueur, &defausse, &etat);
        somme += multiplicateurs[analyseCarte(&mainJoueur)];
    }

    RetourConseil retour;
    analyseRetour(tables(), &retour);
    const double esperance = static_cast<double>(retour.gainMeilleur) / static_cast<double>(retour.denominateur);
    double carre = 0;
    for (int32_t c = 0; c < NB_COMBINAISONS; ++c) {
        carre += double(multiplicateurs[c]) * multiplicateurs[c] * double(retour.distribution[c]) / double(retour.denominateur);
    }
    const double ecartType = std::sqrt((carre - esperance * esperance) / NB_PARTIES);
    EXPECT_NEAR(somme / NB_PARTIES, esperance, 4 * ecartType) << "graine " << graine;
}

// Runs the program; its exit status, standard output and standard error.
std::tuple<int32_t, std::string, std::string> lance(const std::string& arguments)
{
    const std::string base = testing::TempDir() + "conseil_" + std::to_string(getpid());
    const std::string sortie = base + "_sortie", erreur = base + "_erreur";
    const int brut = std::system((std::string(VELMORA_CONSEIL) + " " + arguments + " >" + sortie + " 2>" + erreur).c_str());
    auto lis = [](const std::string& chemin) {
        std::ostringstream texte;
        texte << std::ifstream(chemin).rdbuf();
        return texte.str();
    };
    std::tuple<int32_t, std::string, std::string> resultat{WIFEXITED(brut) ? WEXITSTATUS(brut) : -1, lis(sortie), lis(erreur)};
    std::remove(sortie.c_str());
    std::remove(erreur.c_str());
    return resultat;
}

TEST(Conseil, ligneDeCommande)
{
    RetourConseil retour;
    analyseRetour(tables(), &retour);
    const uint64_t centiemes = (retour.gainMeilleur * 10000 + retour.denominateur / 2) / retour.denominateur;
    char court[32];
    std::snprintf(court, sizeof court, "^%d,%02d %%\n$", int(centiemes / 100), int(centiemes % 100));
    const uint64_t pgcd = std::gcd(retour.gainMeilleur, retour.denominateur);
    const std::string fraction = std::to_string(retour.gainMeilleur / pgcd) + "/" + std::to_string(retour.denominateur / pgcd);

    const struct {
        const char* arguments;
        int32_t statut;
        std::vector<std::string> motifs;  // on standard output for status 0, on standard error otherwise
    } cas[] = {
        {"AP RP DP VP 10P", 0, {"\n\\* AP +RP +DP +VP +10P +21 +21,000000\n"}},
        {"10p vp dp rp 10c", 0, {"\n\\* 10P +VP +DP +RP +-- +102/47 +2,170213\n(  [^*\n]+\n){31}$"}},
        {"--retour --court", 0, {court}},
        {"--retour", 0, {"meilleure garde +" + fraction + "\n", "\n  QuinteFlushRoyal +21 "}},
        {"--help", 0, {"V \\(valet\\)", "P \\(pique\\)"}},
        {"", 2, {"cinq cartes, 0 donnee"}},
        {"AP RP DP VP", 2, {"cinq cartes, 4 donnees"}},
        {"AP RP DP VP 10P 9P", 2, {"cinq cartes, 6 donnees"}},
        {"AP RP DP VP 1P", 2, {"carte inconnue 1P"}},
        {"AP RP DP VP 11P", 2, {"carte inconnue 11P"}},
        {"AP RP DP VP 10X", 2, {"carte inconnue 10X"}},
        {"AP RP DP VP ''", 2, {"carte inconnue"}},
        {"AP RP DP VP $(printf '\\303\\251P')", 2, {"carte inconnue"}},
        {"AP RP DP VP $(printf 'A%.0s' $(seq 5000))", 2, {"carte inconnue A{24} "}},
        {"AP RP DP ap 10P", 2, {"carte en double ap"}},
        {"--court", 2, {"--court"}},
        {"--retour AP", 2, {"--retour ne prend pas"}},
        {"--vite", 2, {"option inconnue --vite"}},
    };
    for (const auto& c : cas) {
        const auto [statut, sortie, erreur] = lance(c.arguments);
        EXPECT_EQ(statut, c.statut) << c.arguments;
        for (const std::string& motif : c.motifs) {
            EXPECT_TRUE(std::regex_search(c.statut == 0 ? sortie : erreur, std::regex(motif))) << c.arguments << " " << motif;
        }
        EXPECT_TRUE(c.statut == 0 ? erreur.empty() : sortie.empty()) << c.arguments;
    }
}

}  // namespace
