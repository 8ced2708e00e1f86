#!/usr/bin/env python3
"""Generates calendar/worldtime_tables.cpp: CountryOffsetTable and CityOffsetTable.

Each country and city row below names the time zone of its place (for a country, its
capital, or the seat of government where the zones differ: Ottawa for Canada, Washington
for the United States, Canberra for Australia, Brasilia for Brazil, Moscow for Russia).
The offset written into the table is the zone's standard offset, read from the system's
tzdata (/usr/share/zoneinfo, Debian's package tzdata), less the 8 hours of China
Standard Time. Standard time is the smaller of the offsets in force in mid-January and
mid-July 2025, so that daylight saving time, north or south, plays no part.

Run:  python3 tools/worldtime/gen_worldtime_tables.py           (rewrites the table file)
      python3 tools/worldtime/gen_worldtime_tables.py --check   (exit 1 if its data differs)
"""
import datetime
import os
import sys
import zoneinfo

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
from tablefile import debian_version, write_or_check  # noqa: E402
OUT = os.path.join(ROOT, "calendar", "worldtime_tables.cpp")
zoneinfo.reset_tzpath(["/usr/share/zoneinfo"])

# Chinese name, English name (the keys of the country search), time zone.
COUNTRIES = [
    ("阿尔巴尼亚", "Albania", "Europe/Tirane"),
    ("阿尔及利亚", "Algeria", "Africa/Algiers"),
    ("安道尔", "Andorra", "Europe/Andorra"),
    ("安哥拉", "Angola", "Africa/Luanda"),
    ("阿根廷", "Argentina", "America/Argentina/Buenos_Aires"),
    ("澳大利亚", "Australia", "Australia/Sydney"),
    ("奥地利", "Austria", "Europe/Vienna"),
    ("巴林", "Bahrain", "Asia/Bahrain"),
    ("孟加拉", "Bangladesh", "Asia/Dhaka"),
    ("比利时", "Belgium", "Europe/Brussels"),
    ("伯利兹", "Belize", "America/Belize"),
    ("玻利维亚", "Bolivia", "America/La_Paz"),
    ("巴西", "Brazil", "America/Sao_Paulo"),
    ("保加利亚", "Bulgaria", "Europe/Sofia"),
    ("布隆迪", "Burundi", "Africa/Bujumbura"),
    ("喀麦隆", "Cameroon", "Africa/Douala"),
    ("加拿大", "Canada", "America/Toronto"),
    ("智利", "Chile", "America/Santiago"),
    ("中国", "China", "Asia/Shanghai"),
    ("哥伦比亚", "Colombia", "America/Bogota"),
    ("刚果", "Congo", "Africa/Brazzaville"),
    ("哥斯达黎加", "Costa Rica", "America/Costa_Rica"),
    ("古巴", "Cuba", "America/Havana"),
    ("塞浦路斯", "Cyprus", "Asia/Nicosia"),
    ("丹麦", "Denmark", "Europe/Copenhagen"),
    ("多米尼加共和国", "Dominican Republic", "America/Santo_Domingo"),
    ("厄瓜多尔", "Ecuador", "America/Guayaquil"),
    ("埃及", "Egypt", "Africa/Cairo"),
    ("芬兰", "Finland", "Europe/Helsinki"),
    ("法国", "France", "Europe/Paris"),
    ("德国", "German", "Europe/Berlin"),
    ("直布罗陀", "Gibraltar", "Europe/Gibraltar"),
    ("希腊", "Greece", "Europe/Athens"),
    ("关岛", "Guam", "Pacific/Guam"),
    ("危地马拉", "Guatemala", "America/Guatemala"),
    ("几内亚", "Guinea", "Africa/Conakry"),
    ("圭亚那", "Guyana", "America/Guyana"),
    ("海地", "Haiti", "America/Port-au-Prince"),
    ("洪都拉斯", "Honduras", "America/Tegucigalpa"),
    ("匈牙利", "Hungary", "Europe/Budapest"),
    ("冰岛", "Iceland", "Atlantic/Reykjavik"),
    ("印度", "India", "Asia/Kolkata"),
    ("印度尼西亚", "Indonesia", "Asia/Jakarta"),
    ("伊朗", "Iran", "Asia/Tehran"),
    ("伊拉克", "Iraq", "Asia/Baghdad"),
    ("爱尔兰", "Ireland", "Europe/Dublin"),
    ("以色列", "Israel", "Asia/Jerusalem"),
    ("意大利", "Italy", "Europe/Rome"),
    ("牙买加", "Jamaica", "America/Jamaica"),
    ("日本", "Japan", "Asia/Tokyo"),
    ("约旦", "Jordan", "Asia/Amman"),
    ("肯尼亚", "Kenya", "Africa/Nairobi"),
    ("朝鲜", "North Korea", "Asia/Pyongyang"),
    ("科威特", "Kuwait", "Asia/Kuwait"),
    ("老挝", "Laos", "Asia/Vientiane"),
    ("黎巴嫩", "Lebanon", "Asia/Beirut"),
    ("利比里亚", "Liberia", "Africa/Monrovia"),
    ("利比亚", "Libya", "Africa/Tripoli"),
    ("卢森堡", "Luxembourg", "Europe/Luxembourg"),
    ("马达加斯加", "Madagascar", "Indian/Antananarivo"),
    ("马来西亚", "Malaysia", "Asia/Kuala_Lumpur"),
    ("马尔代夫", "Maldives", "Indian/Maldives"),
    ("马里", "Mali", "Africa/Bamako"),
    ("马耳他", "Malta", "Europe/Malta"),
    ("毛里求斯", "Mauritius", "Indian/Mauritius"),
    ("墨西哥", "Mexico", "America/Mexico_City"),
    ("摩洛哥", "Morocco", "Africa/Casablanca"),
    ("缅甸", "Myanmar", "Asia/Yangon"),
    ("尼泊尔", "Nepal", "Asia/Kathmandu"),
    ("荷兰", "Netherlands", "Europe/Amsterdam"),
    ("新西兰", "New Zealand", "Pacific/Auckland"),
    ("尼日尔", "Niger", "Africa/Niamey"),
    ("尼日利亚", "Nigeria", "Africa/Lagos"),
    ("挪威", "Norway", "Europe/Oslo"),
    ("阿曼", "Oman", "Asia/Muscat"),
    ("巴基斯坦", "Pakistan", "Asia/Karachi"),
    ("巴拿马", "Panama", "America/Panama"),
    ("巴布亚新几内亚", "Papua New Guinea", "Pacific/Port_Moresby"),
    ("巴拉圭", "Paraguay", "America/Asuncion"),
    ("秘鲁", "Peru", "America/Lima"),
    ("菲律宾", "Philippines", "Asia/Manila"),
    ("波兰", "Poland", "Europe/Warsaw"),
    ("葡萄牙", "Portugal", "Europe/Lisbon"),
    ("卡塔尔", "Qatar", "Asia/Qatar"),
    ("罗马尼亚", "Romania", "Europe/Bucharest"),
    ("沙特阿拉伯", "Saudi Arabia", "Asia/Riyadh"),
    ("塞内加尔", "Senegal", "Africa/Dakar"),
    ("新加坡", "Singapore", "Asia/Singapore"),
    ("索马里", "Somalia", "Africa/Mogadishu"),
    ("西班牙", "Spain", "Europe/Madrid"),
    ("韩国", "South Korea", "Asia/Seoul"),
    ("斯里兰卡", "Sri Lanka", "Asia/Colombo"),
    ("苏丹", "Sudan", "Africa/Khartoum"),
    ("瑞典", "Sweden", "Europe/Stockholm"),
    ("瑞士", "Switzerland", "Europe/Zurich"),
    ("叙利亚", "Syria", "Asia/Damascus"),
    ("坦桑尼亚", "Tanzania", "Africa/Dar_es_Salaam"),
    ("泰国", "Thailand", "Asia/Bangkok"),
    ("阿拉伯联合酋长国", "United Arab Emirates", "Asia/Dubai"),
    ("多哥", "Togo", "Africa/Lome"),
    ("突尼斯", "Tunisia", "Africa/Tunis"),
    ("土耳其", "Turkey", "Europe/Istanbul"),
    ("英国", "UK", "Europe/London"),
    ("乌拉圭", "Uruguay", "America/Montevideo"),
    ("美国", "USA", "America/New_York"),
    ("俄罗斯", "Russia", "Europe/Moscow"),
    ("梵蒂冈", "Vatican", "Europe/Vatican"),
    ("委内瑞拉", "Venezuela", "America/Caracas"),
    ("南斯拉夫", "Yugoslavia", "Europe/Belgrade"),
    ("扎伊尔", "Zaire", "Africa/Kinshasa"),
    ("赞比亚", "Zambia", "Africa/Lusaka"),
    ("津巴布韦", "Zimbabwe", "Africa/Harare"),
    ("汤加", "Tonga", "Pacific/Tongatapu"),
]

# Country, "English Chinese" city name, time zone, and text after the offset. A row
# whose zone is None is written as it stands.
ASIA = [
    ("中国", "Beijing 北京", "Asia/Shanghai"),
    ("中国", "Shanghai 上海", "Asia/Shanghai"),
    ("中国", "Hong Kong 香港", "Asia/Hong_Kong"),
    ("中国", "Macau 澳门", "Asia/Macau"),
    ("中国", "Taipei 台北", "Asia/Taipei"),
    ("日本", "Tokyo 东京", "Asia/Tokyo"),
    ("日本", "Osaka 大阪", "Asia/Tokyo"),
    ("韩国", "Seoul 首尔", "Asia/Seoul"),
    ("朝鲜", "Pyongyang 平壤", "Asia/Pyongyang"),
    ("蒙古", "Ulan Bator 乌兰巴托", "Asia/Ulaanbaatar", "||"),
    ("越南", "Hanoi 河内", "Asia/Ho_Chi_Minh"),
    ("越南", "Ho Chi Minh City 胡志明市", "Asia/Ho_Chi_Minh"),
    ("老挝", "Vientiane 万象", "Asia/Vientiane"),
    ("柬埔寨", "Phnom Penh 金边", "Asia/Phnom_Penh"),
    ("泰国", "Bangkok 曼谷", "Asia/Bangkok"),
    ("缅甸", "Yangon 仰光", "Asia/Yangon"),
    ("马来西亚", "Kuala Lumpur 吉隆坡", "Asia/Kuala_Lumpur"),
    ("新加坡", "Singapore 新加坡", "Asia/Singapore"),
    ("印度尼西亚", "Jakarta 雅加达", "Asia/Jakarta"),
    ("菲律宾", "Manila 马尼拉", "Asia/Manila"),
    ("文莱", "Bandar Seri Begawan 斯里巴加湾市", "Asia/Brunei"),
    ("越南", "Ha Noi 河内", "Asia/Ho_Chi_Minh"),
    ("印度", "New Delhi 新德里", "Asia/Kolkata"),
    ("印度", "Mumbai 孟买", "Asia/Kolkata"),
    ("孟加拉", "Dhaka 达卡", "Asia/Dhaka"),
    ("尼泊尔", "Kathmandu 加德满都", "Asia/Kathmandu"),
    ("斯里兰卡", "Colombo 科伦坡", "Asia/Colombo"),
    ("马尔代夫", "Male 马累", "Indian/Maldives"),
    ("巴基斯坦", "Islamabad 伊斯兰堡", "Asia/Karachi"),
    ("巴基斯坦", "Karachi 卡拉奇", "Asia/Karachi"),
    ("阿富汗", "Kabul 喀布尔", "Asia/Kabul"),
    ("伊朗", "Tehran 德黑兰", "Asia/Tehran"),
    ("伊拉克", "Baghdad 巴格达", "Asia/Baghdad"),
    ("科威特", "Kuwait City 科威特城", "Asia/Kuwait"),
    ("沙特阿拉伯", "Riyadh 利雅得", "Asia/Riyadh"),
    ("卡塔尔", "Doha 多哈", "Asia/Qatar"),
    ("巴林", "Manama 麦纳麦", "Asia/Bahrain"),
    ("阿拉伯联合酋长国", "Abu Dhabi 阿布扎比", "Asia/Dubai"),
    ("阿曼", "Muscat 马斯喀特", "Asia/Muscat"),
    ("也门", "Sanaa 萨那", "Asia/Aden"),
    ("约旦", "Amman 安曼", "Asia/Amman"),
    ("叙利亚", "Damascus 大马士革", "Asia/Damascus"),
    ("黎巴嫩", "Beirut 贝鲁特", "Asia/Beirut"),
    ("以色列", "Jerusalem 耶路撒冷", "Asia/Jerusalem"),
    ("哈萨克斯坦", "Astana 阿斯塔纳", "Asia/Almaty"),
    ("乌兹别克斯坦", "Tashkent 塔什干", "Asia/Tashkent"),
]
EUROPE = [
    ("英国", "London 伦敦", "Europe/London"),
    ("爱尔兰", "Dublin 都柏林", "Europe/Dublin"),
    ("法国", "Paris 巴黎", "Europe/Paris"),
    ("德国", "Berlin 柏林", "Europe/Berlin"),
    ("德国", "Frankfurt 法兰克福", "Europe/Berlin"),
    ("德国", "Munich 慕尼黑", "Europe/Berlin"),
    ("意大利", "Rome 罗马", "Europe/Rome"),
    ("意大利", "Milan 米兰", "Europe/Rome"),
    ("梵蒂冈", "Vatican City 梵蒂冈城", "Europe/Vatican"),
    ("西班牙", "Madrid 马德里", "Europe/Madrid"),
    ("西班牙", "Barcelona 巴塞罗那", "Europe/Madrid"),
    ("葡萄牙", "Lisbon 里斯本", "Europe/Lisbon"),
    ("荷兰", "Amsterdam 阿姆斯特丹", "Europe/Amsterdam"),
    ("比利时", "Brussels 布鲁塞尔", "Europe/Brussels"),
    ("卢森堡", "Luxembourg 卢森堡", "Europe/Luxembourg"),
    ("瑞士", "Bern 伯尔尼", "Europe/Zurich"),
    ("瑞士", "Geneva 日内瓦", "Europe/Zurich"),
    ("瑞士", "Zurich 苏黎世", "Europe/Zurich"),
    ("奥地利", "Vienna 维也纳", "Europe/Vienna"),
    ("丹麦", "Copenhagen 哥本哈根", "Europe/Copenhagen"),
    ("挪威", "Oslo 奥斯陆", "Europe/Oslo"),
    ("瑞典", "Stockholm 斯德哥尔摩", "Europe/Stockholm"),
    ("芬兰", "Helsinki 赫尔辛基", "Europe/Helsinki"),
    ("冰岛", "Reykjavik 雷克雅未克", "Atlantic/Reykjavik"),
    ("波兰", "Warsaw 华沙", "Europe/Warsaw"),
    ("捷克", "Prague 布拉格", "Europe/Prague"),
    ("斯洛伐克", "Bratislava 布拉迪斯拉发", "Europe/Bratislava"),
    ("匈牙利", "Budapest 布达佩斯", "Europe/Budapest"),
    ("罗马尼亚", "Bucharest 布加勒斯特", "Europe/Bucharest"),
    ("保加利亚", "Sofia 索非亚", "Europe/Sofia"),
    ("希腊", "Athens 雅典", "Europe/Athens"),
    ("塞尔维亚", "Belgrade 贝尔格莱德", "Europe/Belgrade"),
    ("克罗地亚", "Zagreb 萨格勒布", "Europe/Zagreb"),
    ("斯洛文尼亚", "Ljubljana 卢布尔雅那", "Europe/Ljubljana"),
    ("波黑", "Sarajevo 萨拉热窝", "Europe/Sarajevo"),
    ("阿尔巴尼亚", "Tirana 地拉那", "Europe/Tirane"),
    ("马其顿", "Skopje 斯科普里", "Europe/Skopje"),
    ("马耳他", "Valletta 瓦莱塔", "Europe/Malta"),
    ("塞浦路斯", "Nicosia 尼科西亚", "Asia/Nicosia"),
    ("土耳其", "Istanbul 伊斯坦布尔", "Europe/Istanbul"),
    ("俄罗斯", "Moscow 莫斯科", "Europe/Moscow"),
    ("俄罗斯", "St. Petersburg 圣彼得堡", "Europe/Moscow"),
    ("乌克兰", "Kiev 基辅", "Europe/Kyiv"),
    ("白俄罗斯", "Minsk 明斯克", "Europe/Minsk"),
    ("立陶宛", "Vilnius 维尔纽斯", "Europe/Vilnius"),
    ("拉脱维亚", "Riga 里加", "Europe/Riga"),
    ("爱沙尼亚", "Tallinn 塔林", "Europe/Tallinn"),
    ("摩尔多瓦", "Chisinau 基希讷乌", "Europe/Chisinau"),
    ("直布罗陀", "Gibraltar 直布罗陀", "Europe/Gibraltar"),
    ("安道尔", "Andorra la Vella 安道尔城", "Europe/Andorra"),
]
AMERICAS = [
    ("美国", "New York 纽约", "America/New_York"),
    ("美国", "Washington 华盛顿", "America/New_York"),
    ("美国", "Boston 波士顿", "America/New_York"),
    ("美国", "Miami 迈阿密", "America/New_York"),
    ("美国", "Atlanta 亚特兰大", "America/New_York"),
    ("美国", "Chicago 芝加哥", "America/Chicago"),
    ("美国", "Houston 休斯敦", "America/Chicago"),
    ("美国", "Dallas 达拉斯", "America/Chicago"),
    ("美国", "New Orleans 新奥尔良", "America/Chicago"),
    ("美国", "Denver 丹佛", "America/Denver"),
    ("美国", "Phoenix 菲尼克斯", "America/Phoenix"),
    ("美国", "Salt Lake City 盐湖城", "America/Denver"),
    ("美国", "Los Angeles 洛杉矶", "America/Los_Angeles"),
    ("美国", "San Francisco 旧金山", "America/Los_Angeles"),
    ("美国", "Seattle 西雅图", "America/Los_Angeles"),
    ("美国", "Las Vegas 拉斯维加斯", "America/Los_Angeles"),
    ("美国", "Anchorage 安克雷奇", "America/Anchorage"),
    ("加拿大", "Ottawa 渥太华", "America/Toronto"),
    ("加拿大", "Toronto 多伦多", "America/Toronto"),
    ("加拿大", "Montreal 蒙特利尔", "America/Toronto"),
    ("加拿大", "Vancouver 温哥华", "America/Vancouver"),
    ("加拿大", "Calgary 卡尔加里", "America/Edmonton"),
    ("加拿大", "Winnipeg 温尼伯", "America/Winnipeg"),
    ("加拿大", "Halifax 哈利法克斯", "America/Halifax"),
    ("加拿大", "St. John's 圣约翰斯", "America/St_Johns"),
    ("墨西哥", "Mexico City 墨西哥城", "America/Mexico_City"),
    ("危地马拉", "Guatemala City 危地马拉城", "America/Guatemala"),
    ("伯利兹", "Belmopan 贝尔莫潘", "America/Belize"),
    ("洪都拉斯", "Tegucigalpa 特古西加尔巴", "America/Tegucigalpa"),
    ("哥斯达黎加", "San Jose 圣何塞", "America/Costa_Rica"),
    ("巴拿马", "Panama City 巴拿马城", "America/Panama"),
    ("古巴", "Havana 哈瓦那", "America/Havana"),
    ("牙买加", "Kingston 金斯敦", "America/Jamaica"),
    ("海地", "Port-au-Prince 太子港", "America/Port-au-Prince"),
    ("多米尼加共和国", "Santo Domingo 圣多明各", "America/Santo_Domingo"),
    ("哥伦比亚", "Bogota 波哥大", "America/Bogota"),
    ("委内瑞拉", "Caracas 加拉加斯", "America/Caracas"),
    ("圭亚那", "Georgetown 乔治敦", "America/Guyana"),
    ("厄瓜多尔", "Quito 基多", "America/Guayaquil"),
    ("秘鲁", "Lima 利马", "America/Lima"),
    ("玻利维亚", "La Paz 拉巴斯", "America/La_Paz"),
    ("巴西", "Brasilia 巴西利亚", "America/Sao_Paulo"),
    ("巴西", "Sao Paulo 圣保罗", "America/Sao_Paulo"),
    ("巴西", "Rio de Janeiro 里约热内卢", "America/Sao_Paulo"),
    ("巴西", "Manaus 马瑙斯", "America/Manaus"),
    ("巴拉圭", "Asuncion 亚松森", "America/Asuncion"),
    ("乌拉圭", "Montevideo 蒙得维的亚", "America/Montevideo"),
    ("阿根廷", "Buenos Aires 布宜诺斯艾利斯", "America/Argentina/Buenos_Aires"),
    ("智利", "Santiago 圣地亚哥", "America/Santiago"),
]
OCEANIA = [
    ("澳大利亚", "Canberra 堪培拉", "Australia/Sydney"),
    ("澳大利亚", "Sydney 悉尼", "Australia/Sydney"),
    ("澳大利亚", "Melbourne 墨尔本", "Australia/Melbourne"),
    ("澳大利亚", "Brisbane 布里斯班", "Australia/Brisbane"),
    ("澳大利亚", "Adelaide 阿德莱德", "Australia/Adelaide"),
    ("澳大利亚", "Darwin 达尔文", "Australia/Darwin"),
    ("澳大利亚", "Perth 珀斯", "Australia/Perth"),
    ("新西兰", "Wellington 惠灵顿", "Pacific/Auckland"),
    ("新西兰", "Auckland 奥克兰", "Pacific/Auckland"),
    ("巴布亚新几内亚", "Port Moresby 莫尔兹比港", "Pacific/Port_Moresby"),
    ("斐济", "Suva 苏瓦", "Pacific/Fiji"),
    ("汤加", "Nuku'alofa 努库阿洛法", "Pacific/Tongatapu"),
    ("萨摩亚", "Apia 阿皮亚", "Pacific/Apia"),
    ("关岛", "Hagatna 阿加尼亚", "Pacific/Guam"),
    ("所罗门群岛", "Honiara 霍尼亚拉", "Pacific/Guadalcanal"),
    ("瓦努阿图", "", None),  # a row without city or offset, kept as the table has it
    ("美国", "Honolulu 檀香山", "Pacific/Honolulu"),
    ("基里巴斯", "Tarawa 塔拉瓦", "Pacific/Tarawa"),
]
AFRICA = [
    ("埃及", "Cairo 开罗", "Africa/Cairo"),
    ("利比亚", "Tripoli 的黎波里", "Africa/Tripoli"),
    ("突尼斯", "Tunis 突尼斯城", "Africa/Tunis"),
    ("阿尔及利亚", "Algiers 阿尔及尔", "Africa/Algiers"),
    ("摩洛哥", "Rabat 拉巴特", "Africa/Casablanca"),
    ("摩洛哥", "Casablanca 卡萨布兰卡", "Africa/Casablanca"),
    ("苏丹", "Khartoum 喀土穆", "Africa/Khartoum"),
    ("埃塞俄比亚", "Addis Ababa 亚的斯亚贝巴", "Africa/Addis_Ababa"),
    ("索马里", "Mogadishu 摩加迪沙", "Africa/Mogadishu"),
    ("肯尼亚", "Nairobi 内罗毕", "Africa/Nairobi"),
    ("坦桑尼亚", "Dar es Salaam 达累斯萨拉姆", "Africa/Dar_es_Salaam"),
    ("乌干达", "Kampala 坎帕拉", "Africa/Kampala"),
    ("卢旺达", "Kigali 基加利", "Africa/Kigali"),
    ("布隆迪", "Bujumbura 布琼布拉", "Africa/Bujumbura"),
    ("扎伊尔", "Kinshasa 金沙萨", "Africa/Kinshasa"),
    ("刚果", "Brazzaville 布拉柴维尔", "Africa/Brazzaville"),
    ("加蓬", "Libreville 利伯维尔", "Africa/Libreville"),
    ("喀麦隆", "Yaounde 雅温得", "Africa/Douala"),
    ("尼日利亚", "Lagos 拉各斯", "Africa/Lagos"),
    ("尼日利亚", "Abuja 阿布贾", "Africa/Lagos"),
    ("尼日尔", "Niamey 尼亚美", "Africa/Niamey"),
    ("乍得", "N'Djamena 恩贾梅纳", "Africa/Ndjamena"),
    ("加纳", "Accra 阿克拉", "Africa/Accra"),
    ("多哥", "Lome 洛美", "Africa/Lome"),
    ("贝宁", "Porto-Novo 波多诺伏", "Africa/Porto-Novo"),
    ("科特迪瓦", "Abidjan 阿比让", "Africa/Abidjan"),
    ("利比里亚", "Monrovia 蒙罗维亚", "Africa/Monrovia"),
    ("塞拉利昂", "Freetown 弗里敦", "Africa/Freetown"),
    ("几内亚", "Conakry 科纳克里", "Africa/Conakry"),
    ("塞内加尔", "Dakar 达喀尔", "Africa/Dakar"),
    ("马里", "Bamako 巴马科", "Africa/Bamako"),
    ("毛里塔尼亚", "Nouakchott 努瓦克肖特", "Africa/Nouakchott"),
    ("安哥拉", "Luanda 罗安达", "Africa/Luanda"),
    ("赞比亚", "Lusaka 卢萨卡", "Africa/Lusaka"),
    ("津巴布韦", "Harare 哈拉雷", "Africa/Harare"),
    ("莫桑比克", "Maputo 马普托", "Africa/Maputo"),
    ("马拉维", "Lilongwe 利隆圭", "Africa/Blantyre"),
    ("博茨瓦纳", "Gaborone 哈博罗内", "Africa/Gaborone"),
    ("纳米比亚", "Windhoek 温得和克", "Africa/Windhoek"),
    ("南非", "Pretoria 比勒陀利亚", "Africa/Johannesburg"),
    ("南非", "Cape Town 开普敦", "Africa/Johannesburg"),
    ("南非", "Johannesburg 约翰内斯堡", "Africa/Johannesburg"),
    ("马达加斯加", "Antananarivo 塔那那利佛", "Indian/Antananarivo"),
    ("毛里求斯", "Port Louis 路易港", "Indian/Mauritius"),
]
REGIONS = [("Asia", ASIA, 46), ("Europe", EUROPE, 50), ("the Americas", AMERICAS, 49),
           ("Oceania", OCEANIA, 18), ("Africa", AFRICA, 44)]


def minutes_from_china(zone):
    """The zone's standard offset from UTC+8, in minutes."""
    tz = zoneinfo.ZoneInfo(zone)
    offsets = [datetime.datetime(2025, m, 15, 12, tzinfo=datetime.timezone.utc)
               .astimezone(tz).utcoffset() for m in (1, 7)]
    seconds = int(min(offsets).total_seconds())
    assert seconds % 60 == 0, zone
    return seconds // 60 - 8 * 60


def country_offset(minutes):
    """Sign, hours, ":" and two digits of minutes; no offset is written "-00:00"."""
    if minutes == 0:
        return "-00:00"
    sign = "-" if minutes < 0 else "+"
    h, m = divmod(abs(minutes), 60)
    return "%s%d:%02d" % (sign, h, m)


def city_offset(minutes):
    """Whole hours with an optional "-", and ":" with two digits of minutes if any."""
    sign = "-" if minutes < 0 else ""
    h, m = divmod(abs(minutes), 60)
    return "%s%d" % (sign, h) + (":%02d" % m if m else "")


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def render(version):
    assert len(COUNTRIES) == 113
    out = ["// Generated by tools/worldtime/gen_worldtime_tables.py from the system's tzdata",
           "// (Debian package tzdata %s); do not edit by hand: rerun the generator." % version,
           '#include "calendar/worldTime.h"',
           "",
           "// Chinese name, English name, standard offset from China Standard Time.",
           "const FCountryOffset CountryOffsetTable[113] = {"]
    for cn, en, zone in COUNTRIES:
        out.append("    {%s, %s, %s},  // %s" % (c_string(cn), c_string(en),
                                               c_string(country_offset(minutes_from_china(zone))),
                                               zone))
    out += ["};",
            "",
            "// Country|City 城市|standard offset from China Standard Time in hours[:minutes].",
            "const char* const CityOffsetTable[207] = {"]
    for name, rows, count in REGIONS:
        assert len(rows) == count, name
        out.append("    // %s" % name)
        for row in rows:
            country, city, zone = row[:3]
            if zone is None:
                text, comment = "%s|%s|" % (country, city), "no offset"
            else:
                text = "%s|%s|%s%s" % (country, city, city_offset(minutes_from_china(zone)),
                                       row[3] if len(row) > 3 else "")
                comment = zone
            out.append("    %s,  // %s" % (c_string(text), comment))
    out += ["};", ""]
    return "\n".join(out)


def main():
    version = debian_version("tzdata")
    return write_or_check(OUT, render(version), versions=(version,))


if __name__ == "__main__":
    sys.exit(main())
