#pragma once

#include "platform/shell/Shell.h"

#include <string>
#include <vector>

namespace platform {

// Records the programs it was asked to start; starts none.
class RecordingShell : public Shell {
public:
    struct Call {
        std::string program;
        std::vector<std::string> arguments;
    };
    bool start(const std::string& program, const std::vector<std::string>& arguments) override {
        calls.push_back({program, arguments});
        return succeed;
    }
    std::vector<Call> calls;
    bool succeed = true;
};

} // namespace platform
