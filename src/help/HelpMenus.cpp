// The Help menu: the user manual through the desktop, and the About box.

#include "help/HelpMenus.h"

#include "resources/AboutText.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "resources/UserManualPath.h"
#include "widgets/OperatorDialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

HelpMenus::HelpMenus(OperatorDialogs& dialogs, const MenuLookup& menus, QObject* parent)
    : QObject(parent)
    , dialogs_(dialogs)
{
    if (QAction* manual = menus(QStringLiteral("mnuHlpInfo")))
        connect(manual, &QAction::triggered, this, &HelpMenus::OpenUserManual);
    if (QAction* about = menus(QStringLiteral("mnuAbt")))
        connect(about, &QAction::triggered, this, &HelpMenus::ShowAbout);
}

void HelpMenus::OpenUserManual()
{
    // The desktop only says whether it managed; the file's own state tells the operator why not.
    const QString path = UserManualPath(QDir::currentPath(), QCoreApplication::applicationDirPath());
    const QFileInfo manual(path);
    std::optional<ManualOpenFailure> failure;
    if (!manual.exists())
        failure = ManualOpenFailure::NotFound;
    else if (!manual.isReadable())
        failure = ManualOpenFailure::AccessDenied;
    else if (!dialogs_.OpenDocument(path))
        failure = ManualOpenFailure::NoAssociation;
    if (failure)
        dialogs_.Message(Latin1(ManualOpenFailureText(*failure)), QString::fromLatin1(kManualErrorTitle),
                         MessageIcon::Exclamation, MessageButtons::Ok);
}

void HelpMenus::ShowAbout()
{
    QString text = Latin1(AboutText());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    dialogs_.Message(text, ResourceText(StringId::ProgramName), MessageIcon::None, MessageButtons::Ok);
}
