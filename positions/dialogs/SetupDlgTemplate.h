#pragma once

#include "platform/DialogTemplate.h"

#include <QList>

// The settings dialog's template SETUPDLG and its control IDs.
namespace SetupDlgId {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int GroupLanguage = 50;
constexpr int GroupPort = 51;
constexpr int GroupCommands = 52;
constexpr int GroupParameters = 53;
constexpr int GroupOptions = 54;
constexpr int TimeLabel = 60;    // ... 63
constexpr int CommandLabel = 70; // ... 77
constexpr int German = 100;
constexpr int English = 101;
constexpr int Port = 200;
constexpr int Baud = 201;
constexpr int Address = 250;
constexpr int Login = 260;
constexpr int Command = 500; // Cmd1 ... Cmd8 in 500 ... 507
constexpr int Time = 600;    // dwell, cycle pause, zero drive extra, reference drive in 600 ... 603
constexpr int Option = 700;  // drive Y, sounds, automatic after start in 700 ... 702
constexpr int UnusedOption = 703;
constexpr int kTimeMaxChars = 19;
} // namespace SetupDlgId

const DialogTemplate& SetupDlgTemplate();

// The captions in the order the dialog sets them when it opens.
const QList<ControlCaption>& SetupDlgCaptions();

// The baud rates the list offers, in its order.
const QList<int>& SetupBaudRates();
