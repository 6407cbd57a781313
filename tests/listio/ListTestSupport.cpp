#include "tests/listio/ListTestSupport.h"

#include "listio/ListFormat.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace quillan::test {

ListFixture::ListFixture(std::vector<std::string> parameters, const std::string& tablesFrom)
    : env(tablesFrom, std::move(parameters)), window(env.context()), dialog(env.context()),
      tables(env.context()) {
    env.load();
}

std::string ListFixture::write(const std::string& name, const std::string& bytes) const {
    std::string path = env.folder() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ListFixture::open(const std::string& path, int finishes) {
    for (int i = 0; i < finishes; ++i)
        ui().pressWhenShown("VerifyDlog", "OKBtn");
    if (ctx().parameterCount() == 0)
        ui().chooseFile(path);
    return read(dialog);
}

std::string ListFixture::read(FieldChooser& fields, ListPurpose purpose) {
    const std::string path = ChooseListFile(ctx(), purpose);
    outcome = ReadOutcome::Refused;
    // Nothing chosen reads nothing: the tables empty, as a read starts them.
    reading = {};
    if (path.empty())
        return {};
    reading = ReadListForCommand(ctx(), fields, tables, path);
    outcome = reading.outcome;
    return outcome == ReadOutcome::Read ? path : std::string();
}

std::string ListFixture::formatRead() const {
    return outcome == ReadOutcome::Read ? reading.list.format->name : "";
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

std::string dbfTable(const std::vector<TableField>& fields,
                     const std::vector<std::pair<bool, std::vector<std::string>>>& records) {
    int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
    int recordLength = 1;
    for (const auto& f : fields)
        recordLength += f.width;
    std::string out(32, '\0');
    out[0] = 0x03;
    uint32_t n = static_cast<uint32_t>(records.size());
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<char>(n >> (8 * i));
    out[8] = static_cast<char>(headerLength & 0xFF);
    out[9] = static_cast<char>(headerLength >> 8);
    out[10] = static_cast<char>(recordLength & 0xFF);
    out[11] = static_cast<char>(recordLength >> 8);
    for (const auto& f : fields) {
        std::string d(32, '\0');
        d.replace(0, f.name.size(), f.name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.width);
        out += d;
    }
    out += '\x0D';
    for (const auto& [deleted, values] : records) {
        out += deleted ? '*' : ' ';
        for (size_t c = 0; c < fields.size(); ++c) {
            std::string v = c < values.size() ? values[c] : "";
            v.resize(static_cast<size_t>(fields[c].width), ' ');
            out += v;
        }
    }
    return out + '\x1A';
}

} // namespace quillan::test
