// Replays the committed corpus through the loaders without the fuzzing engine, so that an input
// that once crashed a loader (kept beside the seeds as crash-*) fails the normal suite when the
// fault returns. The sanitizer run (scripts/test.sh --sanitize) sees overflows and leaks too.
#include "tests/fuzz/loaders.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vyr::fuzz {
namespace {

namespace fs = std::filesystem;

fs::path corpus() { return fs::path(VYR_FUZZ_CORPUS); }

std::vector<uint8_t> bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(FuzzCorpusTest, EveryInputLoadsWithoutFault)
{
    size_t replayed = 0;
    for (const Loader& loader : loaders()) {
        const fs::path folder = corpus() / loader.name;
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            const auto bytes = bytesOf(entry.path());
            loader.load(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0u);
}

// A loader without seeds is fuzzed from nothing and replays nothing: each needs its folder.
TEST(FuzzCorpusTest, EveryLoaderHasSeeds)
{
    for (const Loader& loader : loaders()) {
        const fs::path folder = corpus() / loader.name;
        EXPECT_TRUE(fs::is_directory(folder) && !fs::is_empty(folder))
            << loader.name << ": no seeds in " << folder << " (fuzz_seeds writes them)";
    }
}

// A folder whose loader was renamed away would silently stop being replayed.
TEST(FuzzCorpusTest, EveryFolderNamesALoader)
{
    for (const auto& entry : fs::directory_iterator(corpus()))
        EXPECT_TRUE(findLoader(entry.path().filename().string()))
            << entry.path() << " names no loader";
}

} // namespace
} // namespace vyr::fuzz
