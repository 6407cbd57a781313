#pragma once

#include "app/AppContext.h"

#include <string>
#include <vector>

namespace quillan {

// Where the barcoding program Tarnwick may be installed beside Quillan: "Brakkel/twk",
// then "Tarnwick/twk", in the parent of the program folder. None when the program folder
// has no parent.
std::vector<std::string> barcodingProgramCandidates(const std::string& programFolder);

// Starts the barcoding program on the list file just written, without waiting for it.
// When it is not installed beside Quillan the user is asked to find it; choosing nothing
// starts nothing. The list's path reaches the program as one argument, whatever it holds.
void RunBarcodingProgram(AppContext& ctx, const std::string& listPath);

} // namespace quillan
