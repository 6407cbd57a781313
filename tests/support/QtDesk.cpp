#include "tests/support/QtDesk.h"

#include "tests/support/TestEnvironment.h"

#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace quillan::test {

namespace {

std::unique_ptr<QApplication>& applicationSlot() {
    static std::unique_ptr<QApplication> app;
    return app;
}

struct QtTearDown : ::testing::Environment {
    void TearDown() override { applicationSlot().reset(); }
};
const auto* const qtTearDown = ::testing::AddGlobalTestEnvironment(new QtTearDown);

} // namespace

QApplication& deskApplication(int width, int height) {
    if (applicationSlot())
        return *applicationSlot();
    // Test programs run side by side and share this file: each writes its own copy and
    // renames it into place, so that none reads the file while another is writing it.
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    static std::string config = artefactFolder() + "screen-" + w + "x" + h + ".json";
    std::string own = config + "." + std::to_string(getpid());
    std::ofstream(own) << R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": )" << w
                       << R"(, "height": )" << h
                       << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    std::rename(own.c_str(), config.c_str());
    static std::string platform = "offscreen:configfile=" + config;
    static int argc = 3;
    static char name[] = "quillan_tests";
    static char option[] = "-platform";
    static char* argv[] = {name, option, platform.data(), nullptr};
    applicationSlot() = std::make_unique<QApplication>(argc, argv);
    return *applicationSlot();
}

void onModal(std::function<void(QWidget*)> act, int turns) {
    QTimer::singleShot(0, &deskApplication(), [act = std::move(act), turns] {
        if (QWidget* w = QApplication::activeModalWidget())
            return act(w);
        if (turns > 0)
            return onModal(act, turns - 1);
        ADD_FAILURE() << "no window came up to wait for an answer";
    });
}

void closeIfStillOpen(QWidget* window) {
    QTimer::singleShot(0, window, [window] {
        if (QApplication::activeModalWidget() == window)
            QTest::keyClick(window, Qt::Key_Escape);
    });
}

} // namespace quillan::test
