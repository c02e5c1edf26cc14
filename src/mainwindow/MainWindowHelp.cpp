// The Help menu: the user manual through the desktop, and the About box.

#include "mainwindow/MainWindowCommandMenus.h"

#include "help/AboutText.h"
#include "help/UserManualPath.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void OpenUserManual(MainWindow& form)
{
    // The desktop only says whether it managed; the file's own state tells the operator why not.
    const QString path = UserManualPath(QDir::currentPath(), QCoreApplication::applicationDirPath());
    const QFileInfo manual(path);
    std::optional<ManualOpenFailure> failure;
    if (!manual.exists())
        failure = ManualOpenFailure::NotFound;
    else if (!manual.isReadable())
        failure = ManualOpenFailure::AccessDenied;
    else if (!form.dialogs().OpenDocument(path))
        failure = ManualOpenFailure::NoAssociation;
    if (failure)
        form.dialogs().Message(Latin1(ManualOpenFailureText(*failure)), QString::fromLatin1(kManualErrorTitle),
                               MessageIcon::Exclamation, MessageButtons::Ok);
}

void ShowAbout(MainWindow& form)
{
    QString text = Latin1(AboutText());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    form.dialogs().Message(text, ResourceText(1106), MessageIcon::None, MessageButtons::Ok);
}

} // namespace

void WireHelpMenus(MainWindow& form)
{
    if (QAction* manual = form.MenuAction(QStringLiteral("mnuHlpInfo")))
        QObject::connect(manual, &QAction::triggered, &form, [&form] { OpenUserManual(form); });
    if (QAction* about = form.MenuAction(QStringLiteral("mnuAbt")))
        QObject::connect(about, &QAction::triggered, &form, [&form] { ShowAbout(form); });
}
