// A section record: up to fifteen keys of one section at fixed slots, each family of cards using
// its own slots. Callers fill the names; reads fill the values.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kIniSlots = 15;
constexpr int kIniTextSize = 32; // every name and value text, NUL included

struct IniSection
{
    char szSection[kIniTextSize];
    char szKey[kIniSlots][kIniTextSize]; // an empty name: the slot is not used
    char szValue[kIniSlots][kIniTextSize];
    std::int32_t nValue[kIniSlots];
};

static_assert(sizeof(IniSection) == 32 + 15 * 32 + 15 * 32 + 15 * 4, "IniSection layout");
static_assert(offsetof(IniSection, szKey) == 32, "IniSection layout");
static_assert(offsetof(IniSection, szValue) == 32 + 15 * 32, "IniSection layout");
static_assert(offsetof(IniSection, nValue) == 32 + 30 * 32, "IniSection layout");
