#include "listio/ListKinds.h"

#include "core/Convert.h"

namespace quillan {

bool isTextKind(std::string_view kind) {
    return kind.substr(0, 5) == "Ascii";
}

bool isHeaderKind(std::string_view kind) {
    return kind == KindMerge || kind == KindBar;
}

bool isCommaKind(std::string_view kind) {
    return kind == KindComma || kind == KindMerge || kind == KindMergeIndex;
}

bool isTabOrBarKind(std::string_view kind) {
    return kind == KindTab || kind == KindBar;
}

bool startsWithRecord(std::string_view kind) {
    return kind == KindTab || kind == KindComma || kind == KindExcel;
}

static std::string upperExtension(const std::string& path) {
    std::string name = fileNameOf(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : upperAscii(name.substr(dot));
}

std::string kindFromExtension(const std::string& path) {
    std::string ext = upperExtension(path);
    if (ext == ".DBF" || ext == ".DBT")
        return KindDbase;
    if (ext == ".MDB")
        return KindAccess;
    if (ext == ".XLS")
        return KindExcel;
    if (ext == ".SET")
        return KindPave;
    return {};
}

bool isDbaseMemoFile(const std::string& path) {
    return upperExtension(path) == ".DBT";
}

std::string fileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace quillan
