#pragma once

#include <QDialog>
#include <functional>

class QComboBox;

namespace platform {

class PrinterDevice;

// "Print Setup": the printer the printouts go to, chosen from the printer's list. F1 and the
// Help button open its help page.
class PrintSetupDialog : public QDialog {
public:
    PrintSetupDialog(PrinterDevice& printer, std::function<void()> help);
    // True when a printer was chosen; it is then the printer's current one.
    bool choose();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showHelp();

    PrinterDevice& printer_;
    std::function<void()> help_;
    QComboBox* printers_ = nullptr;
};

} // namespace platform
