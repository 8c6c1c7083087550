#pragma once
// A fresh folder per test and databases made from SQL text or the tool's scripts.
#include "platform/dao/database.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace vyr::dao::test {

inline std::string readText(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("vyr-dao-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    // A database made of SQL text.
    std::string makeDb(const std::string& name, const std::string& sql)
    {
        Database db = Database::create(file(name));
        db.execute(sql);
        return file(name);
    }
    // The demo System Database, built from the tool's schema and demo scripts.
    std::string makeDemo(const std::string& name = "system.mdb")
    {
        std::filesystem::path data = std::filesystem::path(VYR_SOURCE_DIR) / "vtx" / "data";
        return makeDb(name, readText(data / "schema.sql") + readText(data / "demo.sql"));
    }

    std::filesystem::path dir_;
};

} // namespace vyr::dao::test
