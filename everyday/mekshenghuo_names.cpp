// The name relationship: stroke sums of two names and the phrase for their difference.
#include <cstdlib>

#include "core/mekstr.h"
#include "everyday/mekshenghuo.h"
#include "everyday/relationship_table.h"
#include "hanzi/mekhanzistr.h"

namespace {

// The sum of HanziStrokeCount over the characters of name, the characters taken as
// CharCount and MidChars take them (the lead-byte toggle), in one pass rather than one
// MidChars walk per position: bytes after the last counted character (a lone lead byte
// at the end) belong to no character.
long long StrokeSum(const std::string& name) {
  long long sum = 0;
  bool whole = true;
  size_t start = 0;
  for (size_t j = 0; j < name.size(); ++j) {
    if (IsLeadByte(name[j])) whole = !whole;
    if (whole) {
      sum += HanziStrokeCount(name.substr(start, j + 1 - start));
      start = j + 1;
    }
  }
  return sum;
}

}  // namespace

std::string NameRelationship(const std::string& first, const std::string& second) {
  const long long d = std::llabs(StrokeSum(first) - StrokeSum(second));
  return d < static_cast<long long>(RelationshipPhrases.size()) ? RelationshipPhrases[d]
                                                                : UnknownRelationship;
}
