#include "listio/ListNotices.h"

#include "listio/ListErrorText.h"
#include "listio/ListPaths.h"

namespace quillan {

using namespace platform;

void refuseList(Notices& notices, const std::string& text) {
    notices.tell({BeepKind::Hand, MessageKind::Error, MessageButtons::Cancel, text});
}

void refuseUnreadableList(Notices& notices, const std::string& path, const std::string& why) {
    refuseList(notices, "Quillan cannot read " + fileNameOf(path) + ". " + why);
}

void cannotReadList(Notices& notices, const std::string& path, const std::string& why, bool inUse) {
    notices.tell({BeepKind::Exclamation, MessageKind::Error, MessageButtons::Cancel,
                  "Quillan could not read " + fileNameOf(path) + ". " +
                      (inUse ? "The file may be in use by another application. " : "") + why});
}

void cannotReadList(Notices& notices, const std::string& path, const std::exception& error) {
    ListFailure failure = describeListFailure(error);
    cannotReadList(notices, path, failure.text, !failure.explained);
}

void showUnknownFormat(Notices& notices, const std::string& why) {
    notices.tell({BeepKind::Hand, MessageKind::Warning, MessageButtons::Ok,
                  std::string("Quillan cannot figure out the format of the file you are "
                              "trying to sort.  Please make sure it is a type that Quillan can "
                              "read, or send a copy of the file to ") +
                      SupportAddress + " for help." + (why.empty() ? "" : " " + why)});
}

void ShowNoRecords(Notices& notices, const std::string& path, const std::string& why) {
    refuseList(notices, "There are no records to sort in " + fileNameOf(path) + ". " + why);
}

} // namespace quillan
