// The phrases of the name relationship, by stroke difference.
#pragma once
#include <array>

// The phrase for a stroke difference of 0 to 25.
extern const std::array<const char*, 26> RelationshipPhrases;
// The phrase for a difference of 26 and more.
extern const char* const UnknownRelationship;
