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
    // The user's country as the desktop platform numbers countries (mostly the country's
    // telephone code: 1 United States, 44 United Kingdom, 49 Germany); 1 when the locale
    // does not say.
    virtual int countryCode() const = 0;
};

// The process locale's numeric settings. Where the decimal separator is the comma, lists are
// separated by the semicolon, as the desktop platform does.
class SystemLocaleSettings : public LocaleSettings {
public:
    NumberSeparators separators() const override;
    // From the telephone settings of the user's locale (its international prefix).
    int countryCode() const override;
};

// Fixed separators, for tests.
class ScriptedLocaleSettings : public LocaleSettings {
public:
    explicit ScriptedLocaleSettings(NumberSeparators value = {}, int country = 1)
        : value_(value), country_(country) {}
    NumberSeparators separators() const override { return value_; }
    int countryCode() const override { return country_; }
    void set(NumberSeparators value) { value_ = value; }

private:
    NumberSeparators value_;
    int country_;
};

} // namespace platform
