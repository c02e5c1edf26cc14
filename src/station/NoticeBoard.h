#pragma once
// The station's notices as a list the main window shows in one strip: at most one notice of each
// kind (a newer one replaces the older), and a notice goes when the state it tells of is over.
// No widgets: the core, the database part and the windows post to it; the strip only draws it.

#include "probe/OperatorNotices.h"

#include <QObject>
#include <QString>

#include <vector>

class NoticeBoard : public QObject, public OperatorNotices {
    Q_OBJECT
public:
    using QObject::QObject;

    // Shows a notice of `kind`, in place of the one of that kind shown before (which keeps its
    // place in the list); the same notice again changes nothing.
    void Post(const Notice& notice) override;
    // The state the notice of `kind` told of is over (or the operator closed it).
    void Clear(const QString& kind) override;
    // A one-off message: its kind is its title and text, so that a repeat shows once.
    void Notify(const QString& text, const QString& title, MessageIcon icon) override;

    // Oldest first.
    const std::vector<Notice>& notices() const { return notices_; }
    const Notice* Find(const QString& kind) const;

signals:
    void changed();

private:
    std::vector<Notice> notices_;
};
