#include "texts/run_error_text.h"

#include "texts/store_error_text.h"

#include <cerrno>

namespace vistello::texts {

std::string fileErrorText(const std::error_code& error) {
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        switch (error.value()) {
        case ENOENT:
            return "文件或文件夹不存在";
        case EACCES:
        case EPERM:
            return "没有写入权限";
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足";
        case EROFS:
            return "所在的文件系统只能读取";
        case EISDIR:
            return "这是一个文件夹";
        case ENOTDIR:
            return "路径中有一项不是文件夹";
        case ENAMETOOLONG:
            return "文件名太长";
        case EXDEV:
            return "不能跨文件系统移动";
        default:
            break;
        }
    }
    return error.message();
}

std::string musicTooShortText() {
    return "音乐太短,无法同步!请删除部分图片或者添加音乐。";
}

std::string runErrorText(const production::RunError& error) {
    using production::RunFailure;
    switch (error.what) {
    case RunFailure::None:
        return {};
    case RunFailure::NoFormat:
        return "未选择视频格式";
    case RunFailure::NoOutput:
        return "没有指定输出的视频文件";
    case RunFailure::OutputIsFolder:
        return "输出路径 " + error.file.string() + " 是一个文件夹，不能写成视频文件";
    case RunFailure::OutputIsAlbumFile:
        return "输出文件 " + error.file.string() + " 是相册自己的文件，不能被视频覆盖";
    case RunFailure::MusicTooShort:
        return musicTooShortText();
    case RunFailure::Picture:
    case RunFailure::Background: {
        // The decoder's messages after a full-width colon, between them a full-width semicolon.
        std::string message = "无法读取图片文件 " + error.file.string();
        for (std::size_t i = 0; i < error.reasons.size(); ++i)
            message += (i == 0 ? "：" : "；") + error.reasons[i];
        return message;
    }
    case RunFailure::Song:
        return "无法读取第" + std::to_string(error.row + 1) + "首音乐《" + error.title + "》（文件 " +
               error.file.filename().string() + "）：" +
               (error.code ? "文件不存在" : "其中没有可以解码的 MP3 声音");
    case RunFailure::OutputNotCreated:
        return "无法在文件夹 " +
               (error.file.has_parent_path() ? error.file.parent_path() : std::filesystem::path("."))
                   .string() +
               " 中创建视频文件 " + error.file.filename().string() + "：" + fileErrorText(error.code);
    case RunFailure::OutputNotSaved:
        return "无法把生成的视频保存为 " + error.file.string() + "：" + fileErrorText(error.code);
    case RunFailure::Encoder:
        return error.detail;
    case RunFailure::OutOfMemory:
        return "内存不足，无法生成视频";
    case RunFailure::Store:
        return storeErrorText(error.storeAction, error.code.value(), error.file);
    case RunFailure::Unknown:
        break;
    }
    return error.detail.empty() ? "生成视频时出现未知的错误" : error.detail;
}

} // namespace vistello::texts
