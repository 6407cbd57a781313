#include "platform/ui/Control.h"

#include "platform/ui/Form.h"
#include "platform/ui/Ui.h"

namespace platform {

const char* toString(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return "Label";
    case ControlKind::Edit:
        return "Edit";
    case ControlKind::Memo:
        return "Memo";
    case ControlKind::CheckBox:
        return "CheckBox";
    case ControlKind::RadioButton:
        return "RadioButton";
    case ControlKind::RadioGroup:
        return "RadioGroup";
    case ControlKind::ComboBox:
        return "ComboBox";
    case ControlKind::ListBox:
        return "ListBox";
    case ControlKind::GroupBox:
        return "GroupBox";
    case ControlKind::Button:
        return "Button";
    case ControlKind::Image:
        return "Image";
    case ControlKind::Panel:
        return "Panel";
    }
    return "?";
}

Control::Control(Form& owner, ControlKind kind, std::string name)
    : owner_(owner), kind_(kind), name_(std::move(name)) {}

Control::~Control() = default;

void Control::changed() {
    owner_.controlChanged(*this);
}

Control& Control::setParentName(std::string name) {
    parentName_ = std::move(name);
    changed();
    return *this;
}

Control& Control::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed();
    return *this;
}

std::string Control::text() const {
    if (kind_ != ControlKind::Memo)
        return text_;
    std::string joined;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i)
            joined += '\n';
        joined += lines_[i];
    }
    return joined;
}

Control& Control::setText(std::string text) {
    if (kind_ == ControlKind::Memo) {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        lines_ = std::move(lines);
    } else {
        if (maxLength_ > 0 && static_cast<int>(text.size()) > maxLength_)
            text.resize(static_cast<size_t>(maxLength_));
        text_ = std::move(text);
    }
    changed();
    return *this;
}

Control& Control::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    changed();
    return *this;
}

Control& Control::setMaxLength(int length) {
    maxLength_ = length;
    changed();
    return *this;
}

Control& Control::setChecked(bool checked) {
    checked_ = checked;
    if (checked && kind_ == ControlKind::RadioButton) {
        // Radio buttons of one parent exclude each other.
        for (auto& other : owner_.controls()) {
            if (other.get() != this && other->kind_ == ControlKind::RadioButton &&
                other->parentName_ == parentName_ && other->checked_) {
                other->checked_ = false;
                other->changed();
            }
        }
    }
    changed();
    return *this;
}

Control& Control::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (itemIndex_ >= static_cast<int>(items_.size()))
        itemIndex_ = -1;
    changed();
    return *this;
}

Control& Control::setItem(int index, std::string caption) {
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        items_[static_cast<size_t>(index)] = std::move(caption);
        changed();
    }
    return *this;
}

Control& Control::setItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size()))
        index = -1;
    itemIndex_ = index;
    if (kind_ == ControlKind::ComboBox)
        text_ = index >= 0 ? items_[static_cast<size_t>(index)] : std::string();
    changed();
    return *this;
}

Control& Control::setColumns(int columns) {
    columns_ = columns < 1 ? 1 : columns;
    changed();
    return *this;
}

Control& Control::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
    return *this;
}

Control& Control::setVisible(bool visible) {
    visible_ = visible;
    changed();
    return *this;
}

Control& Control::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    changed();
    return *this;
}

Control& Control::setModalResult(ModalResult result) {
    modalResult_ = result;
    return *this;
}

Control& Control::setDefault(bool isDefault) {
    default_ = isDefault;
    changed();
    return *this;
}

Control& Control::setGeometry(Geometry geometry) {
    geometry_ = geometry;
    changed();
    return *this;
}

Control& Control::setFont(FontSpec font) {
    font_ = std::move(font);
    changed();
    return *this;
}

Control& Control::setColor(Color color) {
    color_ = color;
    changed();
    return *this;
}

Canvas& Control::canvas() {
    if (!canvas_)
        canvas_ = owner_.ui().createImageCanvas(*this);
    return *canvas_;
}

void Control::userSetText(std::string text) {
    if (!enabled_ || readOnly_)
        return;
    setText(std::move(text));
    if (onChange)
        onChange();
}

void Control::userSetChecked(bool checked) {
    if (!enabled_)
        return;
    setChecked(checked);
    if (onClick)
        onClick();
}

void Control::userSetItemIndex(int index) {
    if (!enabled_)
        return;
    setItemIndex(index);
    if (kind_ == ControlKind::ComboBox) {
        if (onChange)
            onChange();
        return;
    }
    if (onClick)
        onClick();
}

void Control::userClick() {
    if (!enabled_ || !visible_)
        return;
    if (kind_ == ControlKind::CheckBox) {
        setChecked(!checked_);
    } else if (kind_ == ControlKind::RadioButton) {
        setChecked(true);
    } else if (kind_ == ControlKind::Button && modalResult_ != ModalResult::None) {
        // As on the desktop platform: the result is set first, so that the click
        // handler may take it back and keep the form open.
        owner_.setModalResult(modalResult_);
    }
    if (onClick)
        onClick();
}

void Control::userDoubleClick() {
    if (!enabled_ || !visible_)
        return;
    if (onDoubleClick)
        onDoubleClick();
}

} // namespace platform
