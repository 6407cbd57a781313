#include "listio/ListComponents.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaSession.h"
#include "accessdb/access/TtaTable.h"
#include "core/Notices.h"
#include "xls/Workbook.h"

namespace quillan {

namespace {

// The workbook library's messages, as the message boxes of its property setters showed them:
// information, one OK button, no beep.
xls::MessageHandler messagesThrough(Notices& notices) {
    return [&notices](const std::string& message) {
        notices.tell({std::nullopt, platform::MessageKind::Information,
                      platform::MessageButtons::Ok, message});
    };
}

} // namespace

ListComponents::ListComponents(Notices& notices)
    : workbook_(std::make_unique<xls::Workbook>(messagesThrough(notices))),
      owner_(std::make_unique<accessdb::TComponent>(nullptr)),
      table_(new accessdb::TtaTable(owner_.get())) {
    // A database is opened afresh for each list and let go when its table closes: the file
    // may change between two sorts, and the write-back replaces it by a new file.
    accessdb::AccessSession().keepConnections = false;
    // The only place a macro project or an embedded object could be lost is a write-back,
    // which must keep the workbook whole.
    workbook_->preserveMacros = true;
}

ListComponents::~ListComponents() {
    closeTableQuietly();
    owner_.reset();
    try {
        accessdb::AccessSession().setActive(false);
    } catch (...) {
        // The engine is going with the program: nothing is left to tell anybody.
    }
}

void ListComponents::closeTableQuietly() {
    try {
        table_->setActive(false);
    } catch (...) {
        // Only a table with changes can fail to close, and the write-back of such a table
        // reports its own failure before it gets here.
    }
}

} // namespace quillan
