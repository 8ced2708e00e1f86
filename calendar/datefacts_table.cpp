// Weekdays, the twelve animals, and the fixed start days of the 24 solar terms and the
// 12 constellations, the same in every year.
#include "calendar/datefacts_table.h"

const std::array<const char*, 7> WeekdayNames = {
    "星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

const std::array<const char*, 12> AnimalNames = {
    "鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};

const std::array<FSolarTermMonth, 12> SolarTermMonths = {{
    {5, "小寒", 20, "大寒"},
    {3, "立春", 18, "雨水"},
    {5, "惊蛰", 20, "春分"},
    {4, "清明", 19, "谷雨"},
    {5, "立夏", 20, "小满"},
    {5, "芒种", 21, "夏至"},
    {6, "小暑", 22, "大暑"},
    {7, "立秋", 22, "处暑"},
    {7, "白露", 22, "秋分"},
    {8, "寒露", 23, "霜降"},
    {7, "立冬", 22, "小雪"},
    {6, "大雪", 21, "冬至"},
}};

const std::array<FConstellationMonth, 12> ConstellationMonths = {{
    {"摩羯座", 19, "宝瓶座"},
    {"宝瓶座", 18, "双鱼座"},
    {"双鱼座", 20, "白羊座"},
    {"白羊座", 20, "金牛座"},
    {"金牛座", 21, "双子座"},
    {"双子座", 22, "巨蟹座"},
    {"巨蟹座", 23, "狮子座"},
    {"狮子座", 23, "室女座"},
    {"室女座", 24, "天秤座"},
    {"天秤座", 24, "天蝎座"},
    {"天蝎座", 22, "人马座"},
    {"人马座", 22, "摩羯座"},
}};
