// The whole receiver memory as a JSON document (format in README.md).
#pragma once

#include <string>

#include "SimMemory.h"

namespace sim {

std::string MemoryToJson(const Memory& memory);

// Fills `memory` from a document; on failure returns false and says why in `error`.
// Entries that a document leaves out keep their empty-receiver values.
bool MemoryFromJson(const std::string& text, Memory& memory, std::string& error);

bool SaveMemory(const std::string& path, const Memory& memory, std::string& error);
bool LoadMemory(const std::string& path, Memory& memory, std::string& error);

}  // namespace sim
