// libFuzzer target: any bytes read as a workbook file. Only the library's own errors may come
// out; the sanitizers watch everything else.

#include "platform/storage/StorageError.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    xls::Workbook book;
    book.preserveMacros = true;
    try {
        book.readBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const xls::XlsError&) {
    } catch (const platform::StorageError&) {
    }
    return 0;
}

// libgsf leaks a directory entry or two on some damaged compound files; the leak is its own.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgsf-1.so\nleak:libglib-2.0.so\n";
}
