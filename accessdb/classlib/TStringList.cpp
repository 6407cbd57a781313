#include "accessdb/classlib/TStringList.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/engine/EngineText.h"

namespace accessdb {

void TStringList::changing() const {
    if (onChanging)
        onChanging();
}

void TStringList::changed() const {
    if (onChange && updating_ == 0)
        onChange();
}

const std::string& TStringList::operator[](int index) const {
    if (index < 0 || index >= count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return lines_[static_cast<std::size_t>(index)];
}

void TStringList::add(const std::string& line) {
    insert(count(), line);
}

void TStringList::insert(int index, const std::string& line) {
    if (index < 0 || index > count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    changing();
    lines_.insert(lines_.begin() + index, line);
    changed();
}

void TStringList::remove(int index) {
    (void)(*this)[index];
    changing();
    lines_.erase(lines_.begin() + index);
    changed();
}

void TStringList::clear() {
    if (lines_.empty())
        return;
    changing();
    lines_.clear();
    changed();
}

void TStringList::assign(const std::vector<std::string>& lines) {
    changing();
    lines_ = lines;
    changed();
}

int TStringList::indexOf(const std::string& line) const {
    for (int i = 0; i < count(); ++i)
        if (equalsIgnoreCase(lines_[static_cast<std::size_t>(i)], line))
            return i;
    return -1;
}

std::string TStringList::nameAt(int index) const {
    const std::string& line = (*this)[index];
    std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStringList::valueAt(int index) const {
    const std::string& line = (*this)[index];
    std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStringList::indexOfName(const std::string& name) const {
    for (int i = 0; i < count(); ++i) {
        const std::string& line = lines_[static_cast<std::size_t>(i)];
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && equalsIgnoreCase(line.substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStringList::values(const std::string& name) const {
    int index = indexOfName(name);
    return index < 0 ? std::string() : valueAt(index);
}

void TStringList::setValue(const std::string& name, const std::string& value) {
    int index = indexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            remove(index);
        return;
    }
    changing();
    if (index < 0)
        lines_.push_back(name + "=" + value);
    else
        lines_[static_cast<std::size_t>(index)] = name + "=" + value;
    changed();
}

} // namespace accessdb
