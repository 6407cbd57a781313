#pragma once

#include "platform/ui/Form.h"
#include "platform/ui/PageSet.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace quillan {

// While it lives, the forms are the pages of one task: each comes up as large as the largest
// of them needs and where the page before it was (the Sort Wizard's settings pages, a rate
// editor's pages). Shown on their own afterwards, they are windows of their own again.
class PageRun {
public:
    explicit PageRun(const std::vector<platform::Form*>& forms)
        : pages_(std::make_shared<platform::PageSet>()) {
        for (platform::Form* form : forms)
            if (std::find(pages_->pages.begin(), pages_->pages.end(), form) == pages_->pages.end())
                pages_->pages.push_back(form);
        for (platform::Form* form : pages_->pages)
            form->setPageSet(pages_);
    }
    ~PageRun() {
        for (platform::Form* form : pages_->pages)
            form->setPageSet(nullptr);
    }
    PageRun(const PageRun&) = delete;
    PageRun& operator=(const PageRun&) = delete;

private:
    std::shared_ptr<platform::PageSet> pages_;
};

} // namespace quillan
