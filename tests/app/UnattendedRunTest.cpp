// The program as another program starts it: `quillan LIST NOSTOP` run as a process, its
// exit status, standard output and standard error, and what it leaves on disk.

#include "tests/listio/ComponentListSupport.h"
#include "tests/support/TestEnvironment.h"
#include "xls/Workbook.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quillan;
namespace fs = std::filesystem;

namespace {

constexpr uid_t nobody = 65534;

struct Outcome {
    int status = -1;
    std::string out, err;
    double seconds = 0;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A scratch program folder over the test geography (or other tables), where Quillan is run
// as a process.
struct Folder {
    test::TestEnvironment env;

    explicit Folder(const std::string& tables = test::geographyFolder()) : env(tables) {
        env.load();
        env.copyStatementForms();
    }
    std::string path(const std::string& name) const { return env.folder() + name; }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // A merge list of `count` pieces in two ZIP codes, with ZIP+4.
    std::string list(const std::string& name, int count = 500) const {
        std::string bytes = "NAME,ZIP\r\n";
        for (int i = 1; i <= count; ++i)
            bytes += "P" + std::to_string(i) + (i % 2 ? ",75202-1234" : ",75201-1234") + "\r\n";
        return write(name, bytes);
    }
    void setPreference(long line, const std::string& value) {
        AppContext& ctx = env.context();
        ctx.lists.prefsList[line] = value;
        ctx.saveList(ctx.lists.prefsList, "prefs.dat");
    }
    void giveTo(uid_t user) const {
        for (const auto& entry : fs::recursive_directory_iterator(env.folder()))
            chown(entry.path().c_str(), user, user);
        chown(env.folder().c_str(), user, user);
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(env.folder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Another user may not reach the build folder (a checkout in a private folder), so
    // that user runs a copy of the program placed in the test's own folder.
    std::string binaryFor(uid_t user) const {
        const std::string copy = path("quillan");
        if (!fs::exists(copy)) {
            fs::copy_file(QUILLAN_BINARY, copy);
            chown(copy.c_str(), user, user);
            chmod(copy.c_str(), 0755);
        }
        return copy;
    }

    // Runs `quillan LIST NOSTOP` without a display, as `user` when given; `meanwhile` is
    // called with the process id while it runs.
    Outcome run(const std::string& list, uid_t user = 0,
                const std::function<void(pid_t)>& meanwhile = {}) const {
        const std::string out = path("stdout.log"), err = path("stderr.log");
        const std::string binary = user == 0 ? std::string(QUILLAN_BINARY) : binaryFor(user);
        int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        auto start = std::chrono::steady_clock::now();
        pid_t child = fork();
        if (child == 0) {
            dup2(outFd, 1);
            dup2(errFd, 2);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("XDG_RUNTIME_DIR");
            unsetenv("QT_QPA_PLATFORM");
            setenv("HOME", env.folder().c_str(), 1);
            setenv("XDG_CONFIG_HOME", env.folder().c_str(), 1);
            setenv("XDG_DATA_HOME", env.folder().c_str(), 1);
            if (user != 0 && (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0))
                _exit(99);
            execl(binary.c_str(), binary.c_str(), list.c_str(), "NOSTOP", "--program-dir",
                  env.folder().c_str(), static_cast<char*>(nullptr));
            _exit(98);
        }
        close(outFd);
        close(errFd);
        if (meanwhile)
            meanwhile(child);
        int status = 0;
        while (waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() - start > std::chrono::minutes(2)) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        Outcome outcome;
        outcome.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = readAll(out);
        outcome.err = readAll(err);
        fs::remove(out);
        fs::remove(err);
        return outcome;
    }
};

// Standard error holds Quillan's own messages and nothing of the toolkit's.
void expectOnlyOwnMessages(const Outcome& o) {
    for (const auto& line : linesOf(o.err))
        EXPECT_EQ(line.rfind("Quillan", 0), 0u) << "not Quillan's own: " << line;
}

} // namespace

TEST(UnattendedRun, SortedListExitsZeroWithOneSummaryLineAndASilentStandardError) {
    Folder f;
    std::string list = f.list("mailing.txt");
    Outcome o = f.run(list);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "") << "nothing went wrong, so nothing is said";
    EXPECT_EQ(o.out, "Quillan sorted 500 pieces of " + list +
                         " (0 rejected); sort information in " + list + "; sort result in " +
                         f.path("qlPrint") + "\n");
    EXPECT_EQ(linesOf(readAll(list)).front(), "NAME,ZIP,tray,package,endorsement\r");
}

TEST(UnattendedRun, WhatIsNoFileIsRefusedAtOnceAndNothingIsWritten) {
    Folder f;
    std::string pipe = f.path("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    fs::create_directory(f.path("folder.txt"));
    const auto before = f.entries();
    for (const std::string& list : {pipe, f.path("folder.txt"), std::string("/dev/null")}) {
        Outcome o = f.run(list);
        EXPECT_EQ(o.status, 2) << list;
        EXPECT_LT(o.seconds, 1.0) << list;
        EXPECT_NE(o.err.find("Quillan could not read "), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find("in use by another application"), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
        expectOnlyOwnMessages(o);
        EXPECT_EQ(f.entries(), before) << list;
    }
}

TEST(UnattendedRun, SortInformationThatCannotBeWrittenExitsThree) {
    Folder f;
    f.setPreference(2, "1");
    fs::create_directory(f.path("QLSort1.txt")); // the separate file cannot be made
    Outcome o = f.run(f.list("mailing.txt"));
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("Quillan could not create this output file."), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "");
    expectOnlyOwnMessages(o);
}

TEST(UnattendedRun, StoppedByItsCallerExitsFourAndLeavesTheList) {
    Folder f;
    std::string list = f.list("mailing.txt", 20000);
    const std::string original = readAll(list);
    // The signal goes as soon as Quillan watches for it, long before its sort could end.
    Outcome o = f.run(list, 0, [](pid_t pid) {
        const std::string status = "/proc/" + std::to_string(pid) + "/status";
        for (int tries = 0; tries < 25000; ++tries) {
            std::string caught;
            for (const auto& line : linesOf(readAll(status)))
                if (line.rfind("SigCgt:", 0) == 0)
                    caught = line.substr(7);
            if (!caught.empty() && (std::stoull(caught, nullptr, 16) >> (SIGTERM - 1)) & 1)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(pid, SIGTERM);
    });
    EXPECT_EQ(o.status, 4);
    EXPECT_NE(o.err.find("The sort was cancelled. Your list was left unchanged."),
              std::string::npos)
        << o.err;
    expectOnlyOwnMessages(o);
    EXPECT_EQ(readAll(list), original);
}

TEST(UnattendedRun, AnotherUsersReadOnlyListIsLeftAndALinkedListIsSortedUnderBothNames) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run Quillan as another user";
    Folder f;
    std::string locked = f.list("locked.txt");
    std::string shared = f.list("shared.txt");
    ASSERT_EQ(link(shared.c_str(), f.path("shared-link.txt").c_str()), 0);
    f.giveTo(nobody);
    chmod(locked.c_str(), 0444);
    // Writable by everybody but owned by root: nobody may write it, not own it.
    chown(shared.c_str(), 0, 0);
    chmod(shared.c_str(), 0666);
    const std::string original = readAll(locked);

    Outcome o = f.run(locked, nobody);
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("The file is read-only"), std::string::npos) << o.err;
    expectOnlyOwnMessages(o);
    EXPECT_EQ(readAll(locked), original);

    o = f.run(shared, nobody);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(linesOf(readAll(f.path("shared-link.txt"))).front(),
              "NAME,ZIP,tray,package,endorsement\r");
    EXPECT_EQ(readAll(shared), readAll(f.path("shared-link.txt")));
    struct stat st {};
    stat(shared.c_str(), &st);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(st.st_nlink, 2u);
}

TEST(UnattendedRun, OneMailingSortsAlikeAsTextExcelAndAccessList) {
    const std::string python = QUILLAN_PYTHON;
    if (test::runCommand(python + " -c 'import xlwt, xlrd; print(1)' 2>&1") != "1\n")
        GTEST_SKIP() << "needs python3-xlwt and python3-xlrd";
    Folder f(""); // the shipped postal tables
    f.setPreference(2, "1");
    const std::string tab = f.path("mailing.txt");
    fs::copy_file(test::fixturePath("lists/mailing-2000.txt"), tab);
    const std::string maker = python + " " + QUILLAN_TOOLS + "/make_mailing_lists.py --from-tab '" +
                              tab + "' --mdbfill " + QUILLAN_MDBFILL;
    test::runCommand(maker + " --kind xls --out '" + f.path("biff8.xls") + "'");
    // The workbook whose first row names the fields counts and sorts as the list itself.
    test::runCommand(maker + " --kind xls --header --out '" + f.path("heading.xls") + "'");
    test::runCommand(maker + " --kind mdb --out '" + f.path("mailing.mdb") + "'");
    // The same workbook as Excel 5.0 from our writer, which xlrd must read cell for cell alike.
    {
        xls::Workbook book;
        book.setFilename(f.path("biff8.xls"));
        book.read();
        book.setVersion(xls::ExcelVersion::Excel50);
        book.setFilename(f.path("biff5.xls"));
        book.write();
    }
    const std::vector<std::string> biff8 = test::xlrdCells(f.path("biff8.xls"));
    ASSERT_EQ(biff8.size(), 2000u * 6 - 22) << "every cell but the 22 blank ZIPs";
    EXPECT_EQ(test::xlrdCells(f.path("biff5.xls")), biff8);
    EXPECT_NE(std::find_if(biff8.begin(), biff8.end(),
                           [](const std::string& cell) {
                               return cell.find("\t4\t2\t") != std::string::npos;
                           }),
              biff8.end())
        << "some ZIPs are numbers";

    std::vector<std::string> outputs;
    for (const std::string list :
         {"mailing.txt", "biff8.xls", "biff5.xls", "heading.xls", "mailing.mdb"}) {
        Outcome o = f.run(f.path(list));
        EXPECT_EQ(o.status, 0) << list << o.err;
        EXPECT_NE(o.out.find("Quillan sorted 1883 pieces of "), std::string::npos) << o.out;
        outputs.push_back(readAll(f.path("QLSort1.txt")) + "\n--\n" + readAll(f.path("qlPrint")));
    }
    EXPECT_GT(outputs[0].size(), 20000u);
    for (size_t i = 1; i < outputs.size(); ++i)
        EXPECT_TRUE(outputs[i] == outputs[0]) << "list " << i << " sorts otherwise";
}
