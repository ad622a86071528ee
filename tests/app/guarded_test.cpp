// The windows' catch boundary: what a handler lets out is shown once, in the error box with the
// store's Chinese words or the message's own UTF-8, and stops there; a handler that runs
// through shows nothing.

#include "app/application/guarded.h"
#include "scripted_dialogs.h"
#include "store/store_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>

namespace vistello::app {
namespace {

using testing::ScriptedDialogs;

TEST(Guarded, ShowsWhatTheWorkLetsOutInTheErrorBox) {
    struct Case {
        const char* name;
        std::function<void()> work;
        QString shown; // empty: nothing shown
    } cases[] = {
        {"runs through", [] {}, {}},
        {"store error",
         [] { throw store::StoreError(EEXIST, store::StoreAction::CreateFolder, "/home/a/旅行"); },
         QStringLiteral("无法创建文件夹“/home/a/旅行”：文件已存在")},
        {"store error without a reason the table knows",
         [] { throw store::StoreError(99999, store::StoreAction::Write, "/x/PicInfo"); },
         QStringLiteral("无法写入“/x/PicInfo”：系统错误 99999")},
        {"the program's own message, UTF-8",
         [] { throw std::runtime_error("无法读取图片文件 \"/x/P0.jpg\""); },
         QStringLiteral("无法读取图片文件 \"/x/P0.jpg\"")},
        {"out of memory", [] { throw std::bad_alloc(); }, QStringLiteral("std::bad_alloc")},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        const bool ranThrough = guarded(nullptr, dialogs, c.work);
        EXPECT_EQ(ranThrough, c.shown.isEmpty()) << c.name;
        EXPECT_EQ(dialogs.messages, c.shown.isEmpty() ? QStringList() : QStringList{c.shown}) << c.name;
    }
}

// The functor for connect passes the signal's arguments on and keeps what the handler throws
// from the caller.
struct Receiver {
    std::vector<int> seen;
    void take(int value, const QString& text) {
        seen.push_back(value);
        if (text == QStringLiteral("fail"))
            throw store::StoreError(ENOSPC, store::StoreAction::Write, "/x/Album");
    }
};

TEST(Guarded, ASlotPassesItsArgumentsAndCatches) {
    ScriptedDialogs dialogs;
    Receiver receiver;
    auto slot = guardedSlot(nullptr, dialogs, &receiver, &Receiver::take);
    slot(1, QStringLiteral("fine"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_NO_THROW(slot(2, QStringLiteral("fail")));
    EXPECT_EQ(receiver.seen, (std::vector<int>{1, 2}));
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("无法写入“/x/Album”：磁盘空间不足")});
}

} // namespace
} // namespace vistello::app
