// The item handlers named by the item table. Each reads the input line of the
// dispatcher and writes its result there, or shows its message with ShowInfo.
#pragma once

class TDispatcher;

// Arithmetic
void Item0Arithmetic(TDispatcher& calc);

// Numbers: Chinese numerals and unit conversions
void Item2LowerNumerals(TDispatcher& calc);
void Item3UpperNumerals(TDispatcher& calc);
void Item41Length(TDispatcher& calc);
void Item42Area(TDispatcher& calc);
void Item43Volume(TDispatcher& calc);
void Item44Mass(TDispatcher& calc);

// Dates: facts about a date, date and time arithmetic
void Item7DayInterval(TDispatcher& calc);
void Item8DateAfterDays(TDispatcher& calc);
void Item9Weekday(TDispatcher& calc);
void Item10Animal(TDispatcher& calc);
void Item11SolarTerm(TDispatcher& calc);
void Item20TimeDifference(TDispatcher& calc);
void Item30Constellation(TDispatcher& calc);

// Lunar calendar and world time
void Item1LunarSolar(TDispatcher& calc);
void Item5WorldTime(TDispatcher& calc);

// Simplified and traditional characters
void Item18ToTraditional(TDispatcher& calc);
void Item19ToSimplified(TDispatcher& calc);

// Chinese characters: stroke counts and radicals
void Item12StrokeCount(TDispatcher& calc);
void Item13Radical(TDispatcher& calc);

// Everyday: name relationship
void Item34NameRelationship(TDispatcher& calc);

// Everyday: health calculators
void Item31StandardWeight(TDispatcher& calc);
void Item32FoodEnergy(TDispatcher& calc);
void Item33DailyEnergy(TDispatcher& calc);

// Everyday: drawing lots and shuffle
void Item48DrawLot(TDispatcher& calc);
void Item49ShuffleNames(TDispatcher& calc);

// Everyday: identity card numbers
void Item4BirthDateAndSex(TDispatcher& calc);
void Item36Region(TDispatcher& calc);
void Item37CheckChar(TDispatcher& calc);

// Everyday: chemical formulas
void Item6ChemicalFormula(TDispatcher& calc);

// Geography: city coordinates and distance
void Item24CityPosition(TDispatcher& calc);
void Item25CityDistance(TDispatcher& calc);

// Chinese characters: Wubi codes
void Item38WubiCode(TDispatcher& calc);

// Chinese characters: pinyin
void Item39Pinyin(TDispatcher& calc);

// Machine facts: volume serial, memory, processor clock, disk space, uptime
void Item14VolumeSerial(TDispatcher& calc);
void Item15Memory(TDispatcher& calc);
void Item16CpuClock(TDispatcher& calc);
void Item21DiskTotal(TDispatcher& calc);
void Item22DiskFree(TDispatcher& calc);
void Item23Uptime(TDispatcher& calc);

// System: folder size
void Item40FolderSize(TDispatcher& calc);

// Web addresses: percent form and back
void Item52UrlToTextUtf8(TDispatcher& calc);
void Item53TextToUrlUtf8(TDispatcher& calc);
void Item54UrlToTextAnsi(TDispatcher& calc);
void Item55TextToUrlAnsi(TDispatcher& calc);

// Addresses and network time: dial-up address, host address, time-protocol server
void Item17DialUpAddress(TDispatcher& calc);
void Item26HostAddress(TDispatcher& calc);
void Item56NetworkTime(TDispatcher& calc);

// Web lookups: weather, mobile number, IP address, currency, domain, contact presence
void Item27Weather(TDispatcher& calc);
void Item28MobileArea(TDispatcher& calc);
void Item29IpArea(TDispatcher& calc);
void Item45ExchangeRate(TDispatcher& calc);
void Item46DomainRegistered(TDispatcher& calc);
void Item50ContactOnline(TDispatcher& calc);

// Lottery: the result of a "3D" draw
void Item35LotteryDraw(TDispatcher& calc);
