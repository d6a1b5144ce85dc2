// Shared by the statistics' tests: the advisor's tables, and hands written
// as a record takes them.
#pragma once

#include <filesystem>
#include <limits>
#include <vector>

#include "analyseConseil.h"
#include "bilan.h"
#include "gestionMiseGain.h"

namespace fs = std::filesystem;
constexpr int64_t U = UNITE_CONSEIL, MAX = std::numeric_limits<int64_t>::max();

inline const TablesConseil tables = [] { TablesConseil t; initTablesConseil(&t); return t; }();

// A hand as written: stake, class, credit after, values of the hold played
// and of the best one in credits per credit staked, hand of the game.
inline MainJouee main_(int32_t mise, int32_t c, int32_t credit, int64_t jouee, int64_t meilleure, int64_t partie)
{
    return {mise, multiplicateurs[c] * mise, c, credit, jouee * U, meilleure * U, partie};
}

inline Bilan vide() { Bilan b; initBilan(&b); return b; }

// n hands of class c in a row, each staked mise, from the credit credit0.
inline std::vector<MainJouee> suite(int n, int32_t mise, int32_t c, int32_t credit0)
{
    std::vector<MainJouee> mains;
    for (int i = 1; i <= n; ++i)
        mains.push_back(main_(mise, c, credit0 + i * (multiplicateurs[c] - 1) * mise, 1, 1, i));
    return mains;
}
