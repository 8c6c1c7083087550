#pragma once
// The process-wide registry of open popups: for each PopupDialog the windows it watches (its
// popup window, its button window and the button's ancestors up to the top-level window). While
// any popup is registered one application-wide event filter stands in for the thread hooks: it
// reports presses, moves and resizes of watched windows, and watched windows going away.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

namespace vyr::controls {

class PopupDialog;

class PopupRegistry final : public QObject {
public:
    static PopupRegistry& instance();

    // Watches `popup` and `button` with its ancestors up to the top-level window.
    void add(PopupDialog* dialog, QWidget* popup, QWidget* button);
    void remove(PopupDialog* dialog);
    bool contains(const PopupDialog* dialog) const { return entries_.count(const_cast<PopupDialog*>(dialog)) != 0; }
    bool filtering() const { return filtering_; }
    // Whether `w` is a watched window of `dialog` or lies inside one.
    bool inWatched(const PopupDialog* dialog, const QWidget* w) const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Entry {
        QPointer<QWidget> popup;
        std::vector<QPointer<QWidget>> windows; // popup, button, ancestors
        std::vector<QObject*> raw;              // the same, to recognise them once they are gone
        std::vector<QMetaObject::Connection> connections;
    };
    void gone(QObject* window);

    std::map<PopupDialog*, Entry> entries_;
    bool filtering_ = false;
};

} // namespace vyr::controls
