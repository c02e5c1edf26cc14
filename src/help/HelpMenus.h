#pragma once
// The Help menu: the user manual through the desktop, and the About box.

#include <QObject>
#include <QString>
#include <functional>

class OperatorDialogs;
class QAction;

class HelpMenus : public QObject {
    Q_OBJECT
public:
    // A menu entry by its station name; nullptr when there is none.
    using MenuLookup = std::function<QAction*(const QString& name)>;

    HelpMenus(OperatorDialogs& dialogs, const MenuLookup& menus, QObject* parent = nullptr);

private:
    void OpenUserManual();
    void ShowAbout();

    OperatorDialogs& dialogs_;
};
