#include "platform/registry/ConfigRegistry.h"

#include <cctype>
#include <cstdlib>

namespace platform {
namespace {

const std::string kPrefix = "registry/";

std::string rootName(Registry::Root root) {
    switch (root) {
    case Registry::Root::ClassesRoot:
        return "HKCR";
    case Registry::Root::CurrentUser:
        return "HKCU";
    case Registry::Root::LocalMachine:
        return "HKLM";
    }
    return "HKLM";
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// "\A\\B\" -> "A\B": no leading, trailing or doubled separators.
std::string normalisedPath(const std::string& key) {
    std::string out;
    for (char c : key) {
        if (c == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += c;
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

std::string keyEntry(Registry::Root root, const std::string& path) {
    return kPrefix + rootName(root) + (path.empty() ? "" : "\\" + path);
}

bool isValueEntry(const std::string& entry) {
    return entry.find('|') != std::string::npos;
}

} // namespace

ConfigRegistry::ConfigRegistry(ConfigStore& store, bool withDaoEngineKey) : store_(store) {
    if (withDaoEngineKey)
        builtInKeys_.insert(upper(keyEntry(Root::ClassesRoot, "DAO.DBEngine.36")));
}

std::optional<std::string> ConfigRegistry::storedKey(Root root, const std::string& key) const {
    std::string path = normalisedPath(key);
    std::string wanted = upper(keyEntry(root, path));
    if (path.empty())
        return keyEntry(root, path);
    for (const std::string& entry : store_.keys())
        if (!isValueEntry(entry) && upper(entry) == wanted)
            return entry;
    if (builtInKeys_.count(wanted))
        return keyEntry(root, path);
    return std::nullopt;
}

std::optional<std::string> ConfigRegistry::storedValueEntry(const std::string& keyEntryText,
                                                            const std::string& name) const {
    std::string wanted = upper(keyEntryText + "|" + name);
    for (const std::string& entry : store_.keys())
        if (upper(entry) == wanted)
            return entry;
    return std::nullopt;
}

bool ConfigRegistry::keyExists(Root root, const std::string& key) const {
    return storedKey(root, key).has_value();
}

bool ConfigRegistry::createKey(Root root, const std::string& key) {
    std::string path = normalisedPath(key);
    std::string sofar;
    std::size_t start = 0;
    while (start <= path.size() && !path.empty()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        sofar = path.substr(0, end);
        if (!keyExists(root, sofar) && !store_.write(keyEntry(root, sofar), "key"))
            return false;
        start = end + 1;
    }
    return true;
}

bool ConfigRegistry::deleteKey(Root root, const std::string& key) {
    auto stored = storedKey(root, key);
    if (!stored || normalisedPath(key).empty())
        return false;
    std::string base = upper(*stored);
    for (const std::string& entry : store_.keys()) {
        std::string u = upper(entry);
        if (u == base || u.rfind(base + "\\", 0) == 0 || u.rfind(base + "|", 0) == 0)
            store_.remove(entry);
    }
    builtInKeys_.erase(base);
    return true;
}

std::vector<std::string> ConfigRegistry::subKeyNames(Root root, const std::string& key) const {
    std::vector<std::string> names;
    auto stored = storedKey(root, key);
    if (!stored)
        return names;
    std::string base = upper(*stored) + "\\";
    auto addChild = [&](const std::string& entry) {
        if (isValueEntry(entry) || upper(entry).rfind(base, 0) != 0)
            return;
        std::string rest = entry.substr(base.size());
        if (rest.find('\\') != std::string::npos)
            return;
        for (const std::string& n : names)
            if (upper(n) == upper(rest))
                return;
        names.push_back(rest);
    };
    for (const std::string& entry : store_.keys())
        addChild(entry);
    for (const std::string& entry : builtInKeys_)
        addChild(entry);
    return names;
}

std::vector<std::string> ConfigRegistry::valueNames(Root root, const std::string& key) const {
    std::vector<std::string> names;
    auto stored = storedKey(root, key);
    if (!stored)
        return names;
    std::string base = upper(*stored) + "|";
    for (const std::string& entry : store_.keys())
        if (upper(entry).rfind(base, 0) == 0)
            names.push_back(entry.substr(base.size()));
    return names;
}

std::optional<Registry::Value> ConfigRegistry::readValue(Root root, const std::string& key,
                                                         const std::string& name) const {
    auto stored = storedKey(root, key);
    if (!stored)
        return std::nullopt;
    auto entry = storedValueEntry(*stored, name);
    if (!entry)
        return std::nullopt;
    std::string text = store_.read(*entry).value_or("");
    Value value;
    if (text.rfind("dword:", 0) == 0) {
        value.kind = Value::Kind::Integer;
        value.number = std::strtoll(text.c_str() + 6, nullptr, 10);
        return value;
    }
    value.text = text.rfind("sz:", 0) == 0 ? text.substr(3) : text;
    return value;
}

bool ConfigRegistry::writeValue(Root root, const std::string& key, const std::string& name,
                                const Value& value) {
    auto stored = storedKey(root, key);
    if (!stored)
        return false;
    if (builtInKeys_.count(upper(*stored)) && !store_.read(*stored))
        store_.write(*stored, "key");
    std::string entry = storedValueEntry(*stored, name).value_or(*stored + "|" + name);
    std::string text = value.kind == Value::Kind::Integer ? "dword:" + std::to_string(value.number)
                                                          : "sz:" + value.text;
    return store_.write(entry, text);
}

bool ConfigRegistry::deleteValue(Root root, const std::string& key, const std::string& name) {
    auto stored = storedKey(root, key);
    if (!stored)
        return false;
    auto entry = storedValueEntry(*stored, name);
    return entry && store_.remove(*entry);
}

} // namespace platform
