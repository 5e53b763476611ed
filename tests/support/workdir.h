// workdir.h: a fresh, empty working directory for each test.
//
// Tests that read or write files (settings, record files, spreadsheets) derive
// their fixture from WorkDirTest: SetUp creates a temporary directory and makes
// it the working directory; TearDown returns to the old one and removes it.
#pragma once

#include <gtest/gtest.h>

#include <string>

class WorkDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Absolute path of `name` inside the working directory.
    std::string pathOf(const std::string& name) const;
    // Whole content of a file in the working directory ("" when missing).
    std::string readText(const std::string& name) const;
    void writeText(const std::string& name, const std::string& bytes) const;

    std::string dir;

private:
    std::string oldDir;
};
