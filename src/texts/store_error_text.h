#pragma once
// The store's failures as the user reads them, in Chinese: what the store was doing, the file
// in corner quotes, and the system's reason, such as 无法创建文件夹“/home/a/旅行”：文件已存在.
// The windows show this in their error box and the command-line tool prints it; StoreError
// itself carries only the data and a plain technical what().

#include "store/store_error.h"

#include <string>

namespace vistello::texts {

// The operating system's reason for an errno value, in Chinese (strerror speaks English); an
// unknown code still says which it is.
std::string systemErrorText(int errorCode);

std::string storeErrorText(const store::StoreError& error);
// The same words for a failure carried as data (a production run's RunError).
std::string storeErrorText(store::StoreAction action, int errorCode, const std::filesystem::path& file);

} // namespace vistello::texts
