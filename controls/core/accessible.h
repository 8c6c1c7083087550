#pragma once
// What a control tells assistive technology: its role, name, states, value, text and the
// actions it offers, read from the control's own state whenever asked. The control base
// describes the common part (role by class, name and mnemonic from the caption, focus); each
// control adds what it shows. ControlAccessible turns that into Qt's accessibility interfaces,
// which reach AT-SPI on Linux; installAccessibleFactory registers it for every control window.
#include <QAccessible>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace vyr::controls {

class ControlBase;

enum class AccessAction { Press, Toggle, Increase, Decrease };

struct AccessValue {
    double current = 0, minimum = 0, maximum = 0, step = 0;
    bool operator==(const AccessValue&) const = default;
};

// A part the control draws itself that is an object of its own for the reader (a Frame's page
// button): a page tab of a page tab list.
struct AccessItem {
    int id = 0; // what activateAccessibleItem is given
    QString name;
    QRect rect; // in the control's client coordinates
    bool selected = false;
    bool operator==(const AccessItem&) const = default;
};

struct AccessFacts {
    QAccessible::Role role = QAccessible::Client;
    QString name;
    QString description;
    QChar mnemonic; // the caption's '&' character, null without one
    QString text;   // what a text display shows (Static, Display); empty: no text interface
    bool hasText = false;
    bool checkable = false;
    bool checked = false;
    bool pressed = false;
    bool enabled = true;
    std::optional<AccessValue> value;
    std::vector<AccessAction> actions;
    std::vector<AccessItem> items;
    bool operator==(const AccessFacts&) const = default;
};

// The role of a control class, by class name ("Button" -> push button ...); Client for names
// it does not know.
QAccessible::Role roleOfClass(const char* className);
// A caption as read aloud: the '&' marks dropped, "&&" kept as one '&', the two characters
// backslash and n as a line break.
QString spokenCaption(const std::string& caption);
// A command string as words: "Detector.Gain" -> "Detector Gain", "scan_speed" -> "scan speed",
// "PMTVoltage" -> "PMT Voltage".
QString readableCommand(const std::string& command);

// Marks a Qt view inside a control as one part of it: the view is called by the control's name
// and the part ("Clock Start, hours") instead of the control's name alone.
void setAccessiblePart(QWidget* view, const QString& part);

// Registers the factory that gives every control window its ControlAccessible; once.
void installAccessibleFactory();
// Drops the interface made for the widget a control lived in without a window of its own,
// once the control has left it (the widget stays, the control it described does not).
void forgetAccessible(const QWidget* window);
// Also hands every accessibility event a control sends to `observer` (null: none); returns the
// previous observer. Qt passes events on only while an assistive technology listens.
using AccessEventObserver = void (*)(QAccessibleEvent*);
AccessEventObserver observeAccessEvents(AccessEventObserver observer);
// Sends the accessibility events for what changed in the control's facts since they were
// last read (state, value, name, text); nothing while no assistive technology listens.
void accessibleChanged(ControlBase& control);

} // namespace vyr::controls
