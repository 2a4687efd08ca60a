#pragma once
// What the reminder dialog is asked and what it answers.
#include <optional>

#include "dialogs/DialogHost_win.h"
#include "storage/Reminder.h"

namespace Brisvane {

struct ReminderRequest {
    enum class Outcome { cancelled, set, removed };

    explicit ReminderRequest(DialogHost& host) : app(host) {}
    DialogHost& app;
    // The sticky's reminder, and the time offered when it has none.
    std::optional<Reminder> current;
    CivilTime suggested;
    Outcome outcome = Outcome::cancelled;
    Reminder chosen;
};

} // namespace Brisvane
