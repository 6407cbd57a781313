#include "platform/qt/QtPrinter.h"

#include "platform/qt/QtText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

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
    if (printing())
        return false;
    if (index_ != 0)
        return beginSystemDoc();
    pendingOutput_ = nextPdfPath();
    return pdf_.begin(pendingOutput_, title_);
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

void QtPrinter::endDoc() {
    if (system_) {
        finishSystemDoc();
        lastOutput_ = pendingOutput_;
        return;
    }
    if (!pdf_.active())
        return;
    if (pdf_.end())
        lastOutput_ = pendingOutput_;
    else
        QFile::remove(toQt(pendingOutput_));
}

void QtPrinter::abortDoc() {
    if (system_) {
        finishSystemDoc();
        return;
    }
    if (!pdf_.active())
        return;
    pdf_.abort();
    QFile::remove(toQt(pendingOutput_));
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
