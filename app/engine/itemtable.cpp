// The selector's 57 items: label, prompt and handler. Adding an item is adding one row
// here and one handler function.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"

#include <array>

namespace {
const std::array<FItem, ItemCount> ItemTable = {{
    {"加减乘除计算", "请输入算式,如(2+3)*7/19", Item0Arithmetic},  // 0
    {"求农历和公历互换", "输入日期如2009-1-1", Item1LunarSolar},  // 1
    {"数字转汉字小写", "输入数值如235323.22", Item2LowerNumerals},  // 2
    {"数字转汉字大写", "输入数值如235323.22", Item3UpperNumerals},  // 3
    {"从身份证获得出生日期", "输入身份证号", Item4BirthDateAndSex},  // 4
    {"求指向国家当前时间", "输入国家或城市名如：美国或洛杉矶。", Item5WorldTime},  // 5
    {"求物质的化学式", "输入初中常见的酸碱盐等名称如氢氧化钠", Item6ChemicalFormula},  // 6
    {"求两个日期间隔天数", "输入两个日期，用空格隔开,2009-1-1 2008-5-10", Item7DayInterval},  // 7
    {"求日期前后多少天的日期", "输入日期和天数，用空格隔开,2009-1-1 -5", Item8DateAfterDays},  // 8
    {"求星期", "输入日期,如2009-1-1", Item9Weekday},  // 9
    {"求属相", "输入日期,如1990-1-1", Item10Animal},  // 10
    {"求节气", "输入日期,如2009-1-1", Item11SolarTerm},  // 11
    {"求汉字笔画", "输入一个汉字,如：丫", Item12StrokeCount},  // 12
    {"求汉字偏旁", "输入一个汉字,如：乂", Item13Radical},  // 13
    {"求硬盘序列号", "输入磁盘如：c", Item14VolumeSerial},  // 14
    {"求内存使用情况", "直接按=", Item15Memory},  // 15
    {"计算CPU频率", "直接按=", Item16CpuClock},  // 16
    {"获取外网IP", "直接按=", Item17DialUpAddress},  // 17
    {"简体转为繁体", "输入简体文字", Item18ToTraditional},  // 18
    {"繁体转为简体", "输入繁体文字", Item19ToSimplified},  // 19
    {"计算时间差", "格式:2010-8-1 20:40#2010-7-20 10:30", Item20TimeDifference},  // 20
    {"求磁盘容量", "输入磁盘如:  C:", Item21DiskTotal},  // 21
    {"求磁盘剩余容量", "输入磁盘如:  C:", Item22DiskFree},  // 22
    {"求开机时间", "直接按=", Item23Uptime},  // 23
    {"计算某地的经纬度", "输入省及市名如：四川成都", Item24CityPosition},  // 24
    {"计算两地间距离", "输入两地,空格隔开：四川成都 湖北武汉", Item25CityDistance},  // 25
    {"*从网址中获得IP地址", "输入网址如:www.example.com", Item26HostAddress},  // 26
    {"*计算某地址天气", "输入城市名称如：北京", Item27Weather},  // 27
    {"*计算手机归属地", "输入手机号码", Item28MobileArea},  // 28
    {"*通过IP计算所在地", "输入IP地址", Item29IpArea},  // 29
    {"计算星座", "输入日期如:2000-3-1", Item30Constellation},  // 30
    {"计算标准体重", "输入身高（单位厘米）如:172", Item31StandardWeight},  // 31
    {"计算食物热量", "输入食物名*克数如：牛肉*500", Item32FoodEnergy},  // 32
    {"计算一天需要多少热量", "输入体重（公斤）如:72", Item33DailyEnergy},  // 33
    {"计算两人的关系", "输入两人姓名格式：自己姓名+别人的姓名", Item34NameRelationship},  // 34
    {"*计算3D中奖号", "输入期数如:2013011", Item35LotteryDraw},  // 35
    {"计算身份证所在地", "输入18位的身份证号", Item36Region},  // 36
    {"计算身份证号是否正确", "输入18位的身份证号", Item37CheckChar},  // 37
    {"计算汉字的五笔拆法", "输入相应汉字", Item38WubiCode},  // 38
    {"计算汉字的拼音", "输入相应汉字", Item39Pinyin},  // 39
    {"计算文件夹占空间大小", "输入文件夹路径", Item40FolderSize},  // 40
    {"长度换算", "输入数据，原单位，换算成单位，如100,米,厘米", Item41Length},  // 41
    {"面积换算", "输入数据，原单位，换算成单位，如100,平方米,平方厘米", Item42Area},  // 42
    {"体积换算", "输入数据，原单位，换算成单位，如100,立方米,立方厘米", Item43Volume},  // 43
    {"质量换算", "输入数据，原单位，换算成单位，如100,克,千克", Item44Mass},  // 44
    {"*汇率计算", "数量，原币种，转换币种(人民币,美元,欧元,港元,台币,\r英镑,韩元,日元)", Item45ExchangeRate},  // 45
    {"*域名是否被注册", "输入顶级域名如:example.com", Item46DomainRegistered},  // 46
    {"计算鼠标处文字", "提取时按F5", nullptr},  // 47
    {"随机抽签", "输入姓名，用逗号隔开如：张三，李四", Item48DrawLot},  // 48
    {"随机排序（抓阄）", "输入姓名，用逗号隔开如：张三，李四", Item49ShuffleNames},  // 49
    {"*计算QQ好友是否在线", "输入好友的QQ号", Item50ContactOnline},  // 50
    {"小键盘打字测速", "回车开始计时", nullptr},  // 51
    {"网址%转换成文字(utf8)", "输入带%的网址", Item52UrlToTextUtf8},  // 52
    {"汉字转换成带%网址(utf8)", "输入汉字", Item53TextToUrlUtf8},  // 53
    {"网址%转换成文字(ansi)", "输入带%的网址", Item54UrlToTextAnsi},  // 54
    {"汉字转换成带%网址(ansi)", "输入汉字", Item55TextToUrlAnsi},  // 55
    {"网络校对时间", "直接点等于", Item56NetworkTime},  // 56
}};
}  // namespace

const FItem& ItemAt(int index) { return ItemTable.at(static_cast<size_t>(index)); }
