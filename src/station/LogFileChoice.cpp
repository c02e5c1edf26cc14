#include "station/LogFileChoice.h"

#include "probe/ProbeLink.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "station/OperatorQuestions.h"
#include "station/ResultLog.h"

#include <cstring>
#include <fcntl.h>

namespace {

// Sets the probe's carcass counter to 001.
constexpr const char* kCounterResetCommand = "3000001";

QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(-error));
}

} // namespace

LogFileChoice::LogFileChoice(ResultLog& log, SettingsStore& settings, ProbeLink& link, LogFileSystem& fileSystem,
                             QObject* parent)
    : QObject(parent)
    , log_(log)
    , settings_(settings)
    , link_(link)
    , fileSystem_(fileSystem)
{}

LogFileOpening LogFileChoice::Open(const std::string& path)
{
    const int exists = fileSystem_.Exists(path);
    if (exists < 0)
        return {LogFileOutcome::LookUpFailed, ErrorText(exists)};

    log_.SetLogFilePath(path);
    emit logFileChanged();
    settings_.WriteSetting("Properties", "LogFilePath", SettingsStore::TextFromPath(path));
    if (exists)
        return {LogFileOutcome::Existing, QString()};

    // Created empty, its folder entry made durable like the writer's new files; the header line
    // comes with the first record.
    int result = fileSystem_.Open(path, O_WRONLY | O_CREAT);
    if (result >= 0) {
        fileSystem_.Close(result);
        result = fileSystem_.SyncFolder(FolderOf(path));
    }
    if (result < 0) {
        log_.SetLogFilePath({});
        return {LogFileOutcome::NotCreated, ErrorText(result)};
    }
    return {LogFileOutcome::Created, QString()};
}

void LogFileChoice::OfferCounterReset(OperatorQuestions& questions)
{
    if (link_.probeLinkAlive()
        && questions.Message(ResourceText(StringId::ResetCounterQuestion), ResourceText(StringId::ResetCarcassCounter),
                             MessageIcon::Question, MessageButtons::YesNoSafe)
               == MessageAnswer::Yes) {
        link_.QueueProbeCommand(kCounterResetCommand);
    }
}
