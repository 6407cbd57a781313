#pragma once

#include "core/ProgressSink.h"

#include <string>
#include <vector>

namespace quillan::test {

// Notes what the steps of a command show, one text per call: "clear picture", "clear
// captions", "page", "top Reading", "bottom zips.txt", "stage D", "icons 5", "hide".
class RecordingProgress : public ProgressSink {
public:
    void clearPicture() override { calls.push_back("clear picture"); }
    void clearCaptions() override { calls.push_back("clear captions"); }
    void showPage() override { calls.push_back("page"); }
    void showCaption(Caption caption, const std::string& text) override {
        calls.push_back((caption == Caption::Top ? "top " : "bottom ") + text);
    }
    void showStage(Stage stage) override {
        calls.push_back(stage == Stage::FiveDigit    ? "stage D"
                        : stage == Stage::ThreeDigit ? "stage 3"
                                                     : "stage A");
    }
    void showIcons(int trays) override { calls.push_back("icons " + std::to_string(trays)); }
    void hide() override { calls.push_back("hide"); }

    std::vector<std::string> calls;
};

} // namespace quillan::test
