#include "MainWindowFixture.h"

#include "mainwindow/MainMenuRows.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <span>
#include <string>
#include <vector>

using MainWindowMenus = MainWindowFixture;

namespace {

// The menu an action sits in (its submenu's parent for a submenu), by objectName.
QString ParentMenu(QAction* action)
{
    for (QObject* o : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(o); menu && menu->menuAction() != action)
            return menu->objectName();
        if (qobject_cast<QMenuBar*>(o))
            return QStringLiteral("menuBar");
    }
    return QString();
}

// A menu's entries in order, by name; "-" for a separator.
QStringList Entries(QAction* menuAction)
{
    QStringList names;
    if (!menuAction || !menuAction->menu())
        return names;
    for (QAction* a : menuAction->menu()->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

// Each named row's parent: the nearest row before it one level up ("menuBar" for level 0).
QHash<QString, QString> TableParents()
{
    QHash<QString, QString> parents;
    std::vector<QString> open; // open[l]: the last named row of level l
    for (const MenuRow& row : MainMenuRows()) {
        open.resize(row.level);
        if (!row.name)
            continue;
        const QString name = QString::fromLatin1(row.name);
        parents.insert(name, row.level == 0 ? QStringLiteral("menuBar") : open.back());
        open.push_back(name);
    }
    return parents;
}

// Every named action of a menu bar, submenus included.
QList<QAction*> NamedActions(QMenuBar* bar)
{
    QList<QAction*> named;
    QList<QAction*> pending = bar->actions();
    while (!pending.isEmpty()) {
        QAction* a = pending.takeFirst();
        if (!a->isSeparator())
            named << a;
        if (a->menu())
            pending << a->menu()->actions();
    }
    return named;
}

QStringList Names(const QList<QAction*>& actions, bool (*keep)(QAction*))
{
    QStringList names;
    for (QAction* a : actions) {
        if (keep(a))
            names << a->objectName();
    }
    names.sort();
    return names;
}

} // namespace

TEST(MenuTree, StationTableIsSound)
{
    QSet<QString> names;
    int previousLevel = -1;
    for (const MenuRow& row : MainMenuRows()) {
        SCOPED_TRACE(row.name ? row.name : "separator");
        // A row goes at most one level deeper than the row before it, or it has no menu to sit in.
        EXPECT_LE(row.level, previousLevel + 1);
        previousLevel = row.level;
        ASSERT_NE(row.caption, nullptr);
        EXPECT_NE(std::string(row.caption), "");
        if (!row.name) {
            EXPECT_GT(row.level, 0) << "a separator on the menu bar";
            EXPECT_EQ(row.flags, 0u);
            continue;
        }
        EXPECT_FALSE(names.contains(QString::fromLatin1(row.name))) << "a name used twice";
        names.insert(QString::fromLatin1(row.name));
        // Only a checkable entry can start ticked.
        EXPECT_TRUE(!(row.flags & kMenuChecked) || (row.flags & kMenuCheckable));
    }
    EXPECT_GT(names.size(), 0);
}

TEST_F(MainWindowMenus, WindowMenuFollowsTheTable)
{
    Make();
    const QHash<QString, QString> parents = TableParents();
    const QList<QAction*> named = NamedActions(window->menuBar());
    // No entry beyond the table, none missing.
    EXPECT_EQ(named.size(), parents.size());
    for (const MenuRow& row : MainMenuRows()) {
        if (!row.name)
            continue;
        SCOPED_TRACE(row.name);
        QAction* a = Menu(row.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(ParentMenu(a), parents.value(QString::fromLatin1(row.name)));
        EXPECT_EQ(a->isCheckable(), (row.flags & kMenuCheckable) != 0);
        // Every string-table id has become its text.
        bool isNumber = false;
        a->text().toInt(&isNumber);
        EXPECT_FALSE(isNumber) << a->text().toStdString();
        EXPECT_FALSE(a->text().isEmpty());
        // A hidden action reads as disabled; its own state shows once it is made visible.
        const bool hidden = !a->isVisible();
        a->setVisible(true);
        EXPECT_EQ(a->isEnabled(), !(row.flags & kMenuDisabled));
        a->setVisible(!hidden);
    }
}

TEST_F(MainWindowMenus, StatesAndCaptionsAfterStartUp)
{
    Make();
    const QList<QAction*> named = NamedActions(window->menuBar());
    // Weighing is off at start-up, so its menus are hidden with the scale models not offered.
    EXPECT_EQ(Names(named, [](QAction* a) { return !a->isVisible(); }),
              QStringList({"mnuDel", "mnuEV2000", "mnuEncrypFirmware", "mnuSEUROP", "mnuTU9000", "mnuView", "mnuWP",
                           "mnuWeightGeneric", "mnuWgtCom", "mnuWgtMan", "mnuWgtNon", "mnuWgtWed"}));
    // The template, the sequence, the weight source and the analysis type each start on one entry.
    EXPECT_EQ(Names(named, [](QAction* a) { return a->isChecked(); }),
              QStringList({"mnuAnal1", "mnuD3", "mnuWbP", "mnuWgtNon"}));
    for (QAction* a : named)
        a->setVisible(true);
    EXPECT_EQ(Names(named, [](QAction* a) { return !a->isEnabled(); }),
              QStringList({"mnuDel", "mnuEncrypFirmware", "mnuFind", "mnuSEUROP", "mnuView"}));

    const struct {
        const char* name;
        const char* text;
    } captions[] = {
        {"mnuFile", "&File"},
        {"mnuSim", "&Settings"},
        {"mnuCmd", "&Command-To-Probe"},
        {"mnuHlp", "&Help"},
        {"mnuD3", "&3: Time, Date, Carcass#, Type, Fat1, Fat2, Meat, Meat%, Class, Quality"},
        {"mnuhamcolour", "&10: Ham Colour Number"},
        {"mnuDel", "Delete"},
        {"mnuTenso", "Tenso"},
        {"mnuShowCC", "Show Current Carcass window"},
        {"mnuRTPrint", "Print To Printer"},
        {"mnuServiceInfo", "Retrive &Service Information"},
        {"mnuEncrypFirmware", "Encrypt HEX file "},
    };
    for (const auto& c : captions)
        EXPECT_EQ(Menu(c.name)->text(), QString::fromLatin1(c.text)) << c.name;
}

TEST_F(MainWindowMenus, EveryMenuShowsItsRowsInOrderAndEveryCommandIsWired)
{
    Make();
    const std::span<const MenuRow> rows = MainMenuRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].name || i + 1 == rows.size() || rows[i + 1].level != rows[i].level + 1)
            continue;
        SCOPED_TRACE(rows[i].name);
        // The rows one level below, up to the next row at this menu's level or above.
        QStringList table;
        for (size_t j = i + 1; j < rows.size() && rows[j].level > rows[i].level; ++j) {
            if (rows[j].level == rows[i].level + 1)
                table << (rows[j].name ? QString::fromLatin1(rows[j].name) : QStringLiteral("-"));
        }
        QAction* menu = window->MenuAction(QString::fromLatin1(rows[i].name));
        EXPECT_EQ(Entries(menu), table);
    }
    QStringList bar;
    for (QAction* a : window->menuBar()->actions())
        bar << a->objectName();
    EXPECT_EQ(bar, QStringList({"mnuFile", "mnuViewKeys", "mnuSim", "mnuCmd", "mnuHlp"}));

    // Choosing an entry that is no menu runs a command. (A checkable entry always has one
    // connection, the one that keeps its mark for the command to set, so only the others show.)
    // Seen by taking the connections apart: the window is not used after this.
    for (QAction* a : NamedActions(window->menuBar())) {
        if (!a->menu() && !a->isCheckable()) {
            EXPECT_TRUE(QObject::disconnect(a, &QAction::triggered, nullptr, nullptr))
                << a->objectName().toStdString() << " does nothing";
        }
    }
}

TEST(MenuTree, BuildsNestedMenusAndLeavesCheckMarksToCommands)
{
    const MenuRow rows[] = {
        {0, "top", "1001", 0},
        {1, "plain", "Plain", 0},
        {1, nullptr, "-", 0},
        {1, "sub", "Sub", 0},
        {2, "ticked", "Ticked", kMenuCheckable | kMenuChecked},
        {2, "unticked", "Unticked", kMenuCheckable},
        {1, "after", "After", kMenuDisabled},
        {3, "orphan", "No parent at this depth", 0},
        {0, "second", "Second", kMenuHidden},
    };
    QMenuBar bar;
    const QHash<QString, QAction*> actions = BuildMenuTree(&bar, rows);

    EXPECT_EQ(actions.size(), 7);
    EXPECT_FALSE(actions.contains(QStringLiteral("orphan")));
    EXPECT_EQ(Entries(actions.value("top")), QStringList({"plain", "-", "sub", "after"}));
    EXPECT_EQ(Entries(actions.value("sub")), QStringList({"ticked", "unticked"}));
    EXPECT_EQ(actions.value("top")->text(), QStringLiteral("1001")); // ids stay until applied
    EXPECT_EQ(actions.value("sub")->menu()->objectName(), QStringLiteral("sub"));
    EXPECT_FALSE(actions.value("after")->isEnabled());
    EXPECT_FALSE(actions.value("second")->isVisible());

    // A command connected after building sees the mark as it was before the click.
    bool seenBefore = false;
    QObject::connect(actions.value("unticked"), &QAction::triggered,
                     [&] { seenBefore = actions.value("unticked")->isChecked(); });
    actions.value("ticked")->trigger();
    actions.value("unticked")->trigger();
    EXPECT_TRUE(actions.value("ticked")->isChecked());
    EXPECT_FALSE(actions.value("unticked")->isChecked());
    EXPECT_FALSE(seenBefore);
}
