#include "platform/storage/GsfSupport.h"

#include <mutex>

namespace platform::gsf {

namespace {

thread_local std::string* damageReport = nullptr;

void logHandler(const gchar*, GLogLevelFlags level, const gchar* message, gpointer) {
    bool failure = (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR)) != 0;
    if (failure && damageReport && damageReport->empty())
        *damageReport = message ? message : "damaged compound file";
}

} // namespace

void initialise() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        for (const char* domain : {"libgsf", "libgsf:msole"})
            g_log_set_handler(domain, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), logHandler,
                              nullptr);
    });
}

DamageWatch::DamageWatch() {
    initialise();
    damageReport = &report_;
    // Some of the library's reports go to the default domain; it is caught only while a
    // watch runs, so that other users of glib keep their own handling.
    defaultDomainHandler_ = g_log_set_handler(
        nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), logHandler, nullptr);
}

DamageWatch::~DamageWatch() {
    g_log_remove_handler(nullptr, defaultDomainHandler_);
    damageReport = nullptr;
}

void DamageWatch::check(const std::string& what) const {
    if (!report_.empty())
        throw StorageError(what + ": " + report_);
}

void raise(GError* error, const std::string& what) {
    std::string message = what;
    if (error) {
        if (error->message && *error->message)
            message += ": " + std::string(error->message);
        g_error_free(error);
    }
    throw StorageError(message);
}

void check(GsfOutput* output, const std::string& what) {
    const GError* error = output ? gsf_output_error(output) : nullptr;
    if (!error)
        return;
    std::string message = what;
    if (error->message && *error->message)
        message += ": " + std::string(error->message);
    throw StorageError(message);
}

} // namespace platform::gsf
