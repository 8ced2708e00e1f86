// Longitude and latitude of 625 Chinese cities, and the great-circle distance between
// two of them.
#pragma once
#include <string>

// One city: its name (GBK: two characters of the province, then the city without "市"),
// longitude east and latitude north, written as degrees and minutes (104.04 is 104°04'),
// used as decimal degrees.
struct Fjwd {
  const char* Name;
  double Longitude;
  double Latitude;
};

inline constexpr int CityCount = 625;
// The cities grouped by province, each province's capital first; the order decides which
// city a lookup finds (geo/city_table.cpp, generated).
extern const Fjwd CityTable[CityCount];

// The first city whose name contains query as a byte sequence (case-sensitive, not
// aware of double-byte characters): true, and its coordinates. False when none does; an
// empty query matches none.
bool FindCity(const std::string& query, double& longitude, double& latitude);

// Great-circle distance in metres between two points given in degrees, on a sphere of
// radius 6371000 m (haversine).
double SphereDistance(double latitude2, double longitude2, double latitude1, double longitude1);

// Distance in kilometres between the cities that name1 and name2 find; 0 when either is
// not found.
double CityDistance(const std::string& name1, const std::string& name2);
