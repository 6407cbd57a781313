#pragma once

namespace platform {

// The user's decimal separator and list separator, as formulas and numbers are written in
// their locale.
struct NumberSeparators {
    char decimal = '.';
    char list = ',';
};

class LocaleSettings {
public:
    virtual ~LocaleSettings() = default;
    virtual NumberSeparators separators() const = 0;
};

// The process locale's numeric settings. Where the decimal separator is the comma, lists are
// separated by the semicolon, as the desktop platform does.
class SystemLocaleSettings : public LocaleSettings {
public:
    NumberSeparators separators() const override;
};

// Fixed separators, for tests.
class ScriptedLocaleSettings : public LocaleSettings {
public:
    explicit ScriptedLocaleSettings(NumberSeparators value = {}) : value_(value) {}
    NumberSeparators separators() const override { return value_; }
    void set(NumberSeparators value) { value_ = value; }

private:
    NumberSeparators value_;
};

} // namespace platform
