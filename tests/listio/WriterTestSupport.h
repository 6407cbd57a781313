#pragma once

#include "tests/listio/ListTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include "app/AppContext.h"
#include "listio/SortInformationWriter.h"
#include "platform/fs/AtomicFile.h"
#include "tests/support/MailingOf.h"
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace quillan::test {

// Places the pieces read the way a presort into 5-digit packages would: one ZIP group per
// signed ZIP key (ascending by absolute ZIP, the key of the pieces without ZIP+4 after the
// other), each in a sort group of its own labelled "5D " and the ZIP (flagged "1" for the
// pieces without ZIP+4), `groupsPerTray` sort groups to a tray.
void presortByZip(Mailing& mailing, int groupsPerTray = 1);

// Writes the sort information of the list the fixture read and its mailing, sorted under
// the fixture's class, as the sort command does, its closing message and barcoding offer
// included; `presortRecords` are the PAVE parts the sort made.
SortInformationResult writeSortInformation(ListFixture& f,
                                           std::vector<std::string> presortRecords = {});

// Lines of a file split at CR LF; the file must end with one.
std::vector<std::string> crlfLines(const std::string& bytes);

// A list fixture that writes the sort information into the list.
struct WriterFixture : ListFixture {
    explicit WriterFixture(std::vector<std::string> parameters = {},
                           const std::string& tables = geographyFolder())
        : ListFixture(std::move(parameters), tables) {
        setLine(&SettingsLists::prefsList, 2, "0");
    }
    // Opens the list, places its pieces in 5-digit packages, one to a tray, and writes.
    void sortAndWrite(const std::string& path, const std::string& classCode = "RNAF") {
        ASSERT_EQ(open(path, ctx().parameterCount() > 0 ? 0 : 1), path);
        presortByZip(reading.mailing);
        mailClass = *MailClass::fromCode(classCode);
        ui().clearRecords();
        writeSortInformation(*this);
    }
    std::vector<std::string> fileLines(const std::string& path) {
        return crlfLines(platform::readFileBytes(path).value_or(""));
    }
};

// Files smaller than the limit can be written, larger ones fail part way (EFBIG).
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

// The one message shown is an error box saying this.
inline void expectNotSavedOnly(WriterFixture& f, const std::string& says) {
    const auto& messages = f.ui().messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, platform::MessageKind::Error);
    EXPECT_NE(messages[0].text.find(says), std::string::npos) << messages[0].text;
}

} // namespace quillan::test
