// Hand classification, hands written rank then suit: "AP RP DP VP 10P".
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analyseCarte.h"
#include "gestionCarte.h"

namespace {

// Ranks 2-10, V (jack), D (queen), R (king), A; suits T, K, C, P. The hand
// is built the way the game builds it, through the insert by id.
int32_t classe(const std::string& texte)
{
    std::istringstream flux(texte);
    std::vector<Carte> cartes;
    for (std::string mot; flux >> mot;) {
        const std::size_t figure = std::string("VDRA").find(mot[0]);
        const int32_t valeur = figure == std::string::npos ? std::stoi(mot) : 11 + int32_t(figure);
        const int32_t couleur = int32_t(std::string("TKCP").find(mot.back()));
        initCarte(&cartes.emplace_back(), valeur, couleur, idCarte(valeur, couleur));
    }
    Liste main;
    initListe(&main);
    for (Carte& c : cartes) addListeId(&main, &c);
    return analyseCarte(&main);
}

TEST(AnalyseCarte, ChaqueCombinaisonEtSesFormesTriees)
{
    const std::pair<const char*, int32_t> cas[] = {
        {"2T 5K 9C VP RT", Rien},
        // A pair first, in the middle, last; two pair with the odd card last, first, in the middle.
        {"2T 2P 7C 10P DT", Paire}, {"3T 9P 9C 10P DT", Paire}, {"3T 4P 7C AP AT", Paire},
        {"4T 4C 9K 9P RT", DoublePaire}, {"2T 5K 5C 9P 9T", DoublePaire}, {"5T 5K 7C 9P 9T", DoublePaire},
        {"8T 8K 8C VP AT", Brelan}, {"2T 7K 7C 7P RT", Brelan}, {"2T 3K AC AP AT", Brelan},
        {"3T 3K 3C RP RT", FullHouse}, {"3T 3K RC RP RT", FullHouse},
        {"2T 9K 9C 9P 9T", Carre}, {"9K 9C 9P 9T RT", Carre},
        {"5T 6K 7C 8P 9T", Suite}, {"10T VK DC RP AT", Suite}, {"AT 2K 3C 4P 5T", Suite},  // ace low
        // No wrap-around straight.
        {"2C 6C 9C VC RC", Couleur}, {"VC DC RC AC 2C", Couleur}, {"VC DK RC AC 2C", Rien},
        {"5P 6P 7P 8P 9P", QuinteFlush}, {"9P 10P VP DP RP", QuinteFlush}, {"AK 2K 3K 4K 5K", QuinteFlush},
        {"10C VC DC RC AC", QuinteFlushRoyal}, {"AP RP DP VP 10P", QuinteFlushRoyal},
    };
    for (const auto& [main, attendu] : cas) EXPECT_EQ(classe(main), attendu) << main;
}

}  // namespace
