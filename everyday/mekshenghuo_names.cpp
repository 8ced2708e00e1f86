// The name relationship: stroke sums of two names and the phrase for their difference.
#include <cstdlib>

#include "core/mekstr.h"
#include "everyday/mekshenghuo.h"
#include "everyday/relationship_table.h"
#include "hanzi/mekhanzistr.h"

namespace {

// The sum of HanziStrokeCount over the characters of name as CharCount counts them, in
// one pass rather than one MidChars walk per position.
long long StrokeSum(const std::string& name) {
  long long sum = 0;
  for (size_t i = 0, n; i < name.size() && (n = CharLengthAt(name, i)) > 0;) {
    sum += HanziStrokeCount(name.substr(i, n));
    i += n;
  }
  return sum;
}

}  // namespace

std::string NameRelationship(const std::string& first, const std::string& second) {
  const long long d = std::llabs(StrokeSum(first) - StrokeSum(second));
  return d < static_cast<long long>(RelationshipPhrases.size()) ? RelationshipPhrases[d]
                                                                : UnknownRelationship;
}
