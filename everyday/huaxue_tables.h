// The tables behind FormulaOf: whole names, and the ions that systematic names are made of.
#pragma once
#include <array>

#include "everyday/mekHuaxue.h"

// Searched first, in order.
extern const std::array<FSubstance, 31> SubstanceTable;
// The leading part of a systematic name, in search order.
extern const std::array<FIon, 6> AnionTable;
// The trailing part of a systematic name, in search order.
extern const std::array<FIon, 15> CationTable;
