#pragma once

// A wrapper around one engine object, and the property reader the wrappers share.

#include "accessdb/access/TDAOBase.h"

#include <memory>

namespace accessdb {

template <typename Interface, typename Base = TDAOBase>
class DaoInterface : public Base {
public:
    explicit DaoInterface(std::shared_ptr<Interface> object) : object_(std::move(object)) {}
    bool hasInterface() const override { return object_ != nullptr; }
    const std::shared_ptr<Interface>& object() const { return object_; }

protected:
    // Runs `call` on the object and keeps its status; without an object, answers 3420.
    template <typename Call>
    HResult invoke(Call call) {
        this->lastResult_ = object_ ? call(*object_) : noInterface;
        return this->lastResult_;
    }

    std::shared_ptr<Interface> object_;
};

// A call that reads a property which cannot fail into `out`.
template <typename Value, typename Get>
auto property(Value& out, Get get) {
    return [&out, get](auto& object) {
        out = get(object);
        return mdbengine::statusOk;
    };
}

} // namespace accessdb
