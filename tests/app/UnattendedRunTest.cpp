// The program as another program starts it: `quillan LIST NOSTOP` run as a process, its
// exit status, standard output and standard error, and what it leaves on disk.

#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "tests/listio/ComponentListSupport.h"
#include "tests/support/SmallDisk.h"
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
#include <map>
#include <sstream>
#include <sys/resource.h>
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

// How a run is started: as whom, from which program folder, with which limits, and what the
// test does while it runs (given the process id).
struct RunAs {
    uid_t user = 0;
    std::string programFolder; // the scratch folder when empty
    std::string home;          // HOME and the XDG folders; the scratch folder when empty
    rlim_t fileSizeLimit = RLIM_INFINITY;
    std::function<void(pid_t)> meanwhile;
    std::string table; // the Access table to sort, named after NOSTOP
    std::string mode = "NOSTOP"; // parameter 2
    bool throughScript = false;  // started by scripts/run-quillan, which limits a run it can

    RunAs& inMode(std::string runMode) {
        mode = std::move(runMode);
        return *this;
    }
    // Through the script, with the shortest limit it may set on a run.
    RunAs& byTheRunScript() {
        throughScript = true;
        return *this;
    }

    RunAs& by(uid_t who) {
        user = who;
        return *this;
    }
    RunAs& installedIn(std::string program, std::string userHome) {
        programFolder = std::move(program);
        home = std::move(userHome);
        return *this;
    }
    RunAs& withFileSizeLimit(rlim_t bytes) {
        fileSizeLimit = bytes;
        return *this;
    }
    RunAs& onTable(std::string name) {
        table = std::move(name);
        return *this;
    }
    RunAs& during(std::function<void(pid_t)> action) {
        meanwhile = std::move(action);
        return *this;
    }
};

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
    std::vector<std::string> entries(const std::string& folder = {}) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.empty() ? env.folder() : folder))
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

    // Runs `quillan LIST NOSTOP` without a display, in the scratch folder. Nothing here bounds how
    // long the run takes; only a run still going after ten minutes, a hang, is killed, and the test
    // says so.
    Outcome run(const std::string& list, const RunAs& as = {}) const {
        const std::string out = path("stdout.log"), err = path("stderr.log");
        const std::string binary = as.user == 0 ? std::string(QUILLAN_BINARY) : binaryFor(as.user);
        const std::string program = as.programFolder.empty() ? env.folder() : as.programFolder;
        const std::string home = as.home.empty() ? env.folder() : as.home;
        int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = fork();
        if (child == 0) {
            dup2(outFd, 1);
            dup2(errFd, 2);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("XDG_RUNTIME_DIR");
            unsetenv("QT_QPA_PLATFORM");
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_CONFIG_HOME", home.c_str(), 1);
            setenv("XDG_DATA_HOME", home.c_str(), 1);
            if (chdir(env.folder().c_str()) != 0) // a list named without its folder lies here
                _exit(96);
            rlimit limit{as.fileSizeLimit, as.fileSizeLimit};
            if (as.fileSizeLimit != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(97);
            if (as.user != 0 &&
                (setgroups(0, nullptr) != 0 || setgid(as.user) != 0 || setuid(as.user) != 0))
                _exit(99);
            if (as.throughScript) {
                setenv("QUILLAN_RUN_SECONDS", "0.2", 1);
                const std::string buildFolder = fs::path(binary).parent_path().string();
                execl(QUILLAN_RUN_SCRIPT, QUILLAN_RUN_SCRIPT, buildFolder.c_str(), list.c_str(),
                      as.mode.c_str(), "--program-dir", program.c_str(),
                      static_cast<char*>(nullptr));
                _exit(98);
            }
            if (!as.table.empty())
                execl(binary.c_str(), binary.c_str(), list.c_str(), as.mode.c_str(),
                      as.table.c_str(), "--program-dir", program.c_str(),
                      static_cast<char*>(nullptr));
            execl(binary.c_str(), binary.c_str(), list.c_str(), as.mode.c_str(), "--program-dir",
                  program.c_str(), static_cast<char*>(nullptr));
            _exit(98);
        }
        close(outFd);
        close(errFd);
        if (as.meanwhile)
            as.meanwhile(child);
        int status = 0;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(10);
        while (waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > giveUp) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                ADD_FAILURE() << "Quillan still ran after ten minutes and was killed: a hang";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        Outcome outcome;
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

// Holds a run at the postage statement, after the list was read and sorted and before
// anything is written back, however fast or slow the machine: the statement's form files
// become named pipes, and the run waits at the one it opens until the test has done what it
// does "during the sort" and feeds it the form. Call once, from RunAs::meanwhile.
class PauseAtStatement {
public:
    explicit PauseAtStatement(const Folder& f) {
        for (const auto& entry : fs::directory_iterator(f.path("bitmaps")))
            if (entry.path().extension() == ".txt") {
                const std::string form = entry.path().string();
                forms_[form] = readAll(form);
                fs::remove(form);
                mkfifo(form.c_str(), 0644);
            }
    }
    ~PauseAtStatement() {
        for (const auto& [form, bytes] : forms_)
            if (fs::is_fifo(form))
                restore(form);
    }

    void operator()(pid_t pid, const std::function<void()>& whilePaused) {
        int pipe = -1;
        std::string opened;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(10);
        while (pipe < 0 && running(pid) && std::chrono::steady_clock::now() < giveUp) {
            for (const auto& [form, bytes] : forms_)
                if ((pipe = open(form.c_str(), O_WRONLY | O_NONBLOCK)) >= 0) {
                    opened = form;
                    break;
                }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_GE(pipe, 0) << "the run never opened a statement form";
        for (const auto& [form, bytes] : forms_)
            if (form != opened)
                restore(form);
        whilePaused();
        fcntl(pipe, F_SETFL, 0);
        const std::string& bytes = forms_[opened];
        EXPECT_EQ(::write(pipe, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(pipe);
        restore(opened);
    }

private:
    static bool running(pid_t pid) {
        std::string stat = readAll("/proc/" + std::to_string(pid) + "/stat");
        size_t close = stat.rfind(')');
        return close != std::string::npos && stat.size() > close + 2 && stat[close + 2] != 'Z';
    }
    void restore(const std::string& form) {
        fs::remove(form);
        std::ofstream(form, std::ios::binary) << forms_[form];
    }

    std::map<std::string, std::string> forms_;
};

// The records of a tab list as an Access table whose last three columns are named as the
// sort, tray and package fields are ("USER6", "USER7", "USER8"), so that an unattended run
// writes the sort information into them. The fill tool's table names them data7 to data9;
// the names are changed where the table definition holds them (UTF-16, the same length).
std::string accessListWithOutputFields(const std::string& path,
                                       const std::vector<std::string>& records) {
    test::accessTable(path, records);
    std::string bytes = readAll(path);
    auto utf16 = [](const std::string& text) {
        std::string wide;
        for (char c : text)
            wide += std::string{c, '\0'};
        return wide;
    };
    for (auto [from, to] : {std::pair{"data7", "USER6"}, {"data8", "USER7"}, {"data9", "USER8"}})
        for (size_t at = bytes.find(utf16(from)); at != std::string::npos;
             at = bytes.find(utf16(from), at))
            bytes.replace(at, 10, utf16(to));
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Adds to the catalogue of an Access list a table `name` linked to `foreign` in `linked`.
void addLink(const std::string& path, const std::string& name, const std::string& linked,
             const std::string& foreign) {
    mdbengine::DBEngine engine;
    std::shared_ptr<mdbengine::Database> database;
    ASSERT_EQ(engine.openDatabase(path, false, false, {}, database), mdbengine::statusOk);
    ASSERT_EQ(database->execute("INSERT INTO MSysObjects (Id, ParentId, Name, Type, Flags, "
                                "Database, ForeignName) VALUES (900, 251658241, '" +
                                name + "', 6, 0, '" + linked + "', '" + foreign + "')"),
              mdbengine::statusOk);
    ASSERT_EQ(database->close(), mdbengine::statusOk);
}

std::vector<std::string> tabRecords(int count) {
    std::vector<std::string> records;
    for (int i = 1; i <= count; ++i)
        records.push_back("P" + std::to_string(i) + "\t1 MAIN ST\tDALLAS\tTX\t" +
                          (i % 2 ? "75202-1234" : "75201-1234") + "\tDALLAS");
    return records;
}

// A message a person can read: one line, no internal code or name of the engines.
void expectReadable(const std::string& message) {
    EXPECT_EQ(message.find('\r'), std::string::npos) << message;
    for (const char* internal : {"DBIERR_", "Torvane", "assertion", "Input/output"})
        EXPECT_EQ(message.find(internal), std::string::npos) << internal << " in " << message;
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
    std::string list = f.list("mailing.txt");
    const std::string original = readAll(list);
    // The signal comes while the run is held at its print run, before anything is written.
    PauseAtStatement pause(f);
    Outcome o =
        f.run(list, RunAs().during([&](pid_t pid) { pause(pid, [pid] { kill(pid, SIGTERM); }); }));
    EXPECT_EQ(o.status, 4);
    EXPECT_NE(o.err.find("The sort was cancelled. Your list was left unchanged."),
              std::string::npos)
        << o.err;
    expectOnlyOwnMessages(o);
    EXPECT_EQ(readAll(list), original);
}

// The Sort Wizard for the partner program ("DUZIZ") ends by itself, as an unattended sort
// does: started by the run script, it is never cut short, however short the script's limit,
// and its status is passed on; stopped by its caller before the list is written, it stops
// at a safe point with status 4 and leaves the list as it was.
TEST(UnattendedRun, APartnerRunEndsByItselfAndAStopLeavesTheList) {
    Folder f;
    const std::string list = f.list("mailing.txt");
    Outcome o = f.run(list, RunAs().inMode("duziz").byTheRunScript());
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(linesOf(readAll(list)).front(), "NAME,ZIP,tray,package,endorsement\r");

    const std::string second = f.list("second.txt");
    const std::string original = readAll(second);
    PauseAtStatement pause(f);
    o = f.run(second, RunAs().inMode("DUZIZ").byTheRunScript().during(
                          [&](pid_t pid) { pause(pid, [pid] { kill(pid, SIGTERM); }); }));
    EXPECT_EQ(o.status, 4);
    EXPECT_NE(o.err.find("The sort was cancelled. Your list was left unchanged."),
              std::string::npos)
        << o.err;
    EXPECT_EQ(readAll(second), original);
}

// A read-only list is left as it was, with status 3; a list that has another name (a hard
// link) is written over in place, so that both names show the sort, and keeps its owner and
// mode. The superuser writes read-only files, so as the superuser the test gives the lists to
// nobody, who runs Quillan, and makes the linked list root's, writable by all: nobody may
// write it but not own it. Any other user has no file of another owner to give, and runs
// Quillan on lists of their own.
TEST(UnattendedRun, AReadOnlyListIsLeftAndALinkedListIsSortedUnderBothNames) {
    const bool root = geteuid() == 0;
    const RunAs runner = root ? RunAs().by(nobody) : RunAs();
    Folder f;
    std::string locked = f.list("locked.txt");
    std::string shared = f.list("shared.txt");
    ASSERT_EQ(link(shared.c_str(), f.path("shared-link.txt").c_str()), 0);
    if (root) {
        f.giveTo(nobody);
        chown(shared.c_str(), 0, 0);
        chmod(shared.c_str(), 0666);
    }
    chmod(locked.c_str(), 0444);
    const std::string original = readAll(locked);
    struct stat before {};
    stat(shared.c_str(), &before);

    Outcome o = f.run(locked, runner);
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("The file is read-only"), std::string::npos) << o.err;
    expectOnlyOwnMessages(o);
    EXPECT_EQ(readAll(locked), original);

    o = f.run(shared, runner);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(linesOf(readAll(f.path("shared-link.txt"))).front(),
              "NAME,ZIP,tray,package,endorsement\r");
    EXPECT_EQ(readAll(shared), readAll(f.path("shared-link.txt")));
    struct stat st {};
    stat(shared.c_str(), &st);
    EXPECT_EQ(st.st_uid, before.st_uid);
    EXPECT_EQ(st.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(st.st_nlink, 2u);
}

TEST(UnattendedRun, OneMailingSortsAlikeAsTextExcelAndAccessList) {
    const std::string python = QUILLAN_PYTHON;
    ASSERT_EQ(test::runCommand(python + " -c 'import xlwt, xlrd; print(1)' 2>&1"), "1\n")
        << "needs python3-xlwt and python3-xlrd (scripts/install-deps)";
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

TEST(UnattendedRun, PrintoutsThatFailExitFiveAfterTheSummaryLine) {
    enum Fault { NoForms, OneLineRates, PrintoutsIsAFile, PrintoutsOnly };
    for (Fault fault : {NoForms, OneLineRates, PrintoutsIsAFile, PrintoutsOnly}) {
        Folder f;
        std::string list = f.list("mailing.txt");
        if (fault == NoForms)
            fs::remove_all(f.path("bitmaps"));
        if (fault == OneLineRates)
            f.env.writeTable("rates.dat", "\r\n");
        if (fault == PrintoutsIsAFile || fault == PrintoutsOnly)
            f.write("Printouts", "");
        if (fault == PrintoutsOnly)
            f.setPreference(2, "2");
        const std::string original = readAll(list);
        Outcome o = f.run(list);
        EXPECT_EQ(o.status, 5) << fault << o.err;
        // The sort and its summary stand; every printout that failed has its own line.
        EXPECT_EQ(o.out, "Quillan sorted 500 pieces of " + list + " (0 rejected); " +
                             (fault == PrintoutsOnly ? "no sort information was asked for"
                                                     : "sort information in " + list) +
                             "; sort result in " + f.path("qlPrint") + "\n")
            << fault;
        const std::vector<std::string> said = linesOf(o.err);
        ASSERT_FALSE(said.empty()) << fault;
        for (const std::string& line : said)
            EXPECT_EQ(line.rfind("Quillan [Error] ", 0), 0u) << line;
        if (fault == PrintoutsIsAFile || fault == PrintoutsOnly) {
            EXPECT_EQ(said.size(), 4u) << "one line for each of the four printouts";
            EXPECT_NE(said[0].find("Printouts is a file, not a folder"), std::string::npos);
        }
        EXPECT_EQ(readAll(list) == original, fault == PrintoutsOnly) << fault;
    }
}

TEST(UnattendedRun, ADamagedTableOfQuillansOwnExitsOneNamingItNotTheList) {
    struct Case {
        std::string table, bytes;
    };
    std::string junk(3000, '\0');
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 7919 % 251);
    std::string words;
    for (int line = 0; line < 1000; ++line)
        words += "abc\r\n";
    for (const Case& c :
         {Case{"tdchrt.dat", "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"},
          Case{"tdchrt.dat", junk}, Case{"tdchrt.dat", words}, Case{"mailtype.dat", ""}}) {
        Folder f;
        std::string list = f.list("mailing.txt");
        f.env.writeTable(c.table, c.bytes);
        const std::string original = readAll(list);
        const auto before = f.entries();
        Outcome o = f.run(list);
        EXPECT_EQ(o.status, 1) << c.table << o.err;
        ASSERT_EQ(linesOf(o.err).size(), 1u) << o.err;
        EXPECT_NE(o.err.find("Quillan's own file " + c.table + " is damaged: "), std::string::npos)
            << o.err;
        EXPECT_EQ(o.err.find("mailing.txt"), std::string::npos) << "not the list's fault";
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(readAll(list), original);
        EXPECT_EQ(f.entries(), before);
    }
}

TEST(UnattendedRun, LongNamesSortAndAFileSizeLimitFailsLikeAFullDisk) {
    Folder f;
    // Names up to the longest a file may have: the temporary file beside each still fits.
    for (size_t length : {248u, 255u}) {
        std::string list = f.list(std::string(length - 4, 'L') + ".txt");
        Outcome o = f.run(list);
        EXPECT_EQ(o.status, 0) << length << o.err;
        EXPECT_EQ(linesOf(readAll(list)).front(), "NAME,ZIP,tray,package,endorsement\r");
        fs::remove(list);
    }
    // A limit just above the list's size: the longer list written back cannot be made.
    std::string list = f.list("mailing.txt");
    const std::string original = readAll(list);
    Outcome o = f.run(list, RunAs().withFileSizeLimit(original.size() + 1024));
    EXPECT_EQ(o.status, 3) << o.err;
    EXPECT_NE(o.err.find("Quillan could not save the sorting information in the file "
                         "\"mailing.txt\". Your list has not been changed. (cannot write "),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("(a file-size limit)"), std::string::npos) << o.err;
    expectOnlyOwnMessages(o);
    EXPECT_EQ(readAll(list), original);
    for (const std::string& name : f.entries())
        EXPECT_NE(name[0], '.') << "left behind: " << name;
}

TEST(UnattendedRun, TrailingBlankLinesAreNoRecordsAndAPaveHeaderAloneIsNoList) {
    Folder f;
    std::string list = f.list("mailing.txt");
    f.write("mailing.txt", readAll(list) + "\r\n   \r\n\r\n");
    Outcome o = f.run(list);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("sorted 500 pieces of " + list + " (0 rejected)"), std::string::npos)
        << o.out;
    const std::vector<std::string> lines = linesOf(readAll(list));
    ASSERT_EQ(lines.size(), 504u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"\r", "   \r", "\r"}));
    for (size_t i = 1; i + 3 < lines.size(); ++i)
        EXPECT_EQ(lines[i].find("\"00000\""), std::string::npos) << "placed: " << lines[i];

    const std::string header(358, 'H');
    std::string pave = f.write("JOB.SET", header + "\r\n");
    const auto before = f.entries();
    o = f.run(pave);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "Quillan [Error] There are no records to sort in JOB.SET. The file holds "
                     "only its first line, the PAVE header. -> Cancel\n");
    EXPECT_EQ(f.entries(), before);
}

// The superuser writes into read-only folders, so as the superuser the test installs Quillan
// as root's and runs it as nobody; any other user installs it read-only as their own.
TEST(UnattendedRun, AReadOnlyInstallationGivesTheUserWritableCopies) {
    const bool root = geteuid() == 0;
    const uid_t user = root ? nobody : geteuid();
    const gid_t group = root ? nobody : getegid();
    Folder f;
    // The installation: tables and all read-only; the user's home is elsewhere.
    const std::string install = f.path("install/"), home = f.path("home/");
    fs::create_directories(install);
    fs::create_directories(home);
    fs::copy(f.env.tablesFolder(), install + "tables");
    fs::copy(f.path("bitmaps"), install + "bitmaps");
    for (const auto& entry : fs::directory_iterator(install + "tables"))
        chmod(entry.path().c_str(), 0444);
    chmod(f.env.folder().c_str(), 0755);
    chmod((install + "tables").c_str(), 0555);
    struct Writable { // for the scratch folder to go, whoever runs the test
        std::string folder;
        ~Writable() { chmod(folder.c_str(), 0755); }
    } writable{install + "tables"};
    std::string list = f.list("home/mailing.txt");
    if (root)
        f.binaryFor(nobody);
    for (const std::string& mine : {home, list})
        chown(mine.c_str(), user, group);

    RunAs runner = root ? RunAs().by(nobody) : RunAs();
    Outcome o = f.run(list, runner.installedIn(install, home));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    struct stat st {};
    ASSERT_EQ(stat((home + "quillan/tables/prefs.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, user);
    EXPECT_TRUE(st.st_mode & S_IWUSR) << "the user's copy is the user's to change";
    EXPECT_EQ(linesOf(readAll(list)).front(), "NAME,ZIP,tray,package,endorsement\r");
}

TEST(UnattendedRun, LinksPlantedInTheProgramFolderAreNeverWrittenThrough) {
    Folder f;
    const std::string victim = f.write("victim.txt", "not Quillan's\n");
    fs::create_directory(f.path("elsewhere"));
    struct Case {
        std::string link, target, says;
        int status;
    };
    for (const Case& c : {Case{"qlPrint", victim, "could not save the sort result", 3},
                          Case{"QLSort1.txt", victim, "could not create this output file", 3},
                          Case{"Printouts", f.path("elsewhere"), "could not start printing", 5}}) {
        std::string list = f.list("mailing.txt");
        f.setPreference(2, c.link == "QLSort1.txt" ? "1" : "0");
        fs::remove_all(f.path("Printouts"));
        fs::create_symlink(c.target, f.path(c.link));
        Outcome o = f.run(list);
        EXPECT_EQ(o.status, c.status) << c.link << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(f.path(c.link) + " is a symbolic link"), std::string::npos) << o.err;
        EXPECT_EQ(readAll(victim), "not Quillan's\n");
        EXPECT_TRUE(f.entries(f.path("elsewhere")).empty());
        EXPECT_TRUE(fs::is_symlink(f.path(c.link)));
        if (c.link == "Printouts") {
            // Each failed printout names its document.
            EXPECT_NE(o.err.find("could not start printing \"Quillan Postage Statement\""),
                      std::string::npos)
                << o.err;
        }
        fs::remove(f.path(c.link));
    }
    // A tables folder linked elsewhere is read, but never written: the preferences the sort
    // saves are refused, and the list is left as it was.
    f.setPreference(2, "0");
    fs::rename(f.path("tables"), f.path("elsewhere/tables"));
    fs::create_symlink(f.path("elsewhere/tables"), f.path("tables"));
    const std::string prefs = readAll(f.path("elsewhere/tables/prefs.dat"));
    std::string list = f.list("mailing.txt");
    const std::string before = readAll(list);
    Outcome o = f.run(list);
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.err.find(f.path("tables") + " is a symbolic link"), std::string::npos) << o.err;
    EXPECT_EQ(readAll(f.path("elsewhere/tables/prefs.dat")), prefs);
    EXPECT_EQ(readAll(list), before);
}

TEST(UnattendedRun, ADbaseListChangedDuringTheSortIsLeftAsItIsWithStatusThree) {
    Folder f(""); // the shipped postal tables
    const std::string python = QUILLAN_PYTHON;
    const std::string tab = test::fixturePath("lists/mailing-2000.txt");
    std::vector<std::string> lines = linesOf(readAll(tab));
    std::string reversed;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        reversed += *line + "\n";
    f.write("other.txt", reversed);
    auto dbf = [&](const std::string& from, const std::string& out) {
        test::runCommand(python + " " + QUILLAN_TOOLS + "/make_mailing_lists.py --from-tab '" +
                         from + "' --kind dbf --out '" + out + "'");
        return readAll(out);
    };
    const std::string list = f.path("list.dbf");
    const std::string other = dbf(f.path("other.txt"), f.path("other.dbf"));
    // The other table has the same size and layout; only its records' order differs. It
    // takes the list's place during the sort by a copy over it, then by a rename.
    for (bool rename : {false, true}) {
        ASSERT_EQ(dbf(tab, list).size(), other.size());
        PauseAtStatement pause(f);
        Outcome o = f.run(list, RunAs().during([&](pid_t pid) {
            pause(pid, [&] {
                if (rename)
                    fs::rename(f.write("next.dbf", other), list);
                else
                    f.write("list.dbf", other);
            });
        }));
        EXPECT_EQ(o.status, 3) << rename << o.err;
        EXPECT_NE(o.err.find("The file is no longer the one Quillan read"), std::string::npos)
            << o.err;
        EXPECT_EQ(o.out, "");
        EXPECT_TRUE(readAll(list) == other) << "the other table is left as it is";
    }
}

TEST(UnattendedRun, AccessFailuresLeaveTheDatabaseAndNothingBesideIt) {
    Folder f;
    const std::string made = accessListWithOutputFields(f.path("made.mdb"), tabRecords(600));
    const std::string bytes = readAll(made);
    auto check = [&](const std::string& list, int status, const std::string& says,
                     const RunAs& as = {}) {
        const std::string folder = fs::path(list).parent_path().string();
        const std::string original = readAll(list);
        const auto before = f.entries(folder);
        Outcome o = f.run(list, as);
        EXPECT_EQ(o.status, status) << list << o.err;
        EXPECT_NE(o.err.find(says), std::string::npos) << o.err;
        expectReadable(o.err);
        EXPECT_EQ(linesOf(o.err).size(), 1u) << o.err;
        EXPECT_TRUE(readAll(list) == original) << list;
        EXPECT_EQ(f.entries(folder), before) << list;
    };
    // A table written back under a name as long as a file name may be (named without its
    // folder: the engine takes paths of at most 260 characters, and says so of a longer one).
    const std::string longName = std::string(251, 'M') + ".mdb";
    f.write(longName, bytes);
    Outcome o = f.run(longName);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(test::mdbExport(f.path(longName), "Table1")[1].substr(0, 3), "\"P1");
    check(f.path(longName), 2, "the path of an Access database may have at most 260 characters");
    fs::remove(f.path(longName));

    // A data page whose header is damaged: its rows fall out of the table's walk. The list's
    // table owns most data pages (type 1; their owner in bytes 4-7); the page damaged is its
    // fullest (row count in bytes 12-13).
    const size_t page = 4096;
    auto owner = [&](size_t at) { return bytes.substr(at + 4, 4); };
    auto rows = [&](size_t at) { return static_cast<unsigned char>(bytes[at + 12]); };
    std::map<std::string, int> pagesOf;
    for (size_t at = page; at + page <= bytes.size(); at += page)
        if (bytes[at] == 0x01)
            ++pagesOf[owner(at)];
    const std::string list = std::max_element(pagesOf.begin(), pagesOf.end(), [](auto& a, auto& b) {
                                 return a.second < b.second;
                             })->first;
    size_t fullest = 0;
    for (size_t at = page; at + page <= bytes.size(); at += page)
        if (bytes[at] == 0x01 && owner(at) == list && (fullest == 0 || rows(at) > rows(fullest)))
            fullest = at;
    std::string damaged = bytes;
    damaged.replace(fullest + 4, 4, "\xff\xff\0\0", 4);
    check(f.write("damaged.mdb", damaged), 2, "counts 600 rows, but its pages hold ");

    // A list marked read-only is refused, even to the superuser.
    std::string readOnly = f.write("readonly.mdb", bytes);
    chmod(readOnly.c_str(), 0444);
    check(readOnly, 3, "The file is read-only");

    const std::string password =
        std::string(QUILLAN_MDB_CORPUS) + "/mdb-reader/V2000_with-password.mdb";
    ASSERT_TRUE(fs::exists(password)) << "no .mdb corpus at " << QUILLAN_MDB_CORPUS;
    check(f.write("password.mdb", readAll(password)), 2,
          "The password is not valid. (Access error 3031)");

    // A disk that fills while the database is copied, and one that fills when it is written.
    for (uintmax_t room : {bytes.size() * 13 / 10, bytes.size() * 22 / 10}) {
        test::SmallDisk disk(f.path("disk" + std::to_string(room)), room);
        ASSERT_TRUE(disk.mounted()) << disk.refusal();
        check(f.write("disk" + std::to_string(room) + "/list.mdb", bytes), 3, "the disk is full");
    }
}

TEST(UnattendedRun, WorkbooksThatCannotBeReadAreRefusedInOneReadableLine) {
    Folder f;
    test::SheetRows rows{{std::string("NAME"), std::string("ZIP")}};
    for (int i = 0; i < 40; ++i)
        rows.push_back({"P" + std::to_string(i), std::string("75201")});
    test::writeWorkbook(f.path("book.xls"), {{"List", rows}});
    const std::string book = readAll(f.path("book.xls"));
    // The shared strings' record made longer than the stream holds.
    std::string longRecord = book;
    const size_t sst = longRecord.find(std::string("\xFC\x00", 2), 512);
    ASSERT_NE(sst, std::string::npos);
    longRecord.replace(sst + 2, 2, "\xff\x7f");
    // A cell record given a length it cannot have: past the largest record, or the most a
    // record may have, which would take the records after it for its own.
    test::SheetRows many = rows;
    for (int i = 0; i < 1500; ++i)
        many.push_back({"Q" + std::to_string(i), std::string("75201")});
    test::writeWorkbook(f.path("many.xls"), {{"List", many}});
    auto labelOfLength = [&](const char* length) {
        std::string changed = readAll(f.path("many.xls"));
        const size_t label = changed.find(std::string("\xFD\x00\x0A\x00", 4), 512);
        EXPECT_NE(label, std::string::npos);
        return changed.replace(label + 2, 2, length, 2);
    };
    std::string zip = "PK\x03\x04" + std::string(60, '\0');
    fs::create_directory(f.path("folder.xls"));
    struct Case {
        std::string name, bytes, says;
    };
    for (const Case& c :
         {Case{"record.xls", longRecord, "The workbook is damaged: its record "},
          Case{"long.xls", labelOfLength("\x21\x20"), "(record 0x00FD at byte "},
          Case{"longest.xls", labelOfLength("\x20\x20"),
               "is damaged: it is 8224 bytes long where its layout has 10)"},
          Case{"cut.xls", book.substr(0, book.size() / 2),
               "The file is damaged, or is not an Excel workbook"},
          Case{"empty.xls", "", "There are no records to sort in empty.xls. The file is empty."},
          Case{"folder.xls", "", "It is a folder, not a file."},
          Case{"new.xlsx", zip,
               "it is an Excel 2007 or later workbook. Save it as Excel 97-2003 "
               "(.xls) and sort that."},
          Case{"new.xls", zip, "it is an Excel 2007 or later workbook."}}) {
        const std::string list = c.name == "folder.xls" ? f.path(c.name) : f.write(c.name, c.bytes);
        Outcome o = f.run(list);
        EXPECT_EQ(o.status, 2) << c.name;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << c.name << ": " << o.err;
        EXPECT_EQ(linesOf(o.err).size(), 1u) << o.err;
        expectReadable(o.err);
        if (c.name != "folder.xls")
            EXPECT_EQ(readAll(list), c.bytes) << c.name;
    }
}

// A list whose table is linked on through a second file sorts into the file at the end of
// the links, named in the summary, and the file between stays as it is; a table linked
// back to itself is refused by its chain of links.
TEST(UnattendedRun, LinkedTablesAreFollowedToTheirRowsAndCirclesAreRefused) {
    Folder f;
    const std::string c = accessListWithOutputFields(f.path("c.mdb"), tabRecords(300));
    const std::string bytes = readAll(c);
    const std::string b = f.write("b.mdb", bytes);
    const std::string list = f.write("list.mdb", bytes);
    addLink(b, "Passed", "c.mdb", "Table1");
    addLink(list, "Mailing", "b.mdb", "Passed");
    const std::string listBefore = readAll(list), bBefore = readAll(b);
    Outcome o = f.run(list, RunAs().onTable("Mailing"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("; sort information in " + c + ";"), std::string::npos) << o.out;
    EXPECT_TRUE(readAll(b) == bBefore) << "the file between is not rewritten";
    EXPECT_TRUE(readAll(list) == listBefore);
    EXPECT_NE(test::mdbExport(c, "Table1")[1], test::mdbExport(b, "Table1")[1])
        << "c.mdb received the sort information";

    const std::string self = f.write("self.mdb", bytes);
    addLink(self, "Self", "self.mdb", "Self");
    const std::string selfBefore = readAll(self);
    o = f.run(self, RunAs().onTable("Self"));
    EXPECT_EQ(o.status, 2) << o.err;
    EXPECT_NE(o.err.find("'Self' in " + self + " -> 'Self' in " + self), std::string::npos)
        << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_TRUE(readAll(self) == selfBefore);
}
