#pragma once
// The production dialog's check before a run: a video that cannot fit on the output's disk is
// refused, and the user is told the expected size and the space there is.

#include "production/production_settings.h"

#include <QString>
#include <cstdint>

class QWidget;

namespace vistello::store {
class AlbumStore;
}

namespace vistello::app {

class UserDialogs;

// True when the run may start; otherwise the user has been told why not. A folder whose
// space cannot be asked passes: the run reports its own failure there.
bool outputFitsOrSay(const store::AlbumStore& album, const production::ProductionSettings& settings,
                     UserDialogs& dialogs, QWidget* parent);

// "512 字节", "1.5 KB", "3.2 GB": bytes in units of 1024, one decimal.
QString byteSizeText(std::uintmax_t bytes);

} // namespace vistello::app
