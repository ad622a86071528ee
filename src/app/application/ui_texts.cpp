#include "app/application/ui_texts.h"

#include "production/mcl_objects.h"
#include "production/pending_output.h"

#include <QStringList>

namespace vistello::app {

namespace {

QString text(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QString timeText(double seconds) {
    return QString::fromStdString(production::MclMakeTimeStr(seconds));
}

// The system's reason for a failed file operation.
QString reasonText(const std::error_code& code) {
    return QString::fromStdString(production::fileErrorText(code));
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
    return QStringLiteral("音乐太短,无法同步!请删除部分图片或者添加音乐。");
}

QString runErrorText(const production::RunError& error) {
    using production::RunFailure;
    switch (error.what) {
    case RunFailure::None:
        return {};
    case RunFailure::NoFormat:
        return QStringLiteral("未选择视频格式");
    case RunFailure::NoOutput:
        return QStringLiteral("没有指定输出的视频文件");
    case RunFailure::OutputIsFolder:
        return QStringLiteral("输出路径 %1 是一个文件夹，不能写成视频文件").arg(text(error.file));
    case RunFailure::OutputIsAlbumFile:
        return QStringLiteral("输出文件 %1 是相册自己的文件，不能被视频覆盖").arg(text(error.file));
    case RunFailure::MusicTooShort:
        return musicTooShortText();
    case RunFailure::Picture:
    case RunFailure::Background: {
        QString message = QStringLiteral("无法读取图片文件 ") + text(error.file);
        QStringList reasons;
        for (const std::string& reason : error.reasons)
            reasons.append(QString::fromStdString(reason));
        if (!reasons.isEmpty())
            message += QStringLiteral("：") + reasons.join(QStringLiteral("；"));
        return message;
    }
    case RunFailure::Song:
        return QStringLiteral("无法读取第%1首音乐《%2》（文件 %3）：%4")
            .arg(error.row + 1)
            .arg(QString::fromStdString(error.title), text(error.file.filename()),
                 error.code ? QStringLiteral("文件不存在") : QStringLiteral("其中没有可以解码的 MP3 声音"));
    case RunFailure::OutputNotCreated:
        return QStringLiteral("无法在文件夹 %1 中创建视频文件 %2：%3")
            .arg(text(error.file.has_parent_path() ? error.file.parent_path() : std::filesystem::path(".")),
                 text(error.file.filename()), reasonText(error.code));
    case RunFailure::OutputNotSaved:
        return QStringLiteral("无法把生成的视频保存为 %1：%2").arg(text(error.file), reasonText(error.code));
    case RunFailure::Encoder:
        return QString::fromStdString(error.detail);
    case RunFailure::OutOfMemory:
        return QStringLiteral("内存不足，无法生成视频");
    case RunFailure::Unknown:
        break;
    }
    return error.detail.empty() ? QStringLiteral("生成视频时出现未知的错误")
                                : QString::fromStdString(error.detail);
}

QString newNameNotice(store::NewNameCheck check) {
    switch (check) {
    case store::NewNameCheck::Empty:
        return QStringLiteral(" 提示：请输入新的相册名称!");
    case store::NewNameCheck::Exists:
        return QStringLiteral(" 提示：现输入的相册名称已存在,创建无效!");
    case store::NewNameCheck::Forbidden:
        return QStringLiteral(" 提示：相册名称不能含有 \\ / : * ? | \" < > 等字符!");
    case store::NewNameCheck::Available:
        break;
    }
    return QStringLiteral(" 提示：当前已经输入的相册名称系统还没有,可以创建!");
}

QString shortenedNameNotice(const QString& shortenedName) {
    return QStringLiteral(" 提示：名称过长(限90字节),将缩短为“") + shortenedName +
           QStringLiteral("”,可以创建!");
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
