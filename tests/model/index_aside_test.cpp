// An element index built aside, as start-up builds a stale one: the build
// goes on in a child process, and whatever reads, checks or builds the
// index next waits for it and finds it whole.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "model/catalog_index.h"
#include "tests/support/temp_dir.h"

namespace {

// A minor-planet line of 189 bytes with the newline last: identifier in
// columns 2-7, designation 9-18, name 20-49.
std::string elementLine(const std::string &id, const std::string &name)
{
    std::string line(188, ' ');
    line[0] = 'M';
    line.replace(2, id.size(), id);
    line.replace(20, name.size(), name);
    return line + "\n";
}

TEST(IndexAside, AReadAfterTheBuildWasStartedWaitsForItAndFindsEveryLine)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += elementLine(std::to_string(100000 + i), "Body" + std::to_string(i));
    const std::string elements = dir.write("mp.elm", text);
    const std::string index = dir.path() + "/mp.dbm";
    struct Step {
        const char *name;
        int line;
    } steps[] = {{"BODY2999", 2999}, {"BODY0", 0}, {"101500", 1500}};
    ASSERT_EQ(catalogIndexBuildAside(elements.c_str(), index.c_str()), 1);
    for (const Step &s : steps)
        EXPECT_EQ(catalogIndexLookup(index.c_str(), s.name), 189 * s.line) << s.name;
    EXPECT_EQ(catalogIndexIsCurrent(index.c_str(), elements.c_str()), 1);

    // A second build aside of the same index waits for the first, and a
    // build in place waits for the second.
    ASSERT_EQ(catalogIndexBuildAside(elements.c_str(), index.c_str()), 1);
    ASSERT_EQ(catalogIndexBuildAside(elements.c_str(), index.c_str()), 1);
    ASSERT_EQ(catalogIndexBuildTo(elements.c_str(), index.c_str(), nullptr), 1);
    EXPECT_EQ(catalogIndexLookup(index.c_str(), "BODY1234"), 189 * 1234);
    std::ifstream temp(index + ".$NEW$");
    EXPECT_FALSE(temp.good()) << "a build left its temporary file";
}

} // namespace
