// The part of a control's accessibility facts every control shares.
#include "controls/core/accessible.h"
#include "controls/core/classtable.h"
#include "controls/core/control.h"
#include "platform/com/bstr.h"
#include <QWidget>
#include <cstring>

namespace vyr::controls {
namespace {

struct ClassRole {
    const char* className;
    QAccessible::Role role;
};

// Controls that wrap a Qt view are groupings named after the control; the view inside speaks
// for itself (list, table, tree, combo box, check box, text field).
constexpr ClassRole kRoles[] = {
    {"Button", QAccessible::Button},
    {"OptionButton", QAccessible::Button},
    {"DisplayButton", QAccessible::Button},
    {"DisplayOptionButton", QAccessible::Button},
    {"Objective", QAccessible::ButtonMenu},
    {"PopupDialog", QAccessible::ButtonDropDown},
    {"RadioButton", QAccessible::RadioButton},
    {"ButtonList", QAccessible::Grouping},
    {"Frame", QAccessible::Grouping},
    {"MultiPageFrame", QAccessible::Grouping},
    {"GrabField", QAccessible::Graphic},
    {"Slider", QAccessible::Slider},
    {"SpiSlider", QAccessible::Slider},
    {"VyrValueEdit", QAccessible::SpinBox},
    {"VyrTimeEdit", QAccessible::Grouping},
    {"VyrEdit", QAccessible::Grouping},
    {"SpectraCtrl", QAccessible::Chart},
    {"SliceCtrl", QAccessible::Chart},
    {"Static", QAccessible::StaticText},
    {"Display", QAccessible::StaticText},
    {"List", QAccessible::Grouping},
    {"MultiList", QAccessible::Grouping},
    {"Tree", QAccessible::Grouping},
    {"VyrComboBox", QAccessible::Grouping},
    {"VyrCheckBox", QAccessible::Grouping},
    {"PropertyBrowser", QAccessible::Grouping},
};

} // namespace

QAccessible::Role roleOfClass(const char* className)
{
    for (const ClassRole& r : kRoles)
        if (className && std::strcmp(r.className, className) == 0)
            return r.role;
    return QAccessible::Client;
}

QString spokenCaption(const std::string& caption)
{
    const QString text = QString::fromUtf8(caption.data(), qsizetype(caption.size()));
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                out += u'&', ++i;
            continue;
        }
        if (c == u'\\' && i + 1 < text.size() && text[i + 1] == u'n') {
            out += u'\n';
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

QString readableCommand(const std::string& command)
{
    const QString text = QString::fromUtf8(command.data(), qsizetype(command.size()));
    QString out;
    out.reserve(text.size() + 8);
    auto space = [&] {
        if (!out.isEmpty() && !out.endsWith(u' '))
            out += u' ';
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isSpace() || c == u'.' || c == u'_' || c == u'-' || c == u'/' || c == u':') {
            space();
            continue;
        }
        if (c.isUpper() && i > 0) {
            const QChar before = text[i - 1];
            const bool wordStarts = before.isLower() || before.isDigit() ||
                                    (before.isUpper() && i + 1 < text.size() && text[i + 1].isLower());
            if (wordStarts)
                space();
        }
        out += c;
    }
    return out.trimmed();
}

void ControlBase::describe(AccessFacts& facts) const
{
    const ClassRow* row = findClass(desc_.clsid);
    facts.role = roleOfClass(row ? row->className : nullptr);
    facts.name = spokenCaption(caption_);
    if (mnemonic_)
        facts.mnemonic = QChar(QLatin1Char(mnemonic_)).toUpper();
    // Controls that keep no enabled state of their own follow their window's.
    facts.enabled = !window() || window()->isEnabled();
}

QString ControlBase::spokenCommand(const CommandBinding& binding) const
{
    if (binding.registered())
        if (const auto labels = server_.as<ICommandLabel>(IID_ICommandLabel)) {
            com::Bstr label;
            if (labels->GetCommandLabel(binding.cookie(), label.put()) == S_OK && label.length())
                return QString::fromStdString(label.str());
        }
    return readableCommand(binding.text());
}

AccessFacts ControlBase::accessFacts() const
{
    AccessFacts facts;
    describe(facts);
    if (!facts.name.isEmpty())
        return facts;
    std::vector<const CommandBinding*> all{&command_};
    all.insert(all.end(), bindings_.begin(), bindings_.end());
    for (const CommandBinding* b : all) {
        facts.name = spokenCommand(*b);
        if (!facts.name.isEmpty())
            return facts;
    }
    if (const ClassRow* row = findClass(desc_.clsid))
        facts.name = QString::fromUtf8(row->description);
    return facts;
}

} // namespace vyr::controls
