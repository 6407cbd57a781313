#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PageSet.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class Ui;
class Form;

// What shows a form: a real window, or nothing in tests. It is told of every change the
// program makes so that what it shows stays in step.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void controlChanged(Control& control) = 0;
    virtual void formChanged(Form& form) = 0;
    // The form, in sight, gives the focus to its focus control.
    virtual void focusChanged(Form& form) = 0;
};

// A window with named controls: a dialog or the main window. Each form exists once for
// the whole run and is shown modally or not, as often as the program needs.
class Form {
public:
    Form(Ui& ui, std::string name, std::string caption);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    Ui& ui() const { return ui_; }
    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    Control& add(ControlKind kind, std::string name, std::string caption = {},
                 std::string parentName = {});
    Control& control(const std::string& name);
    const Control& control(const std::string& name) const;
    Control* find(const std::string& name);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    std::vector<MenuItem>& menus() { return menus_; }
    MenuItem* findMenuItem(const std::string& name);
    void menusChanged();

    // Controls are placed at their geometry instead of being laid out automatically.
    bool absoluteLayout() const { return absoluteLayout_; }
    void setAbsoluteLayout(bool absolute) { absoluteLayout_ = absolute; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setSize(int width, int height);
    bool borderless() const { return borderless_; }
    void setBorderless(bool borderless) { borderless_ = borderless; }
    const std::optional<Color>& color() const { return color_; }
    void setColor(Color color) { color_ = color; }

    // The control that has the focus when the form is shown (an edit box with its text
    // selected), empty for the platform's choice; set while the form is in sight, it takes
    // the focus at once.
    const std::string& focusControl() const { return focusControl_; }
    void setFocusControl(std::string name);

    // The help topic of the form, 0 for none; onHelp runs when the person asks for help (F1).
    int helpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // The pages the form is shown among, sharing their size and place; none on its own.
    const std::shared_ptr<PageSet>& pageSet() const { return pageSet_; }
    void setPageSet(std::shared_ptr<PageSet> pages) { pageSet_ = std::move(pages); }

    bool visible() const { return visible_; }

    // Shows the form and waits until a button or the program gives it a modal result.
    ModalResult showModal();
    void show();
    void hide();
    // Gives the running modal show its result; None keeps the form open. A result that
    // would close the form is first put to onCloseQuery, which may keep it open.
    void setModalResult(ModalResult result);
    ModalResult modalResult() const { return modalResult_; }

    std::function<void()> onActivate;
    std::function<void()> onShow;
    std::function<void()> onClose;
    std::function<void()> onClick;
    std::function<void(char)> onKeyPress;
    std::function<void()> onHelp;
    // Asked before the form closes with a result (a button's, or Cancel for the close box and
    // Esc); false keeps it open. A check that refuses says why while the form stays in sight.
    std::function<bool(ModalResult)> onCloseQuery;
    // What the person asks of the form while a message box or dialog in front of it waits for
    // an answer and holds it: its close box (an empty entry name), or the shortcut of one of
    // its menu entries (that entry's name). The toolkit would drop it without a word; this
    // hears of it at once, and true takes it (the key then goes no further, into the box say).
    std::function<bool(const std::string& menuEntry)> onRequestWhileHeld;

    // What a person does to the form itself.
    void userClick();
    void userKeyPress(char key);
    // False when the form stays open.
    bool userClose();
    void userHelp();
    // True when the form took the request.
    bool userRequestWhileHeld(const std::string& menuEntry = {});

    FormView* view() const { return view_; }
    void setView(FormView* view) { view_ = view; }
    void controlChanged(Control& control);

    // Used by the user interfaces while they run the form.
    void markVisible(bool visible) { visible_ = visible; }
    // A form that comes up is activated first, then shown.
    void runShowEvents();

private:
    Ui& ui_;
    std::string name_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<MenuItem> menus_;
    bool absoluteLayout_ = false;
    bool borderless_ = false;
    std::optional<Color> color_;
    int width_ = 0;
    int height_ = 0;
    int tag_ = 0;
    int helpContext_ = 0;
    std::shared_ptr<PageSet> pageSet_;
    std::string focusControl_;
    bool visible_ = false;
    ModalResult modalResult_ = ModalResult::None;
    FormView* view_ = nullptr;
};

} // namespace platform
