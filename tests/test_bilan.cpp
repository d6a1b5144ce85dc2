// The statistics record, without a display: its arithmetic on written
// hands, luck and skill against the advisor's values, the exact shares, the
// numbers in French, the file and its damaged forms. Also run under the
// sanitizers (label robustesse).
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <numeric>
#include <random>

#include "bilanTest.h"
#include "fichiers.h"
#include "gestionCarte.h"

namespace {

struct Attendu {
    int64_t mains, misees, payees, perdues, parties, meilleurs, serie, gagnante, perdante, gainMax, creditMax;
    int32_t points, depart;
};

struct Cas {
    const char* nom;
    Bilan depart;
    std::vector<MainJouee> mains;
    Attendu attendu;
};

TEST(Bilan, ArithmetiqueDesMainsEcrites)
{
    const Cas cas[] = {
        {"une perte", vide(), {main_(10, Rien, 40, 0, 1, 1)}, {1, 10, 0, 0, 1, 0, -1, 0, 1, 0, 40, 1, 50}},
        {"paire puis deux doubles paires", vide(),
         {main_(10, Paire, 50, 1, 1, 1), main_(20, DoublePaire, 70, 2, 2, 2), main_(20, DoublePaire, 90, 1, 2, 3)},
         {3, 50, 90, 0, 1, 2, 3, 3, 0, 40, 90, 3, 50}},
        {"le dernier credit perdu", vide(), {main_(50, Rien, 0, 0, 0, 1)}, {1, 50, 0, 1, 1, 1, -1, 0, 1, 0, 0, 1, 50}},
        {"series", vide(),
         {main_(1, Paire, 50, 1, 1, 1), main_(1, Brelan, 52, 1, 1, 2), main_(1, Rien, 51, 0, 0, 3),
          main_(1, Rien, 50, 0, 0, 4), main_(1, Rien, 49, 0, 0, 5), main_(1, Suite, 52, 1, 1, 6)},
         {6, 6, 8, 0, 1, 6, 1, 2, 3, 4, 52, 6, -1}},
        // A new game, then a hand that does not follow: each starts a curve and counts a game.
        {"nouvelle partie", vide(),
         {main_(5, Rien, 45, 0, 0, 1), main_(5, Rien, 40, 0, 0, 2), main_(5, Carre, 90, 9, 9, 1),
          main_(5, Rien, 85, 0, 0, 7)},
         {4, 20, 45, 0, 3, 4, -1, 1, 2, 45, 90, 1, 90}},
        {"201 mains", vide(), suite(201, 1, DoublePaire, 50), {201, 201, 402, 0, 1, 201, 201, 201, 0, 2, 251, 200, 51}},
        // Not a paid hand: no stake, a payout that is not the class's, a best hold worth less.
        {"mains impossibles", vide(),
         {main_(0, Rien, 50, 0, 0, 1), {10, 30, Paire, 60, U, U, 1}, main_(10, Paire, 50, 2, 1, 1),
          {10, 0, NB_COMBINAISONS, 50, 0, 0, 1}},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 50}},
        // Near the limits the sums stay where they are, consistent; the rest goes on.
        {"mises au plafond", avec([](Bilan* b) { b->mains = 1, b->misees = MAX - 5, b->combinaisons[0] = 1; }),
         {main_(10, Paire, 60, 1, 1, 1)}, {1, MAX - 5, 0, 0, 0, 0, 1, 1, 0, 10, 60, 1, 60}},
        {"mains au plafond", avec([](Bilan* b) { b->mains = b->misees = b->combinaisons[1] = MAX; }),
         {main_(10, Paire, 60, 1, 1, 1)}, {MAX, MAX, 0, 0, 0, 0, 1, 1, 0, 10, 60, 1, 60}},
        {"esperances au plafond",
         avec([](Bilan* b) {
             b->mains = b->combinaisons[1] = 1, b->misees = MAX / 20, b->attenduMeilleur = {MAX, U - 1};
         }),
         {main_(1, Paire, 50, 1, 1, 1)}, {1, MAX / 20, 0, 0, 0, 0, 1, 1, 0, 1, 50, 1, 50}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Bilan b = c.depart;
        for (const MainJouee& m : c.mains) ajouteMain(&b, &m);
        const Attendu& a = c.attendu;
        EXPECT_EQ((std::array{b.mains, b.misees, b.payees, b.partiesPerdues, b.parties, b.meilleursChoix}),
                  (std::array{a.mains, a.misees, a.payees, a.perdues, a.parties, a.meilleurs}));
        EXPECT_EQ((std::array{b.serie, b.serieGagnante, b.seriePerdante, b.gainMax, b.creditMax}),
                  (std::array{a.serie, a.gagnante, a.perdante, a.gainMax, a.creditMax}));
        EXPECT_EQ(b.nbPoints, a.points);
        EXPECT_TRUE(a.depart < 0 || b.creditDepart == a.depart) << b.creditDepart;
        EXPECT_EQ(std::accumulate(b.combinaisons.begin(), b.combinaisons.end(), Grand{0}), Grand{b.mains});
        std::string raison;
        Bilan relu;
        EXPECT_TRUE(lectureBilan(texteBilan(&b), &relu, &raison)) << raison;  // what the record can be, it reads back
    }
}

// Random deals played with random holds, valued by the advisor: the sums are
// exact in units, luck and skill split the gap between paid and best
// exactly, the best hold adds no cost, the curve follows credit and
// expected path. VELMORA_GRAINE replays a run.
TEST(Bilan, ChanceEtCoutExactsEnUnites)
{
    const char* choisie = std::getenv("VELMORA_GRAINE");
    const unsigned graine = choisie ? std::strtoul(choisie, nullptr, 10) : std::random_device{}();
    std::printf("VELMORA_GRAINE=%u\n", graine);
    std::mt19937 hasard(graine);
    Bilan b = vide();
    int32_t credit = 100000;  // a rich game: any stake up to 200 can be lost
    Grand paye = 0, joue = 0, meilleur = 0, attendu = Grand{credit} * U;
    for (int main = 1; main <= 300; ++main) {
        std::array<int32_t, NB_CARTES> paquet;
        std::iota(paquet.begin(), paquet.end(), 1);
        std::shuffle(paquet.begin(), paquet.end(), hasard);
        Garde gardes[NB_GARDES];
        analyseGardes(&tables, paquet.data(), gardes);
        const int32_t m = meilleureGarde(gardes), g = hasard() % 3 ? m : static_cast<int32_t>(hasard() % NB_GARDES);
        int32_t finale[5], tire = 5;
        for (int i = 0; i < 5; ++i) finale[i] = g >> i & 1 ? paquet[i] : paquet[tire++];
        const int32_t c = combinaisonConseil(&tables, finale), mise = 1 + hasard() % 200;
        credit += (multiplicateurs[c] - 1) * mise;
        const MainJouee jouee{mise, multiplicateurs[c] * mise, c, credit, gardes[g].gain * (U / gardes[g].nbTirages),
                              gardes[m].gain * (U / gardes[m].nbTirages), main};
        const Grand coutAvant = coutUnites(&b);
        ajouteMain(&b, &jouee);
        paye += Grand{jouee.gain} * U, joue += Grand{mise} * jouee.valeurJouee;
        meilleur += Grand{mise} * jouee.valeurMeilleure;
        attendu += Grand{mise} * (jouee.valeurJouee - U);
        ASSERT_EQ(paye - meilleur, chanceUnites(&b) - coutUnites(&b)) << "hand " << main;
        ASSERT_EQ(coutUnites(&b) == coutAvant, jouee.valeurJouee == jouee.valeurMeilleure) << "hand " << main;
        ASSERT_GE(coutUnites(&b), coutAvant);
        ASSERT_EQ(b.attendus[b.nbPoints - 1], attendu);
        ASSERT_EQ(b.credits[b.nbPoints - 1], credit);
    }
    EXPECT_EQ(chanceUnites(&b), paye - joue);
    EXPECT_EQ(coutUnites(&b), meilleur - joue);
    EXPECT_TRUE(b.attenduJoue.unites < U && b.attenduMeilleur.unites < U);
}

// The shares printed beside the bars are the advisor's fractions, which
// sum to 1; the player's own are of the hands recorded.
TEST(Bilan, PartsExactesDuConseilEtPartsDuJoueur)
{
    RetourConseil retour;
    analyseRetour(&tables, &retour);
    const auto& d = retour.distribution;
    EXPECT_EQ(std::accumulate(d.begin(), d.end(), uint64_t{0}), retour.denominateur);
    Bilan b = vide();
    for (const MainJouee& m : {main_(1, Paire, 50, 1, 1, 1), main_(1, Paire, 50, 1, 1, 2), main_(1, Rien, 49, 0, 0, 3)})
        ajouteMain(&b, &m);
    TextesBilan t;
    textesBilan(&b, &retour, &t);
    for (int32_t c = 0; c < NB_COMBINAISONS; ++c) {
        char attendu[TAILLE_TEXTE];
        ecritPourcentage(attendu, sizeof attendu, retour.distribution[c], retour.denominateur);
        EXPECT_STREQ(t.partsExactes[c].data(), attendu) << c;
    }
    // As velmora-conseil --retour prints them: 0,4955284382 and 0,0000137183.
    EXPECT_STREQ(t.partsExactes[Paire].data(), "49,55\u00a0%");
    EXPECT_STREQ(t.partsExactes[QuinteFlushRoyal].data(), "0,00137\u00a0%");
    EXPECT_STREQ(t.parts[Paire].data(), "66,67\u00a0%");
    EXPECT_STREQ(t.parts[Rien].data(), "33,33\u00a0%");
    EXPECT_STREQ(t.parts[Brelan].data(), "0,00\u00a0%");
    textesBilan(&b, nullptr, &t);
    EXPECT_STREQ(t.partsExactes[Paire].data(), "");
}

TEST(Bilan, NombresALaFrancaise)
{
    char texte[TAILLE_TEXTE];
    const auto entier = [&](int64_t n) { ecritEntier(texte, sizeof texte, n); return std::string(texte); };
    const auto pourcent = [&](Grand n, Grand d) {
        ecritPourcentage(texte, sizeof texte, n, d);
        return std::string(texte);
    };
    const auto credits = [&](Grand u, bool s) { ecritCredits(texte, sizeof texte, u, s); return std::string(texte); };
    const std::string e = "\u00a0";
    const std::pair<std::string, std::string> cas[] = {
        {entier(0), "0"}, {entier(999), "999"}, {entier(1234), "1" + e + "234"},
        {entier(-1234567), "\u2212" "1" + e + "234" + e + "567"},
        {entier(std::numeric_limits<int64_t>::min()),
         "\u2212" "9" + e + "223" + e + "372" + e + "036" + e + "854" + e + "775" + e + "808"},
        {pourcent(11902, 10000), "119,02" + e + "%"}, {pourcent(1, 3), "33,33" + e + "%"},
        {pourcent(0, 5), "0,00" + e + "%"},
        {pourcent(1, 200), "0,500" + e + "%"}, {pourcent(1, 72193), "0,00139" + e + "%"}, {pourcent(1, 0), "—"},
        {pourcent(123456, 10), "1" + e + "234" + e + "560,00" + e + "%"},
        {credits(U * 12 + U / 3, true), "+12,3"}, {credits(-U * 12 - U / 2, true), "\u2212" "12,5"},
        {credits(U / 21, true), "0,0"}, {credits(U * 4567, false), "4" + e + "567,0"}};
    for (const auto& [obtenu, attendu] : cas) EXPECT_EQ(obtenu, attendu);
}

// --- The file ---

class FichierStatistiques : public testing::Test {
protected:
    const fs::path chemin = dossierVelmora(BaseXdg::donnees) + "/statistiques";
    void SetUp() override { fs::remove_all(chemin.parent_path()); }
    void TearDown() override { fs::remove_all(chemin.parent_path()); }
    static std::string lit(const fs::path& p)
    {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    // Loads the file; the message written on standard error.
    std::string charge(FichierBilan* f)
    {
        testing::internal::CaptureStderr();
        chargeBilan(f);
        return testing::internal::GetCapturedStderr();
    }
};

Bilan joue()
{
    Bilan b = vide();
    for (const MainJouee& m : suite(230, 2, DoublePaire, 50)) ajouteMain(&b, &m);
    const MainJouee perte = main_(7, Rien, 503, 0, 1, 231);
    ajouteMain(&b, &perte);
    return b;
}

TEST_F(FichierStatistiques, AllerRetourEtVersionPlusRecente)
{
    FichierBilan f{chemin.string(), joue()};
    enregistreBilan(&f);
    const std::string texte = lit(chemin);
    EXPECT_TRUE(texte.starts_with("velmora statistiques 1\n")) << texte;
    for (const char* ligne :
         {"\nmains 231\n", "\nmisees 467\n", "\npayees 920\n", "\ncombinaisons 1 0 230 0 0 0 0 0 0 0\n"})
        EXPECT_NE(texte.find(ligne), std::string::npos) << ligne;
    FichierBilan relu{};
    EXPECT_EQ(charge(&relu), "");
    EXPECT_EQ(texteBilan(&relu.bilan), texte);
    EXPECT_EQ(relu.chemin, chemin.string());

    // A newer game's file is kept aside whole, and the record starts empty.
    std::string recent = texte;
    recent.replace(recent.find(" 1\n"), 3, " 2\n");
    std::ofstream(chemin, std::ios::binary) << recent;
    const std::string message = charge(&relu);
    EXPECT_EQ(relu.bilan.mains, 0);
    EXPECT_EQ(lit(chemin.string() + ".illisible"), recent);
    EXPECT_NE(message.find("version"), std::string::npos) << message;
}

// The saved game's table of damaged files: each is set aside as it is, with
// one line that names it, and the record starts empty.
TEST_F(FichierStatistiques, UnFichierAbimeEstMisDeCote)
{
    const Bilan b = joue();
    const std::string bon = texteBilan(&b);
    std::vector<std::pair<std::string, std::string>> cas = {
        {"vide", ""}, {"hasard", std::string(300, '\x9c')}, {"enorme", bon + std::string(TAILLE_MAX_BILAN, '\n')}};
    for (std::size_t fin = bon.find('\n'); fin + 1 < bon.size(); fin = bon.find('\n', fin + 1))
        cas.emplace_back("tronque a " + std::to_string(fin), bon.substr(0, fin + 1));
    std::mt19937 hasard(20261206);
    for (int n = 0; n < 40; ++n) {
        std::string abime = bon;
        abime[hasard() % abime.size()] ^= static_cast<char>(1 << (hasard() % 8));
        cas.emplace_back("octet change " + std::to_string(n), abime);
    }
    // Well-formed with a right checksum, but no record of real hands.
    const auto modifie = [&](void (*change)(Bilan*)) { Bilan m = b; change(&m); return texteBilan(&m); };
    cas.emplace_back("classes", modifie([](Bilan* m) { m->combinaisons[3]++; }));
    cas.emplace_back("mises", modifie([](Bilan* m) { m->misees = m->mains - 1; }));
    cas.emplace_back("gains", modifie([](Bilan* m) { m->payees = m->misees * 21 + 1; }));
    cas.emplace_back("meilleur moins que joue",
                     modifie([](Bilan* m) { m->attenduJoue.credits = m->attenduMeilleur.credits + 1; }));
    cas.emplace_back("unites", modifie([](Bilan* m) { m->attenduMeilleur.unites = U; }));
    cas.emplace_back("tout au mieux, un cout", modifie([](Bilan* m) { m->meilleursChoix = m->mains; }));
    cas.emplace_back("parties perdues", modifie([](Bilan* m) { m->partiesPerdues = m->parties + 1; }));
    cas.emplace_back("serie", modifie([](Bilan* m) { m->serie = m->serieGagnante + 1; }));
    cas.emplace_back("points", modifie([](Bilan* m) { m->mainsPartie = m->nbPoints - 1; }));
    cas.emplace_back("credit negatif", modifie([](Bilan* m) { m->credits[4] = -1; }));
    // Another unit, with its own right checksum.
    std::string autreUnite = bon.substr(0, bon.rfind("crc32"));
    autreUnite.replace(autreUnite.find("7669695"), 7, "7669696");
    char crc[16];
    const auto octets = reinterpret_cast<const Bytef*>(autreUnite.data());
    std::snprintf(crc, sizeof crc, "%08lx", crc32(0L, octets, autreUnite.size()));
    cas.emplace_back("unite", autreUnite + "crc32 " + crc + "\n");
    for (const auto& [nom, texte] : cas) {
        SCOPED_TRACE(nom);
        fs::create_directories(chemin.parent_path());
        std::ofstream(chemin, std::ios::binary) << texte;
        FichierBilan f{};
        const std::string message = charge(&f);
        EXPECT_EQ(f.bilan.mains, 0);
        EXPECT_FALSE(fs::exists(chemin));
        EXPECT_EQ(lit(chemin.string() + ".illisible"), texte);
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_NE(message.find(chemin.string()), std::string::npos) << message;
    }
}


}  // namespace
