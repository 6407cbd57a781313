#pragma once

#include <QApplication>
#include <QWidget>
#include <functional>

namespace quillan::test {

// The Qt application of a test program that drives the real windows through Qt's own event
// loop, on an offscreen screen of 1280 x 1024, the size the windows are judged on, or of the
// size the program's first call asks for. Made when first asked for; it goes when the tests
// end, while Qt's own globals are still alive.
QApplication& deskApplication(int width = 1280, int height = 1024);

// Runs `act` on the window that waits for an answer as soon as one does (the event loop of
// that window runs it). Gives up, failing, after many turns of the loop without one.
void onModal(std::function<void(QWidget*)> act, int turns = 200000);

// Then, should the window still wait (the key did nothing), closes it with Escape, so that
// the test ends on its result rather than waiting for a person.
void closeIfStillOpen(QWidget* window);

} // namespace quillan::test
