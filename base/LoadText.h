#pragma once

#include <QString>

#include <cstdint>

// Operator texts by their German string ID; any language other than 0 gives the English text,
// which has the ID + 10000. An ID without a text gives an empty string.
QString LoadText(int id);  // in the language of appConfig()
QString LoadText(int id, int32_t language);

// The text of exactly this ID, without the language offset (value names 50000 ... 50015).
QString LoadString(int id);

namespace StringId {
constexpr int kEnglishOffset = 10000;
constexpr int kSection = 50000;  // "Settings"
constexpr int kLanguage = 50001;
constexpr int kComm = 50002;
constexpr int kCommAdr = 50003;
constexpr int kCmd1 = 50004;  // ... kCmd1 + 7 is "Cmd8"
constexpr int kTimes = 50012;
constexpr int kOptions = 50013;
constexpr int kActPos = 50014;
constexpr int kCameraUser = 50015; // written only by the login dialog
}  // namespace StringId
