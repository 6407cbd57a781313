#pragma once

// Shared by the libgsf backend of the storage layer only; no other code includes glib.

#include "platform/storage/StorageError.h"

#include <glib-object.h>
#include <gsf/gsf.h>
#include <memory>
#include <string>

namespace platform::gsf {

// Starts the storage library once per process.
void initialise();

struct ObjectUnref {
    void operator()(gpointer object) const {
        if (object)
            g_object_unref(object);
    }
};

template <typename T>
using Ref = std::unique_ptr<T, ObjectUnref>;

// Raises StorageError with the library's text, and frees the error.
[[noreturn]] void raise(GError* error, const std::string& what);

// Raises StorageError when the output has failed.
void check(GsfOutput* output, const std::string& what);

// The storage library reports the damage it cannot step round (a directory entry larger than
// the file, a block outside it) only as a failed assertion in its log, and goes on with the
// element left out. A watch collects those reports for the operations it spans, so that they
// fail instead of answering with part of the file; warnings about damage it could repair are
// dropped. One watch at a time per thread.
class DamageWatch {
public:
    DamageWatch();
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;
    ~DamageWatch();

    // Raises StorageError with the first report, if there was one.
    void check(const std::string& what) const;

private:
    std::string report_;
    unsigned defaultDomainHandler_ = 0;
};

} // namespace platform::gsf
