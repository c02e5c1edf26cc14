#include "station/NoticeBoard.h"

#include <algorithm>

void NoticeBoard::Post(const Notice& notice)
{
    const auto same =
        std::find_if(notices_.begin(), notices_.end(), [&](const Notice& shown) { return shown.kind == notice.kind; });
    if (same == notices_.end()) {
        notices_.push_back(notice);
    } else {
        if (same->text == notice.text && same->details == notice.details && same->icon == notice.icon
            && same->title == notice.title)
            return;
        *same = notice;
    }
    emit changed();
}

void NoticeBoard::Clear(const QString& kind)
{
    const auto gone =
        std::remove_if(notices_.begin(), notices_.end(), [&](const Notice& shown) { return shown.kind == kind; });
    if (gone == notices_.end())
        return;
    notices_.erase(gone, notices_.end());
    emit changed();
}

void NoticeBoard::Notify(const QString& text, const QString& title, MessageIcon icon)
{
    Post(Notice{title + QChar(0) + text, text, QString(), icon, title});
}

const Notice* NoticeBoard::Find(const QString& kind) const
{
    const auto it =
        std::find_if(notices_.begin(), notices_.end(), [&](const Notice& shown) { return shown.kind == kind; });
    return it == notices_.end() ? nullptr : &*it;
}
