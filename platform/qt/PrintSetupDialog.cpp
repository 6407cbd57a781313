#include "platform/qt/PrintSetupDialog.h"

#include "platform/print/PrinterDevice.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace platform {

PrintSetupDialog::PrintSetupDialog(PrinterDevice& printer, std::function<void()> help)
    : printer_(printer), help_(std::move(help)) {
    setObjectName("PrintSetupDlog");
    setWindowTitle("Print Setup");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Printer:"));
    printers_ = new QComboBox;
    for (const auto& name : printer.printerNames())
        printers_->addItem(toQt(name));
    printers_->setCurrentIndex(printer.printerIndex());
    layout->addWidget(printers_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    QObject::connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { showHelp(); });
    layout->addWidget(buttons);
}

bool PrintSetupDialog::choose() {
    if (exec() != QDialog::Accepted)
        return false;
    printer_.setPrinterIndex(printers_->currentIndex());
    return true;
}

void PrintSetupDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PrintSetupDialog::showHelp() {
    if (help_)
        help_();
}

} // namespace platform
