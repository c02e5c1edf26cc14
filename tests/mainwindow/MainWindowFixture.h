#pragma once
// A main window over in-memory ports, a scripted operator and a settings file of its own.

#include "mainwindow/MainWindow.h"
#include "settings/SettingsStore.h"
#include "station/ReceivedJournal.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

class MainWindowFixture : public ::testing::Test {
protected:
    // Stores `values` in section "Properties" before the window is made.
    void Store(const std::map<std::string, std::string>& values)
    {
        for (const auto& [key, text] : values)
            settings.WriteSetting("Properties", key, text);
    }

    // Builds the window (and runs start-up unless told not to).
    MainWindow& Make(bool startUp = true)
    {
        // Each window is a new station on this settings file, not the last one started again:
        // nothing the one before held comes back from the journal of received messages.
        window.reset();
        QFile::remove(QFile::decodeName(QByteArray::fromStdString(ReceivedJournalPath(
            QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).toStdString(),
            QFile::encodeName(settings.FilePath()).toStdString()))));
        auto probe = std::make_unique<FakeSerialPort>();
        auto scale = std::make_unique<FakeSerialPort>();
        probe->failOpen = probeFailsToOpen;
        probePort = probe.get();
        scalePort = scale.get();
        window = std::make_unique<MainWindow>(settings, dialogs, std::move(probe), std::move(scale));
        if (startUp)
            window->StartUp(weighing);
        return *window;
    }

    // The stored text, or "<absent>".
    std::string Stored(const std::string& key) const { return settings.ReadSetting("Properties", key, "<absent>"); }

    QAction* Menu(const char* name) const { return window->MenuAction(QString::fromLatin1(name)); }

    template <class T>
    T* Control(const char* name) const
    {
        return window->Control<T>(name);
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    ScriptedDialogs dialogs;
    bool probeFailsToOpen = false;
    bool weighing = false; // start as with --weighing
    FakeSerialPort* probePort = nullptr;
    FakeSerialPort* scalePort = nullptr;
    std::unique_ptr<MainWindow> window;
};
