#include "platform/qt/QtPrinter.h"

#include "platform/fs/FileErrors.h"
#include "platform/qt/QtText.h"

#include <QDateTime>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

QtPrinter::QtPrinter(std::string printoutsFolder) : printoutsFolder_(std::move(printoutsFolder)) {}

QtPrinter::~QtPrinter() {
    abortDoc();
}

std::vector<std::string> QtPrinter::printerNames() {
    std::vector<std::string> names{"PDF"};
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(fromQt(name));
    return names;
}

std::vector<std::string> QtPrinter::fontNames() {
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families())
        names.push_back(fromQt(family));
    return names;
}

void QtPrinter::setPrinterIndex(int index) {
    if (index >= 0 && index < static_cast<int>(printerNames().size()))
        index_ = index;
}

// Opens the printouts folder, making it when it is missing, and creates the document's
// file in it under a name no other file has. Neither the folder nor the file is reached
// through a symbolic link: a link planted there would make the printout replace a file
// elsewhere.
bool QtPrinter::openPdfFile() {
    std::string folder = printoutsFolder_;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 && mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        lastError_ = "the folder " + folder + " cannot be made: " + describeFileError(errno);
        return false;
    }
    if (lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        lastError_ = folder + " is a symbolic link, and Quillan does not write its printouts "
                              "through links";
        return false;
    }
    pdfFolder_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (pdfFolder_ < 0) {
        lastError_ = errno == ENOTDIR ? folder + " is a file, not a folder, so the printouts "
                                                 "cannot go there"
                                      : "the folder " + folder +
                                            " cannot be opened: " + describeFileError(errno);
        return false;
    }
    QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd HHmmss");
    // A title may hold a slash ("BMC/ASF Entry"), which no file name can.
    std::string name = title_;
    std::replace(name.begin(), name.end(), '/', '-');
    std::string base = name + " " + fromQt(stamp);
    for (int n = 1;; ++n) {
        pdfName_ = base + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + ".pdf";
        pdfFile_ = openat(pdfFolder_, pdfName_.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (pdfFile_ >= 0 || errno != EEXIST)
            break;
    }
    if (pdfFile_ < 0) {
        lastError_ =
            "the file " + folder + "/" + pdfName_ + " cannot be made: " + describeFileError(errno);
        closePdfFile(false);
        return false;
    }
    pendingOutput_ = folder + "/" + pdfName_;
    return true;
}

// Writes the finished document to its file; false, with the reason kept, when not all of
// it reached the disk.
bool QtPrinter::storePdf() {
    const std::string& bytes = pdf_.bytes();
    const char* at = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(pdfFile_, at, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        at += n;
        left -= static_cast<size_t>(n);
    }
    if (left > 0 || fsync(pdfFile_) != 0) {
        lastError_ = "the file " + pendingOutput_ +
                     " cannot be written: " + describeFileError(errno ? errno : EIO);
        return false;
    }
    return true;
}

// Closes the document's file, and removes it unless it is to be kept.
void QtPrinter::closePdfFile(bool keep) {
    if (pdfFile_ >= 0) {
        ::close(pdfFile_);
        if (!keep)
            unlinkat(pdfFolder_, pdfName_.c_str(), 0);
    }
    if (pdfFolder_ >= 0)
        ::close(pdfFolder_);
    pdfFile_ = pdfFolder_ = -1;
}

bool QtPrinter::beginDoc() {
    if (printing())
        return false;
    lastError_.clear();
    if (index_ != 0)
        return beginSystemDoc();
    if (!openPdfFile())
        return false;
    pdf_.begin(title_);
    return true;
}

// A system printer prints within the margins it cannot print in, its origin at the printable
// area's corner.
bool QtPrinter::beginSystemDoc() {
    QString name = toQt(printerNames()[static_cast<size_t>(index_)]);
    system_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    system_->setDocName(toQt(title_));
    system_->setFullPage(false);
    QPageLayout layout = system_->pageLayout();
    system_->setPageMargins(layout.minimumMargins(), layout.units());
    pendingOutput_ = fromQt(name);
    if (!painter_.begin(system_.get())) {
        system_.reset();
        lastError_ = "the document cannot be begun";
        return false;
    }
    canvas_.attach(&painter_, system_->logicalDpiY());
    canvas_.setFont(font_);
    return true;
}

void QtPrinter::newPage() {
    if (system_)
        system_->newPage();
    else
        pdf_.newPage();
}

void QtPrinter::finishSystemDoc() {
    if (painter_.isActive())
        painter_.end();
    canvas_.attach(nullptr, 0);
    system_.reset();
    pdf_.setFont(font_);
}

bool QtPrinter::endDoc() {
    if (system_) {
        finishSystemDoc();
        lastOutput_ = pendingOutput_;
        return true;
    }
    if (!pdf_.active())
        return true;
    pdf_.end();
    bool stored = storePdf();
    closePdfFile(stored);
    pdf_.abort();
    if (stored)
        lastOutput_ = pendingOutput_;
    return stored;
}

void QtPrinter::abortDoc() {
    if (system_) {
        system_->abort();
        finishSystemDoc();
        return;
    }
    if (!pdf_.active())
        return;
    pdf_.abort();
    closePdfFile(false);
}

Canvas& QtPrinter::pageCanvas() {
    if (system_)
        return canvas_;
    return pdf_;
}

int QtPrinter::pageWidth() const {
    return system_ ? system_->width() : pdf_.sheet().printableWidth();
}

int QtPrinter::pageHeight() const {
    return system_ ? system_->height() : pdf_.sheet().printableHeight();
}

int QtPrinter::dpiX() const {
    return system_ ? system_->logicalDpiX() : pdf_.sheet().dpi;
}

int QtPrinter::dpiY() const {
    return system_ ? system_->logicalDpiY() : pdf_.sheet().dpi;
}

Point QtPrinter::printableOffset() const {
    if (!system_)
        return {pdf_.sheet().margin(), pdf_.sheet().margin()};
    QRectF paper = system_->paperRect(QPrinter::DevicePixel);
    QRectF page = system_->pageRect(QPrinter::DevicePixel);
    return {static_cast<int>(page.left() - paper.left()),
            static_cast<int>(page.top() - paper.top())};
}

void QtPrinter::setFont(const FontSpec& font) {
    font_ = font;
    if (system_)
        canvas_.setFont(font);
    else
        pdf_.setFont(font);
}

int QtPrinter::textWidth(std::string_view t) {
    return system_ ? canvas_.textWidth(t) : pdf_.textWidth(t);
}

int QtPrinter::textHeight(std::string_view t) {
    return system_ ? canvas_.textHeight(t) : pdf_.textHeight(t);
}

} // namespace platform
