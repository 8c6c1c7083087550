// Qt's accessibility interfaces over a control's facts: the control window itself (role,
// name, states, actions, value, text) and, for the parts a control draws itself, a page tab
// list with one page tab per part.
#include "controls/core/accessible.h"
#include "controls/core/control.h"
#include "controls/core/controlwindow.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <memory>
#include <unordered_map>

namespace vyr::controls {
namespace {

class ControlAccessible;

// The interfaces made so far, by window: only their controls send change events.
std::unordered_map<const QWidget*, ControlAccessible*>& live()
{
    static std::unordered_map<const QWidget*, ControlAccessible*> map;
    return map;
}

AccessEventObserver& observer()
{
    static AccessEventObserver o = nullptr;
    return o;
}

// To assistive technology through Qt (which drops events while none listens), and to the
// observer.
void send(QAccessibleEvent* e)
{
    if (observer())
        observer()(e);
    QAccessible::updateAccessibility(e);
}

const QString& nameOf(AccessAction a)
{
    switch (a) {
    case AccessAction::Press: return QAccessibleActionInterface::pressAction();
    case AccessAction::Toggle: return QAccessibleActionInterface::toggleAction();
    case AccessAction::Increase: return QAccessibleActionInterface::increaseAction();
    default: return QAccessibleActionInterface::decreaseAction();
    }
}

QString shortcutOf(QChar mnemonic)
{
    if (mnemonic.isNull())
        return {};
    return QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(mnemonic.unicode()))).toString(QKeySequence::NativeText);
}

// A Qt view a control wraps: named after the control, since the control is what the user
// placed and captioned.
bool isWrappedView(QWidget* w)
{
    return !ControlBase::ofWidget(w) &&
           (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w));
}

// The dynamic property setAccessiblePart leaves on a view.
constexpr const char* kPartProperty = "vyrAccessiblePart";

class PageTabList;

class PageTab final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageTab(PageTabList& list, int index) : list_(list), index_(index) {}
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::optional<AccessItem> item() const;
    PageTabList& list_;
    int index_;
};

class PageTabList final : public QAccessibleInterface {
public:
    explicit PageTabList(ControlAccessible& owner) : owner_(owner) {}
    ~PageTabList() override { resize(0); }
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    // The bar of page buttons is called as its control is.
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PageTabList; }
    QAccessible::State state() const override { return {}; }

    ControlAccessible& owner() const { return owner_; }
    std::vector<AccessItem> items() const;
    // Keeps one registered tab interface per item.
    void resize(size_t count) const;

private:
    ControlAccessible& owner_;
    mutable std::vector<QAccessibleInterface*> tabs_;
};

class ControlAccessible final : public QAccessibleWidget,
                                public QAccessibleValueInterface,
                                public QAccessibleTextInterface {
public:
    ControlAccessible(QWidget* window, ControlBase& control)
        : QAccessibleWidget(window, QAccessible::Client), window_(window), control_(control), last_(facts())
    {
        live()[window] = this;
        nameViews(last_.name);
    }
    ~ControlAccessible() override
    {
        live().erase(window_);
        if (tabList_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(tabList_));
    }

    ControlBase& control() const { return control_; }
    AccessFacts facts() const { return control().accessFacts(); }

    // Sends events for what changed since the facts were last read.
    void refresh();

    // --- QAccessibleInterface
    QAccessible::Role role() const override { return facts().role; }
    QString text(QAccessible::Text t) const override
    {
        const AccessFacts f = facts();
        switch (t) {
        case QAccessible::Name: return f.name;
        case QAccessible::Description: return f.description;
        case QAccessible::Accelerator: return shortcutOf(f.mnemonic);
        case QAccessible::Value:
            if (f.value)
                return QString::number(f.value->current);
            return f.hasText ? f.text : QString();
        default: return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const AccessFacts f = facts();
        s.disabled = s.disabled || !f.enabled;
        s.checkable = f.checkable;
        s.checked = f.checkable && f.checked;
        s.pressed = f.pressed && !f.checkable;
        return s;
    }
    int childCount() const override { return QAccessibleWidget::childCount() + (hasTabs() ? 1 : 0); }
    QAccessibleInterface* child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets) {
            // Views a control made, or a name it took, while nobody listened for its events.
            nameViews(facts().name);
            return QAccessibleWidget::child(index);
        }
        return index == widgets && hasTabs() ? tabList() : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child == tabList_)
            return hasTabs() ? QAccessibleWidget::childCount() : -1;
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (hasTabs())
            if (QAccessibleInterface* tab = tabList()->childAt(x, y))
                return tab;
        return QAccessibleWidget::childAt(x, y);
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        const AccessFacts f = facts();
        if (t == QAccessible::ValueInterface)
            return f.value ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
        if (t == QAccessible::TextInterface)
            return f.hasText ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
        return QAccessibleWidget::interface_cast(t);
    }

    // --- QAccessibleActionInterface
    QStringList actionNames() const override
    {
        QStringList names;
        for (const AccessAction a : facts().actions)
            names << nameOf(a);
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        for (const AccessAction a : facts().actions) {
            if (nameOf(a) == name) {
                control().accessibleAction(a);
                return;
            }
        }
        QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        const AccessFacts f = facts();
        if (!f.mnemonic.isNull() && (name == pressAction() || name == toggleAction()))
            return {shortcutOf(f.mnemonic)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

    // --- QAccessibleValueInterface
    QVariant currentValue() const override { return valueOf(&AccessValue::current); }
    // Values change only by the steps the user could take; a value set from outside is not one.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return valueOf(&AccessValue::maximum); }
    QVariant minimumValue() const override { return valueOf(&AccessValue::minimum); }
    QVariant minimumStepSize() const override { return valueOf(&AccessValue::step); }

    // --- QAccessibleTextInterface, read only, over the shown text
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override
    {
        const QString t = facts().text;
        start = std::clamp(start, 0, int(t.size()));
        end = end < 0 ? int(t.size()) : std::clamp(end, start, int(t.size()));
        return t.mid(start, end - start);
    }
    int characterCount() const override { return int(facts().text.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    bool hasTabs() const { return !facts().items.empty(); }
    PageTabList* tabList() const
    {
        if (!tabList_) {
            tabList_ = new PageTabList(const_cast<ControlAccessible&>(*this));
            QAccessible::registerAccessibleInterface(tabList_);
        }
        return tabList_;
    }
    QRect mapRect(const QRect& client) const
    {
        return QRect(window_->mapToGlobal(client.topLeft()), client.size());
    }

private:
    QVariant valueOf(double AccessValue::*field) const
    {
        const AccessFacts f = facts();
        return f.value ? QVariant((*f.value).*field) : QVariant();
    }
    // Wrapped Qt views take the control's name: those anywhere inside the control's widget,
    // but not inside the controls it hosts (a Frame's page), which name their own.
    void nameViews(const QString& name) const { nameViewsIn(window_, name); }
    static void nameView(QWidget* view, const QString& name)
    {
        if (!view)
            return;
        const QString part = view->property(kPartProperty).toString();
        const QString full = part.isEmpty() ? name : name + QStringLiteral(", ") + part;
        if (view->accessibleName() != full)
            view->setAccessibleName(full);
    }
    static void nameViewsIn(QWidget* parent, const QString& name)
    {
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || ControlBase::ofWidget(w))
                continue;
            if (!isWrappedView(w)) {
                nameViewsIn(w, name);
                continue;
            }
            nameView(w, name);
            // A combo box's drop-down list and text field are views of their own.
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                nameView(combo->view(), name);
                nameView(combo->lineEdit(), name);
            }
        }
    }

    QWidget* window_;
    ControlBase& control_;
    AccessFacts last_;
    mutable PageTabList* tabList_ = nullptr;
};

// ---------------------------------------------------------------- page tabs

bool PageTabList::isValid() const { return owner_.isValid(); }
QAccessibleInterface* PageTabList::parent() const { return &owner_; }
std::vector<AccessItem> PageTabList::items() const { return owner_.facts().items; }
QString PageTabList::text(QAccessible::Text t) const { return t == QAccessible::Name ? owner_.facts().name : QString(); }

void PageTabList::resize(size_t count) const
{
    while (tabs_.size() > count) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(tabs_.back()));
        tabs_.pop_back();
    }
    while (tabs_.size() < count) {
        auto* tab = new PageTab(const_cast<PageTabList&>(*this), int(tabs_.size()));
        QAccessible::registerAccessibleInterface(tab);
        tabs_.push_back(tab);
    }
}

int PageTabList::childCount() const { return int(items().size()); }

QAccessibleInterface* PageTabList::child(int index) const
{
    const size_t n = items().size();
    resize(n);
    return index >= 0 && size_t(index) < n ? tabs_[size_t(index)] : nullptr;
}

int PageTabList::indexOfChild(const QAccessibleInterface* child) const
{
    for (size_t i = 0; i < tabs_.size() && i < items().size(); ++i)
        if (tabs_[i] == child)
            return int(i);
    return -1;
}

QAccessibleInterface* PageTabList::childAt(int x, int y) const
{
    const std::vector<AccessItem> all = items();
    for (size_t i = 0; i < all.size(); ++i)
        if (owner_.mapRect(all[i].rect).contains(x, y))
            return child(int(i));
    return nullptr;
}

QRect PageTabList::rect() const
{
    QRect r;
    for (const AccessItem& item : items())
        r |= item.rect;
    return owner_.mapRect(r);
}

bool PageTab::isValid() const { return list_.isValid() && item().has_value(); }
QAccessibleInterface* PageTab::parent() const { return &list_; }

std::optional<AccessItem> PageTab::item() const
{
    std::vector<AccessItem> items = list_.items();
    if (size_t(index_) >= items.size())
        return std::nullopt;
    return std::move(items[size_t(index_)]);
}

QString PageTab::text(QAccessible::Text t) const
{
    const std::optional<AccessItem> i = item();
    return i && t == QAccessible::Name ? i->name : QString();
}

QRect PageTab::rect() const
{
    const std::optional<AccessItem> i = item();
    return i ? list_.owner().mapRect(i->rect) : QRect();
}

QAccessible::State PageTab::state() const
{
    QAccessible::State s;
    const std::optional<AccessItem> i = item();
    s.selectable = true;
    s.selected = i && i->selected;
    s.disabled = !list_.owner().facts().enabled;
    return s;
}

void PageTab::doAction(const QString& action)
{
    if (action != pressAction())
        return;
    if (const std::optional<AccessItem> i = item())
        list_.owner().control().activateAccessibleItem(i->id);
}

// ---------------------------------------------------------------- events

void ControlAccessible::refresh()
{
    AccessFacts now = facts();
    if (now == last_)
        return;
    const AccessFacts before = std::exchange(last_, now);
    if (now.name != before.name) {
        QAccessibleEvent e(this, QAccessible::NameChanged);
        send(&e);
        nameViews(now.name);
    }
    if (now.checked != before.checked || now.pressed != before.pressed || now.enabled != before.enabled) {
        QAccessible::State changed;
        changed.checked = now.checked != before.checked;
        changed.pressed = now.pressed != before.pressed;
        changed.disabled = now.enabled != before.enabled;
        QAccessibleStateChangeEvent e(this, changed);
        send(&e);
    }
    if (now.value && now.value != before.value) {
        QAccessibleValueChangeEvent e(this, now.value->current);
        send(&e);
    }
    if (now.text != before.text && now.hasText) {
        QAccessibleTextUpdateEvent e(this, 0, before.text, now.text);
        send(&e);
    }
    if (now.items != before.items) {
        QAccessibleEvent e(tabList(), QAccessible::SelectionWithin);
        send(&e);
    }
}

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (ControlBase* control = ControlBase::ofWidget(object))
        return new ControlAccessible(static_cast<QWidget*>(object), *control);
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&factory);
        return true;
    }();
    (void)installed;
}

void setAccessiblePart(QWidget* view, const QString& part)
{
    if (view)
        view->setProperty(kPartProperty, part);
}

void forgetAccessible(const QWidget* window)
{
    const auto it = live().find(window);
    if (it != live().end())
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(it->second));
}

AccessEventObserver observeAccessEvents(AccessEventObserver o) { return std::exchange(observer(), o); }

void accessibleChanged(ControlBase& control)
{
    // Qt makes the interfaces as widgets show, listener or not; nobody hears events then.
    if (!observer() && !QAccessible::isActive())
        return;
    const auto it = live().find(control.window());

    if (it != live().end())
        it->second->refresh();
}

} // namespace vyr::controls
