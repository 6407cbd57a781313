#pragma once

#include "platform/shell/Shell.h"

#include <string>
#include <vector>

namespace platform {

// Records the programs it was asked to start; starts none. Each "started" program runs until
// the test ends it (`children`).
class RecordingShell : public Shell {
public:
    struct Call {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::shared_ptr<ChildProgram> start(const std::string& program,
                                        const std::vector<std::string>& arguments) override {
        calls.push_back({program, arguments});
        if (!succeed)
            return nullptr;
        children.push_back(std::make_shared<ChildProgram>());
        return children.back();
    }
    std::vector<Call> calls;
    std::vector<std::shared_ptr<ChildProgram>> children;
    bool succeed = true;
};

} // namespace platform
