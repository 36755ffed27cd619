#pragma once
// Helpers shared by the tests: a scripted prompt and a private temporary folder.

#include <deque>
#include <string>
#include <vector>

#include "common/UserPrompt.h"

namespace vorna::test {

// Answers questions from a script and records every text it is shown.
class ScriptedPrompt : public UserPrompt {
public:
    std::deque<PromptAnswer> answers; // consumed in order; No when empty
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> statuses;
    std::deque<std::string> savePaths;          // choices for save dialogs; Cancel when empty
    std::vector<std::string> proposedSavePaths; // what each save dialog was opened with

    void message(const std::string& text, PromptStyle) override { messages.push_back(text); }
    PromptAnswer question(const std::string& text, bool) override {
        questions.push_back(text);
        if (answers.empty())
            return PromptAnswer::No;
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool chooseSaveFile(std::string& path, const std::string&, const std::string&) override {
        proposedSavePaths.push_back(path);
        if (savePaths.empty())
            return false;
        path = savePaths.front();
        savePaths.pop_front();
        return true;
    }
    void status(int, const std::string& text) override { statuses.push_back(text); }
};

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string readFile(const std::string& path);

// A command run as a script would run it: its exit status, standard output and error.
struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};
// Runs `commandLine` through the shell; stderr goes through a file in `dir`.
CommandRun runCommand(const std::string& commandLine, const TempDir& dir);
void writeFile(const std::string& path, const std::string& bytes);

} // namespace vorna::test
