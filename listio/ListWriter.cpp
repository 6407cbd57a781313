#include "listio/ListWriter.h"

#include "listio/ListFormat.h"

namespace quillan {

std::unique_ptr<ListWriter> listWriterFor(const std::string& kind) {
    const ListFormat* format = formatNamed(kind);
    return format ? format->writer() : nullptr;
}

} // namespace quillan
