#pragma once

#include <string>
#include <vector>

namespace platform {

// The help engine: shows a topic by its context number, searches by keyword, closes.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void setHelpFile(const std::string& path) = 0;
    virtual void showTopic(int context) = 0;
    virtual void search(const std::string& key) = 0;
    virtual void quit() = 0;
};

// Records what the program asked of the help engine.
class RecordingHelp : public HelpViewer {
public:
    void setHelpFile(const std::string& path) override { calls.push_back("file " + path); }
    void showTopic(int context) override { calls.push_back("topic " + std::to_string(context)); }
    void search(const std::string& key) override { calls.push_back("search " + key); }
    void quit() override { calls.push_back("quit"); }

    std::vector<std::string> calls;
};

} // namespace platform
