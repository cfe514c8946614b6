// Replays the fuzz corpus through the fuzz target's checks: inputs that once found a fault stay
// fixed in every build, with or without libFuzzer.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(IniFuzzCorpus, EveryInputKeepsTheInvariants)
{
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KORVAX_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        // A broken invariant aborts the process, which fails the test.
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}
