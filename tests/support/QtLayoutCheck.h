#pragma once

#include "platform/ui/Form.h"

#include <string>
#include <vector>

namespace quillan::test {

// What is wrong with the layout of a form's real window as it was last drawn (a screenshot
// draws it): a visible control that does not lie wholly inside the window, two visible
// controls that overlap (but a control and the group holding it, or a control placed on a
// picture), a caption wider than its control, a note that needs a scroll bar. Empty when a person can read every control.
std::vector<std::string> layoutProblems(const platform::Form& form);

} // namespace quillan::test
