#include "tests/support/TestEnvironment.h"

#include "app/DataFiles.h"
#include "platform/fs/AtomicFile.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace quillan::test {

namespace fs = std::filesystem;

std::string fixturePath(const std::string& relative) {
    return std::string(QUILLAN_TEST_DATA) + "/" + relative;
}

std::string geographyFolder() {
    return fixturePath("geography");
}

std::string artefactFolder() {
    std::string folder = std::string(QUILLAN_BUILD_DIR) + "/test-artefacts/";
    fs::create_directories(folder);
    return folder;
}

std::string waitForFile(const std::string& path) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() > giveUp) {
            ADD_FAILURE() << path << " did not appear in ten minutes: the process hangs";
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return platform::readFileBytes(path).value_or("");
}

std::string runCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

static std::string makeScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "quillan-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("cannot make a scratch folder");
    return std::string(buffer.data()) + "/";
}

TestEnvironment::TestEnvironment(const std::string& tablesFrom,
                                 std::vector<std::string> parameters) {
    folder_ = makeScratchFolder();
    tables_ = folder_ + "tables/";
    fs::create_directories(tables_);
    std::string from = tablesFrom.empty() ? std::string(QUILLAN_SHIPPED_TABLES) : tablesFrom;
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file() && entry.path().extension() == ".dat")
            fs::copy_file(entry.path(), tables_ + entry.path().filename().string());
    platform::ProgramPaths paths = platform::resolveProgramPaths(folder_);
    context_ = std::make_unique<AppContext>(platform::Platform{ui, printer, help, shell, config},
                                            paths, std::move(parameters));
    context_->setNotices(notices);
}

TestEnvironment::~TestEnvironment() {
    context_.reset();
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

void TestEnvironment::load() {
    LoadDataFiles(*context_);
}

void TestEnvironment::copyStatementForms() const {
    std::string bitmaps = folder_ + "bitmaps/";
    fs::create_directories(bitmaps);
    for (const auto& entry : fs::directory_iterator(std::string(QUILLAN_BUILD_DIR) + "/bitmaps"))
        if (entry.path().extension() != ".stamp")
            fs::copy_file(entry.path(), bitmaps + entry.path().filename().string());
}

void TestEnvironment::writeTable(const std::string& name, const std::string& bytes) const {
    std::ofstream(tables_ + name, std::ios::binary) << bytes;
}

std::string TestEnvironment::readTable(const std::string& name) const {
    return platform::readFileBytes(tables_ + name).value_or("");
}

void TestEnvironment::removeTable(const std::string& name) const {
    fs::remove(tables_ + name);
}

} // namespace quillan::test
