#include "platform/ui/Form.h"

#include "platform/ui/Ui.h"

#include <stdexcept>

namespace platform {

Form::Form(Ui& ui, std::string name, std::string caption)
    : ui_(ui), name_(std::move(name)), caption_(std::move(caption)) {
    ui_.formCreated(*this);
}

Form::~Form() {
    ui_.formDestroyed(*this);
}

void Form::setCaption(std::string caption) {
    caption_ = std::move(caption);
    if (view_)
        view_->formChanged(*this);
}

Control& Form::add(ControlKind kind, std::string name, std::string caption,
                   std::string parentName) {
    if (find(name))
        throw std::logic_error("form " + name_ + " already has a control named " + name);
    auto control = std::make_unique<Control>(*this, kind, std::move(name));
    Control& added = *control;
    controls_.push_back(std::move(control));
    added.setCaption(std::move(caption));
    added.setParentName(std::move(parentName));
    if (view_)
        view_->formChanged(*this);
    return added;
}

Control* Form::find(const std::string& name) {
    for (auto& c : controls_)
        if (c->name() == name)
            return c.get();
    return nullptr;
}

Control& Form::control(const std::string& name) {
    if (Control* c = find(name))
        return *c;
    throw std::logic_error("form " + name_ + " has no control named " + name);
}

const Control& Form::control(const std::string& name) const {
    return const_cast<Form*>(this)->control(name);
}

static MenuItem* findIn(std::vector<MenuItem>& items, const std::string& name) {
    for (auto& item : items) {
        if (item.name == name)
            return &item;
        if (MenuItem* found = findIn(item.children, name))
            return found;
    }
    return nullptr;
}

MenuItem* Form::findMenuItem(const std::string& name) {
    return findIn(menus_, name);
}

void Form::menusChanged() {
    if (view_)
        view_->formChanged(*this);
}

void Form::setFocusControl(std::string name) {
    focusControl_ = std::move(name);
    if (view_ && visible_)
        view_->focusChanged(*this);
}

void Form::setSize(int width, int height) {
    width_ = width;
    height_ = height;
    if (view_)
        view_->formChanged(*this);
}

ModalResult Form::showModal() {
    modalResult_ = ModalResult::None;
    return ui_.runModal(*this);
}

void Form::show() {
    ui_.showForm(*this);
}

void Form::hide() {
    ui_.hideForm(*this);
}

void Form::setModalResult(ModalResult result) {
    modalResult_ = result;
    if (result != ModalResult::None && onCloseQuery && !onCloseQuery(result))
        modalResult_ = ModalResult::None;
}

void Form::runShowEvents() {
    if (onActivate)
        onActivate();
    if (onShow)
        onShow();
}

void Form::userClick() {
    if (onClick)
        onClick();
}

void Form::userKeyPress(char key) {
    if (onKeyPress)
        onKeyPress(key);
}

void Form::userHelp() {
    if (onHelp)
        onHelp();
}

bool Form::userClose() {
    if (modalResult_ == ModalResult::None)
        setModalResult(ModalResult::Cancel);
    else if (onCloseQuery && !onCloseQuery(modalResult_))
        modalResult_ = ModalResult::None;
    if (modalResult_ == ModalResult::None)
        return false;
    if (onClose)
        onClose();
    return modalResult_ != ModalResult::None;
}

bool Form::userRequestWhileHeld(const std::string& menuEntry) {
    return onRequestWhileHeld && onRequestWhileHeld(menuEntry);
}

void Form::controlChanged(Control& control) {
    if (view_)
        view_->controlChanged(control);
}

} // namespace platform
