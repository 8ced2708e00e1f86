// Substances by whole name and the ions of systematic names. 亚铁, 亚铜 and 亚汞 are the
// lower valences of iron, copper and mercury; mercury(I) is listed as Hg with valence 1.
#include "everyday/huaxue_tables.h"

const std::array<FSubstance, 31> SubstanceTable = {{
    {"硫酸", "H2SO4"},
    {"盐酸", "HCl"},
    {"碳酸", "H2CO3"},
    {"硝酸", "HNO3"},
    {"氧气", "O2"},
    {"氢气", "H2"},
    {"氯气", "Cl2"},
    {"氨气", "NH3"},
    {"烧碱", "NaOH"},
    {"火碱", "NaOH"},
    {"苛性钠", "NaOH"},
    {"熟石灰", "Ca(OH)2"},
    {"生石灰", "CaO"},
    {"石灰水", "Ca(OH)2"},
    {"消石灰", "Ca(OH)2"},
    {"氯化氢", "HCl"},
    {"纯碱", "Na2CO3"},
    {"胆矾", "CuSO4"},
    {"蓝矾", "CuSO4"},
    {"食盐", "NaCl"},
    {"碱式碳酸铜", "Cu2(OH)2CO3"},
    {"铜绿", "Cu2(OH)2CO3"},
    {"石灰石", "CaCO3"},
    {"小苏打", "NaHCO3"},
    {"铁锈", "Fe2O3"},
    {"水", "H2O"},
    {"酒精", "C2H5OH"},
    {"醋酸", "CH3COOH"},
    {"尿素", "CO(NH2)2"},
    {"双氧水", "H2O2"},
    {"干冰", "CO2"},
}};

const std::array<FIon, 6> AnionTable = {{
    {"氧化", "O", -2, false},
    {"氯化", "Cl", -1, false},
    {"硝酸", "NO3", -1, true},
    {"氢氧化", "OH", -1, true},
    {"硫酸", "SO4", -2, true},
    {"碳酸", "CO3", -2, true},
}};

const std::array<FIon, 15> CationTable = {{
    {"铵", "NH4", 1, true},
    {"钾", "K", 1, false},
    {"钙", "Ca", 2, false},
    {"钠", "Na", 1, false},
    {"镁", "Mg", 2, false},
    {"钡", "Ba", 2, false},
    {"铝", "Al", 3, false},
    {"锌", "Zn", 2, false},
    {"铁", "Fe", 3, false},
    {"亚铁", "Fe", 2, false},
    {"铜", "Cu", 2, false},
    {"亚铜", "Cu", 1, false},
    {"汞", "Hg", 2, false},
    {"银", "Ag", 1, false},
    {"亚汞", "Hg", 1, false},
}};
