// Modules beside the executables (the folder "modules" of the data folder): libraries that
// only some items need (HTTP, OpenCC, the phone library), each wrapped in a module of the
// program's own that the engine loads with dlopen on its first use, so that start-up pays
// only for what the first paint needs. A module that is missing or damaged is no failure
// of the program: the item that needs it gives its failure text.
#pragma once
#include <cstddef>
#include <string>

// The folder of the read-only data files: ORVEX_DATA_DIR when that is set, else the folder
// of the running executable.
std::string ProgramDataFolder();

// The address of symbol in module file (a name such as "orvex-net.so") of the folder
// modules under folder (ProgramDataFolder() when empty), loading the module on the first
// call for that path and keeping it for the process; null when the file is missing, is no
// whole ELF file (a file cut short would fault in the loader) or does not load, or lacks
// the symbol. A failed load is tried again by the next call.
void* ModuleSymbol(const std::string& file, const char* symbol, const std::string& folder = "");

// Whether path is a regular 64-bit ELF file of at most maxBytes whose program and section
// header tables lie inside it: what may be handed to the loader without it faulting on a
// file cut short. Opened without blocking, so a FIFO in its place is refused.
bool IsWholeElfFile(const std::string& path, size_t maxBytes);

// The most a module file may hold.
inline constexpr size_t ModuleMaxBytes = size_t(16) << 20;
