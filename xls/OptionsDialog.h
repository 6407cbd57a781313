#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xls {

enum class CalcMode : uint8_t { Manual, Automatic, AutoExTables };
enum class ShowObjects : uint8_t { ShowAll, Placeholders, HideAll };

// The workbook's calculation options.
struct OptionsDialog {
    static constexpr size_t MaxUserNameLength = 255;

    bool saveExtLinkVal = false;
    // The BOOKBOOL bits besides the one above (links' update mode, mail envelope, ...), as
    // read.
    uint16_t bookBoolBits = 0;
    uint16_t calcCount = 0;
    CalcMode calcMode = CalcMode::Automatic;
    double delta = 0;
    ShowObjects showObjects = ShowObjects::ShowAll;
    bool iteration = false;
    bool precisionAsDisplayed = false;
    bool r1c1Mode = false;
    bool recalcBeforeSave = false;
    bool uncalced = false;

    const std::string& userName() const { return userName_; }
    // A longer name is cut to its first 255 characters.
    void setUserName(std::string_view name) { userName_ = name.substr(0, MaxUserNameLength); }

private:
    std::string userName_;
};

} // namespace xls
