#include "help/ServiceReportSave.h"

#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/ReplaceFile.h"
#include "widgets/OperatorDialogs.h"

#include <QFile>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void SaveServiceReport(OperatorDialogs& dialogs, const std::string& report)
{
    for (;;) {
        const auto chosen =
            dialogs.SaveFile(QStringLiteral("save service information"), QStringLiteral("*.txt|*.txt|"), QString());
        if (!chosen)
            return;
        const QString& path = *chosen;
        const std::string fsPath = QFile::encodeName(path).toStdString();
        const QString failureTitle = QStringLiteral(" save to ") + path;

        std::string error;
        const auto exists = PathExists(fsPath, error);
        if (!exists) {
            dialogs.Message(Latin1(error), failureTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            return;
        }
        if (*exists) {
            const MessageAnswer answer = dialogs.Message(QStringLiteral("Overwrite") + path + QLatin1Char('?'),
                                                         ResourceText(StringId::ProgramName), MessageIcon::Question,
                                                         MessageButtons::YesNoCancel);
            if (answer == MessageAnswer::Cancel)
                continue;
            if (answer != MessageAnswer::Yes)
                return; // No: the file stays as it is
        }
        if (const auto failure = ReplaceFile(fsPath, report))
            dialogs.Message(Latin1(*failure), failureTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
}
