#pragma once

#include "platform/help/HelpViewer.h"

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

class QLineEdit;
class QTextBrowser;

namespace platform {

// Help pages of our own (HTML in the help folder), shown in a window with a search field
// over the page. Topic n is "topicN.html"; topic 1 is the contents page. It opens beside the
// window it explains, where it hides least of it; asked from a dialog that waits for an
// answer, it belongs to that dialog, so that its links and its search work while the dialog
// stays open. Escape and Ctrl+W close it.
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(std::string helpFolder, bool unattended);
    ~QtHelpViewer() override;

    void setHelpFile(const std::string& path) override { helpFile_ = path; }
    void showTopic(int context) override;
    void search(const std::string& key) override;
    void quit() override;

    // The pages whose text holds every word of the key (all pages for an empty key), as
    // file name and title, in the order of their topic numbers.
    struct Found {
        std::string page;
        std::string title;
    };
    std::vector<Found> find(const std::string& key) const;

    // The window, once it was shown; for tests.
    QWidget* window() const { return window_.data(); }
    QTextBrowser* browser() const { return browser_; }
    QLineEdit* searchField() const { return field_; }

private:
    // The size the help window takes where the screen has room for it.
    static constexpr int WantedWidth = 560;
    static constexpr int WantedHeight = 520;

    void makeWindow();
    void showWindow();
    void placeBeside(QWidget* explained);
    QWidget* mainWindow() const;
    void showResults(const std::string& key);

    std::string helpFolder_;
    std::string helpFile_;
    bool unattended_;
    // Made when first asked for; it goes with the dialog it belongs to, if that goes first.
    QPointer<QWidget> window_;
    QTextBrowser* browser_ = nullptr;
    QLineEdit* field_ = nullptr;
};

} // namespace platform
