#pragma once
// What the saving and protection options dialogs do to a notebook, without
// widgets: the dialogs read fields from here, ask through the message
// service and hand their answers back.
#include <QString>

#include <cstdint>

namespace vlr {

class TNodeRoot;

// The fields of the saving options.
struct SavingFields {
    int32_t reserve = 0;
    bool autoSave = false;
    int minutes = 10;
};
inline constexpr int kAutoSaveMinutesMin = 1;
inline constexpr int kAutoSaveMinutesMax = 100000;

SavingFields savingFieldsOf(const TNodeRoot& notebook);

// The question before compression is switched (unless askFlag is off);
// true to go on.
bool AskCompressionToggle(const TNodeRoot& notebook, bool& askFlag);
// Switches compression, storing every body again, and says how it went.
bool RunCompressionToggle(TNodeRoot& notebook);
// OK of the saving options: a changed reserve stores every body again; the
// auto-save settings take effect at once. False when the reserve could not
// be changed (said to the user; the rest is applied all the same).
bool ApplySavingFields(TNodeRoot& notebook, const SavingFields& fields);

// A delay as the protection options show it: bits 0-30 the count, bit 31
// the unit (set: minutes); 0 is off.
struct DelayField {
    bool on = false;
    uint32_t count = 1;
    bool minutes = false;
};
inline constexpr uint32_t kDelayMinutesBit = 0x80000000u;

DelayField delayField(uint32_t value);
uint32_t delayValue(const DelayField& field);

struct SecurityFields {
    DelayField away;
    DelayField close;
};

SecurityFields securityFieldsOf(const TNodeRoot& notebook);

// The question before encryption is switched (unless askFlag is off); true to go on.
bool AskEncryptionToggle(const TNodeRoot& notebook, bool& askFlag);
// Encrypts under password (with its reminder) or decrypts, storing every
// body again, and says how it went.
bool RunEncryptionToggle(TNodeRoot& notebook, const QString& password, const QString& reminder);
// Whether password is the one the notebook was unlocked or protected with.
bool IsCurrentPassword(const TNodeRoot& notebook, const QString& password);
// A new password (with its reminder) and a new master key: every body is
// stored again under it. Says why when it fails.
bool RunPasswordChange(TNodeRoot& notebook, const QString& password, const QString& reminder);
// OK of the protection options: the delays (their timers start when the
// program is left).
void ApplySecurityFields(TNodeRoot& notebook, const SecurityFields& fields);

// After OK of either dialog: the notebook has changes to save.
void MarkOptionsChanged(TNodeRoot& notebook);

} // namespace vlr
