// Hand classification, hands written rank then suit: "AP RP DP VP 10P".
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analyseCarte.h"
#include "gestionCarte.h"

namespace {

// Ranks 2-10, V (jack), D (queen), R (king), A; suits T, K, C, P.
Carte carteDe(const std::string& texte)
{
    const std::string rangs = "VDRA";
    const std::string couleurs = "TKCP";
    const char r = texte[0];
    const int32_t valeur = std::isdigit(static_cast<unsigned char>(r)) ? std::stoi(texte)
                                                                        : 11 + static_cast<int32_t>(rangs.find(r));
    const int32_t couleur = static_cast<int32_t>(couleurs.find(texte.back()));
    Carte c;
    initCarte(&c, valeur, couleur, idCarte(valeur, couleur));
    return c;
}

// Builds the hand the way the game does, through the insert by id.
int32_t classe(const std::string& main)
{
    std::istringstream flux(main);
    std::vector<Carte> cartes;
    for (std::string mot; flux >> mot;) {
        cartes.push_back(carteDe(mot));
    }
    Liste liste;
    initListe(&liste);
    for (Carte& c : cartes) {
        addListeId(&liste, &c);
    }
    return analyseCarte(&liste);
}

struct Cas {
    const char* main;
    int32_t attendu;
};

TEST(AnalyseCarte, ChaqueCombinaisonEtSesFormesTriees)
{
    const Cas cas[] = {
        {"2T 5K 9C VP RT", Rien},
        {"2T 2P 7C 10P DT", Paire},           // pair first
        {"3T 9P 9C 10P DT", Paire},           // pair in the middle
        {"3T 4P 7C AP AT", Paire},            // pair last
        {"4T 4C 9K 9P RT", DoublePaire},      // odd card last
        {"2T 5K 5C 9P 9T", DoublePaire},      // odd card first
        {"5T 5K 7C 9P 9T", DoublePaire},      // odd card in the middle
        {"8T 8K 8C VP AT", Brelan},
        {"2T 7K 7C 7P RT", Brelan},
        {"2T 3K AC AP AT", Brelan},
        {"3T 3K 3C RP RT", FullHouse},
        {"3T 3K RC RP RT", FullHouse},
        {"2T 9K 9C 9P 9T", Carre},
        {"9K 9C 9P 9T RT", Carre},
        {"5T 6K 7C 8P 9T", Suite},
        {"10T VK DC RP AT", Suite},
        {"AT 2K 3C 4P 5T", Suite},            // five-high, ace low
        {"2C 6C 9C VC RC", Couleur},
        {"VC DC RC AC 2C", Couleur},          // no wrap-around straight
        {"VC DK RC AC 2C", Rien},
        {"5P 6P 7P 8P 9P", QuinteFlush},
        {"9P 10P VP DP RP", QuinteFlush},
        {"AK 2K 3K 4K 5K", QuinteFlush},      // five-high straight flush
        {"10C VC DC RC AC", QuinteFlushRoyal},
        {"AP RP DP VP 10P", QuinteFlushRoyal},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(classe(c.main), c.attendu) << c.main;
    }
}

}  // namespace
