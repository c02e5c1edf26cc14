#include "widgets/ApplyStringTable.h"

#include "resources/StringTable.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QString Entry(int id)
{
    return ResourceText(id);
}

} // namespace

TEST(ApplyStringTable, MainWindowMenusAndCaption)
{
    QMainWindow window;
    window.setProperty("tag", QStringLiteral("1081"));
    window.setWindowTitle(QStringLiteral("layout caption"));

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("1001"));
    QAction* exit = file->addAction(QStringLiteral("1014"));
    QAction* literal = file->addAction(QStringLiteral("Print To Printer"));
    QAction* separator = file->addSeparator();
    QAction* noEntry = file->addAction(QStringLiteral("1012"));
    QMenu* sub = file->addMenu(QStringLiteral("1006"));
    QAction* template1 = sub->addAction(QStringLiteral("1007"));
    // An action that belongs to no one in the window, reached only through the menu bar.
    QAction orphan(QStringLiteral("1015"));
    sub->addAction(&orphan);

    ApplyStringTable(&window);

    EXPECT_EQ(window.windowTitle(), Entry(1081));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrane Tallion Systems LTD"));
    EXPECT_EQ(file->title(), QStringLiteral("&File"));
    EXPECT_EQ(file->menuAction()->text(), QStringLiteral("&File"));
    EXPECT_EQ(exit->text(), QStringLiteral("&Exit"));
    EXPECT_EQ(literal->text(), QStringLiteral("Print To Printer"));
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_EQ(noEntry->text(), QStringLiteral("1012"));
    EXPECT_EQ(sub->title(), QStringLiteral("&Template"));
    EXPECT_EQ(template1->text(), Entry(1007));
    EXPECT_EQ(orphan.text(), QStringLiteral("&Summary"));
}

TEST(ApplyStringTable, LabelsTakeTheirTag)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* connect = new QLabel(QStringLiteral("laid out"));
    connect->setProperty("tag", QStringLiteral("1099"));
    auto* emptyTag = new QLabel(QStringLiteral("empty tag"));
    emptyTag->setProperty("tag", QString());
    auto* wordTag = new QLabel(QStringLiteral("word tag"));
    wordTag->setProperty("tag", QStringLiteral("Link"));
    auto* noTag = new QLabel(QStringLiteral("no tag"));
    auto* intTag = new QLabel(QStringLiteral("int tag"));
    intTag->setProperty("tag", 1100);
    auto* missing = new QLabel(QStringLiteral("missing entry"));
    missing->setProperty("tag", QStringLiteral("1012"));
    for (QLabel* l : {emptyTag, wordTag, connect, noTag, missing, intTag})
        layout->addWidget(l);

    ApplyStringTable(&window);

    EXPECT_EQ(connect->text(), QStringLiteral("Connect Probe"));
    EXPECT_EQ(emptyTag->text(), QStringLiteral("empty tag"));
    EXPECT_EQ(wordTag->text(), QStringLiteral("word tag"));
    EXPECT_EQ(noTag->text(), QStringLiteral("no tag"));
    EXPECT_EQ(missing->text(), QStringLiteral("missing entry"));
    EXPECT_EQ(intTag->text(), QStringLiteral("Probe is Connected"));
    // A window without a tag keeps its caption.
    EXPECT_TRUE(window.windowTitle().isEmpty());
}

TEST(ApplyStringTable, OtherControlsTakeTagAndToolTip)
{
    QWidget window;
    window.setProperty("tag", 1106);
    auto* layout = new QVBoxLayout(&window);
    auto* box = new QGroupBox(QStringLiteral("box"));
    box->setProperty("tag", QStringLiteral("1082"));
    auto* button = new QPushButton(QStringLiteral("button"));
    button->setProperty("tag", QStringLiteral("1099"));
    button->setToolTip(QStringLiteral("1152"));
    auto* literal = new QPushButton(QStringLiteral("Close"));
    literal->setToolTip(QStringLiteral("just a tip"));
    auto* zero = new QPushButton(QStringLiteral("zero"));
    zero->setProperty("tag", QStringLiteral("0"));
    zero->setToolTip(QStringLiteral("0"));
    auto* plain = new QWidget;
    plain->setToolTip(QStringLiteral("1152"));
    auto* label = new QLabel(QStringLiteral("lamp"));
    label->setToolTip(QStringLiteral("1080"));
    for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(button), static_cast<QWidget*>(literal),
                       static_cast<QWidget*>(zero), plain, static_cast<QWidget*>(label)})
        layout->addWidget(w);

    ApplyStringTable(&window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tallion Tool"));
    EXPECT_EQ(box->title(), QStringLiteral("Link"));
    EXPECT_EQ(button->text(), QStringLiteral("Connect Probe"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Serial port to probe"));
    EXPECT_EQ(literal->text(), QStringLiteral("Close"));
    EXPECT_EQ(literal->toolTip(), QStringLiteral("just a tip"));
    EXPECT_EQ(zero->text(), QStringLiteral("zero"));
    EXPECT_EQ(zero->toolTip(), QStringLiteral("0"));
    EXPECT_EQ(plain->toolTip(), QStringLiteral("Serial port to probe"));
    EXPECT_EQ(label->toolTip(), Entry(1080));
}

TEST(ApplyStringTable, TabsToolBarAndListHeader)
{
    QMainWindow window;
    auto* tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("t0"));
    tabs->addTab(new QWidget, QStringLiteral("t1"));
    tabs->addTab(new QWidget, QStringLiteral("t2"));
    tabs->tabBar()->setTabData(0, 1082);
    tabs->setTabToolTip(0, QStringLiteral("1080"));
    tabs->tabBar()->setTabData(1, 1083);
    tabs->setTabToolTip(1, QStringLiteral("not a number"));
    // Tab 2: no data, no tooltip.

    auto* tree = new QTreeWidget;
    tree->setColumnCount(3);
    tree->setHeaderLabels({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    tree->headerItem()->setData(0, Qt::UserRole, 1083);
    tree->headerItem()->setData(1, Qt::UserRole, QStringLiteral("1084"));

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(tabs);
    layout->addWidget(tree);
    window.setCentralWidget(central);

    QToolBar* bar = window.addToolBar(QStringLiteral("tools"));
    QAction* open = bar->addAction(QStringLiteral("open"));
    open->setToolTip(QStringLiteral("1086"));
    QAction* plain = bar->addAction(QStringLiteral("plain"));

    ApplyStringTable(&window);

    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Link"));
    EXPECT_EQ(tabs->tabToolTip(0), Entry(1080));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Rx"));
    EXPECT_EQ(tabs->tabToolTip(1), QStringLiteral("not a number"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("t2"));

    EXPECT_EQ(tree->headerItem()->text(0), QStringLiteral("Rx"));
    EXPECT_EQ(tree->headerItem()->text(1), QStringLiteral("Tx"));
    EXPECT_EQ(tree->headerItem()->text(2), QStringLiteral("c"));

    EXPECT_EQ(open->toolTip(), QStringLiteral("Open/Change Com Port"));
    EXPECT_EQ(open->text(), QStringLiteral("open"));
    EXPECT_EQ(plain->toolTip(), QStringLiteral("plain"));
}

TEST(ApplyStringTable, NullWindowIsIgnored)
{
    ApplyStringTable(nullptr);
}
