#include "support/ScriptedDialogs.h"
#include "widgets/QtOperatorDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(QtFileFilter, StationFilterBecomesQtFilter)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("LogFile (*.dif)|*.dif|ALL FILES (*.*)|*.*")),
              QStringLiteral("LogFile (*.dif);;ALL FILES (*.*)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Text File (*.txt)|*.txt|ALL FILES (*.*)|*.*")),
              QStringLiteral("Text File (*.txt);;ALL FILES (*.*)"));
}

TEST(QtFileFilter, DescriptionWithoutPatternGetsIt)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("Intel Hex |*.Hex|")), QStringLiteral("Intel Hex (*.Hex)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("*.txt|*.txt|")), QStringLiteral("*.txt (*.txt)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Logs|*.dif;*.txt")), QStringLiteral("Logs (*.dif *.txt)"));
    EXPECT_EQ(QtFileFilter(QString()), QString());
}

TEST(ScriptedDialogs, QueuedAnswersThenDefaults)
{
    ScriptedDialogs dialogs;
    dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Quit?"), QStringLiteral("Tallion Tool"), MessageIcon::Question,
                              MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Quit?"), QStringLiteral("Tallion Tool"), MessageIcon::Question,
                              MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Note"), QString(), MessageIcon::None, MessageButtons::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Del?"), QString(), MessageIcon::Question, MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    dialogs.SetDefaultAnswer(MessageButtons::YesNo, MessageAnswer::Yes);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Again?"), QString(), MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);

    ASSERT_EQ(dialogs.asked.size(), 5u);
    EXPECT_EQ(dialogs.asked[0].kind, QStringLiteral("Message"));
    EXPECT_EQ(dialogs.asked[0].text, QStringLiteral("Quit?"));
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Tallion Tool"));
    EXPECT_EQ(dialogs.asked[0].icon, MessageIcon::Question);
    EXPECT_EQ(dialogs.asked[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(dialogs.WasShown(QStringLiteral("Del?")));
    EXPECT_EQ(dialogs.Count(QStringLiteral("Message")), 5);
}

TEST(ScriptedDialogs, FilesInputPrinterAndDocuments)
{
    ScriptedDialogs dialogs;
    dialogs.QueueOpenFile(QStringLiteral("/tmp/a.dif"));
    dialogs.QueueOpenFile(std::nullopt);
    dialogs.QueueSave(QStringLiteral("/tmp/b.txt"));
    dialogs.QueueInput(QStringLiteral("12.5"));
    dialogs.QueuePrinter(true);
    dialogs.QueueOpenDocument(false);

    EXPECT_EQ(dialogs.OpenFile(QStringLiteral("Open Log-File"), QStringLiteral("f"), QString()),
              QStringLiteral("/tmp/a.dif"));
    EXPECT_EQ(dialogs.OpenFile(QStringLiteral("Open Log-File"), QStringLiteral("f"), QString()), std::nullopt);
    EXPECT_EQ(dialogs.OpenFile(QStringLiteral("Open Log-File"), QStringLiteral("f"), QString()), std::nullopt);
    EXPECT_EQ(dialogs.SaveFile(QStringLiteral("Save File"), QStringLiteral("f"), QStringLiteral("x.txt")),
              QStringLiteral("/tmp/b.txt"));
    EXPECT_EQ(dialogs.SaveFile(QStringLiteral("Save File"), QStringLiteral("f"), QString()), std::nullopt);
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("Weight"), QStringLiteral("W"), QStringLiteral("0")),
              QStringLiteral("12.5"));
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("Weight"), QStringLiteral("W"), QString()), std::nullopt);
    QPrinter printer;
    EXPECT_TRUE(dialogs.PrinterDialog(printer));
    EXPECT_FALSE(dialogs.PrinterDialog(printer));
    EXPECT_FALSE(dialogs.OpenDocument(QStringLiteral("/tmp/manual.pdf")));
    EXPECT_TRUE(dialogs.OpenDocument(QStringLiteral("/tmp/other.pdf")));

    EXPECT_EQ(dialogs.PendingAnswers(), 0u);
    EXPECT_EQ(dialogs.Count(QStringLiteral("OpenFile")), 3);
    ASSERT_NE(dialogs.Last(QStringLiteral("SaveFile")), nullptr);
    EXPECT_EQ(dialogs.Last(QStringLiteral("InputBox"))->text, QStringLiteral("Weight"));
    EXPECT_EQ(dialogs.Last(QStringLiteral("InputBox"))->detail, QString());
    ASSERT_EQ(dialogs.openedDocuments.size(), 2u);
    EXPECT_EQ(dialogs.openedDocuments[0], QStringLiteral("/tmp/manual.pdf"));
}

namespace {

// Runs `answer` on the modal dialog once it is up, as an operator would.
template <typename Dialog>
void AnswerNextDialog(std::function<void(Dialog*)> answer)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, poll]() {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            answer(d);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace

TEST(QtOperatorDialogs, MessageBoxReturnsTheButtonPressed)
{
    QtOperatorDialogs dialogs;
    QString shownText;
    QString shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
        shownText = box->text();
        shownTitle = box->windowTitle();
        shownIcon = box->icon();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(dialogs.Message(QStringLiteral("Quit?"), QStringLiteral("Tallion Tool"), MessageIcon::Question,
                              MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(shownText, QStringLiteral("Quit?"));
    EXPECT_EQ(shownTitle, QStringLiteral("Tallion Tool"));
    EXPECT_EQ(shownIcon, QMessageBox::Question);

    AnswerNextDialog<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
    EXPECT_EQ(dialogs.Message(QStringLiteral("Delete?"), QStringLiteral("Delete"), MessageIcon::Question,
                              MessageButtons::OkCancel),
              MessageAnswer::Cancel);
}

TEST(QtOperatorDialogs, ReturnOnADestructiveQuestionTakesTheSafeAnswer)
{
    const struct {
        MessageButtons buttons;
        MessageAnswer onReturn;
        const char* texts; // the buttons' texts, the default one marked "*"
    } cases[] = {
        {MessageButtons::OkCancelSafe, MessageAnswer::Cancel, "&OK Cancel*"},
        {MessageButtons::YesNoSafe, MessageAnswer::No, "&No* &Yes"},
        // The box's own choice (no default set): OK.
        {MessageButtons::OkCancel, MessageAnswer::Ok, "&OK Cancel"},
        {MessageButtons::Ok, MessageAnswer::Ok, "&OK"},
    };
    QtOperatorDialogs dialogs;
    for (const auto& c : cases) {
        QString texts;
        AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            QStringList shown;
            for (QAbstractButton* b : box->buttons())
                shown << b->text() + (b == box->defaultButton() ? QStringLiteral("*") : QString());
            shown.sort(Qt::CaseInsensitive);
            texts = shown.join(QLatin1Char(' '));
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(dialogs.Message(QStringLiteral("Really?"), QString(), MessageIcon::Question, c.buttons), c.onReturn);
        EXPECT_EQ(texts, QString::fromLatin1(c.texts));
    }
}

TEST(QtOperatorDialogs, OpenFileTakesANewName)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("new.dif"));
    QtOperatorDialogs dialogs;
    QStringList filters;
    AnswerNextDialog<QFileDialog>([&](QFileDialog* d) {
        filters = d->nameFilters();
        d->selectFile(fresh);
        static_cast<QDialog*>(d)->accept();
    });
    const auto chosen = dialogs.OpenFile(QStringLiteral("Open Log-File"),
                                         QStringLiteral("LogFile (*.dif)|*.dif|ALL FILES (*.*)|*.*"), dir.path());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, fresh);
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(filters, QStringList({QStringLiteral("LogFile (*.dif)"), QStringLiteral("ALL FILES (*.*)")}));

    AnswerNextDialog<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_EQ(dialogs.OpenFile(QStringLiteral("Open"), QString(), QString()), std::nullopt);
}

TEST(QtOperatorDialogs, SaveFileProposesTheInitialName)
{
    QTemporaryDir dir;
    QtOperatorDialogs dialogs;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    AnswerNextDialog<QFileDialog>([&](QFileDialog* d) {
        mode = d->acceptMode();
        static_cast<QDialog*>(d)->accept();
    });
    const auto chosen =
        dialogs.SaveFile(QStringLiteral("Save File"), QStringLiteral("Text File (*.txt)|*.txt|ALL FILES (*.*)|*.*"),
                         dir.filePath(QStringLiteral("shift2.txt")));
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir.filePath(QStringLiteral("shift2.txt")));
}

TEST(QtOperatorDialogs, InputBoxReturnsTextOrCancel)
{
    QtOperatorDialogs dialogs;
    AnswerNextDialog<QInputDialog>([](QInputDialog* d) {
        d->setTextValue(QStringLiteral("123.4"));
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("Weight"), QStringLiteral("Manual"), QStringLiteral("0")),
              QStringLiteral("123.4"));
    AnswerNextDialog<QInputDialog>([](QInputDialog* d) { d->reject(); });
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("Weight"), QStringLiteral("Manual"), QString()), std::nullopt);
}

TEST(QtOperatorDialogs, NothingInsideTheReceiveTickWaitsForTheOperator)
{
    QtOperatorDialogs dialogs;
    const auto boxes = [] {
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            shown += qobject_cast<QMessageBox*>(w) && w->isVisible() ? 1 : 0;
        return shown;
    };
    {
        const ReceiveTickScope inTick;
        // Neither returns only when someone presses OK: both come back at once with a box left on
        // screen, and a question takes the answer that changes nothing.
        dialogs.Notify(QStringLiteral("Disk full"), QStringLiteral("Tallion"), MessageIcon::Exclamation);
        dialogs.Notify(QStringLiteral("Disk full"), QStringLiteral("Tallion"), MessageIcon::Exclamation);
        EXPECT_EQ(dialogs.Message(QStringLiteral("Delete?"), QString(), MessageIcon::Question, MessageButtons::YesNo),
                  MessageAnswer::No);
    }
    EXPECT_EQ(boxes(), 2) << "the same notice twice shows one box";
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w))
            w->close();
}
