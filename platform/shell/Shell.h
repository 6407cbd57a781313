#pragma once

#include "platform/shell/ChildProgram.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

// Starts another program. Arguments travel as a vector, never through a command
// interpreter, so nothing in them is ever quoted, split or expanded.
class Shell {
public:
    virtual ~Shell() = default;
    // The program started, which runs on without being waited for; nothing when it could not
    // be started. A program named without a folder is looked for on the PATH.
    virtual std::shared_ptr<ChildProgram> start(const std::string& program,
                                                const std::vector<std::string>& arguments) = 0;
};

// Every program started is waited for by a thread of its own, so that it leaves no defunct
// process behind whenever it ends, and its exit status can be asked for.
class ProcessShell : public Shell {
public:
    std::shared_ptr<ChildProgram> start(const std::string& program,
                                        const std::vector<std::string>& arguments) override;
};

} // namespace platform
