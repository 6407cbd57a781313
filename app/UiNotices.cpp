#include "app/UiNotices.h"

namespace quillan {

platform::ModalResult UiNotices::tell(const Notice& notice) {
    ui_.setBusyCursor(false);
    ui_.beep(notice.beep);
    platform::ModalResult answer = ui_.messageBox(notice.kind, notice.buttons, notice.text);
    if (busy())
        ui_.setBusyCursor(true);
    return answer;
}

} // namespace quillan
