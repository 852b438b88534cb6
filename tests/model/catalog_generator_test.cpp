// The committed tables and data files are what the generator makes from the
// public catalogues. Runs only where the source packages are installed (the
// build itself never needs them).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "tests/support/temp_dir.h"

namespace {

bool exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TEST(CatalogGenerator, RerunGivesTheCommittedBytes)
{
    if (!exists("/usr/share/xplanet/stars/BSC") || !exists("/usr/share/kstars/stars.dat") ||
        !exists("/usr/share/siril/catalogue/ngc.txt") ||
        std::system("command -v python3 pngtopnm pnmtojpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "catalogue source packages not installed";
    TempDir out;
    std::string src = TAVIK_SOURCE_DIR;
    std::string cmd = "python3 '" + src + "/tools/gen_catalogues.py' --root '" + out.path() + "' >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const char *files[] = {
        "resources/catalog_stars.cpp", "resources/catalog_names.cpp", "resources/catalog_constellations.cpp",
        "resources/catalog_nebulae.cpp", "resources/catalog_sao_zones.cpp", "data/tavik.sao",
        "data/tavik.obs", "data/comet.elm", "data/mp.elm", "data/consname.dat", "data/starname.dat",
        "data/skymark.adf", "data/adf/sample.adf", "data/tavik.cdf", "data/SOURCES.md",
        "data/image/moon.jpg", "data/image/saturn.jpg",
    };
    for (const char *f : files) {
        std::string made = readFile(out.file(f));
        ASSERT_FALSE(made.empty()) << f;
        EXPECT_TRUE(made == readFile(src + "/" + f)) << f << " differs from the generator's output";
    }
}

} // namespace
