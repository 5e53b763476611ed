#include "support/workdir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>

#ifdef _WIN32
#include <random>
#endif

namespace fs = std::filesystem;

// A new, empty directory in the system's temporary folder; "" when none can be made.
static std::string makeTemporaryDirectory()
{
#ifdef _WIN32
    // Windows has no mkdtemp: random names until one is created, not found.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("climadesk-test-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error))
            return candidate.string();
    }
    return "";
#else
    std::string pattern = (fs::temp_directory_path() / "climadesk-test-XXXXXX").string();
    return mkdtemp(pattern.data()) ? pattern : "";
#endif
}

void WorkDirTest::SetUp()
{
    oldDir = fs::current_path().string();
    dir = makeTemporaryDirectory();
    ASSERT_NE(dir, "");
    fs::current_path(dir);
}

void WorkDirTest::TearDown()
{
    fs::current_path(oldDir);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

std::string WorkDirTest::pathOf(const std::string& name) const
{
    return (fs::path(dir) / name).string();
}

std::string WorkDirTest::readText(const std::string& name) const
{
    std::ifstream in(pathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WorkDirTest::writeText(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(pathOf(name), std::ios::binary);
    out << bytes;
}
