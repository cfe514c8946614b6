// A key record: one key of one section, its value as text and as an integer.
#pragma once

#include "config/IniSection.h"

#include <cstddef>
#include <cstdint>

struct IniKey
{
    char szSection[kIniTextSize];
    char szKey[kIniTextSize];
    char szValue[kIniTextSize];
    std::int32_t nValue;
};

static_assert(sizeof(IniKey) == 3 * 32 + 4, "IniKey layout");
static_assert(offsetof(IniKey, nValue) == 96, "IniKey layout");
