#pragma once

#include "platform/help/HelpViewer.h"

#include <string>
#include <vector>

namespace platform {

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
