#pragma once

#include <functional>
#include <string>
#include <vector>

namespace accessdb {

// A list of text lines, many of them "name=value" pairs (names compare without regard to
// case). A change hook runs before and after every change.
class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines) : lines_(lines) {}

    int count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const;
    const std::vector<std::string>& lines() const { return lines_; }
    void add(const std::string& line);
    void insert(int index, const std::string& line);
    void remove(int index);
    void clear();
    void assign(const std::vector<std::string>& lines);
    int indexOf(const std::string& line) const;

    std::string nameAt(int index) const;
    std::string valueAt(int index) const;
    int indexOfName(const std::string& name) const;
    // The value of the first line so named; empty when there is none.
    std::string values(const std::string& name) const;
    // Sets the value, adding a line when needed; an empty value removes the line.
    void setValue(const std::string& name, const std::string& value);

    void beginUpdate() { ++updating_; }
    void endUpdate() { --updating_; }
    bool updating() const { return updating_ > 0; }
    // Runs before a change (the hook may refuse it by raising) and after it.
    std::function<void()> onChanging;
    std::function<void()> onChange;

private:
    void changing() const;
    void changed() const;

    std::vector<std::string> lines_;
    int updating_ = 0;
};

} // namespace accessdb
