#pragma once
// Qt's own texts in Chinese: the open, save and colour dialogs and the standard buttons are
// Qt's, and their captions come from Qt's translation catalogue (qtbase_zh_CN, package
// qt6-translations-l10n), not from this program.

class QCoreApplication;

namespace vistello::app {

// Installs Qt's Chinese catalogue into the application, which owns it from then on. False when
// the catalogue is not installed; the dialogs then keep Qt's English texts.
bool installQtChineseTranslations(QCoreApplication& application);

} // namespace vistello::app
