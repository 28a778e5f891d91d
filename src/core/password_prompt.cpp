#include "core/password_prompt.h"

#include "core/service_slot.h"

namespace vlr {

namespace {
CancellingPasswordPrompt g_cancelling;
ServiceSlot<PasswordPrompt> g_prompt(g_cancelling);
} // namespace

PasswordPrompt& passwordPrompt() {
    return g_prompt.get();
}

PasswordPrompt* setPasswordPrompt(PasswordPrompt* prompt) {
    return g_prompt.install(prompt);
}

} // namespace vlr
