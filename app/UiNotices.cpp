#include "app/UiNotices.h"

namespace quillan {

platform::ModalResult UiNotices::tell(const Notice& notice) {
    ui_.setBusyCursor(false);
    if (notice.beep)
        ui_.beep(*notice.beep);
    platform::ModalResult answer = ui_.messageBox(notice.kind, notice.buttons, notice.text);
    if (busy())
        ui_.setBusyCursor(true);
    return answer;
}

std::optional<std::string> UiNotices::askForFile(const FileQuestion& question) {
    platform::FileDialogOptions options;
    options.title = question.title;
    options.fileName = question.fileName;
    for (const auto& [description, patterns] : question.filters)
        options.filters.push_back({description, patterns});
    return ui_.saveFileDialog(options);
}

} // namespace quillan
