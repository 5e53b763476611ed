#include "support/workdir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>

namespace fs = std::filesystem;

void WorkDirTest::SetUp()
{
    oldDir = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "climadesk-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
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
