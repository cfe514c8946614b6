// A tiny driver library for loader tests: it knows only the initialise entry, and reports through a
// private id how often each id was asked for, so tests can see entries are looked up once.
#include "driver/api/NvApiTypes.h"

#include <map>

namespace {
std::map<unsigned, int> g_queries;
NvAPI_Status MiniInitialize()
{
    return NVAPI_OK;
}
int QueriesFor(unsigned id)
{
    return g_queries[id];
}
} // namespace

constexpr unsigned kQueryCountId = 0x7E570001;

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(unsigned id)
{
    ++g_queries[id];
    if (id == nvid::Initialize)
        return reinterpret_cast<void*>(&MiniInitialize);
    if (id == kQueryCountId)
        return reinterpret_cast<void*>(&QueriesFor);
    return nullptr;
}
