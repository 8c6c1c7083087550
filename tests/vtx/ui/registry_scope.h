#pragma once
// Points the registry store at a file of the test's own for the test's lifetime.
#include <cstdlib>
#include <optional>
#include <string>

namespace vyr::vtx::test {

class RegistryScope {
public:
    explicit RegistryScope(const std::string& file)
    {
        if (const char* old = std::getenv("VYR_REGISTRY"))
            saved_ = old;
        setenv("VYR_REGISTRY", file.c_str(), 1);
    }
    ~RegistryScope()
    {
        if (saved_)
            setenv("VYR_REGISTRY", saved_->c_str(), 1);
        else
            unsetenv("VYR_REGISTRY");
    }

private:
    std::optional<std::string> saved_;
};

} // namespace vyr::vtx::test
