#include "platform/qt/QtPrinter.h"

#include "platform/fs/FileErrors.h"
#include "platform/qt/QtText.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

static constexpr int PdfDpi = 600;

QtPrinter::QtPrinter(std::string printoutsFolder) : printoutsFolder_(std::move(printoutsFolder)) {}

QtPrinter::~QtPrinter() {
    if (device_)
        abortDoc();
    if (measurePainter_.isActive())
        measurePainter_.end();
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
    const QByteArray& bytes = pdfBytes_.data();
    const char* at = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
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
    pdfBytes_.close();
    pdfBytes_.setData(QByteArray());
}

bool QtPrinter::beginDoc() {
    if (device_)
        return false;
    lastError_.clear();
    if (index_ == 0) {
        if (!openPdfFile())
            return false;
        pdfBytes_.open(QIODevice::WriteOnly);
        auto writer = std::make_unique<QPdfWriter>(&pdfBytes_);
        writer->setResolution(PdfDpi);
        writer->setTitle(toQt(title_));
        writer->setCreator("Quillan");
        writer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0)));
        device_ = std::move(writer);
    } else {
        QString name = toQt(printerNames()[static_cast<size_t>(index_)]);
        auto printer =
            std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        printer->setDocName(toQt(title_));
        printer->setFullPage(true);
        pendingOutput_ = fromQt(name);
        device_ = std::move(printer);
    }
    if (!painter_.begin(device_.get())) {
        device_.reset();
        closePdfFile(false);
        lastError_ = "the document cannot be begun";
        return false;
    }
    canvas_.attach(&painter_, device_->logicalDpiY());
    return true;
}

void QtPrinter::newPage() {
    if (device_)
        device_->newPage();
}

void QtPrinter::finish() {
    if (painter_.isActive())
        painter_.end();
    canvas_.attach(nullptr, 0);
    device_.reset();
}

bool QtPrinter::endDoc() {
    if (!device_)
        return true;
    bool pdf = index_ == 0;
    finish();
    bool stored = !pdf || storePdf();
    if (pdf)
        closePdfFile(stored);
    if (stored)
        lastOutput_ = pendingOutput_;
    return stored;
}

void QtPrinter::abortDoc() {
    if (!device_)
        return;
    finish();
    if (index_ == 0)
        closePdfFile(false);
}

int QtPrinter::pageWidth() const {
    return device_ ? device_->width() : static_cast<int>(8.5 * PdfDpi);
}

int QtPrinter::pageHeight() const {
    return device_ ? device_->height() : 11 * PdfDpi;
}

int QtPrinter::dpiX() const {
    return device_ ? device_->logicalDpiX() : PdfDpi;
}

int QtPrinter::dpiY() const {
    return device_ ? device_->logicalDpiY() : PdfDpi;
}

Point QtPrinter::printableOffset() const {
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get())) {
        QRectF paper = printer->paperRect(QPrinter::DevicePixel);
        QRectF page = printer->pageRect(QPrinter::DevicePixel);
        return {static_cast<int>(page.left() - paper.left()),
                static_cast<int>(page.top() - paper.top())};
    }
    return {0, 0};
}

int QtPrinter::textWidth(std::string_view t) {
    if (device_)
        return canvas_.textWidth(t);
    QFontMetrics metrics(painter_.font(), nullptr);
    return metrics.horizontalAdvance(toQt(t)) * PdfDpi / 96;
}

int QtPrinter::textHeight(std::string_view t) {
    if (device_)
        return canvas_.textHeight(t);
    QFontMetrics metrics(painter_.font(), nullptr);
    return metrics.height() * PdfDpi / 96;
}

} // namespace platform
