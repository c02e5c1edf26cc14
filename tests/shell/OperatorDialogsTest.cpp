#include "shell/OperatorDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QPrinter>
#include <gtest/gtest.h>

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
    EXPECT_EQ(dialogs.Message(QStringLiteral("Quit?"), QStringLiteral("Tallion Tool"),
                              MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Quit?"), QStringLiteral("Tallion Tool"),
                              MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Note"), QString(), MessageIcon::None, MessageButtons::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Del?"), QString(), MessageIcon::Question,
                              MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    dialogs.SetDefaultAnswer(MessageButtons::YesNo, MessageAnswer::Yes);
    EXPECT_EQ(dialogs.Message(QStringLiteral("Again?"), QString(), MessageIcon::Question,
                              MessageButtons::YesNo),
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
    EXPECT_EQ(dialogs.OpenFile(QStringLiteral("Open Log-File"), QStringLiteral("f"), QString()),
              std::nullopt);
    EXPECT_EQ(dialogs.OpenFile(QStringLiteral("Open Log-File"), QStringLiteral("f"), QString()),
              std::nullopt);
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
