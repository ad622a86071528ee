#include "app/application/ui_texts.h"

#include "production/mcl_objects.h"
#include "texts/name_notices.h"
#include "texts/run_error_text.h"
#include "texts/store_error_text.h"

namespace vistello::app {

namespace {

QString timeText(double seconds) {
    return QString::fromStdString(production::MclMakeTimeStr(seconds));
}

} // namespace

QString idleProgressText() {
    return QStringLiteral("完成进度：0%");
}

QString idleTimeText() {
    return QStringLiteral("剩余时间：00:00");
}

QString runFinishedText() {
    return QStringLiteral("相册生成完毕!");
}

QString makingDiscText() {
    return QStringLiteral("正在生成光盘映像...");
}

RunStatusTexts progressTexts(const production::RunProgress& progress) {
    using production::RunStage;
    switch (progress.stage) {
    case RunStage::Done:
        return {QString(), QStringLiteral("共用时间: ") + timeText(progress.elapsedSeconds)};
    case RunStage::Preparing:
        return {QStringLiteral("准备生成..."), QString()};
    case RunStage::FileStructure:
        return {QStringLiteral("视频文件结构处理..."), QString()};
    case RunStage::Encoding:
        // An ASCII colon and a blank here, unlike the full-width colon of the idle texts.
        return {QStringLiteral("完成进度：") + QString::number(progress.percent()) + QStringLiteral("%"),
                QStringLiteral("剩余时间: ") + timeText(progress.remainingSeconds)};
    case RunStage::Other:
        break;
    }
    return {QStringLiteral("其它视频处理！"), QString()};
}

QString runErrorTitle() {
    return QStringLiteral("错误");
}

QString runDoneTitle() {
    return QStringLiteral("完成");
}

QString runDoneQuestion() {
    return QStringLiteral("文件生成完毕！请确定查看。");
}

QString runFailedText() {
    return QStringLiteral("创建相册视频文件出错，请重新制作！");
}

QString discFailedText(const QString& reason) {
    return QStringLiteral("视频文件已生成，但光盘映像生成失败：") + reason;
}

QString folderNotOpenedText(const QString& videoFile) {
    return QStringLiteral("无法打开文件夹（没有可用的文件管理器）。视频文件保存在：\n%1").arg(videoFile);
}

QString musicTooShortText() {
    return QString::fromStdString(texts::musicTooShortText());
}

QString runErrorText(const production::RunError& error) {
    return QString::fromStdString(texts::runErrorText(error));
}

QString newNameNotice(store::NewNameCheck check) {
    return QString::fromStdString(texts::newNameNotice(check));
}

QString shortenedNameNotice(const QString& shortenedName) {
    return QString::fromStdString(texts::shortenedNameNotice(shortenedName.toStdString()));
}

QString storeErrorText(const store::StoreError& error) {
    return QString::fromStdString(texts::storeErrorText(error));
}

QString internalErrorText(const QString& error) {
    return QStringLiteral("程序内部错误（请报告这个问题）：") + error;
}

QString deleteAlbumQuestion(int p, int m) {
    if (p > 0 && m == 0)
        return QStringLiteral("当前相册已有%1张图片，确定要删除本相册吗？").arg(p);
    if (p == 0 && m > 0)
        return QStringLiteral("当前相册已有%1首音乐，确定要删除本相册吗？").arg(m);
    if (p > 0 && m > 0)
        return QStringLiteral("当前相册已有%1张图片和%2首音乐，确定要删除本相册吗？").arg(p).arg(m);
    return {};
}

QString deleteAllQuestion(store::MediaList list, int count) {
    return list == store::MediaList::Pictures
               ? QStringLiteral("本相册共有%1张图片，确定全部都删除吗？").arg(count)
               : QStringLiteral("本相册共有%1首音乐，确定全部都删除吗？").arg(count);
}

} // namespace vistello::app
