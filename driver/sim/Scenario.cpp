// Built-in presets and the scenario file parser (format in docs/simulated-driver.md).
#include "driver/sim/Scenario.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace sim {
namespace {

constexpr NvU32 MHz = 1000;
constexpr NvU32 kPerCent = 1000; // per cent in per-cent-mille

CardModel Gtx680()
{
    CardModel c;
    c.name = "Simulated GeForce GTX 680";
    c.offsetFamily = true;
    c.deviceId = 0x1180;
    c.subSystemId = 0x0969;
    c.memoryKb = 2048 * 1024;
    c.ramType = 8; // GDDR5
    c.busWidth = 256;
    c.cores = 1536;
    c.bios = "80.04.09.00.01";
    c.baseKHz = 1006 * MHz;
    c.boostKHz = 1058 * MHz;
    c.memKHz = 3004 * MHz;
    c.idleGfxKHz = 324 * MHz;
    c.idleMemKHz = 324 * MHz;
    c.gfxDeltaMin = -200 * static_cast<NvS32>(MHz);
    c.gfxDeltaMax = 500 * static_cast<NvS32>(MHz);
    c.memDeltaMin = -500 * static_cast<NvS32>(MHz);
    c.memDeltaMax = 1000 * static_cast<NvS32>(MHz);
    c.voltDeltaMin = 0;
    c.voltDeltaMax = 100000;
    c.powerMin = 50 * kPerCent;
    c.powerDefault = 100 * kPerCent;
    c.powerMax = 132 * kPerCent;
    c.fanMin = 30;
    c.fanMax = 100;
    return c;
}

CardModel Gtx670()
{
    CardModel c = Gtx680();
    c.name = "Simulated GeForce GTX 670";
    c.deviceId = 0x1189;
    c.subSystemId = 0x1000;
    c.cores = 1344;
    c.bios = "80.04.1E.00.01";
    c.baseKHz = 915 * MHz;
    c.boostKHz = 980 * MHz;
    c.powerMax = 122 * kPerCent;
    return c;
}

CardModel Gtx580()
{
    CardModel c;
    c.name = "Simulated GeForce GTX 580";
    c.offsetFamily = false;
    c.deviceId = 0x1080;
    c.subSystemId = 0x0768;
    c.memoryKb = 1536 * 1024;
    c.ramType = 8;
    c.busWidth = 384;
    c.cores = 512;
    c.bios = "70.10.17.00.01";
    // Fermi: the processor (shader) clock runs at twice the graphics clock.
    c.pstates = {{0, 772 * MHz, 2004 * MHz, 1544 * MHz, 1000},
                 {8, 405 * MHz, 324 * MHz, 810 * MHz, 925},
                 {12, 51 * MHz, 135 * MHz, 101 * MHz, 875}};
    c.perfLevels = 3;
    c.fanMin = 40;
    c.fanMax = 100;
    return c;
}

CardModel Gtx480()
{
    CardModel c = Gtx580();
    c.name = "Simulated GeForce GTX 480";
    c.deviceId = 0x06C0;
    c.subSystemId = 0x0758;
    c.cores = 480;
    c.bios = "70.00.1A.00.02";
    c.pstates = {{0, 701 * MHz, 1848 * MHz, 1402 * MHz, 988},
                 {8, 405 * MHz, 324 * MHz, 810 * MHz, 925},
                 {12, 51 * MHz, 135 * MHz, 101 * MHz, 875}};
    return c;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// A whole-text integer (decimal, or hexadecimal with 0x) within [min, max].
bool ParseInt(const std::string& text, long long min, long long max, long long& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < min || v > max)
        return false;
    out = v;
    return true;
}

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

class Parser
{
public:
    Parser(const std::string& origin, Scenario& out, std::string& error)
        : m_origin(origin), m_out(out), m_error(error)
    {
    }

    bool Run(const std::string& text)
    {
        m_out = Scenario{};
        m_out.key = m_origin;
        m_out.displays = 1;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            ++m_line;
            size_t hash = line.find('#');
            if (hash != std::string::npos)
                line.erase(hash);
            line = Trim(line);
            if (line.empty())
                continue;
            if (line == "[card]") {
                if (!FinishCard())
                    return false;
                if (m_out.cards.size() >= NVAPI_MAX_PHYSICAL_GPUS)
                    return Fail("more than 64 cards");
                m_inCard = true;
                m_familySet = false;
                m_cardLine = m_line;
                continue;
            }
            size_t eq = line.find('=');
            if (eq == std::string::npos)
                return Fail("expected \"key = value\" or \"[card]\"");
            std::string key = Trim(line.substr(0, eq));
            std::string value = Trim(line.substr(eq + 1));
            if (!(m_inCard ? CardKey(key, value) : GlobalKey(key, value)))
                return false;
        }
        return FinishCard();
    }

private:
    bool Fail(const std::string& what, int line = 0)
    {
        m_error = m_origin + ":" + std::to_string(line ? line : m_line) + ": " + what;
        return false;
    }
    bool Int(const std::string& key, const std::string& value, long long min, long long max, long long& out)
    {
        if (ParseInt(value, min, max, out))
            return true;
        return Fail(key + " must be a whole number from " + std::to_string(min) + " to " +
                    std::to_string(max));
    }
    bool Flag(const std::string& key, const std::string& value, bool& out)
    {
        if (value == "yes" || value == "on" || value == "1")
            return out = true, true;
        if (value == "no" || value == "off" || value == "0")
            return out = false, true;
        return Fail(key + " must be yes or no");
    }
    // "A B" or "A B C" whole numbers within [min, max], each not below the one before.
    bool Ints(const std::string& key, const std::string& value, size_t n, long long min, long long max,
              long long* out)
    {
        std::vector<std::string> w = Words(value);
        bool ok = w.size() == n;
        for (size_t i = 0; ok && i < n; ++i)
            ok = ParseInt(w[i], min, max, out[i]) && (i == 0 || out[i] >= out[i - 1]);
        if (ok)
            return true;
        return Fail(key + " must be " + std::to_string(n) + " ascending whole numbers from " +
                    std::to_string(min) + " to " + std::to_string(max));
    }

    bool GlobalKey(const std::string& key, const std::string& value)
    {
        long long v = 0;
        if (key == "displays") {
            if (!Int(key, value, 0, NVAPI_MAX_DISPLAYS, v))
                return false;
            m_out.displays = static_cast<NvU32>(v);
        } else if (key == "driver-version") {
            if (!Int(key, value, 0, 99999, v))
                return false;
            m_out.driverVersion = static_cast<NvU32>(v);
        } else {
            return Fail("unknown key \"" + key + "\" before the first [card]");
        }
        return true;
    }

    bool CardKey(const std::string& key, const std::string& value)
    {
        if (!m_familySet) {
            if (key != "family")
                return Fail("a card starts with \"family = offset\" or \"family = clock\"");
            if (value == "offset")
                m_card = Gtx680();
            else if (value == "clock")
                m_card = Gtx580();
            else
                return Fail("family must be offset or clock");
            m_card.name = "Simulated GeForce card " + std::to_string(m_out.cards.size());
            m_familySet = true;
            m_pstatesGiven = false;
            return true;
        }
        CardModel& c = m_card;
        long long v = 0;
        long long r[3] = {};
        const long long kMaxMHz = 5000;
        if (key == "family")
            return Fail("family given twice");
        if (key == "name") {
            if (value.empty() || value.size() > 63)
                return Fail("name must have 1 to 63 characters");
            c.name = value;
        } else if (key == "vendor-id" || key == "device-id" || key == "subsystem-vendor-id" ||
                   key == "subsystem-id") {
            if (!Int(key, value, 0, 0xFFFF, v))
                return false;
            NvU32& field = key == "vendor-id"             ? c.vendorId
                           : key == "device-id"           ? c.deviceId
                           : key == "subsystem-vendor-id" ? c.subVendorId
                                                          : c.subSystemId;
            field = static_cast<NvU32>(v);
        } else if (key == "revision") {
            if (!Int(key, value, 0, 0xFF, v))
                return false;
            c.revision = static_cast<NvU32>(v);
        } else if (key == "memory-mb") {
            if (!Int(key, value, 0, 1048576, v))
                return false;
            c.memoryKb = static_cast<NvU32>(v * 1024);
        } else if (key == "ram-type") {
            if (!Int(key, value, 0, 15, v))
                return false;
            c.ramType = static_cast<NvU32>(v);
        } else if (key == "bus-width") {
            if (!Int(key, value, 0, 4096, v))
                return false;
            c.busWidth = static_cast<NvU32>(v);
        } else if (key == "cores") {
            if (!Int(key, value, 0, 100000, v))
                return false;
            c.cores = static_cast<NvU32>(v);
        } else if (key == "bios") {
            if (value.empty() || value.size() > 63)
                return Fail("bios must have 1 to 63 characters");
            c.bios = value;
        } else if (key == "base-clock" || key == "boost-clock" || key == "memory-clock" ||
                   key == "idle-clock" || key == "idle-memory-clock") {
            if (!OffsetOnly(key) || !Int(key, value, 1, kMaxMHz, v))
                return false;
            NvU32& field = key == "base-clock"     ? c.baseKHz
                           : key == "boost-clock"  ? c.boostKHz
                           : key == "memory-clock" ? c.memKHz
                           : key == "idle-clock"   ? c.idleGfxKHz
                                                   : c.idleMemKHz;
            field = static_cast<NvU32>(v) * MHz;
        } else if (key == "gfx-offset" || key == "mem-offset") {
            if (!OffsetOnly(key) || !Ints(key, value, 2, -2000, 2000, r))
                return false;
            NvS32* f = key == "gfx-offset" ? &c.gfxDeltaMin : &c.memDeltaMin;
            f[0] = static_cast<NvS32>(r[0] * 1000);
            f[1] = static_cast<NvS32>(r[1] * 1000);
        } else if (key == "volt-offset") {
            if (!OffsetOnly(key) || !Ints(key, value, 2, -500, 500, r))
                return false;
            c.voltDeltaMin = static_cast<NvS32>(r[0] * 1000);
            c.voltDeltaMax = static_cast<NvS32>(r[1] * 1000);
        } else if (key == "offsets-editable") {
            if (!OffsetOnly(key) || !Flag(key, value, c.offsetsEditable))
                return false;
        } else if (key == "gfx-entry") {
            if (!OffsetOnly(key))
                return false;
            if (value != "single" && value != "range")
                return Fail("gfx-entry must be single or range");
            c.gfxRangeEntry = value == "range";
        } else if (key == "power-target") {
            if (!OffsetOnly(key) || !Ints(key, value, 3, 1, 300, r))
                return false;
            c.powerMin = static_cast<NvU32>(r[0]) * kPerCent;
            c.powerDefault = static_cast<NvU32>(r[1]) * kPerCent;
            c.powerMax = static_cast<NvU32>(r[2]) * kPerCent;
        } else if (key == "power-info-valid") {
            if (!OffsetOnly(key) || !Flag(key, value, c.powerInfoValid))
                return false;
        } else if (key == "pstate") {
            if (c.offsetFamily)
                return Fail("pstate is for clock-family cards");
            std::vector<std::string> w = Words(value);
            long long f[5] = {};
            bool ok = w.size() == 5 && ParseInt(w[0], 0, 15, f[0]) && ParseInt(w[1], 0, kMaxMHz, f[1]) &&
                      ParseInt(w[2], 1, kMaxMHz, f[2]) && ParseInt(w[3], 0, 2 * kMaxMHz, f[3]) &&
                      ParseInt(w[4], 500, 1500, f[4]);
            if (!ok)
                return Fail(
                    "pstate must be: id (0-15) graphics-MHz (0-5000) memory-MHz processor-MHz (0 = none) mV "
                    "(500-1500)");
            if (!m_pstatesGiven)
                c.pstates.clear();
            m_pstatesGiven = true;
            for (const PstateModel& p : c.pstates)
                if (p.id == static_cast<NvU32>(f[0]))
                    return Fail("pstate " + w[0] + " given twice");
            if (c.pstates.size() >= 16)
                return Fail("more than 16 pstates");
            c.pstates.push_back({static_cast<NvU32>(f[0]), static_cast<NvU32>(f[1]) * MHz,
                                 static_cast<NvU32>(f[2]) * MHz, static_cast<NvU32>(f[3]) * MHz,
                                 static_cast<NvU32>(f[4])});
        } else if (key == "perf-levels") {
            if (c.offsetFamily)
                return Fail("perf-levels is for clock-family cards");
            if (!Int(key, value, 1, 16, v))
                return false;
            c.perfLevels = static_cast<NvU32>(v);
        } else if (key == "fan") {
            if (!Ints(key, value, 2, 0, 100, r))
                return false;
            c.fanMin = static_cast<NvU32>(r[0]);
            c.fanMax = static_cast<NvU32>(r[1]);
        } else if (key == "fan-stuck") {
            if (!Flag(key, value, c.fanStuck))
                return false;
        } else if (key == "ambient") {
            if (!Int(key, value, -20, 60, v))
                return false;
            c.ambientC = static_cast<int>(v);
        } else {
            return Fail("unknown key \"" + key + "\"");
        }
        return true;
    }

    bool OffsetOnly(const std::string& key)
    {
        return m_card.offsetFamily ? true : Fail(key + " is for offset-family cards");
    }

    bool FinishCard()
    {
        if (!m_inCard)
            return true;
        if (!m_familySet)
            return Fail("card without a family", m_cardLine);
        const CardModel& c = m_card;
        if (c.offsetFamily) {
            if (c.boostKHz < c.baseKHz)
                return Fail("boost-clock is below base-clock", m_cardLine);
            if (c.idleGfxKHz > c.baseKHz || c.idleMemKHz > c.memKHz)
                return Fail("an idle clock is above its working clock", m_cardLine);
            if (c.gfxDeltaMin > 0 || c.gfxDeltaMax < 0 || c.memDeltaMin > 0 || c.memDeltaMax < 0 ||
                c.voltDeltaMin > 0 || c.voltDeltaMax < 0)
                return Fail("an offset range must include 0", m_cardLine);
            if (static_cast<long long>(c.baseKHz) + c.gfxDeltaMin <= 0 ||
                static_cast<long long>(c.memKHz) + c.memDeltaMin <= 0)
                return Fail("the lowest offset would stop a clock", m_cardLine);
        }
        m_out.cards.push_back(m_card);
        m_inCard = false;
        return true;
    }

    const std::string& m_origin;
    Scenario& m_out;
    std::string& m_error;
    int m_line = 0;
    int m_cardLine = 0;
    bool m_inCard = false;
    bool m_familySet = false;
    bool m_pstatesGiven = false;
    CardModel m_card;
};

} // namespace

bool PresetScenario(const std::string& name, Scenario& out)
{
    out = Scenario{};
    out.key = name;
    if (name == "offset")
        out.cards = {Gtx680()};
    else if (name == "clock")
        out.cards = {Gtx580()};
    else if (name == "rig") {
        out.cards = {Gtx680(), Gtx580(), Gtx670(), Gtx480()};
        out.displays = 2;
    } else if (name == "none") {
        out.displays = 0;
    } else {
        return false;
    }
    return true;
}

bool ParseScenario(const std::string& text, const std::string& origin, Scenario& out, std::string& error)
{
    return Parser(origin, out, error).Run(text);
}

bool LoadScenario(const char* name, Scenario& out, std::string& error)
{
    std::string n = name && *name ? name : "offset";
    if (PresetScenario(n, out))
        return true;
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(n, ec))
        in.open(n, std::ios::binary);
    if (!in.is_open()) {
        error = n + ":0: cannot read the scenario file (and it names no preset: offset, clock, rig, none)";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad() || (!text && in.peek() != EOF)) {
        error = n + ":0: cannot read the scenario file";
        return false;
    }
    return ParseScenario(text.str(), n, out, error);
}

} // namespace sim
