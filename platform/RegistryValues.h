#pragma once
// Registry reads for describing a machine, where any value may be absent: a missing key, a missing
// value or one that is not text all read as empty text.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

std::string ReadStringOrEmpty(const TRegKey& key, const std::string& name);
std::string ReadStringOrEmpty(HKEY root, const std::string& path, const std::string& name);

// A number as drivers store it: REG_DWORD, REG_QWORD or little-endian REG_BINARY of 4 or 8 bytes;
// none when it is missing or of another kind.
std::optional<uint64_t> ReadNumberOrNone(const TRegKey& key, const std::string& name);

// The subkey names in alphabetical order without regard to case; none when the key is not open.
std::vector<std::string> SortedKeyNames(const TRegKey& key);
