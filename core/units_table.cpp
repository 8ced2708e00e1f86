// Metric, Chinese market (市制) and imperial units. The market units are the ones fixed
// in 1929: 1 尺 = 1/3 米, 1 亩 = 6000 平方尺 = 2000/3 平方米. The imperial factors are the
// rounded ones the calculator has always used (英尺 0.305, 英里 1609, 英亩 4047).
#include "core/units_table.h"

const std::array<FUnit, 15> LengthUnits = {{
    {"微米", 0.000001},
    {"毫米", 0.001},
    {"厘米", 0.01},
    {"分米", 0.1},
    {"米", 1},
    {"千米", 1000},
    {"公里", 1000},
    {"寸", 1.0 / 30},
    {"尺", 1.0 / 3},
    {"丈", 10.0 / 3},
    {"里", 500},
    {"英寸", 0.0254},
    {"英尺", 0.305},
    {"英里", 1609},
    {"海里", 1852},
}};

const std::array<FUnit, 15> AreaUnits = {{
    {"公顷", 10000},
    {"平方毫米", 0.000001},
    {"平方厘米", 0.0001},
    {"平方分米", 0.01},
    {"平方米", 1},
    {"平方千米", 1000000},
    {"平方公里", 1000000},
    {"平方寸", 1.0 / 900},
    {"平方尺", 1.0 / 9},
    {"平方丈", 100.0 / 9},
    {"平方里", 250000},
    {"亩", 2000.0 / 3},
    {"平方英亩", 4047},  // the acre
    {"顷", 200000.0 / 3},  // 100 亩
    {"分", 200.0 / 3},  // a tenth of a 亩
}};

const std::array<FUnit, 6> VolumeUnits = {{
    {"毫升", 0.000001},
    {"升", 0.001},
    {"立方厘米", 0.000001},
    {"立方分米", 0.001},
    {"立方米", 1},
    {"加仑", 0.004546},
}};

const std::array<FUnit, 10> MassUnits = {{
    {"克", 0.001},
    {"千克", 1},
    {"公斤", 1},
    {"斤", 0.5},
    {"两", 0.05},
    {"钱", 0.005},
    {"担", 50},
    {"吨", 1000},
    {"英磅", 0.454},
    {"毫克", 0.000001},
}};

const std::array<FUnitAlias, 1> AreaAliases = {{{"英亩", "平方英亩"}}};
const std::array<FUnitAlias, 1> MassAliases = {{{"磅", "英磅"}}};
