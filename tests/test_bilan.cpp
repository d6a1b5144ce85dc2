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

// What a row expects: hands, staked, paid, games lost, games, best holds, the
// run, the longest runs won and lost, the largest payout, the highest credit,
// the curve's points and its start (-1 for unchecked).
using Attendu = std::array<int64_t, 13>;

Bilan avec(void (*change)(Bilan*)) { Bilan b = vide(); change(&b); return b; }

TEST(Bilan, ArithmetiqueDesMainsEcrites)
{
    const std::tuple<const char*, Bilan, std::vector<MainJouee>, Attendu> cas[] = {
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
    for (const auto& [nom, depart, mains, attendu] : cas) {
        SCOPED_TRACE(nom);
        Bilan b = depart;
        for (const MainJouee& m : mains) ajouteMain(&b, &m);
        const Attendu obtenu{b.mains, b.misees, b.payees, b.partiesPerdues, b.parties, b.meilleursChoix, b.serie,
                             b.serieGagnante, b.seriePerdante, b.gainMax, b.creditMax, b.nbPoints,
                             attendu[12] < 0 ? -1 : b.creditDepart};
        EXPECT_EQ(obtenu, attendu);
        EXPECT_EQ(std::accumulate(b.combinaisons.begin(), b.combinaisons.end(), Grand{0}), Grand{b.mains});
        Bilan relu;
        std::string raison;
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
        meilleur += Grand{mise} * jouee.valeurMeilleure, attendu += Grand{mise} * (jouee.valeurJouee - U);
        ASSERT_EQ(coutUnites(&b) == coutAvant, jouee.valeurJouee == jouee.valeurMeilleure) << "hand " << main;
        ASSERT_EQ(b.attendus[b.nbPoints - 1], attendu);
        ASSERT_EQ(b.credits[b.nbPoints - 1], credit);
    }
    EXPECT_EQ(chanceUnites(&b), paye - joue);
    EXPECT_EQ(coutUnites(&b), meilleur - joue);
    EXPECT_TRUE(b.attenduJoue.unites < U && b.attenduMeilleur.unites < U);
}

// Numbers as a French reader expects them, and the shares beside the bars:
// the advisor's exact ones, as velmora-conseil --retour prints them
// (0,4955284382 and 0,0000137183), none without them, and the player's own.
TEST(Bilan, NombresEtPartsALaFrancaise)
{
    char t[TAILLE_TEXTE];
    const auto entier = [&](int64_t n) { ecritEntier(t, sizeof t, n); return std::string(t); };
    const auto pourcent = [&](Grand n, Grand d) { ecritPourcentage(t, sizeof t, n, d); return std::string(t); };
    const auto credits = [&](Grand u, bool s) { ecritCredits(t, sizeof t, u, s); return std::string(t); };
    RetourConseil retour;
    analyseRetour(&tables, &retour);
    Bilan b = vide();
    for (const MainJouee& m : {main_(1, Paire, 50, 1, 1, 1), main_(1, Paire, 50, 1, 1, 2), main_(1, Rien, 49, 0, 0, 3)})
        ajouteMain(&b, &m);
    TextesBilan parts, sansRetour;
    textesBilan(&b, &retour, &parts);
    textesBilan(&b, nullptr, &sansRetour);
    const std::string e = "\u00a0", pc = e + "%";
    const std::pair<std::string, std::string> cas[] = {
        {entier(0), "0"}, {entier(999), "999"}, {entier(1234), "1" + e + "234"},
        {entier(-1234567), "\u2212" "1" + e + "234" + e + "567"},
        {entier(std::numeric_limits<int64_t>::min()),
         "\u2212" "9" + e + "223" + e + "372" + e + "036" + e + "854" + e + "775" + e + "808"},
        {pourcent(11902, 10000), "119,02" + pc}, {pourcent(1, 3), "33,33" + pc}, {pourcent(0, 5), "0,00" + pc},
        {pourcent(1, 200), "0,500" + pc}, {pourcent(1, 72193), "0,00139" + pc}, {pourcent(1, 0), "—"},
        {pourcent(123456, 10), "1" + e + "234" + e + "560,00" + pc},
        {credits(U * 12 + U / 3, true), "+12,3"}, {credits(-U * 12 - U / 2, true), "\u2212" "12,5"},
        {credits(U / 21, true), "0,0"}, {credits(U * 4567, false), "4" + e + "567,0"},
        {parts.partsExactes[Paire].data(), "49,55" + pc}, {parts.partsExactes[QuinteFlushRoyal].data(), "0,00137" + pc},
        {sansRetour.partsExactes[Paire].data(), ""}, {parts.parts[Paire].data(), "66,67" + pc},
        {parts.parts[Rien].data(), "33,33" + pc}, {parts.parts[Brelan].data(), "0,00" + pc}};
    for (const auto& [obtenu, attendu] : cas) EXPECT_EQ(obtenu, attendu);
}

// --- The file ---

// The record written and read back whole; each damaged file, or a newer
// game's, set aside as it is with one line that names it, the record empty.
// Truncated files and changed bytes in general are the saved game's table
// (the same file functions): here, what only this record's checksum and the
// ties between its values catch.
TEST(FichierStatistiques, AllerRetourEtFichiersMisDeCote)
{
    const fs::path chemin = dossierVelmora(BaseXdg::donnees) + "/statistiques";
    const auto lit = [](const auto& p) { std::string t, r; litFichier(p, 2 * TAILLE_MAX_BILAN, &t, &r); return t; };
    FichierBilan f{chemin.string(), vide()};
    for (const MainJouee& m : suite(230, 2, DoublePaire, 50)) ajouteMain(&f.bilan, &m);
    const MainJouee perte = main_(7, Rien, 503, 0, 1, 231);
    ajouteMain(&f.bilan, &perte);
    enregistreBilan(&f);
    const std::string bon = lit(chemin), sansSomme = bon.substr(0, bon.rfind("crc32"));
    for (const char* ligne : {"velmora statistiques 1\n", "\nmains 231\n", "\nmisees 467\n", "\npayees 920\n",
                              "\ncombinaisons 1 0 230 0 0 0 0 0 0 0\n"})
        EXPECT_NE(bon.find(ligne), std::string::npos) << ligne;
    FichierBilan relu{};
    chargeBilan(&relu);
    EXPECT_EQ(texteBilan(&relu.bilan), bon);

    std::string chiffre = bon, unite = sansSomme;
    chiffre.replace(chiffre.find("payees 920"), 10, "payees 921");  // a record of real hands, but for the checksum
    unite.replace(unite.find(std::to_string(U)), std::to_string(U).size(), std::to_string(U + 1));
    const auto octets = reinterpret_cast<const Bytef*>(unite.data());
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08lx", crc32(0L, octets, static_cast<uInt>(unite.size())));
    // The last ones well-formed with a right checksum, but no record of real hands.
    const auto modifie = [&](void (*change)(Bilan*)) { Bilan m = f.bilan; change(&m); return texteBilan(&m); };
    const std::pair<std::string, std::string> cas[] = {
        {"vide", ""}, {"hasard", std::string(300, '\x9c')}, {"enorme", bon + std::string(TAILLE_MAX_BILAN, '\n')},
        {"version", "velmora statistiques 2" + bon.substr(bon.find('\n'))}, {"sans somme", sansSomme},
        {"tronque", bon.substr(0, bon.size() / 2)}, {"chiffre change", chiffre},
        {"autre unite", unite + "crc32 " + crc + "\n"}, {"classes", modifie([](Bilan* m) { m->combinaisons[3]++; })},
        {"mises", modifie([](Bilan* m) { m->misees = m->mains - 1; })},
        {"gains", modifie([](Bilan* m) { m->payees = m->misees * 21 + 1; })},
        {"meilleur < joue", modifie([](Bilan* m) { m->attenduJoue.credits = m->attenduMeilleur.credits + 1; })},
        {"unites", modifie([](Bilan* m) { m->attenduMeilleur.unites = U; })},
        {"tout au mieux, un cout", modifie([](Bilan* m) { m->meilleursChoix = m->mains; })},
        {"parties perdues", modifie([](Bilan* m) { m->partiesPerdues = m->parties + 1; })},
        {"serie", modifie([](Bilan* m) { m->serie = m->serieGagnante + 1; })},
        {"points", modifie([](Bilan* m) { m->mainsPartie = m->nbPoints - 1; })},
        {"credit negatif", modifie([](Bilan* m) { m->credits[4] = -1; })}};
    for (const auto& [nom, texte] : cas) {
        SCOPED_TRACE(nom);
        fs::create_directories(chemin.parent_path());
        std::ofstream(chemin, std::ios::binary) << texte;
        testing::internal::CaptureStderr();
        chargeBilan(&relu);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(relu.bilan.mains, 0);
        EXPECT_FALSE(fs::exists(chemin));
        EXPECT_EQ(lit(chemin.string() + ".illisible"), texte);
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_NE(message.find(chemin.string()), std::string::npos) << message;
    }
}

}  // namespace
