#pragma once

#include <optional>
#include <vector>

namespace platform {

class Form;

// Forms shown one after another as the pages of one task (the Sort Wizard, a rate editor):
// each comes up as large as the largest of them needs and where the page before it was, so
// that the window neither jumps nor changes its size from page to page.
struct PageSet {
    struct Place {
        int x = 0;
        int y = 0;
    };

    std::vector<Form*> pages;
    // Where the last page shown stood (its frame's top left); nothing before the first.
    std::optional<Place> place;
};

} // namespace platform
