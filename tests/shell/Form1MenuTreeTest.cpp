#include "Form1Fixture.h"

#include "shell/MenuTree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using Form1Menus = Form1Fixture;

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

} // namespace

TEST_F(Form1Menus, CaptionsAndStatesAfterStartUp)
{
    enum : unsigned { Hidden = 1, Disabled = 2, Checkable = 4, Ticked = 8 };
    struct Row {
        const char* name;
        const char* parent;
        const char* text;
        unsigned state;
    };
    // Written out from the station's menu table, with the string table's texts.
    // clang-format off
    const Row rows[] = {
        {"mnuFile", "menuBar", "&File", 0},
        {"mnuLog", "mnuFile", "&Log to File", 0},
        {"mnuSummary", "mnuFile", "&Summary", Checkable},
        {"mnuFind", "mnuFile", "&Find", Disabled},
        {"mnuDel", "mnuFile", "Delete", Disabled | Hidden},
        {"mnuPrint", "mnuFile", "&Print", 0},
        {"mnuView", "mnuFile", "&View log file", Disabled | Hidden | Checkable},
        {"mnuDis", "mnuFile", "&Template", 0},
        {"mnuD1", "mnuDis", "&1: Time, Date, Carcass#, Type, Fat, Meat, Meat%", Checkable},
        {"mnuD2", "mnuDis", "&2: Time, Date, Carcass#, Type, Fat, Meat, Meat%, Class, Quality", Checkable},
        {"mnuD3", "mnuDis", "&3: Time, Date, Carcass#, Type, Fat1, Fat2, Meat, Meat%, Class, Quality", Checkable | Ticked},
        {"mnuD4", "mnuDis", "&4: Time, Date, Carcass#, Type, Fat1, Meat, Meat%, Class, Quality", Checkable},
        {"mnuD5", "mnuDis", "&5: Time, Date, Carcass#, Type, Fat1, Fat2, Meat, Meat%, Class, Quality", Checkable},
        {"mnuD6", "mnuDis", "&6: Time, Date, Carcass#, Type, Fat1, Meat, Meat%, Class, Colour#  n/g, Marble  n/g, PSE  n/g", Checkable},
        {"mnuD7", "mnuDis", "&7: Time, Date, Carcass#, Type, Fat1, Fat2, Meat, Meat%, Class, Colour  n/g, Marble  n/g, PSE  n/g", Checkable},
        {"mnuD8", "mnuDis", "&8: Time, Date, Carcass#, Type, Fat, Meat, Meat%, Class, Colour n/g, Marble n/g, PSE n/g, Serial#", Checkable},
        {"mnuD9", "mnuDis", "&9: Time, Date, Carcass#, Type, Fat1, Fat2, Meat1, Meat2, Meat%, Class, Colour n/g, Marble n/g, PSE n/g, Serial#", Checkable},
        {"mnuhamcolour", "mnuDis", "&10: Ham Colour Number", Checkable},
        {"mnuExit", "mnuFile", "&Exit", 0},
        {"mnuSim", "menuBar", "&Settings", 0},
        {"mnuWP", "mnuSim", "&Sequence", Hidden},
        {"mnuWbP", "mnuWP", "&Weight Before Probe", Checkable | Ticked},
        {"mnuPbW", "mnuWP", "&Probe Before Weight", Checkable},
        {"mnuSEUROP", "mnuSim", "Meat &Class", Disabled | Hidden},
        {"mnuSEU", "mnuSEUROP", "&SEUROP", 0},
        {"mnuEU", "mnuSEUROP", "&EUROP", 0},
        {"mnuPrb", "mnuSim", "&Probe Serial Port", 0},
        {"mnuWgtCom", "mnuSim", "&Weight", Hidden},
        {"mnuWgtEqu", "mnuWgtCom", "&Use LM% Equation", Checkable},
        {"mnuWgtNon", "mnuWgtCom", "&No Weight", Hidden | Checkable | Ticked},
        {"mnuWgtMan", "mnuWgtCom", "&Manual Input", Hidden | Checkable},
        {"mnuWgtTOL", "mnuWgtCom", "&Mettler-Toledo", Checkable},
        {"mnuWgtWed", "mnuWgtCom", "&Wedderburn", Hidden | Checkable},
        {"mnuEV2000", "mnuWgtCom", "&EV2000", Hidden | Checkable},
        {"mnuTU9000", "mnuWgtCom", "&TU9000", Hidden | Checkable},
        {"mnuD410", "mnuWgtCom", "&D410", Checkable},
        {"mnuTE1000L", "mnuWgtCom", "&TE1000L", Checkable},
        {"mnuWeightGeneric", "mnuWgtCom", "&Generic", Hidden | Checkable},
        {"mnuTenso", "mnuWgtCom", "Tenso", Checkable},
        {"mnuShowCC", "mnuSim", "Show Current Carcass window", 0},
        {"mnuRTPrint", "mnuSim", "Print To Printer", Checkable},
        {"mnuCmd", "menuBar", "&Command-To-Probe", 0},
        {"mnuDT", "mnuCmd", "Probe &Display Test", 0},
        {"mnuTime", "mnuCmd", "&Time and Date", 0},
        {"mnuCounter", "mnuCmd", "Carcass Counte&r", 0},
        {"mnuCntClr", "mnuCounter", "&Set to", 0},
        {"mnuCntInc", "mnuCounter", "&Increment Counter", 0},
        {"mnuCntDec", "mnuCounter", "&Decrement Counter", 0},
        {"mnuRZ24", "mnuCmd", "RZ2/RZ4 switch", 0},
        {"mnuRZ2on", "mnuRZ24", "RZ2 mode (I0)", 0},
        {"mnuRZ4on", "mnuRZ24", "RZ4 mode (I1)", 0},
        {"mnuRZ47", "mnuCmd", "RZ4/RZ7 switch", 0},
        {"mnuRZ4on2", "mnuRZ47", "RZ4 mode (K0)", 0},
        {"mnuRZ7on", "mnuRZ47", "RZ7 mode (K1)", 0},
        {"mnuQuality", "mnuCmd", "Quality", 0},
        {"mnuQualityOff", "mnuQuality", "Quality data off (A0)", 0},
        {"mnuQualityOn", "mnuQuality", "Quality data on (A1)", 0},
        {"mnuCalibration", "mnuCmd", "Colour Calibration", 0},
        {"mnuLan", "mnuCmd", "&Language", 0},
        {"mnuL00", "mnuLan", "&0: English", 0},
        {"mnuL01", "mnuLan", "&1: Option", 0},
        {"mnuL02", "mnuLan", "&2: Option", 0},
        {"mnuL03", "mnuLan", "&3: Option", 0},
        {"mnuL04", "mnuLan", "&4: Option", 0},
        {"mnuL05", "mnuLan", "&5: Option", 0},
        {"mnul06", "mnuLan", "&6: Option", 0},
        {"mnul07", "mnuLan", "&7: Option", 0},
        {"mnul08", "mnuLan", "&8: Option", 0},
        {"mnuAnal", "mnuCmd", "&Analysis Type", 0},
        {"mnuAnal0", "mnuAnal", "Calibration with &Testblock (&0)", Checkable},
        {"mnuAnal4", "mnuAnal", "Calibration with &Solution (&4)", Checkable},
        {"mnuAnal5", "mnuAnal", "Colour Number (&5)", Checkable},
        {"mnuAnal1", "mnuAnal", "Analysis Type &1", Checkable | Ticked},
        {"mnuAnal2", "mnuAnal", "Analysis Type &2", Checkable},
        {"mnuAnal3", "mnuAnal", "Analysis Type &3", Checkable},
        {"mnuAnal6", "mnuAnal", "Analysis Type &6", Checkable},
        {"mnuAnal7", "mnuAnal", "Analysis Type &7", Checkable},
        {"mnuAnal8", "mnuAnal", "Analysis Type &8", Checkable},
        {"mnuAnal9", "mnuAnal", "Analysis Type &9", Checkable},
        {"mnuClassSumDump", "mnuCmd", "Class Su&mmary Dump", 0},
        {"Retrieve_M_Store", "mnuCmd", "Retrie&ve Measurement Store", 0},
        {"Clear_M_Store", "mnuCmd", "&Clear Measurement Store", 0},
        {"mnuProbeHealth", "mnuCmd", "Probe Health (reserved)", 0},
        {"mnuRenewFirm", "mnuCmd", "Update Firmware", 0},
        {"mnuServiceInfo", "mnuCmd", "Retrive &Service Information", 0},
        {"mnuEncrypFirmware", "mnuCmd", "Encrypt HEX file ", Disabled | Hidden},
        {"mnuHlp", "menuBar", "&Help", 0},
        {"mnuHlpInfo", "mnuHlp", "User Manual", 0},
        {"mnuAbt", "mnuHlp", "&About", 0},
    };
    // clang-format on

    Make();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QAction* a = Menu(r.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->objectName(), QString::fromLatin1(r.name));
        EXPECT_EQ(ParentMenu(a), QString::fromLatin1(r.parent));
        EXPECT_EQ(a->text(), QString::fromLatin1(r.text));
        EXPECT_EQ(a->isVisible(), !(r.state & Hidden));
        // A hidden action reads as disabled; its own state shows once it is made visible.
        const bool hidden = !a->isVisible();
        a->setVisible(true);
        EXPECT_EQ(a->isEnabled(), !(r.state & Disabled));
        a->setVisible(!hidden);
        EXPECT_EQ(a->isCheckable(), (r.state & Checkable) != 0);
        EXPECT_EQ(a->isChecked(), (r.state & Ticked) != 0);
    }
    // No entry beyond the table.
    int named = 0;
    for (QAction* top : window->menuBar()->actions()) {
        QList<QAction*> pending{top};
        while (!pending.isEmpty()) {
            QAction* a = pending.takeFirst();
            if (!a->isSeparator())
                ++named;
            if (a->menu())
                pending << a->menu()->actions();
        }
    }
    EXPECT_EQ(named, static_cast<int>(std::size(rows)));
}

TEST_F(Form1Menus, EntriesAndSeparatorsInOrder)
{
    Make();
    struct Menu {
        const char* name;
        QStringList entries;
    };
    // clang-format off
    const Menu menus[] = {
        {"mnuFile", {"mnuLog", "-", "mnuSummary", "mnuFind", "mnuDel", "mnuPrint", "-", "mnuView",
                     "mnuDis", "-", "mnuExit"}},
        {"mnuSim", {"mnuWP", "mnuSEUROP", "mnuPrb", "mnuWgtCom", "mnuShowCC", "mnuRTPrint"}},
        {"mnuWgtCom", {"mnuWgtEqu", "-", "mnuWgtNon", "mnuWgtMan", "mnuWgtTOL", "mnuWgtWed",
                       "mnuEV2000", "mnuTU9000", "mnuD410", "mnuTE1000L", "mnuWeightGeneric",
                       "mnuTenso"}},
        {"mnuCmd", {"mnuDT", "mnuTime", "mnuCounter", "-", "mnuRZ24", "mnuRZ47", "mnuQuality",
                    "mnuCalibration", "-", "mnuLan", "mnuAnal", "-", "mnuClassSumDump",
                    "Retrieve_M_Store", "Clear_M_Store", "mnuProbeHealth", "-", "mnuRenewFirm",
                    "-", "mnuServiceInfo", "mnuEncrypFirmware"}},
        {"mnuAnal", {"mnuAnal0", "mnuAnal4", "mnuAnal5", "-", "mnuAnal1", "mnuAnal2", "mnuAnal3",
                     "-", "mnuAnal6", "mnuAnal7", "mnuAnal8", "mnuAnal9"}},
        {"mnuHlp", {"mnuHlpInfo", "mnuAbt"}},
    };
    // clang-format on
    for (const Menu& m : menus)
        EXPECT_EQ(Entries(window->MenuAction(QString::fromLatin1(m.name))), m.entries) << m.name;
    QStringList bar;
    for (QAction* a : window->menuBar()->actions())
        bar << a->objectName();
    EXPECT_EQ(bar, QStringList({"mnuFile", "mnuSim", "mnuCmd", "mnuHlp"}));
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
