// The windows' words for what the layers below report: the production run's status texts by
// stage as the encoder reports it, and the questions and notices about albums and lists.

#include "app/application/ui_texts.h"
#include "production/production_run.h"

#include <gtest/gtest.h>

namespace vistello::app {
namespace {

using production::RunProgress;
using production::RunStage;

TEST(ProgressTexts, FollowTheStage) {
    struct Case {
        int stage; // as the encoder reports it
        std::int64_t position;
        const char* progress;
        const char* time;
    } cases[] = {
        {3, 1252, "完成进度：50%", "剩余时间: 01:02"},
        {3, 2503, "完成进度：99%", "剩余时间: 01:02"},
        {3, 0, "完成进度：0%", "剩余时间: 01:02"},
        {0, 2504, "", "共用时间: 00:07"},
        {1, 0, "准备生成...", ""},
        {2, 2504, "视频文件结构处理...", ""},
        {4, 0, "其它视频处理！", ""},
        {-1, 0, "其它视频处理！", ""},
    };
    for (const auto& c : cases) {
        const RunStatusTexts texts =
            progressTexts(RunProgress{production::runStageOf(c.stage), c.position, 2504, 7, 62});
        EXPECT_EQ(texts.progress, QString::fromUtf8(c.progress)) << c.stage << " " << c.position;
        EXPECT_EQ(texts.time, QString::fromUtf8(c.time)) << c.stage << " " << c.position;
    }
    EXPECT_EQ(progressTexts(RunProgress{RunStage::Encoding, 10, 0, 0, 0}).progress,
              QStringLiteral("完成进度：0%"))
        << "no frames at all";
}

TEST(AlbumTexts, DeleteQuestions) {
    EXPECT_EQ(deleteAlbumQuestion(3, 0), QStringLiteral("当前相册已有3张图片，确定要删除本相册吗？"));
    EXPECT_EQ(deleteAlbumQuestion(0, 2), QStringLiteral("当前相册已有2首音乐，确定要删除本相册吗？"));
    EXPECT_EQ(deleteAlbumQuestion(3, 2),
              QStringLiteral("当前相册已有3张图片和2首音乐，确定要删除本相册吗？"));
    EXPECT_EQ(deleteAlbumQuestion(0, 0), QString());
    EXPECT_EQ(deleteAllQuestion(store::MediaList::Songs, 4),
              QStringLiteral("本相册共有4首音乐，确定全部都删除吗？"));
    EXPECT_EQ(deleteAllQuestion(store::MediaList::Pictures, 12),
              QStringLiteral("本相册共有12张图片，确定全部都删除吗？"));
}

TEST(AlbumTexts, NameNotices) {
    EXPECT_EQ(shortenedNameNotice(QStringLiteral("甲")),
              QStringLiteral(" 提示：名称过长(限90字节),将缩短为“甲”,可以创建!"));
    const std::pair<store::NewNameCheck, const char*> cases[] = {
        {store::NewNameCheck::Empty, " 提示：请输入新的相册名称!"},
        {store::NewNameCheck::Exists, " 提示：现输入的相册名称已存在,创建无效!"},
        {store::NewNameCheck::Forbidden, " 提示：相册名称不能含有 \\ / : * ? | \" < > 等字符!"},
        {store::NewNameCheck::Available, " 提示：当前已经输入的相册名称系统还没有,可以创建!"},
    };
    for (const auto& [check, notice] : cases)
        EXPECT_EQ(newNameNotice(check), QString::fromUtf8(notice)) << notice;
}

} // namespace
} // namespace vistello::app
