#pragma once

#include "core/Notices.h"
#include "platform/ui/Ui.h"

namespace quillan {

// The notices as the program's windows give them: the beep, then the message box over the
// arrow cursor; the busy cursor comes back after it while work goes on.
class UiNotices : public Notices {
public:
    explicit UiNotices(platform::Ui& ui) : ui_(ui) {}

    platform::ModalResult tell(const Notice& notice) override;
    std::optional<std::string> askForFile(const FileQuestion& question) override;

protected:
    void showBusy(bool busy) override { ui_.setBusyCursor(busy); }

private:
    platform::Ui& ui_;
};

} // namespace quillan
