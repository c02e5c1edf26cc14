// Opens the plant database's outbox journal from arbitrary bytes, as a crash, a full disk or a
// hand beside the log may leave it, and drains it as the publisher does.
//
// Input: pieces separated by 0xFF: the journal's bytes, the cursor's bytes, the log's bytes.
//
// Checks: the journal always opens (a damaged one is set aside and the log compared with the
// server, never cut or refused); unless that comparison is owed, the publisher's batches hand
// out exactly the waiting count, each event once and in rising order; after the drain nothing
// waits, also after a restart.

#include "FuzzInput.h"

#include "database/OutboxJournal.h"

#include <QDir>

#include <cstdlib>
#include <fstream>
#include <string>

using fuzz::Check;

namespace {

const std::string& Folder()
{
    static const std::string folder = [] {
        char name[] = "/tmp/outbox_journal_fuzz-XXXXXX";
        const char* made = ::mkdtemp(name);
        if (!made)
            std::abort();
        return std::string(made);
    }();
    return folder;
}

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> pieces = fuzz::SplitPieces(data, size);
    QDir folder(QString::fromStdString(Folder()));
    for (const QString& name : folder.entryList(QDir::Files))
        folder.remove(name);
    const std::string log = Folder() + "/shift.dif";
    Write(OutboxJournal::JournalPath(log), pieces[0]);
    if (pieces.size() > 1)
        Write(OutboxJournal::CursorPath(log), pieces[1]);
    Write(log, pieces.size() > 2 ? pieces[2] : "H\r\n");

    {
        OutboxJournal journal;
        journal.nowMs = [] { return 1000; };
        Check(journal.Open(log), "a journal always opens", pieces[0]);
        if (!journal.ReconcileNeeded()) {
            const size_t waiting = journal.Waiting();
            size_t handed = 0;
            std::int64_t last = 0;
            for (OutboxBatch batch = journal.Unconfirmed(7); batch.lastEvent != 0; batch = journal.Unconfirmed(7)) {
                handed += batch.lines.size() + batch.deletions.size();
                for (const OutboxLine& l : batch.lines)
                    Check(l.seq > last && l.seq <= batch.lastEvent, "each event once, numbers rising", pieces[0]);
                Check(batch.lastEvent > last, "batches in rising order", pieces[0]);
                last = batch.lastEvent;
                Check(handed <= waiting, "no more handed out than wait", pieces[0]);
                Check(journal.Confirm(batch.journal, batch.lastEvent), "a batch is confirmed", pieces[0]);
            }
            Check(handed == waiting, "every waiting event handed out once", pieces[0]);
            Check(journal.Waiting() == 0, "nothing waits after the drain", pieces[0]);
        }
    }
    OutboxJournal restarted;
    Check(restarted.Open(log), "the journal opens again", pieces[0]);
    Check(restarted.ReconcileNeeded() || restarted.Waiting() == 0, "nothing waits after a restart", pieces[0]);
    return 0;
}
