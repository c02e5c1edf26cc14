#include "widgets/MenuTree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace {

void ApplyFlags(QAction* action, unsigned flags)
{
    action->setCheckable((flags & kMenuCheckable) != 0);
    action->setChecked((flags & kMenuChecked) != 0);
    action->setEnabled((flags & kMenuDisabled) == 0);
    action->setVisible((flags & kMenuHidden) == 0);
}

} // namespace

QHash<QString, QAction*> BuildMenuTree(QMenuBar* bar, std::span<const MenuRow> rows)
{
    QHash<QString, QAction*> actions;
    // open[l]: the menu that takes rows of level l + 1.
    std::vector<QMenu*> open;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MenuRow& row = rows[i];
        if (row.level < 0 || row.level > static_cast<int>(open.size()))
            continue; // a row without a parent menu: a broken table, skip it
        open.resize(row.level);
        const bool hasChildren = i + 1 < rows.size() && rows[i + 1].level == row.level + 1;
        const QString caption = QString::fromLatin1(row.caption);

        if (!row.name) {
            if (row.level > 0)
                open.back()->addSeparator();
            continue;
        }
        const QString name = QString::fromLatin1(row.name);
        QAction* action = nullptr;
        if (row.level == 0 || hasChildren) {
            QMenu* menu = row.level == 0 ? bar->addMenu(caption) : open.back()->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            open.push_back(menu);
        } else {
            action = open.back()->addAction(caption);
        }
        action->setObjectName(name);
        ApplyFlags(action, row.flags);
        if (action->isCheckable()) {
            // Connected first, so every command connected later sees the mark before the click.
            QObject::connect(action, &QAction::triggered, action,
                             [action](bool checked) { action->setChecked(!checked); });
        }
        actions.insert(name, action);
    }
    return actions;
}
