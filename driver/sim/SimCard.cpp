// The card model. Load follows a 30-second pattern (idle, ramp, full load, ramp, idle), shifted per
// card so a rig's cards differ; power follows load and is capped by the power target; the
// temperature approaches an equilibrium set by power and fan with an 8-second time constant; the fan
// moves towards its target at 12.5 % per 100 ms, so any change completes within a second.
#include "driver/sim/SimCard.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {
constexpr double kStepMs = 100.0;
constexpr int kMaxSteps = 600; // a longer gap is as good as a minute: the model has settled by then
constexpr double kFanRatePerStep = 12.5;
constexpr double kThermalTimeMs = 8000.0;
constexpr std::uint64_t kPatternMs = 30000;
constexpr double kIdleLoad = 0.05;
constexpr double kBusyLoad = 0.15; // above this the card leaves its idle pstate
} // namespace

SimCard::SimCard(const CardModel& model, int index) : m_model(model), m_index(index)
{
    ResetSettings();
}

void SimCard::ResetSettings()
{
    m_settings = CardSettings{};
    m_settings.powerTarget = m_model.powerDefault;
    m_settings.fanManualLevel = m_model.fanMin;
    m_settings.pstates = m_model.pstates;
}

double SimCard::Load() const
{
    if (fixedLoad >= 0)
        return std::min(fixedLoad, 100) / 100.0;
    std::uint64_t t = (m_nowMs + static_cast<std::uint64_t>(m_index) * 7000) % kPatternMs;
    double s = static_cast<double>(t) / 1000.0;
    if (s < 10)
        return kIdleLoad;
    if (s < 12)
        return kIdleLoad + (1 - kIdleLoad) * (s - 10) / 2;
    if (s < 22)
        return 1.0;
    if (s < 24)
        return 1.0 - (1 - kIdleLoad) * (s - 22) / 2;
    return kIdleLoad;
}

double SimCard::PowerPercent(double load) const
{
    double demand = 15.0 + 85.0 * load;
    if (m_model.offsetFamily && m_settings.powerTarget > 0)
        demand = std::min(demand, m_settings.powerTarget / 1000.0);
    return demand;
}

double SimCard::AutoFanTarget() const
{
    double target = m_model.fanMin + (m_temperature - 45.0) * 2.0;
    return std::clamp(target, static_cast<double>(m_model.fanMin), static_cast<double>(m_model.fanMax));
}

void SimCard::Step(double dtMs)
{
    double power = PowerPercent(Load());
    double equilibrium = m_model.ambientC + 0.55 * power * (1.4 - 0.7 * m_fanLevel / 100.0);
    m_temperature += (equilibrium - m_temperature) * (1.0 - std::exp(-dtMs / kThermalTimeMs));
    double target = FanTarget();
    double rate = kFanRatePerStep * dtMs / kStepMs;
    if (m_fanLevel < target)
        m_fanLevel = std::min(target, m_fanLevel + rate);
    else
        m_fanLevel = std::max(target, m_fanLevel - rate);
}

void SimCard::AdvanceTo(std::uint64_t nowMs)
{
    if (!m_bStarted) {
        // Start settled: the temperature of the current load with the fan where it would be.
        m_bStarted = true;
        m_nowMs = nowMs;
        m_fanLevel = m_model.fanMin;
        for (int i = 0; i < 8; ++i) {
            double power = PowerPercent(Load());
            m_temperature = m_model.ambientC + 0.55 * power * (1.4 - 0.7 * m_fanLevel / 100.0);
            m_fanLevel = FanTarget();
        }
        return;
    }
    if (nowMs <= m_nowMs)
        return;
    std::uint64_t dt = nowMs - m_nowMs;
    std::uint64_t steps = dt / static_cast<std::uint64_t>(kStepMs);
    if (steps > static_cast<std::uint64_t>(kMaxSteps)) {
        m_nowMs = nowMs - kMaxSteps * static_cast<std::uint64_t>(kStepMs);
        steps = kMaxSteps;
    }
    for (std::uint64_t i = 0; i < steps; ++i) {
        m_nowMs += static_cast<std::uint64_t>(kStepMs);
        Step(kStepMs);
    }
    if (nowMs > m_nowMs) {
        double rest = static_cast<double>(nowMs - m_nowMs);
        m_nowMs = nowMs;
        Step(rest);
    }
}

NvU32 SimCard::FanTarget() const
{
    if (m_settings.fanPolicy == NVAPI_COOLER_POLICY_MANUAL && !FanIgnoresCommands())
        return m_settings.fanManualLevel;
    return static_cast<NvU32>(std::lround(AutoFanTarget()));
}

NvU32 SimCard::FanLevel() const
{
    return static_cast<NvU32>(std::lround(m_fanLevel));
}

int SimCard::TemperatureC() const
{
    return static_cast<int>(std::lround(m_temperature));
}

ClockReading SimCard::Current() const
{
    ClockReading r;
    double load = Load();
    if (m_model.offsetFamily) {
        if (load < kBusyLoad) {
            r.pstate = 8;
            r.gfxKHz = m_model.idleGfxKHz;
            r.memKHz = m_model.idleMemKHz;
            return r;
        }
        // Boost goes as far as the power target lets it: full boost while the demand fits.
        double demand = 15.0 + 85.0 * load;
        double allowed = PowerPercent(load);
        double boost = demand > 15.0 ? std::clamp((allowed - 15.0) / (demand - 15.0), 0.0, 1.0) : 1.0;
        double gfx = static_cast<double>(m_model.baseKHz) + m_settings.gfxDelta +
                     (static_cast<double>(m_model.boostKHz) - m_model.baseKHz) * boost * load;
        double mem = static_cast<double>(m_model.memKHz) + m_settings.memDelta;
        r.pstate = 0;
        r.gfxKHz = static_cast<NvU32>(std::max(0.0, gfx));
        r.memKHz = static_cast<NvU32>(std::max(0.0, mem));
        return r;
    }
    const std::vector<PstateModel>& table = m_settings.pstates;
    if (table.empty())
        return r;
    size_t index = 0; // fastest first
    if (load < kBusyLoad)
        index = table.size() - 1;
    else if (load < 0.5 && table.size() > 2)
        index = table.size() / 2;
    const PstateModel& p = table[index];
    r.pstate = p.id;
    r.gfxKHz = p.gfxKHz;
    r.memKHz = p.memKHz;
    r.procKHz = p.procKHz;
    return r;
}

NvU32 SimCard::PstateClock(const PstateModel& p, NvU32 domain) const
{
    switch (domain) {
    case NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS:
        return p.gfxKHz;
    case NVAPI_GPU_PUBLIC_CLOCK_MEMORY:
        return p.memKHz;
    case NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR:
        return p.procKHz;
    default:
        return 0;
    }
}

NvU32 SimCard::DomainMin(NvU32 domain) const
{
    NvU32 lowest = 0;
    for (const PstateModel& p : m_model.pstates) {
        NvU32 f = PstateClock(p, domain);
        if (f && (!lowest || f < lowest))
            lowest = f;
    }
    return lowest / 2;
}

NvU32 SimCard::DomainMax(NvU32 domain) const
{
    NvU32 highest = 0;
    for (const PstateModel& p : m_model.pstates)
        highest = std::max(highest, PstateClock(p, domain));
    return highest / 2 * 3;
}

size_t SimCard::PstateForLevel(NvU32 level) const
{
    size_t n = m_settings.pstates.size();
    if (n == 0)
        return 0;
    size_t fromTop = m_model.perfLevels > level ? m_model.perfLevels - 1 - level : 0;
    return std::min(fromTop, n - 1);
}

} // namespace sim
