#include "controls/lists/entrycommand.h"
#include "platform/com/bstr.h"
#include <algorithm>

namespace vyr::controls::lists {

bool readEntryTexts(ICommandServer* server, LONG cookie, std::vector<std::string>& texts)
{
    texts.clear();
    LONG count = 0;
    if (FAILED(server->GetEntryCount(cookie, &count)))
        return false;
    count = std::clamp<LONG>(count, 0, kMaxEntries);
    texts.reserve(size_t(count));
    for (LONG i = 0; i < count; ++i) {
        com::Bstr text;
        if (FAILED(server->GetEntryText(cookie, i, text.put())))
            return false;
        texts.push_back(text.str());
    }
    return true;
}

void EntryCommand::read(ICommandServer* server, LONG cookie)
{
    VARIANT_BOOL enabled = VARIANT_FALSE;
    enabled_ = SUCCEEDED(server->GetCommandEnabled(cookie, &enabled)) && enabled;
    if (options_.visible) {
        LONG shown = 1;
        server->GetCommandVisible(cookie, &shown);
        visible_ = (shown & 0xFFFF) != 0;
    }
    std::vector<std::string> texts;
    const bool complete = readEntryTexts(server, cookie, texts);
    if (texts != entries_) {
        entries_ = std::move(texts);
        ++revision_;
    }
    if (!complete) {
        current_ = std::min(current_, int(entries_.size()) - 1);
        return;
    }
    LONG index = -1;
    if (FAILED(server->GetIndex(cookie, &index)) || index < 0 || index >= LONG(entries_.size()))
        index = -1;
    current_ = int(index);
    if (options_.text) {
        com::Bstr text;
        if (SUCCEEDED(server->GetText(cookie, text.put())))
            text_ = text.str();
        else
            text_ = current_ >= 0 ? entries_[size_t(current_)] : std::string();
        modified_ = false;
    }
}

void EntryCommand::unbind()
{
    enabled_ = false;
    visible_ = true;
    if (!entries_.empty()) {
        entries_.clear();
        ++revision_;
    }
    current_ = -1;
    text_.clear();
    modified_ = false;
}

bool EntryCommand::select(ICommandServer* server, LONG cookie, int index)
{
    if (!server || !cookie || index < 0 || index >= int(entries_.size()) || index == current_)
        return false;
    current_ = index;
    server->SelectEntry(cookie, index);
    return true;
}

HRESULT EntryCommand::activate(ICommandServer* server, LONG cookie, int index)
{
    if (!server || !cookie)
        return E_FAIL;
    if (index < 0 || index >= int(entries_.size()))
        return E_INVALIDARG;
    return server->ActivateEntry(cookie, index);
}

void EntryCommand::takeEntryText(int index)
{
    if (index < 0 || index >= int(entries_.size()))
        return;
    text_ = entries_[size_t(index)];
    modified_ = false;
}

bool EntryCommand::commitText(ICommandServer* server, LONG cookie, std::string windowText)
{
    if (!modified_)
        return false;
    modified_ = false;
    text_ = std::move(windowText);
    if (!server || !cookie)
        return false;
    server->SetText(cookie, com::Bstr(text_).get());
    return true;
}

} // namespace vyr::controls::lists
