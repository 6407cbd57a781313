#include "platform/testing/RecordingPrinter.h"

namespace platform {

RecordingPrinter::RecordingPrinter() : RecordingPrinter(Setup{}) {}

RecordingPrinter::RecordingPrinter(Setup setup) : setup_(setup), canvas_(setup.dpiX, setup.dpiY) {}

std::vector<std::string> RecordingPrinter::fontNames() {
    return {"Arial", "Courier New", "Liberation Sans", "Liberation Serif", "Times New Roman"};
}

void RecordingPrinter::setTitle(const std::string& title) {
    title_ = title;
    canvas_.record("title " + title);
}

bool RecordingPrinter::beginDoc() {
    printing_ = true;
    pages_ = 1;
    canvas_.record("begindoc");
    return true;
}

void RecordingPrinter::newPage() {
    ++pages_;
    canvas_.record("newpage");
}

bool RecordingPrinter::endDoc() {
    printing_ = false;
    ++documents_;
    canvas_.record("enddoc");
    return true;
}

void RecordingPrinter::abortDoc() {
    printing_ = false;
    canvas_.record("abortdoc");
}

} // namespace platform
