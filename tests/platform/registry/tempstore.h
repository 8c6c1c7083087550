#pragma once
// Each test gets a store file of its own: VYR_REGISTRY names a file in a fresh temporary
// folder, removed with everything in it afterwards.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace vyr::registry::test {

class TempStore {
public:
    TempStore()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vyr-reg-XXXXXX").string();
        if (!mkdtemp(tmpl.data()))
            throw std::runtime_error("mkdtemp failed");
        dir_ = tmpl;
        path_ = dir_ + "/registry.db";
        setenv("VYR_REGISTRY", path_.c_str(), 1);
    }
    ~TempStore()
    {
        unsetenv("VYR_REGISTRY");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    const std::string& path() const { return path_; }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
    std::string path_;
};

class StoreTest : public ::testing::Test {
protected:
    TempStore store_;
};

} // namespace vyr::registry::test
