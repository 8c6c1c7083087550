#pragma once
// Test support for the tool's logic: System Databases built from the schema, the demo data
// and fixture scripts, and message boxes and file dialogs that tests answer.
#include "tests/platform/dao/scratch.h"
#include "vtx/model/messages.h"
#include "vtx/model/sql_script.h"

#include <cstdlib>
#include <deque>
#include <optional>

namespace vyr::vtx::test {

inline std::string dataFile(const std::string& name)
{
    return (std::filesystem::path(VYR_SOURCE_DIR) / "vtx" / "data" / name).string();
}

inline std::string fixtureFile(const std::string& name)
{
    return (std::filesystem::path(VYR_SOURCE_DIR) / "tests" / "fixtures" / "vtx" / name).string();
}

class SystemDatabases : public dao::test::ScratchDir {
protected:
    // The demo System Database, changed by the named fixture scripts.
    std::string build(const std::string& name, const std::vector<std::string>& fixtures = {})
    {
        std::vector<std::string> scripts{dataFile("schema.sql"), dataFile("demo.sql")};
        for (const std::string& f : fixtures)
            scripts.push_back(fixtureFile(f));
        createDatabaseFromScripts(file(name), scripts);
        return file(name);
    }
};

// Points the registry store at a file of the test's own for the scope's lifetime.
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

// System Databases and a registry store of the test's own.
class SystemDatabasesAndRegistry : public SystemDatabases {
protected:
    void SetUp() override
    {
        SystemDatabases::SetUp();
        registry_.emplace(file("registry.db"));
    }
    void TearDown() override
    {
        registry_.reset();
        SystemDatabases::TearDown();
    }
    std::optional<RegistryScope> registry_;
};

struct Shown {
    std::string text;
    std::string caption;
    Buttons buttons;
};

class FakeBoxes : public MessageBoxes {
public:
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override
    {
        shown.push_back({text, caption, buttons});
        if (answers.empty())
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const Shown& s : shown)
            out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;
    std::deque<Answer> answers;
};

class FakeDialog : public FileDialog {
public:
    std::string pickDatabase(const std::string& currentPath) override
    {
        offered.push_back(currentPath);
        return answer;
    }
    std::string answer;
    std::vector<std::string> offered;
};

} // namespace vyr::vtx::test
