// Test access to the simulated driver library: its path in the build, raw entries, the control
// interface, and scenario selection. Shared by the driver and GpuControl tests.
#pragma once

#include "driver/api/NvApiRecords.h"
#include "driver/api/SimControl.h"

#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace test {

inline std::string BinDir()
{
    const char* dir = std::getenv("KORVAX_BIN_DIR");
    return dir ? dir : ".";
}

inline std::string SimLibraryPath()
{
    return BinDir() + "/libkorvax-simgpu.so";
}

// One loaded copy of a driver library (dlopen of the same path shares one instance).
class SimLibrary
{
public:
    explicit SimLibrary(const std::string& path = SimLibraryPath())
    {
        m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (m_handle)
            m_query = reinterpret_cast<NvAPI_QueryInterface_t>(::dlsym(m_handle, kNvApiQueryInterfaceExport));
    }
    ~SimLibrary()
    {
        if (m_handle)
            ::dlclose(m_handle);
    }
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;

    bool Loaded() const { return m_query != nullptr; }
    template <typename Fn> Fn Get(NvU32 id) const { return reinterpret_cast<Fn>(m_query(id)); }
    const SimControlApi* Control() const
    {
        return static_cast<const SimControlApi*>(m_query(kSimControlInterfaceId));
    }

    // Chooses the scenario and starts over: no state, no faults, manual time at 0.
    NvAPI_Status Start(const std::string& scenario) const
    {
        ::setenv("KORVAX_SIM_SCENARIO", scenario.c_str(), 1);
        const SimControlApi* ctl = Control();
        ctl->setTimeSource(nullptr);
        ctl->setManualTime(1);
        NvAPI_Status status = ctl->reset();
        if (status == NVAPI_OK)
            status = Get<NvAPI_Initialize_t>(nvid::Initialize)();
        return status;
    }

    std::vector<std::string> WriteLog() const
    {
        std::vector<std::string> lines;
        SimWriteEntry e{};
        for (size_t i = 0; Control()->writeLogEntry(i, &e) == 0; ++i)
            lines.push_back(e.text);
        return lines;
    }

    std::vector<NvPhysicalGpuHandle> Gpus() const
    {
        NvPhysicalGpuHandle h[NVAPI_MAX_PHYSICAL_GPUS] = {};
        NvU32 n = 0;
        if (Get<NvAPI_EnumPhysicalGPUs_t>(nvid::EnumPhysicalGPUs)(h, &n) != NVAPI_OK)
            return {};
        return std::vector<NvPhysicalGpuHandle>(h, h + n);
    }

private:
    void* m_handle = nullptr;
    NvAPI_QueryInterface_t m_query = nullptr;
};

} // namespace test
