#include "platform/qt/QtPrinter.h"

#include "platform/qt/QtText.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

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

std::string QtPrinter::nextPdfPath() const {
    QDir().mkpath(toQt(printoutsFolder_));
    QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd HHmmss");
    // A title may hold a slash ("BMC/ASF Entry"), which no file name can.
    QString name = toQt(title_);
    name.replace('/', '-');
    QString base = toQt(printoutsFolder_) + name + " " + stamp;
    QString path = base + ".pdf";
    for (int n = 2; QFile::exists(path); ++n)
        path = base + QString(" (%1).pdf").arg(n);
    return fromQt(path);
}

bool QtPrinter::beginDoc() {
    if (device_)
        return false;
    if (index_ == 0) {
        pendingOutput_ = nextPdfPath();
        auto writer = std::make_unique<QPdfWriter>(toQt(pendingOutput_));
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

void QtPrinter::endDoc() {
    if (!device_)
        return;
    finish();
    lastOutput_ = pendingOutput_;
}

void QtPrinter::abortDoc() {
    if (!device_)
        return;
    bool pdf = index_ == 0;
    finish();
    if (pdf)
        QFile::remove(toQt(pendingOutput_));
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
