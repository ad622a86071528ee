#pragma once
// RunStatus: what the production dialog shows of a run, worked out from the run's states and
// progress notifications without widgets: the two status texts, whether the settings can be
// changed, which of start and stop is usable, and the busy cursor. The dialog applies each
// notification here and then shows the result; tests read it the same way.

#include "app/application/ui_texts.h"
#include "production/run_observer.h"

#include <QString>

namespace vistello::app {

struct RunStatus {
    QString progress = idleProgressText(); // Lguage
    QString time = idleTimeText();         // LOverTine
    bool settingsEnabled = true;           // the format group, "...", synchronisation, advanced group
    bool running = false;                  // stop usable and start not, while true
    bool busy = false;                     // the wait cursor while the encoder is set up

    void apply(production::RunPhase state);
    void apply(const production::RunProgress& progress);
};

} // namespace vistello::app
