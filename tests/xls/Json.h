#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace xls::test {

// A parsed JSON value, enough for the test descriptions: strings come out as UTF-8.
struct Json {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> array;
    std::map<std::string, Json> object;

    const Json& operator[](const std::string& key) const;
    const Json& operator[](size_t index) const { return array.at(index); }
    bool has(const std::string& key) const { return object.count(key) != 0; }

    // Raises std::runtime_error on text that is not JSON.
    static Json parse(const std::string& text);
};

} // namespace xls::test
