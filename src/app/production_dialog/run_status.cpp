#include "app/production_dialog/run_status.h"

namespace vistello::app {

void RunStatus::apply(production::RunPhase state) {
    using production::RunPhase;
    switch (state) {
    case RunPhase::Started:
        running = true;
        settingsEnabled = false;
        progress = idleProgressText();
        break;
    case RunPhase::SettingUp:
        busy = true;
        break;
    case RunPhase::Encoding:
        busy = false;
        break;
    case RunPhase::Stopping:
        running = false; // the start button is usable again at once
        break;
    case RunPhase::MakingDisc:
        progress = makingDiscText();
        break;
    case RunPhase::Ended:
        busy = false;
        settingsEnabled = true;
        progress = runFinishedText();
        time = idleTimeText();
        running = false;
        break;
    }
}

void RunStatus::apply(const production::RunProgress& notification) {
    const RunStatusTexts texts = progressTexts(notification);
    progress = texts.progress;
    time = texts.time;
}

} // namespace vistello::app
