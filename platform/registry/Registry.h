#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The desktop platform's registry: a tree of keys under a few roots, each key holding named
// string or integer values. Key paths use "\" between names and compare without regard to
// case; a leading "\" is allowed and ignored.
class Registry {
public:
    enum class Root { ClassesRoot, CurrentUser, LocalMachine };

    struct Value {
        enum class Kind { String, Integer };
        Kind kind = Kind::String;
        std::string text;
        std::int64_t number = 0;
    };

    virtual ~Registry() = default;

    virtual bool keyExists(Root root, const std::string& key) const = 0;
    // Creates the key and every missing key above it.
    virtual bool createKey(Root root, const std::string& key) = 0;
    // Removes the key with everything below it; false when it did not exist.
    virtual bool deleteKey(Root root, const std::string& key) = 0;
    virtual std::vector<std::string> subKeyNames(Root root, const std::string& key) const = 0;
    virtual std::vector<std::string> valueNames(Root root, const std::string& key) const = 0;
    virtual std::optional<Value> readValue(Root root, const std::string& key,
                                           const std::string& name) const = 0;
    // Writing into a key that does not exist fails.
    virtual bool writeValue(Root root, const std::string& key, const std::string& name,
                            const Value& value) = 0;
    virtual bool deleteValue(Root root, const std::string& key, const std::string& name) = 0;
};

} // namespace platform
