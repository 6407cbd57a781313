#pragma once

#include "platform/help/HelpViewer.h"

#include <memory>

class QTextBrowser;

namespace platform {

// Help pages of our own (HTML in the help folder), shown in a text browser. Topic n is
// "topicN.html"; topic 1 is the contents page.
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(std::string helpFolder, bool unattended);
    ~QtHelpViewer() override;

    void setHelpFile(const std::string& path) override { helpFile_ = path; }
    void showTopic(int context) override;
    void search(const std::string& key) override;
    void quit() override;

private:
    QTextBrowser& browser();

    std::string helpFolder_;
    std::string helpFile_;
    bool unattended_;
    std::unique_ptr<QTextBrowser> browser_;
};

} // namespace platform
