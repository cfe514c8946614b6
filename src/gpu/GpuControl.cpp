// GpuControl: construction, status recording, start and the identification reads.
#include "gpu/GpuControl.h"

#include "platform/shell/MessageBox.h"

#include <cstdio>
#include <cstring>

GpuControl::GpuControl() : GpuControl(NvApiLoader::Default()) {}

GpuControl::GpuControl(NvApiLoader& driver) : m_pDriver(&driver) {}

NvPhysicalGpuHandle GpuControl::Handle(int gpu) const
{
    // An index beyond the handle table addresses no GPU: the driver then refuses the null handle.
    long long index = gpu == -1 ? static_cast<long long>(m_nCurGpu) : static_cast<long long>(gpu);
    if (index < 0 || index >= NVAPI_MAX_PHYSICAL_GPUS)
        return nullptr;
    return m_hGpus[index];
}

void GpuControl::RecordWithText(NvAPI_Status status)
{
    m_nStatus = status;
    NvAPI_ShortString text = {};
    if (m_pDriver->NvAPI_GetErrorMessage(status, text) == NVAPI_OK) {
        text[NVAPI_SHORT_STRING_MAX - 1] = '\0';
        std::memcpy(m_szError, text, sizeof(m_szError));
        return;
    }
    // Without a driver there is nobody to ask: name the loader's own statuses.
    const char* name = nullptr;
    switch (status) {
    case NVAPI_OK:
        name = "NVAPI_OK";
        break;
    case NVAPI_ERROR:
        name = "NVAPI_ERROR";
        break;
    case NVAPI_LIBRARY_NOT_FOUND:
        name = "NVAPI_LIBRARY_NOT_FOUND";
        break;
    case NVAPI_NO_IMPLEMENTATION:
        name = "NVAPI_NO_IMPLEMENTATION";
        break;
    default:
        break;
    }
    if (name)
        std::snprintf(m_szError, sizeof(m_szError), "%s", name);
    else
        std::snprintf(m_szError, sizeof(m_szError), "NVAPI status %d", status);
}

int GpuControl::Initialize()
{
    RecordWithText(m_pDriver->NvAPI_Initialize());
    if (m_nStatus != NVAPI_OK) {
        AfxMessageBox("Initial nvAPI fail!", MB_OK);
        return 1;
    }

    NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS] = {};
    NvU32 count = 0;
    RecordWithText(m_pDriver->NvAPI_EnumPhysicalGPUs(handles, &count));
    if (m_nStatus != NVAPI_OK) {
        AfxMessageBox("NvAPI_EnumPhysicalGPUs failed", MB_OK);
        return 2;
    }
    m_nGpuCount = count > NVAPI_MAX_PHYSICAL_GPUS ? NVAPI_MAX_PHYSICAL_GPUS : count;
    std::memcpy(m_hGpus, handles, sizeof(m_hGpus));

    m_nStatus = 0;
    for (NvU32 i = 0; i < NVAPI_MAX_DISPLAYS; ++i) {
        NvDisplayHandle display = nullptr;
        if (m_pDriver->NvAPI_EnumNvidiaDisplayHandle(i, &display) != NVAPI_OK)
            break;
        m_hDisplays[i] = display;
        ++m_nDisplayCount;
    }

    NvU32 deviceId = 0, subSystemId = 0, revisionId = 0, extDeviceId = 0;
    Record(m_pDriver->NvAPI_GPU_GetPCIIdentifiers(Handle(static_cast<int>(m_nCurGpu)), &deviceId,
                                                  &subSystemId, &revisionId, &extDeviceId));
    if (m_nStatus == NVAPI_OK) {
        m_wVendorId = LOWORD(deviceId);
        m_wDeviceId = LOWORD(extDeviceId);
        m_wSubVendorId = LOWORD(subSystemId);
        m_wSubSystemId = HIWORD(subSystemId);
    }
    return 0;
}

int GpuControl::GetPciIds(int gpu, WORD& wVendorId, WORD& wDeviceId, WORD& wSubVendorId, WORD& wSubSystemId)
{
    NvU32 deviceId = 0, subSystemId = 0, revisionId = 0, extDeviceId = 0;
    Record(m_pDriver->NvAPI_GPU_GetPCIIdentifiers(Handle(gpu), &deviceId, &subSystemId, &revisionId,
                                                  &extDeviceId));
    if (m_nStatus != NVAPI_OK)
        return 1;
    wVendorId = LOWORD(deviceId);
    wDeviceId = LOWORD(extDeviceId);
    wSubVendorId = LOWORD(subSystemId);
    wSubSystemId = HIWORD(subSystemId);
    return 0;
}

int GpuControl::GetRamTypeName(int gpu, std::string& text)
{
    static const char* const kNames[] = {"UNKNOWN", "SDRAM", "DDR1", "DDR2", "GDDR2",
                                         "GDDR3",   "GDDR4", "DDR3", "GDDR5"};
    NvU32 type = 0;
    Record(m_pDriver->NvAPI_GPU_GetRamType(Handle(gpu), &type));
    if (type < sizeof(kNames) / sizeof(kNames[0]))
        text = kNames[type];
    return m_nStatus != NVAPI_OK ? 1 : 0;
}
