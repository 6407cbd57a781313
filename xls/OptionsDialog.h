#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xls {

enum class CalcMode : uint8_t { Manual, Automatic, AutoExTables };
enum class ShowObjects : uint8_t { ShowAll, Placeholders, HideAll };

// The word of a settings record that names none of the setting's values (CALCMODE 2, which
// some programs write): reading leaves the setting as it was, and the word goes back into the
// file as it was read for as long as the setting keeps that value.
template <typename Value>
struct UnnamedWord {
    std::optional<uint16_t> word;
    Value valueLeft{};

    void keep(uint16_t read, Value left) {
        word = read;
        valueLeft = left;
    }
    // The word to write for the setting's value `now`, whose own word is `named`.
    uint16_t wordFor(Value now, uint16_t named) const {
        return word && now == valueLeft ? *word : named;
    }
};

// The workbook's calculation options.
struct OptionsDialog {
    static constexpr size_t MaxUserNameLength = 255;

    bool saveExtLinkVal = false;
    // The BOOKBOOL bits besides the one above (links' update mode, mail envelope, ...), as
    // read.
    uint16_t bookBoolBits = 0;
    uint16_t calcCount = 0;
    CalcMode calcMode = CalcMode::Automatic;
    UnnamedWord<CalcMode> unnamedCalcMode;
    double delta = 0;
    ShowObjects showObjects = ShowObjects::ShowAll;
    UnnamedWord<ShowObjects> unnamedShowObjects;
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
