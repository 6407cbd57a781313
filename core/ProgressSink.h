#pragma once

#include <string>

namespace quillan {

// Where the long steps of a command (reading a list, the presort levels, writing the sort
// information back) show how far they have come. The steps only say where they are; the
// program's main window draws its picture of it and, where a person can see it, pauses
// half a second after each change so that it can be followed. Without a window nothing is
// drawn and nothing waits.
class ProgressSink {
public:
    enum class Caption { Top, Bottom };
    // The presort stages that have a sticker of their own.
    enum class Stage { FiveDigit, ThreeDigit, Adc };

    virtual ~ProgressSink() = default;

    // An empty picture: before a list is read, and before the saving picture.
    virtual void clearPicture() = 0;
    // The captions over and under the picture, and the sticker's letter, emptied.
    virtual void clearCaptions() = 0;
    // The sheet of paper that stands for the list being read or saved.
    virtual void showPage() = 0;
    virtual void showCaption(Caption caption, const std::string& text) = 0;
    // The sticker of a presort stage.
    virtual void showStage(Stage stage) = 0;
    // `trays` trays (0 to 5) over 5 - trays sacks: the work of a step counting down.
    virtual void showIcons(int trays) = 0;
    // The end of a command: the picture is hidden.
    virtual void hide() = 0;
};

// Shows nothing: the sink of a program without a main window.
class NoProgress : public ProgressSink {
public:
    void clearPicture() override {}
    void clearCaptions() override {}
    void showPage() override {}
    void showCaption(Caption, const std::string&) override {}
    void showStage(Stage) override {}
    void showIcons(int) override {}
    void hide() override {}
};

} // namespace quillan
