#include "platform/qt/QtFormWindow.h"

#include "platform/qt/QtImageCanvas.h"
#include "platform/qt/QtText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

namespace {

// A caption marks its access key with "&" before the letter, as Qt's own captions do, so
// the text goes over unchanged.
QString caption(const std::string& text) {
    return toQt(text);
}

QString plainCaption(const std::string& text) {
    QString s = toQt(text);
    s.remove('&');
    return s;
}

} // namespace

QtFormWindow::QtFormWindow(Form& form) : form_(form) {
    form_.setView(this);
    build();
}

QtFormWindow::~QtFormWindow() {
    if (form_.view() == this)
        form_.setView(nullptr);
}

void QtFormWindow::build() {
    building_ = true;
    setObjectName(toQt(form_.name()));
    setWindowTitle(plainCaption(form_.caption()));
    if (form_.borderless())
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    if (form_.color()) {
        QPalette pal = palette();
        Color c = *form_.color();
        pal.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
        setPalette(pal);
        setAutoFillBackground(true);
    }
    auto* outer = new QVBoxLayout(this);
    // Never smaller than its controls need, so that nothing is squeezed unreadable.
    outer->setSizeConstraint(QLayout::SetMinimumSize);
    if (!form_.menus().empty()) {
        menuBar_ = new QMenuBar(this);
        outer->setMenuBar(menuBar_);
        buildMenus();
    }
    if (form_.absoluteLayout()) {
        outer->setContentsMargins(0, 0, 0, 0);
        auto* content = new QWidget(this);
        content->setObjectName("content");
        content->setFixedSize(form_.width(), form_.height());
        outer->addWidget(content, 0, Qt::AlignLeft | Qt::AlignTop);
    } else {
        auto* content = new QWidget(this);
        content->setObjectName("content");
        new QVBoxLayout(content);
        outer->addWidget(content);
        auto* buttons = new QWidget(this);
        buttons->setObjectName("buttons");
        auto* row = new QHBoxLayout(buttons);
        row->addStretch(1);
        outer->addWidget(buttons);
    }
    for (auto& control : form_.controls())
        createWidget(*control, containerFor(control->parentName()));
    builtControls_ = form_.controls().size();
    for (auto& control : form_.controls())
        syncWidget(*control);
    if (form_.width() > 0 && !form_.absoluteLayout())
        resize(form_.width(), form_.height());
    building_ = false;
}

void QtFormWindow::buildMenus() {
    for (QAction* action : menuBar_->actions())
        delete action->menu();
    menuBar_->clear();
    menuActions_.clear();
    std::function<void(QMenu*, std::vector<MenuItem>&)> fill = [&](QMenu* menu,
                                                                   std::vector<MenuItem>& items) {
        for (auto& item : items) {
            if (!item.visible)
                continue;
            if (item.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            if (!item.children.empty()) {
                QMenu* sub = menu->addMenu(caption(item.caption));
                menuActions_.emplace_back(&item, sub->menuAction());
                fill(sub, item.children);
                continue;
            }
            QAction* action = menu->addAction(caption(item.caption));
            action->setObjectName(toQt(item.name));
            menuActions_.emplace_back(&item, action);
            if (!item.shortcut.empty())
                action->setShortcut(QKeySequence(toQt(item.shortcut)));
            MenuItem* target = &item;
            connect(action, &QAction::triggered, this, [target] {
                if (target->onClick && target->enabled)
                    target->onClick();
            });
        }
    };
    for (auto& top : form_.menus()) {
        QMenu* menu = menuBar_->addMenu(caption(top.caption));
        menuActions_.emplace_back(&top, menu->menuAction());
        fill(menu, top.children);
    }
    syncMenus();
}

// The entries change while a command runs (it may be the one whose entry was chosen), so
// they are switched on and off in place rather than built again.
void QtFormWindow::syncMenus() {
    for (auto& [item, action] : menuActions_)
        action->setEnabled(item->enabled);
}

QWidget* QtFormWindow::containerFor(const std::string& parentName) {
    if (!parentName.empty())
        if (Control* parent = form_.find(parentName))
            if (auto it = widgets_.find(parent); it != widgets_.end())
                return it->second;
    return findChild<QWidget*>("content");
}

// A grid panel fills its columns row by row, in the order its children were added.
static void addToLayout(QWidget* parent, QWidget* child) {
    QLayout* layout = parent->layout();
    if (!layout)
        return;
    auto* grid = qobject_cast<QGridLayout*>(layout);
    int columns = parent->property("columns").toInt();
    if (!grid || columns < 1) {
        layout->addWidget(child);
        return;
    }
    int index = grid->count();
    grid->addWidget(child, index / columns, index % columns, Qt::AlignTop);
}

// An edit box in an automatic layout shows its caption to its left.
QWidget* QtFormWindow::captionedRow(Control& control, QWidget* edit, QWidget* parent) {
    auto* row = new QWidget(parent);
    row->setObjectName(toQt("row:" + control.name()));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(row);
    label->setObjectName("caption");
    layout->addWidget(label);
    layout->addWidget(edit, 1);
    return row;
}

QWidget* QtFormWindow::createWidget(Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    // What goes into the parent's layout: the widget itself, or a row holding it.
    QWidget* placed = nullptr;
    Control* c = &control;
    auto after = [this] { endModalIfDone(); };
    switch (control.kind()) {
    case ControlKind::Label:
        widget = new QLabel(parent);
        widget->installEventFilter(this); // labels take double-clicks
        static_cast<QLabel*>(widget)->setWordWrap(!form_.absoluteLayout());
        break;
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        connect(edit, &QLineEdit::textEdited, this, [c, after](const QString& t) {
            c->userSetText(fromQt(t));
            after();
        });
        widget = edit;
        if (!form_.absoluteLayout())
            placed = captionedRow(control, edit, parent);
        break;
    }
    case ControlKind::Memo: {
        auto* memo = new QPlainTextEdit(parent);
        connect(memo, &QPlainTextEdit::textChanged, this, [this, c, memo, after] {
            if (building_)
                return;
            c->userSetText(fromQt(memo->toPlainText()));
            after();
        });
        widget = memo;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(parent);
        connect(box, &QCheckBox::clicked, this, [c, after](bool on) {
            c->userSetChecked(on);
            after();
        });
        widget = box;
        break;
    }
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(parent);
        connect(radio, &QRadioButton::clicked, this, [c, after] {
            c->userClick();
            after();
        });
        widget = radio;
        break;
    }
    case ControlKind::RadioGroup: {
        auto* group = new QGroupBox(parent);
        new QGridLayout(group);
        auto* buttons = new QButtonGroup(group);
        buttons->setObjectName("buttons");
        connect(buttons, &QButtonGroup::idClicked, this, [c, after](int id) {
            c->userSetItemIndex(id);
            after();
        });
        widget = group;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        connect(combo, &QComboBox::activated, this, [c, after](int index) {
            c->userSetItemIndex(index);
            after();
        });
        widget = combo;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        connect(list, &QListWidget::currentRowChanged, this, [this, c, after](int row) {
            if (building_ || row == c->itemIndex())
                return;
            c->userSetItemIndex(row);
            after();
        });
        connect(list, &QListWidget::itemDoubleClicked, this, [c, after](QListWidgetItem*) {
            c->userDoubleClick();
            after();
        });
        list->installEventFilter(this); // Enter takes the highlighted row, as a double-click
        widget = list;
        break;
    }
    case ControlKind::GroupBox:
        widget = new QGroupBox(parent);
        new QVBoxLayout(widget);
        break;
    case ControlKind::Panel: {
        auto* frame = new QFrame(parent);
        if (control.columns() > 1) {
            // A panel of several columns only arranges its children side by side.
            frame->setProperty("columns", control.columns());
            auto* grid = new QGridLayout(frame);
            grid->setContentsMargins(0, 0, 0, 0);
            for (int column = 0; column < control.columns(); ++column)
                grid->setColumnStretch(column, 1);
        } else {
            frame->setFrameShape(QFrame::StyledPanel);
            new QVBoxLayout(frame);
        }
        widget = frame;
        break;
    }
    case ControlKind::Button: {
        QWidget* host = parent;
        if (!form_.absoluteLayout() && control.parentName().empty())
            host = findChild<QWidget*>("buttons");
        auto* button = new QPushButton(host);
        connect(button, &QPushButton::clicked, this, [c, after] {
            c->userClick();
            after();
        });
        widget = button;
        parent = host;
        break;
    }
    case ControlKind::Image:
        widget = new QLabel(parent);
        break;
    }
    widget->setObjectName(toQt(control.name()));
    if (form_.absoluteLayout() && control.geometry()) {
        const Geometry& g = *control.geometry();
        widget->setGeometry(g.left, g.top, g.width, g.height);
    } else {
        addToLayout(parent, placed ? placed : widget);
    }
    widgets_[&control] = widget;
    return widget;
}

QImage& QtFormWindow::imageFor(Control& control) {
    auto& canvas = dynamic_cast<QtImageCanvas&>(control.canvas());
    return const_cast<QImage&>(canvas.image());
}

void QtFormWindow::syncWidget(Control& control) {
    auto it = widgets_.find(&control);
    if (it == widgets_.end())
        return;
    QWidget* w = it->second;
    QSignalBlocker block(w);
    w->setVisible(control.visible());
    w->setEnabled(control.enabled());
    if (control.font()) {
        const FontSpec& f = *control.font();
        QFont font(toQt(f.name));
        font.setPixelSize(f.size > 0 ? f.size : 1);
        font.setBold(f.bold);
        font.setItalic(f.italic);
        w->setFont(font);
    }
    switch (control.kind()) {
    case ControlKind::Label: {
        auto* label = static_cast<QLabel*>(w);
        label->setText(plainCaption(control.caption()));
        if (control.geometry())
            label->setAlignment(Qt::AlignCenter);
        if (control.color()) {
            Color c = *control.color();
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
            label->setPalette(pal);
        }
        break;
    }
    case ControlKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(w);
        syncCaptionedRow(control, edit);
        // Setting it sets the text again, which drops the selection and moves the cursor.
        if (int most = control.maxLength() > 0 ? control.maxLength() : 32767;
            edit->maxLength() != most)
            edit->setMaxLength(most);
        if (edit->text() != toQt(control.text()))
            edit->setText(toQt(control.text()));
        edit->setReadOnly(control.readOnly());
        if (control.color()) {
            Color c = *control.color();
            QPalette pal = edit->palette();
            pal.setColor(QPalette::Disabled, QPalette::Base, QColor(c.r, c.g, c.b));
            pal.setColor(QPalette::Active, QPalette::Base, QColor(c.r, c.g, c.b));
            pal.setColor(QPalette::Inactive, QPalette::Base, QColor(c.r, c.g, c.b));
            // Qt's grey disabled text would vanish on a silver box.
            pal.setColor(QPalette::Disabled, QPalette::Text, QColor(80, 80, 80));
            edit->setPalette(pal);
        }
        edit->setToolTip(plainCaption(control.caption()));
        break;
    }
    case ControlKind::Memo: {
        auto* memo = static_cast<QPlainTextEdit*>(w);
        if (memo->toPlainText() != toQt(control.text())) {
            bool was = building_;
            building_ = true;
            memo->setPlainText(toQt(control.text()));
            building_ = was;
        }
        memo->setReadOnly(control.readOnly());
        break;
    }
    case ControlKind::CheckBox:
        static_cast<QCheckBox*>(w)->setText(caption(control.caption()));
        static_cast<QCheckBox*>(w)->setChecked(control.checked());
        break;
    case ControlKind::RadioButton:
        static_cast<QRadioButton*>(w)->setText(caption(control.caption()));
        static_cast<QRadioButton*>(w)->setChecked(control.checked());
        break;
    case ControlKind::RadioGroup: {
        auto* group = static_cast<QGroupBox*>(w);
        group->setTitle(plainCaption(control.caption()));
        auto* buttons = group->findChild<QButtonGroup*>("buttons");
        auto* grid = static_cast<QGridLayout*>(group->layout());
        const auto& items = control.items();
        while (buttons->buttons().size() > static_cast<qsizetype>(items.size())) {
            QAbstractButton* b = buttons->buttons().back();
            buttons->removeButton(b);
            delete b;
        }
        int columns = control.columns();
        int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            QAbstractButton* b = buttons->button(i);
            if (!b) {
                b = new QRadioButton(group);
                buttons->addButton(b, i);
                grid->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
            }
            QSignalBlocker blockButton(b);
            b->setText(caption(items[static_cast<size_t>(i)]));
        }
        buttons->setExclusive(false);
        for (QAbstractButton* b : buttons->buttons())
            b->setChecked(buttons->id(b) == control.itemIndex());
        buttons->setExclusive(true);
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(w);
        combo->clear();
        for (const auto& item : control.items())
            combo->addItem(toQt(item));
        combo->setCurrentIndex(control.itemIndex());
        break;
    }
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(w);
        bool was = building_;
        building_ = true;
        list->clear();
        for (const auto& item : control.items())
            list->addItem(toQt(item));
        list->setCurrentRow(control.itemIndex());
        building_ = was;
        break;
    }
    case ControlKind::GroupBox:
        static_cast<QGroupBox*>(w)->setTitle(plainCaption(control.caption()));
        break;
    case ControlKind::Panel:
        break;
    case ControlKind::Button: {
        auto* button = static_cast<QPushButton*>(w);
        button->setText(caption(control.caption()));
        syncDefaultButton();
        break;
    }
    case ControlKind::Image: {
        static_cast<QLabel*>(w)->setPixmap(QPixmap::fromImage(imageFor(control)));
        break;
    }
    }
}

// Several buttons of a form may be meant as default (OK and Next of a settings page), of
// which only one shows at a time; a hidden default button would leave Enter doing nothing.
void QtFormWindow::syncDefaultButton() {
    QPushButton* chosen = nullptr;
    for (auto& control : form_.controls()) {
        if (control->kind() != ControlKind::Button || !control->isDefault() ||
            !control->visible() || !control->enabled())
            continue;
        if (auto it = widgets_.find(control.get()); it != widgets_.end()) {
            chosen = static_cast<QPushButton*>(it->second);
            break;
        }
    }
    for (auto& [control, widget] : widgets_)
        if (control->kind() == ControlKind::Button)
            static_cast<QPushButton*>(widget)->setDefault(widget == chosen);
}

void QtFormWindow::syncCaptionedRow(Control& control, QWidget* edit) {
    QWidget* row = edit->parentWidget();
    if (!row || !row->objectName().startsWith("row:"))
        return;
    row->setVisible(control.visible());
    auto* label = row->findChild<QLabel*>("caption");
    label->setText(plainCaption(control.caption()));
    label->setVisible(!control.caption().empty());
    label->setEnabled(control.enabled());
}

void QtFormWindow::controlChanged(Control& control) {
    if (form_.controls().size() != builtControls_) {
        formChanged(form_);
        return;
    }
    syncWidget(control);
}

void QtFormWindow::formChanged(Form&) {
    setWindowTitle(plainCaption(form_.caption()));
    if (menuBar_)
        syncMenus();
    if (form_.controls().size() != builtControls_) {
        for (size_t i = builtControls_; i < form_.controls().size(); ++i) {
            Control& control = *form_.controls()[i];
            createWidget(control, containerFor(control.parentName()));
        }
        builtControls_ = form_.controls().size();
        for (auto& control : form_.controls())
            syncWidget(*control);
    }
}

// Wrapped labels need more height the narrower they are: the window takes the height its
// layout asks for at its width, which the platform's own size adjustment caps by the
// screen and so may squeeze other controls unreadable.
void QtFormWindow::fitToContents() {
    if (form_.absoluteLayout())
        return;
    adjustSize();
    if (layout() && layout()->hasHeightForWidth()) {
        int needed = layout()->totalHeightForWidth(width());
        if (needed > height())
            resize(width(), needed);
    }
}

QSize QtFormWindow::neededSize() const {
    QSize size = sizeHint().expandedTo(minimumSizeHint());
    if (!form_.absoluteLayout() && layout() && layout()->hasHeightForWidth())
        size.setHeight(std::max(size.height(), layout()->totalHeightForWidth(size.width())));
    return size;
}

void QtFormWindow::fitOnScreen() {
    if (form_.absoluteLayout() || !screen())
        return;
    const QRect room = screen()->availableGeometry();
    const int frameHeight = std::max(0, frameGeometry().height() - height());
    const int most = room.height() - frameHeight;
    if (!unscrolledSize_ && height() > most) {
        unscrolledSize_ = size();
        scrollControls();
    }
    if (unscrolledSize_)
        resize(std::max(width(), unscrolledSize_->width()),
               std::min(most, unscrolledSize_->height()));
    const QRect frame = frameGeometry();
    move(std::clamp(frame.left(), room.left(),
                    std::max(room.left(), room.right() + 1 - frame.width())),
         std::clamp(frame.top(), room.top(),
                    std::max(room.top(), room.bottom() + 1 - frame.height())));
}

// The controls go into a scrolling area as wide as they are; the buttons stay below it.
void QtFormWindow::scrollControls() {
    auto* outer = static_cast<QVBoxLayout*>(layout());
    QWidget* content = findChild<QWidget*>("content", Qt::FindDirectChildrenOnly);
    if (!outer || !content)
        return;
    const int index = outer->indexOf(content);
    const int contentWidth = content->width();
    outer->removeWidget(content);
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName("scroller");
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(content);
    scroller->setMinimumWidth(contentWidth + scroller->verticalScrollBar()->sizeHint().width());
    outer->insertWidget(index, scroller, 1);
    // The window's least size is the layout's, which no longer holds all the controls.
    outer->activate();
}

void QtFormWindow::showAsPage(QSize size, std::optional<QPoint> place) {
    pageSize_ = size;
    pagePlace_ = place;
}

// An edit box takes the focus with its text selected, so that what is typed replaces it.
void QtFormWindow::focusFirstControl() {
    if (form_.focusControl().empty())
        return;
    Control* control = form_.find(form_.focusControl());
    auto it = control ? widgets_.find(control) : widgets_.end();
    if (it == widgets_.end())
        return;
    it->second->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(it->second))
        edit->selectAll();
}

void QtFormWindow::focusChanged(Form&) {
    focusFirstControl();
}

ModalResult QtFormWindow::execModal() {
    setModal(true);
    if (pageSize_)
        resize(pageSize_->expandedTo(neededSize()));
    show();
    fitToContents();
    if (pageSize_)
        resize(pageSize_->expandedTo(size()));
    if (pagePlace_)
        move(*pagePlace_);
    fitOnScreen();
    pageSize_.reset();
    pagePlace_.reset();
    raise();
    activateWindow();
    focusFirstControl();
    QEventLoop loop;
    modalLoop_ = &loop;
    if (form_.modalResult() == ModalResult::None)
        loop.exec();
    modalLoop_ = nullptr;
    hide();
    setModal(false);
    return form_.modalResult();
}

void QtFormWindow::endModalIfDone() {
    if (modalLoop_ && form_.modalResult() != ModalResult::None)
        modalLoop_->quit();
}

void QtFormWindow::closeEvent(QCloseEvent* event) {
    // A form whose close handler took the result back stays open, as with Esc.
    if (!form_.userClose()) {
        event->ignore();
        return;
    }
    endModalIfDone();
    event->accept();
}

void QtFormWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && modalLoop_) {
        form_.userClose();
        endModalIfDone();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        form_.userHelp();
        return;
    }
    QString text = event->text();
    if (!text.isEmpty())
        form_.userKeyPress(text.toLatin1().isEmpty() ? '?' : text.toLatin1().at(0));
    endModalIfDone();
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

bool QtFormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* list = qobject_cast<QListWidget*>(watched);
        if (list && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            for (auto& [control, widget] : widgets_)
                if (widget == watched && control->onDoubleClick && list->currentRow() >= 0)
                    control->userDoubleClick();
            endModalIfDone();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (auto& [control, widget] : widgets_) {
            if (widget != watched)
                continue;
            control->userDoubleClick();
            endModalIfDone();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QtFormWindow::mousePressEvent(QMouseEvent* event) {
    form_.userClick();
    endModalIfDone();
    QDialog::mousePressEvent(event);
}

} // namespace platform
