#pragma once

#include "core/AppContext.h"
#include "platform/ui/Form.h"

namespace quillan {

// The help topics the program opens by number: the contents, and the topics of the windows
// that have one of their own.
inline constexpr int ContentsHelpTopic = 1;

// Opens the help file beside the program at the topic.
void showHelpTopic(AppContext& ctx, int context);

// F1 in the form opens its topic.
void bindHelpKey(AppContext& ctx, platform::Form& form, int context);

} // namespace quillan
