// libFuzzer target: any bytes opened as a workbook file, then every record walked and a
// substream kept, as the reader does. Only the library's own errors may come out.

#include "platform/storage/StorageError.h"
#include "xls/RecordStorage.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    xls::XlsStream::KeptStorages kept;
    xls::XlsStream stream;
    stream.setKeptStorages(&kept);
    stream.setCopyStorages(true);
    try {
        xls::ExcelVersion version =
            stream.openReadBytes(std::string(reinterpret_cast<const char*>(data), size));
        size_t maxBody = static_cast<size_t>(xls::maxRecordSize(version));
        xls::RecordHeader header;
        int records = 0;
        while (stream.readHeader(header)) {
            if (++records == 3) {
                xls::RecordStorage substream;
                substream.readUntilEof(stream, maxBody);
                continue;
            }
            stream.readView(header.length);
        }
        std::string out;
        stream.openWriteToMemory(out, xls::ExcelVersion::Excel97);
        stream.writeRaw("x");
        stream.writeExtraObjects();
        stream.close();
    } catch (const xls::XlsError&) {
    } catch (const platform::StorageError&) {
    }
    return 0;
}

// libgsf leaks a directory entry or two on some damaged files; that is its own, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgsf-1.so\nleak:libglib-2.0.so\n";
}
