#pragma once
// Both windows' pairings over one shared queue, with recording fakes, and a runner that plays a
// line of events and writes down what each one did.

#include "carcass/CarcassPairing.h"

#include <deque>
#include <map>
#include <sstream>
#include <vector>

using R = CarcassRole;

struct FakePairingWindow : PairingDisplay, PairingTimers {
    void Show(CarcassRole role, const std::string& text) override { roles[role] = text; }
    std::string WeightInputText() const override
    {
        return roles.count(CarcassRole::WeightInput) ? roles.at(CarcassRole::WeightInput) : "";
    }
    void SetStatusPanel1(const std::string& text) override { statusPanel1 = text; }
    void EnableWeightInput() override { ++weightInputEnabled; }
    void StartPromptTimer() override { promptTimer = true; }
    void StartRefreshTimer() override { refreshTimer = true; }
    void StopRefreshTimer() override { refreshTimer = false; }
    std::string operator[](CarcassRole role) { return roles[role]; }

    std::map<CarcassRole, std::string> roles;
    std::string statusPanel1;
    int weightInputEnabled = 0;
    bool promptTimer = false, refreshTimer = false;
};

// The probe link, the result log, the scale parsers and the notice path.
struct FakeStationSide : ProbeCommandSink, ScaleWeightReader, OperatorNotices {
    void QueueProbeCommand(const std::string& text) override { commands.push_back(text); }
    // What a pairing step finished goes to the log, as the station has it written.
    void Log(const FinishedCarcass& finished)
    {
        if (finished)
            logged.push_back(*finished);
    }
    ScaleReading ReadScaleWeight(WeightSource) override
    {
        ++reads;
        return reading;
    }
    void Notify(const QString& text, const QString&, MessageIcon) override { notices.push_back(text); }

    std::vector<std::string> commands;
    std::vector<CarcassMeasurement> logged;
    ScaleReading reading;
    int reads = 0;
    std::vector<QString> notices;
};

struct PairingRig {
    explicit PairingRig(bool weightBeforeProbe = true, WeightSource source = WeightSource::MettlerToledo,
                        bool useEquation = false)
    {
        weighing.weightSource = source;
        weighing.weightBeforeProbe = weightBeforeProbe;
        weighing.useWeightInEquation = useEquation;
    }

    // A decoded "J" result with depths 12.0 and 55.0 and the probe's own percentage and class.
    void Probe(const std::string& counter, const std::string& meatPercent = "58.3")
    {
        CarcassMeasurement& record = result.currentMeasurement;
        record.kind = 'J';
        record.ClearTextFields();
        record.carcassCount = counter;
        record.fat1 = " 12.0 A";
        record.meat = " 55.0 B";
        record.meatPercent = meatPercent;
        record.carcassClass = "E";
        record.colour1 = "  77";
        side.Log(current.OnProbeResult());
    }
    // A decoded "S" Colour Number sample: no depths, no lean meat %, no class.
    void ColourSample(const std::string& counter)
    {
        CarcassMeasurement& record = result.currentMeasurement;
        record.kind = 'S';
        record.ClearTextFields();
        record.carcassCount = counter;
        record.rz7Colour1 = "62";
        side.Log(current.OnProbeResult());
    }
    // A cancel keeps the previous record's fields, as the dispatch leaves them.
    void Cancel(const std::string& counter)
    {
        result.currentMeasurement.kind = 'C';
        result.currentMeasurement.alertText = "Cancel " + counter;
        side.Log(current.OnProbeResult());
    }
    void ScaleWeight(const std::string& text, CarcassPairing* at = nullptr)
    {
        side.reading = ScaleReading{text, text.empty() ? "parser error" : ""};
        side.Log((at ? *at : main).OnWeightArrived());
    }
    void TypeWeight(CarcassPairing& pairing, FakePairingWindow& window, const std::string& text)
    {
        window.roles[CarcassRole::WeightInput] = text;
        side.Log(pairing.AcceptTypedWeight());
    }

    // Halves 1..n waiting: weights "101" up, or results with counters "000101" up.
    void Prefill(int n)
    {
        for (int i = 1; i <= n; ++i)
            weighing.weightBeforeProbe ? ScaleWeight(std::to_string(100 + i)) : Probe("000" + std::to_string(100 + i));
    }

    // Events, space separated: w<kg> scale weight at the main window, W<kg> at the current
    // carcass window's Weight button, t<kg>/T<kg> typed there/in the main window, p<counter>
    // probe result, c<counter> cancel, P/R expiry of the prompt/refresh timer, s0/s1 sequence.
    // Each gives a line: the event, ">command"s sent, "log ..." records, then of the window that
    // handled it: the error "!...", and where they changed, counter "@", pending "#", status "|".
    std::string Run(const std::string& events)
    {
        std::istringstream in(events);
        std::string out, event;
        while (in >> event) {
            const std::string arg = event.substr(1);
            const bool atMain = event[0] == 'w' || event[0] == 'T';
            FakePairingWindow& window = atMain ? mainWindow : carcassWindow;
            const std::string pendingBefore = window[R::Pending], counterBefore = window[R::Counter];
            const std::string statusBefore = window.statusPanel1;
            const size_t commandsBefore = side.commands.size(), loggedBefore = side.logged.size();
            switch (event[0]) {
            case 'w': ScaleWeight(arg); break;
            case 'W': ScaleWeight(arg, &current); break;
            case 't': TypeWeight(current, carcassWindow, arg); break;
            case 'T': TypeWeight(main, mainWindow, arg); break;
            case 'p': Probe("000" + arg); break;
            case 'c': Cancel("000" + arg); break;
            case 'P':
                if (std::exchange(carcassWindow.promptTimer, false))
                    current.OnPromptTimer();
                break;
            case 'R':
                if (std::exchange(carcassWindow.refreshTimer, false))
                    current.OnRefreshTimer();
                break;
            case 's': ChangeSequence(weighing, queue, arg == "1"); break;
            }
            out += event;
            for (size_t i = commandsBefore; i < side.commands.size(); ++i)
                out += " >" + side.commands[i];
            for (size_t i = loggedBefore; i < side.logged.size(); ++i) {
                const CarcassMeasurement& r = side.logged[i];
                out += " log "
                       + (r.kind == 'C' ? r.alertText
                                        : r.carcassCount + '/' + r.weight + '/' + r.meatPercent + '/' + r.carcassClass);
            }
            if (!window[R::Error].empty())
                out += " !" + window[R::Error];
            if (window[R::Counter] != counterBefore)
                out += " @" + window[R::Counter];
            if (window[R::Pending] != pendingBefore)
                out += " #" + window[R::Pending];
            if (window.statusPanel1 != statusBefore)
                out += " |" + window.statusPanel1;
            out += '\n';
        }
        return out;
    }

    WeighingState weighing;
    CurrentProbeResult result;
    PendingQueue queue;
    FakeStationSide side;
    FakePairingWindow carcassWindow, mainWindow;
    CarcassPairing current{
        PairingWindow::CurrentCarcass, weighing, result, queue, {carcassWindow, side, side, side, &carcassWindow}};
    CarcassPairing main{PairingWindow::Main, weighing, result, queue, {mainWindow, side, side, side, nullptr}};
};
