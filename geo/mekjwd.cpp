// City lookup by name and the distance between two cities.
#include "geo/mekjwd.h"

#include <cmath>
#include <string_view>

namespace {

constexpr double EarthRadius = 6371000;
constexpr long double Pi = 3.1415926535897932385L;

// Degrees to radians in extended precision, kept as a double.
double Radians(double degrees) { return static_cast<double>(degrees / 180.0L * Pi); }

}  // namespace

bool FindCity(const std::string& query, double& longitude, double& latitude) {
  if (query.empty()) return false;
  for (const Fjwd& city : CityTable) {
    if (std::string_view(city.Name).find(query) != std::string_view::npos) {
      longitude = city.Longitude;
      latitude = city.Latitude;
      return true;
    }
  }
  return false;
}

double SphereDistance(double latitude2, double longitude2, double latitude1, double longitude1) {
  const double phi2 = Radians(latitude2), lambda2 = Radians(longitude2);
  const double phi1 = Radians(latitude1), lambda1 = Radians(longitude1);
  const double dPhi = std::sin((phi1 - phi2) / 2), dLambda = std::sin((lambda1 - lambda2) / 2);
  const double h = dPhi * dPhi + std::cos(phi1) * std::cos(phi2) * dLambda * dLambda;
  // arcsin(x) as atan2(x, sqrt(1 - x^2)).
  const double x = std::sqrt(h);
  return 2 * EarthRadius * std::atan2(x, std::sqrt(1 - x * x));
}

double CityDistance(const std::string& name1, const std::string& name2) {
  double longitude1, latitude1, longitude2, latitude2;
  if (!FindCity(name1, longitude1, latitude1) || !FindCity(name2, longitude2, latitude2))
    return 0;
  return SphereDistance(latitude2, longitude2, latitude1, longitude1) / 1000;
}
