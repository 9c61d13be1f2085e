#pragma once

#include "settings/app_settings.h"

#include <QString>
#include <functional>
#include <optional>

class SettingsStore;

// Loading and saving AppSettings, one section at a time.
namespace M_RegS {

// Start-up: loads every section, or writes the first-run defaults when the
// store has never been initialised. applyListSettings runs where the list's
// colours and font are to be applied. Returns true on a first run.
bool LoadSettings(SettingsStore &store, SettingsRecord &s,
                  const std::function<void()> &applyListSettings = {});

void LoadFileSection(SettingsStore &store, SettingsRecord &s);
void SaveFileSection(SettingsStore &store, SettingsRecord &s);
// The KEN_ALL.CSV of the File section alone, as the postal data window keeps it.
void SavePostalDataFile(SettingsStore &store, const SettingsRecord &s);
void LoadIroSection(SettingsStore &store, SettingsRecord &s);
void SaveIroSection(SettingsStore &store, const SettingsRecord &s);
void LoadPrintSection(SettingsStore &store, SettingsRecord &s);
void SavePrintSection(SettingsStore &store, const SettingsRecord &s);
void LoadKojinSection(SettingsStore &store, SettingsRecord &s);
// False when the settings file could not be written.
bool SaveKojinSection(SettingsStore &store, const SettingsRecord &s);

} // namespace M_RegS

// A colour number as stored: "&H" and hexadecimal digits, or a decimal
// number, 24 bits with red in the low byte (0x00BBGGRR). Nothing when the
// text is not such a number.
std::optional<quint32> ParseColourNumber(const QString &text);
