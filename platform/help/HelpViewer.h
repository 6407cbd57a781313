#pragma once

#include <string>

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

} // namespace platform
