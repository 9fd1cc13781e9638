#pragma once

#include "platform/DialogTemplate.h"

#include <QList>

// The main window's template APPDLG and its control IDs.
namespace AppDlgId {
constexpr int GroupLive = 50;
constexpr int GroupView = 51;
constexpr int GroupManual = 52;
constexpr int GroupAutomatic = 53;
constexpr int Help = 100;
constexpr int Settings = 101;
constexpr int Info = 102;
constexpr int ZeroPosition = 103;
constexpr int Exit = 150;
constexpr int Start = 170;
constexpr int Stop = 171;
constexpr int Lamp = 180;
constexpr int ArrowLeft = 200;
constexpr int ArrowUp = 201;
constexpr int ArrowRight = 202;
constexpr int ArrowDown = 203;
constexpr int PositionX = 220;
constexpr int PositionY = 221;
constexpr int PositionNew = 300;
constexpr int PositionUpdate = 301;
constexpr int PositionRemove = 302;
constexpr int PositionList = 600;
} // namespace AppDlgId

const DialogTemplate& AppDlgTemplate();

// The captions in the order ApplyLanguage sets them.
const QList<ControlCaption>& AppDlgCaptions();
