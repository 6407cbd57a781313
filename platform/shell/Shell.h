#pragma once

#include <string>
#include <vector>

namespace platform {

// Starts another program. Arguments travel as a vector, never through a command
// interpreter, so nothing in them is ever quoted, split or expanded.
class Shell {
public:
    virtual ~Shell() = default;
    // True when the program was started; it runs on without being waited for.
    virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

class ProcessShell : public Shell {
public:
    bool start(const std::string& program, const std::vector<std::string>& arguments) override;
};

} // namespace platform
