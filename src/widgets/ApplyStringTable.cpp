#include "widgets/ApplyStringTable.h"

#include "resources/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVariant>
#include <QWidget>

namespace {

// The id a laid-out text names, or 0 when it is not a whole number above 0 with an entry.
// Such a text is left alone, which keeps separators and literal captions as they are.
int EntryId(const QString& text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    return (ok && id > 0 && HasResourceString(id)) ? id : 0;
}

int EntryId(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    return EntryId(value.toString());
}

void ApplyToolTip(QWidget* w)
{
    if (const int id = EntryId(w->toolTip()))
        w->setToolTip(ResourceText(id));
}

void ApplyCaption(QWidget* w, int id)
{
    const QString text = ResourceText(id);
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setTitle(text);
    else if (auto* menu = qobject_cast<QMenu*>(w))
        menu->setTitle(text);
    else
        w->setWindowTitle(text);
}

void CollectMenuActions(QMenu* menu, QSet<QAction*>& actions)
{
    if (!menu || actions.contains(menu->menuAction()))
        return;
    actions.insert(menu->menuAction());
    for (QAction* a : menu->actions()) {
        actions.insert(a);
        CollectMenuActions(a->menu(), actions);
    }
}

// Every action that the window shows: its children, the actions of every widget (menus, tool
// bars) and, through the menu bar, menus that belong to no one in the window.
QList<QAction*> WindowActions(QWidget* window)
{
    QSet<QAction*> actions;
    QList<QAction*> order;
    auto add = [&](QAction* a) {
        if (a && !actions.contains(a)) {
            actions.insert(a);
            order << a;
        }
    };
    for (QAction* a : window->findChildren<QAction*>())
        add(a);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    if (auto* main = qobject_cast<QMainWindow*>(window))
        if (QWidget* bar = main->menuWidget())
            widgets << bar;
    for (QWidget* w : widgets) {
        for (QAction* a : w->actions()) {
            QSet<QAction*> inMenu;
            add(a);
            if (a->menu()) {
                CollectMenuActions(a->menu(), inMenu);
                for (QAction* m : inMenu)
                    add(m);
            }
        }
        if (auto* menu = qobject_cast<QMenu*>(w))
            add(menu->menuAction());
    }
    return order;
}

void ApplyToTabs(QTabWidget* tabs)
{
    QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        if (const int id = EntryId(bar->tabData(i)))
            tabs->setTabText(i, ResourceText(id));
        if (const int id = EntryId(tabs->tabToolTip(i)))
            tabs->setTabToolTip(i, ResourceText(id));
    }
}

void ApplyToToolBar(QToolBar* bar)
{
    for (QAction* a : bar->actions())
        if (const int id = EntryId(a->toolTip()))
            a->setToolTip(ResourceText(id));
}

void ApplyToHeader(QTreeWidget* tree)
{
    QTreeWidgetItem* header = tree->headerItem();
    if (!header)
        return;
    for (int col = 0; col < header->columnCount(); ++col)
        if (const int id = EntryId(header->data(col, Qt::UserRole)))
            header->setText(col, ResourceText(id));
}

void ApplyToControl(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (const int id = EntryId(label->property("tag")))
            label->setText(ResourceText(id));
        ApplyToolTip(label);
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        ApplyToTabs(tabs);
    else if (auto* bar = qobject_cast<QToolBar*>(w))
        ApplyToToolBar(bar);
    else if (auto* tree = qobject_cast<QTreeWidget*>(w))
        ApplyToHeader(tree);

    if (const int id = EntryId(w->property("tag")))
        ApplyCaption(w, id);
    ApplyToolTip(w);
}

} // namespace

void ApplyStringTable(QWidget* window)
{
    if (!window)
        return;

    if (const int id = EntryId(window->property("tag")))
        window->setWindowTitle(ResourceText(id));
    ApplyToolTip(window);

    // Menu entries first: an action without a tooltip of its own shows its text as tooltip, so
    // the tool bar pass below then sees the replaced text rather than the id.
    for (QAction* a : WindowActions(window))
        if (const int id = EntryId(a->text()))
            a->setText(ResourceText(id));

    for (QWidget* w : window->findChildren<QWidget*>())
        ApplyToControl(w);
}
