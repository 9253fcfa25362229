#pragma once
// Outputs compared byte for byte with files read and approved once
// (tests/data/golden). FOLIANTO_WRITE_GOLDEN=1 writes the files anew: read
// the diff before committing them.

#include <QtGlobal>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace folianto::test {

inline std::string GoldenPath(const std::string& name) { return std::string(FOLIANTO_TEST_DATA) + "/golden/" + name; }

// The text against its golden file; on a difference, the first line that
// differs. The program's version stands as "VERSION" in the files.
inline void ExpectGolden(const std::string& name, std::string text)
{
    const std::string version = FOLIANTO_VERSION;
    for (std::size_t at = text.find(version); at != std::string::npos; at = text.find(version, at))
        text.replace(at, version.size(), "VERSION");
    if (qEnvironmentVariableIsSet("FOLIANTO_WRITE_GOLDEN")) {
        std::ofstream(GoldenPath(name), std::ios::binary) << text;
        return;
    }
    std::ifstream in(GoldenPath(name), std::ios::binary);
    ASSERT_TRUE(in) << GoldenPath(name);
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text == golden)
        return;
    std::istringstream a(golden), b(text);
    std::string was, is;
    for (int line = 1;; ++line) {
        const bool moreWas = static_cast<bool>(std::getline(a, was));
        const bool moreIs = static_cast<bool>(std::getline(b, is));
        if (!moreWas && !moreIs)
            break;
        if (was != is || moreWas != moreIs) {
            ADD_FAILURE() << name << ", line " << line << ":\n  golden: " << (moreWas ? was : "(end)")
                          << "\n  now:    " << (moreIs ? is : "(end)");
            return;
        }
    }
    ADD_FAILURE() << name << " differs";
}

} // namespace folianto::test
