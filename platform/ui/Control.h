#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/prompts/MessageBox.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Form;

enum class ControlKind {
    Label,
    Edit,
    Memo,
    CheckBox,
    RadioButton,
    RadioGroup,
    ComboBox,
    ListBox,
    GroupBox,
    Button,
    Image,
    Panel,
};

const char* toString(ControlKind kind);

struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One named control of a form. The program sets its state through the plain setters,
// which never fire events; a person (or a test acting as one) goes through the user*
// methods, which change the state and then fire the control's events as the desktop
// platform did. The form's view (a real window or nothing) is told of every change.
class Control {
public:
    Control(Form& owner, ControlKind kind, std::string name);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control();

    Form& owner() const { return owner_; }
    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }

    // The group box or panel this control sits in; empty for the form itself.
    const std::string& parentName() const { return parentName_; }
    Control& setParentName(std::string name);

    const std::string& caption() const { return caption_; }
    Control& setCaption(std::string caption);

    // Edit and combo text; for a memo its lines joined with "\n".
    std::string text() const;
    Control& setText(std::string text);

    const std::vector<std::string>& lines() const { return lines_; }
    Control& setLines(std::vector<std::string> lines);

    int maxLength() const { return maxLength_; }
    Control& setMaxLength(int length);

    bool checked() const { return checked_; }
    Control& setChecked(bool checked);

    const std::vector<std::string>& items() const { return items_; }
    Control& setItems(std::vector<std::string> items);
    Control& setItem(int index, std::string caption);

    // -1 when nothing is chosen.
    int itemIndex() const { return itemIndex_; }
    Control& setItemIndex(int index);

    int columns() const { return columns_; }
    Control& setColumns(int columns);

    bool enabled() const { return enabled_; }
    Control& setEnabled(bool enabled);
    bool visible() const { return visible_; }
    Control& setVisible(bool visible);
    bool readOnly() const { return readOnly_; }
    Control& setReadOnly(bool readOnly);

    ModalResult modalResult() const { return modalResult_; }
    Control& setModalResult(ModalResult result);
    bool isDefault() const { return default_; }
    Control& setDefault(bool isDefault);

    const std::optional<Geometry>& geometry() const { return geometry_; }
    Control& setGeometry(Geometry geometry);

    const std::optional<FontSpec>& font() const { return font_; }
    Control& setFont(FontSpec font);
    const std::optional<Color>& color() const { return color_; }
    Control& setColor(Color color);

    // The drawing surface of an image control, made by the form's user interface the
    // first time it is asked for.
    Canvas& canvas();

    std::function<void()> onClick;
    std::function<void()> onChange;
    std::function<void()> onDoubleClick;

    // What a person does.
    void userSetText(std::string text);
    void userSetChecked(bool checked);
    void userSetItemIndex(int index);
    void userClick();
    void userDoubleClick();

private:
    void changed();

    Form& owner_;
    ControlKind kind_;
    std::string name_;
    std::string parentName_;
    std::string caption_;
    std::string text_;
    std::vector<std::string> lines_;
    int maxLength_ = 0;
    bool checked_ = false;
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool enabled_ = true;
    bool visible_ = true;
    bool readOnly_ = false;
    ModalResult modalResult_ = ModalResult::None;
    bool default_ = false;
    std::optional<Geometry> geometry_;
    std::optional<FontSpec> font_;
    std::optional<Color> color_;
    std::unique_ptr<Canvas> canvas_;
};

} // namespace platform
