// Calendar computations: the lunar calendar, facts about a date, date and time
// arithmetic. Dates are the shared date-time value of core/mekdatetime.h.
#pragma once
#include <cstdint>
#include <string>

#include "core/mekdatetime.h"

// ---- Date facts and date arithmetic ----

// ---- Lunar calendar ----
