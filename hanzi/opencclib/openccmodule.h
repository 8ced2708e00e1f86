// The interface of modules/orvex-opencc.so, the one part of the program that links OpenCC
// (and its dictionary library, marisa). The engine loads it with dlopen on the first
// simplified/traditional conversion (hanzi/mekGB.cpp), not at start-up. Plain C: OpenCC's
// own C interface, handed through.
#pragma once
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct FOpenCCModule {
  // A converter for the configuration file (s2t.json, t2s.json); (void*)-1 on failure.
  void* (*Open)(const char* config);
  // The UTF-8 text converted; NULL on failure; released with FreeText.
  char* (*Convert)(void* converter, const char* utf8, size_t length);
  void (*FreeText)(char* text);
  // The last failure's description.
  const char* (*Error)(void);
};

typedef const struct FOpenCCModule* (*FOpenCCModuleFunction)(void);
const struct FOpenCCModule* OrvexOpenCCModule(void);

#define ORVEX_OPENCC_MODULE_SYMBOL "OrvexOpenCCModule"
#define ORVEX_OPENCC_MODULE "orvex-opencc.so"

#ifdef __cplusplus
}
#endif
