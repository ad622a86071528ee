#include "app/application/guarded.h"

#include "app/application/ui_texts.h"
#include "store/store_error.h"

namespace vistello::app {

QString errorText(const std::exception& error) {
    if (const auto* storeError = dynamic_cast<const store::StoreError*>(&error))
        return storeErrorText(*storeError);
    return QString::fromUtf8(error.what());
}

void showError(QWidget* parent, UserDialogs& dialogs, const std::exception& error) {
    dialogs.showMessage(parent, QStringLiteral("错误"), errorText(error), MessageIcon::Error);
}

} // namespace vistello::app
