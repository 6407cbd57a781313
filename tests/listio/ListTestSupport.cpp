#include "ListTestSupport.h"

#include <fstream>

namespace quillan::test {

ListFixture::ListFixture(std::vector<std::string> parameters, const std::string& tablesFrom)
    : env(tablesFrom, std::move(parameters)), window(env.context()), dialog(env.context()) {
    env.load();
}

std::string ListFixture::write(const std::string& name, const std::string& bytes) const {
    std::string path = env.folder() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

void ListFixture::setLine(SettingsList SettingsLists::*list, long line, const std::string& value) {
    (ctx().lists.*list)[line] = value;
}

std::string ListFixture::open(const std::string& path, int finishes) {
    for (int i = 0; i < finishes; ++i)
        ui().pressWhenShown("VerifyDlog", "OKBtn");
    if (ctx().parameterCount() == 0)
        ui().chooseFile(path);
    ResetListCounters(ctx());
    return OpenMailingList(ctx(), dialog, "sort");
}

std::vector<std::string> ListFixture::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : env.ui.messages())
        texts.push_back(m.text);
    return texts;
}

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace quillan::test
