// The hand-made configuration seeds of the fuzz corpus, each with the record it must read as.
#include "config/ConfigFile.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>

namespace {

struct Seed {
    const char* file;
    ScriptConfig expected;
};

constexpr uint64_t kAllOnes = std::numeric_limits<uint64_t>::max();

const Seed kSeeds[] = {
    {"saved-script1.json", {1, 0, 0, 0}},
    {"saved-script5.json", {5, 3, 4, 0}},
    {"saved-script6.json", {6, 7, 0, 0}},
    {"saved-script5-large.json", {5, 1, 6, 329999999999}},
    {"hand-edited.json", {5, 30, 4, 247}},
    {"wrong-kinds.json", {0, 0, 0, 0}},
    // INT64_MAX keeps its low 32 bits (-1), INT64_MIN its (0), 2^32+1 its (1); -1 as a size is
    // its two's complement.
    {"int64-limits.json", {-1, 0, 1, kAllOnes}},
    {"size-above-int64.json", {2, 0, 0, 0}},
    {"depth-32.json", {2, 0, 0, 0}},
    {"depth-33.json", {}},
    {"trailing-comment.json", {}},
    {"trailing-comma.json", {}},
    {"byte-order-mark.json", {}},
    {"invalid-utf8.json", {}},
    {"empty.json", {}},
    {"cut-short.json", {}},
    {"root-array.json", {}},
};

std::string seedText(const char* file)
{
    std::ifstream in(std::string(NORVA_CONFIG_CORPUS_DIR) + "/" + file, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ConfigSeeds, EachHandMadeSeedReadsAsItsRecord)
{
    for (const Seed& seed : kSeeds) {
        SCOPED_TRACE(seed.file);
        const ScriptConfig read = parseConfig(seedText(seed.file));
        EXPECT_EQ(read.script, seed.expected.script);
        EXPECT_EQ(read.lifetime, seed.expected.lifetime);
        EXPECT_EQ(read.quantity, seed.expected.quantity);
        EXPECT_EQ(read.snapshotSize, seed.expected.snapshotSize);
    }
}

} // namespace
