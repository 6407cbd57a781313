#include "tests/support/QtLayoutCheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QRadioButton>
#include <QWidget>

namespace quillan::test {

namespace {

struct Shown {
    std::string name;
    QWidget* widget;
    QRect rect; // in the window's coordinates
    bool picture;
};

QWidget* windowOf(const platform::Form& form) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QString::fromStdString(form.name()))
            return w;
    return nullptr;
}

int textWidth(const QWidget* w, const QString& text) {
    return w->fontMetrics().horizontalAdvance(text);
}

// The caption as the control shows it does not fit the room the control has for it.
bool clipped(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty())
            return false;
        if (label->wordWrap())
            return label->heightForWidth(label->contentsRect().width()) >
                   label->contentsRect().height();
        return textWidth(label, label->text()) > label->contentsRect().width();
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
        return w->sizeHint().width() > w->width();
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QString text = button->text();
        text.remove('&');
        return textWidth(button, text) + 8 > button->width();
    }
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return textWidth(group, group->title()) + 16 > group->width();
    // A note that needs a scroll bar hides part of itself until it is scrolled.
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->isReadOnly() && memo->verticalScrollBar()->maximum() > 0;
    return false;
}

// A control and the group holding it; a control placed on a picture (a caption over the
// splash, a font size on the drawing of a tag).
bool meantToOverlap(const Shown& a, const Shown& b) {
    if (a.widget->isAncestorOf(b.widget) || b.widget->isAncestorOf(a.widget))
        return true;
    return (a.picture && a.rect.contains(b.rect)) || (b.picture && b.rect.contains(a.rect));
}

} // namespace

std::vector<std::string> layoutProblems(const platform::Form& form) {
    QWidget* window = windowOf(form);
    if (!window)
        return {"form " + form.name() + " has no window"};
    std::vector<std::string> problems;
    std::vector<Shown> shown;
    for (const auto& control : form.controls()) {
        auto* w = window->findChild<QWidget*>(QString::fromStdString(control->name()));
        if (!w || !w->isVisibleTo(window))
            continue;
        QRect rect(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!window->rect().contains(rect))
            problems.push_back(control->name() + " lies outside the window");
        if (clipped(w))
            problems.push_back(control->name() + " does not show all of its caption");
        shown.push_back(
            {control->name(), w, rect, control->kind() == platform::ControlKind::Image});
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (!meantToOverlap(shown[i], shown[j]) && shown[i].rect.intersects(shown[j].rect))
                problems.push_back(shown[i].name + " overlaps " + shown[j].name);
    return problems;
}

} // namespace quillan::test
