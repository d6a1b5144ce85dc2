// The saved game: its text both ways, damaged files set aside, a save killed
// midway, a write that fails. No display.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "fichiers.h"
#include "interfaceGraphique.h"
#include "sauvegarde.h"

namespace {

namespace fs = std::filesystem;

std::string lit(const fs::path& chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// The 52 cards shuffled and five dealt, as the game does it.
struct Table {
    Carte cartes[NB_CARTES];
    Liste sabot{}, mainJoueur{}, defausse{};
    Statistique statistiques[NB_STATISTIQUES]{{38, ""}, {12, ""}, {0, ""}, {4, ""}, {9, ""}, {60, ""}, {75, ""}};
    EtatSurface etat{};

    explicit Table(unsigned graine)
    {
        std::srand(graine);
        for (int32_t id = 1; id <= NB_CARTES; ++id) {
            initCarte(&cartes[id - 1], (id - 1) / 4 + 2, (id - 1) % 4, id);
            cartes[id - 1].indice = std::rand();
            addListeIndice(&defausse, &cartes[id - 1]);
        }
        melangeSabot(&sabot, &defausse, &mainJoueur);
        premierTirage(&sabot, &mainJoueur, &etat);
        etat.garder[1] = etat.garder[3] = 1;
    }
};

Partie enJeu(unsigned graine)
{
    Table t(graine);
    Partie p;
    capturePartie(t.statistiques, &t.sabot, &t.etat, ETAT_FIRSTHAND, &p);
    return p;
}

std::string avecCrc(const std::string& corps)
{
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08lx", crc32(0L, reinterpret_cast<const Bytef*>(corps.data()), corps.size()));
    return corps + "crc32 " + crc + "\n";
}

// Put back on fresh lists, the saved hand draws what the original deck draws.
TEST(Sauvegarde, TexteDansLesDeuxSensEtMemeTirage)
{
    Table origine(7);
    Partie p;
    capturePartie(origine.statistiques, &origine.sabot, &origine.etat, ETAT_FIRSTHAND, &p);
    p.bilan = {12, 9, CEDES_MAX};
    Partie lue{};
    std::string raison;
    ASSERT_TRUE(lecturePartie(textePartie(&p), &lue, &raison)) << raison << "\n" << textePartie(&p);
    EXPECT_EQ(textePartie(&lue), textePartie(&p));
    EXPECT_EQ(lue.bilan.cedes, CEDES_MAX);

    Table reprise(99);  // another deal, overwritten by the saved one
    EtatSurface etat{};
    restaurePartie(&lue, &reprise.sabot, &reprise.mainJoueur, &reprise.defausse, reprise.statistiques, &etat);
    EXPECT_EQ(etat.texteHaut, TEXTE_FIRSTHAND);
    secondTirage(&origine.sabot, &origine.mainJoueur, &origine.defausse, &origine.etat);
    secondTirage(&reprise.sabot, &reprise.mainJoueur, &reprise.defausse, &etat);
    EXPECT_TRUE(std::equal(etat.carte, etat.carte + 5, origine.etat.carte));
    EXPECT_TRUE(std::equal(etat.garder, etat.garder + 5, origine.etat.garder));
    EXPECT_EQ(reprise.statistiques[mise].valeur, 12);
}

// Each test program has a home of its own: the save goes there.
class Fichier : public testing::Test {
protected:
    const fs::path partie = dossierVelmora(BaseXdg::donnees) + "/partie";
    void TearDown() override { fs::remove_all(partie.parent_path()); }

    // Loads what the file holds; the message written on standard error.
    std::string charge(Sauvegarde* s)
    {
        testing::internal::CaptureStderr();
        chargeSauvegarde(s);
        return testing::internal::GetCapturedStderr();
    }
};

// Every damaged file is set aside as it is, with one line that names it.
TEST_F(Fichier, UnFichierAbimeEstMisDeCote)
{
    const Partie enJeu3 = enJeu(3);
    const std::string bon = textePartie(&enJeu3);
    std::vector<std::pair<std::string, std::string>> cas = {
        {"vide", ""},
        {"version", avecCrc("velmora partie 1" + bon.substr(bon.find('\n'), bon.rfind("crc32") - bon.find('\n')))},
        {"hasard", std::string(300, '\x9c')},
        {"enorme", bon + std::string(TAILLE_MAX_PARTIE, '\n')},
    };
    for (std::size_t fin = bon.find('\n'); fin + 1 < bon.size(); fin = bon.find('\n', fin + 1)) {
        cas.emplace_back("tronque a " + std::to_string(fin), bon.substr(0, fin + 1));
    }
    std::mt19937 hasard(20261206);
    for (int n = 0; n < 40; ++n) {
        std::string abime = bon;
        abime[hasard() % abime.size()] ^= static_cast<char>(1 << (hasard() % 8));
        cas.emplace_back("octet change " + std::to_string(n), abime);
    }
    // Well-formed with a right checksum, but impossible.
    const auto modifie = [&](auto change) { Partie p = enJeu3; change(&p); return textePartie(&p); };
    cas.emplace_back("carte en double", modifie([](Partie* p) { p->sabot[10] = p->carte[0]; }));
    cas.emplace_back("compteur negatif", modifie([](Partie* p) { p->compteurs[nbPerdu] = -1; }));
    cas.emplace_back("mise sans credit", modifie([](Partie* p) { p->compteurs[credit] = 2147483640; }));
    cas.emplace_back("marque 2", modifie([](Partie* p) { p->garder[4] = 2; }));
    cas.emplace_back("sans main ni credit", modifie([](Partie* p) { p->mainEnJeu = 0, p->compteurs[credit] = 0, p->compteurs[mise] = 0; }));
    cas.emplace_back("trop grand", avecCrc("velmora partie 2\ncredit 2147483648\n"));
    // The coach's tally: more best holds than holds, credits given away by
    // best holds only, values out of range.
    for (const BilanConseil& b : {BilanConseil{3, 4, 5}, BilanConseil{3, 3, 5}, BilanConseil{-1, 0, 0}, BilanConseil{5, 3, -1}})
        cas.emplace_back("bilan", modifie([b](Partie* p) { p->bilan = b; }));

    for (const auto& [nom, texte] : cas) {
        SCOPED_TRACE(nom);
        fs::create_directories(partie.parent_path());
        std::ofstream(partie, std::ios::binary) << texte;
        Sauvegarde s{};
        const std::string message = charge(&s);
        EXPECT_FALSE(s.reprise);
        EXPECT_FALSE(fs::exists(partie));
        EXPECT_EQ(lit(partie.string() + ".illisible"), texte);
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_NE(message.find(partie.string()), std::string::npos) << message;
        EXPECT_EQ(nom == "enorme", message.find("trop grand") != std::string::npos) << message;
    }

    std::ofstream(partie, std::ios::binary) << bon;
    Sauvegarde s{};
    EXPECT_EQ(charge(&s), "");
    EXPECT_TRUE(s.reprise);
    EXPECT_EQ(textePartie(&s.partie), bon);
}

// A writer killed at any moment leaves one whole save on disk.
TEST_F(Fichier, TueePendantLEcriture)
{
    const char* choisie = std::getenv("VELMORA_GRAINE");
    const unsigned graine = choisie ? std::strtoul(choisie, nullptr, 10) : std::random_device{}();
    std::printf("VELMORA_GRAINE=%u\n", graine);
    std::mt19937 hasard(graine);
    const Partie parties[2] = {enJeu(1), enJeu(2)};
    const std::string saves[2] = {textePartie(&parties[0]), textePartie(&parties[1])};
    std::string erreur;
    ASSERT_TRUE(ecritFichier(partie, saves[0], &erreur)) << erreur;
    for (int essai = 0; essai < 30; ++essai) {
        const pid_t enfant = fork();
        if (enfant == 0) {
            for (int i = 0;; ++i) ecritFichier(partie, saves[i % 2], &erreur);
        }
        usleep(hasard() % 20000);
        kill(enfant, SIGKILL);
        waitpid(enfant, nullptr, 0);
        const std::string texte = lit(partie);
        EXPECT_TRUE(texte == saves[0] || texte == saves[1]) << "essai " << essai << ":\n" << texte;
    }
}

// Temporaries that a killed save left beside the save go at start-up once a
// minute old; a fresh one (another window saving now) and every other file stay.
TEST_F(Fichier, VieuxTemporairesSupprimesAuDemarrage)
{
    const fs::path dossier = partie.parent_path();
    fs::create_directories(dossier);
    const char* noms[] = {"partie.ab12CD", "partie.Zx98Qw", "partie.abc", "partie.ab12CD7", "options.ab12CD",
                          "partie.illisible", "partie.ab-2CD"};
    for (const char* nom : noms) std::ofstream(dossier / nom) << "x";
    const auto vieux = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const char* nom : noms)
        if (std::string_view(nom) != "partie.Zx98Qw") fs::last_write_time(dossier / nom, vieux);
    fs::create_directory(dossier / "partie.Dossie");
    fs::last_write_time(dossier / "partie.Dossie", vieux);
    Sauvegarde s{};
    chargeSauvegarde(&s);
    for (const char* nom : noms) EXPECT_EQ(fs::exists(dossier / nom), std::string_view(nom) != "partie.ab12CD") << nom;
    EXPECT_TRUE(fs::is_directory(dossier / "partie.Dossie"));
}

// A directory the game may not write: the old save stays, one line says why.
TEST_F(Fichier, EcritureRefusee)
{
    const Partie enJeu4 = enJeu(4);
    const std::string ancienne = textePartie(&enJeu4);
    std::string erreur;
    ASSERT_TRUE(ecritFichier(partie, ancienne, &erreur)) << erreur;
    // Private directories above it stay open to the writer; its own is read-only.
    for (fs::path d = partie.parent_path().parent_path(); d != "/tmp" && d != "/"; d = d.parent_path())
        chmod(d.c_str(), 0711);
    chmod(partie.parent_path().c_str(), 0555);
    const pid_t enfant = fork();
    if (enfant == 0) {
        // root writes anywhere: the attempt is made as nobody.
        if (getuid() == 0 && setuid(65534) != 0) _exit(3);
        Sauvegarde s{partie.string(), true, enJeu(5)};
        testing::internal::CaptureStderr();
        enregistrePartie(&s, &s.partie);
        const std::string message = testing::internal::GetCapturedStderr();
        _exit(message.find(partie.string()) != std::string::npos && message.find("Permission") != std::string::npos ? 0 : 4);
    }
    int statut = 0;
    waitpid(enfant, &statut, 0);
    EXPECT_EQ(WEXITSTATUS(statut), 0);
    chmod(partie.parent_path().c_str(), 0755);
    EXPECT_EQ(lit(partie), ancienne);
    EXPECT_EQ(std::distance(fs::directory_iterator(partie.parent_path()), fs::directory_iterator{}), 1);
}

}  // namespace
